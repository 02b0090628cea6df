#include "platform/Console.h"

// shellapi.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/TextEncoding.h"

namespace platform {

std::vector<std::string> ProgramArguments(int, char**) {
    std::vector<std::string> words;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide != nullptr && i < count; ++i)
        words.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide[i])));
    LocalFree(wide);
    return words;
}

void UseBinaryStandardOutput() {
    _setmode(_fileno(stdout), _O_BINARY);
}

bool IsStandardErrorTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

// A process has at most one console, so both on a console is the same one.
bool IsStandardOutputOnErrorTerminal() {
    DWORD mode = 0;
    return IsStandardErrorTerminal() && GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

}  // namespace platform
