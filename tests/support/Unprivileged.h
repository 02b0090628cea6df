// POSIX tests run as root; a check of what an ordinary user may reach runs in
// a forked child that has dropped root, so that file permissions apply.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

// Runs `check` as user and group 65534: 0 when it held, 1 when it did not,
// 99 when root could not be dropped, 98 when the child did not exit.
template <class Check>
int AsUnprivilegedUser(Check check) {
    pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(99);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

}  // namespace testing_support
