// The logon arguments of the file table in SQL: the starting directory, the
// mask, the level limit and the empty-directories flag, given to a
// table-valued call (fsdata('/usr', '*.so', 2)) or to CREATE VIRTUAL TABLE
// (dir=/usr, mask=*.so, levels=2).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sqlhost {

struct TableArguments {
    bool hasDirectory = false;
    std::string directory;  // as given, UTF-8 bytes
    std::string mask = "*.*";
    int32_t levels = -1;
    bool emptyDirs = false;
};

// Sets the argument of hidden column `column` from its text; false with a
// message that names the problem.
bool SetArgument(TableArguments& arguments, int column, const std::string& text,
                 std::string& error);

// CREATE VIRTUAL TABLE's arguments, each name=value (the value may be quoted
// as SQL quotes strings); false with a message for an unknown name, a
// malformed item or a bad value.
bool ParseModuleArguments(const std::vector<std::string>& items, TableArguments& arguments,
                          std::string& error);

}  // namespace sqlhost
