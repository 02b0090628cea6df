// The program's console.
#pragma once

namespace platform {

// True when standard error is a terminal (a person is watching).
bool IsStandardErrorTerminal();

}  // namespace platform
