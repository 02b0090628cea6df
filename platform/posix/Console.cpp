#include "platform/Console.h"

#include <unistd.h>

namespace platform {

bool IsStandardErrorTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

}  // namespace platform
