// Checks and level arithmetic of a logon's starting directory (source unit
// fscommon).
#pragma once

#include <cstdint>

#include "runtime/SWCharString.h"

// True when the directory can be searched.
bool IsValidStartingDirectory(const SWCharString& startingDirectory);

// The number of directories between the root and the starting directory:
// "/" is 0, "/usr" 1, "/usr/share/" 2 (C:\ 0, C:\Windows 1 on Windows).
int32_t GetStartingDirectoryLevel(const SWCharString& startingDirectory);

// True for a backslash or a slash, the separators a starting directory may use.
inline bool IsStartingDirectorySeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}
