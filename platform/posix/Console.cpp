#include "platform/Console.h"

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void UseBinaryStandardOutput() {}

bool IsStandardErrorTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

bool IsStandardOutputOnErrorTerminal() {
    struct stat out {};
    struct stat err {};
    return isatty(STDOUT_FILENO) == 1 && isatty(STDERR_FILENO) == 1 &&
           fstat(STDOUT_FILENO, &out) == 0 && fstat(STDERR_FILENO, &err) == 0 &&
           out.st_rdev == err.st_rdev;
}

}  // namespace platform
