// The program's console: its arguments and its terminals.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The arguments after the program's name as UTF-8, with the reversible
// escape of TextEncoding.h: POSIX passes the bytes as given, Windows reads
// the wide command line.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Standard output writes bytes as given: Windows would otherwise write each
// "\n" as "\r\n", which doubles the CSV's own line ends.
void UseBinaryStandardOutput();

// True when standard error is a terminal (a person is watching).
bool IsStandardErrorTerminal();

// True when standard output goes to the same terminal as standard error.
bool IsStandardOutputOnErrorTerminal();

}  // namespace platform
