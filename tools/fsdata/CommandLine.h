// fsdata's command line: a command word, its options and its arguments.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace fsdata {

struct CommandLine {
    std::string command;  // empty when only program options were given
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;  // "--lang" -> "de"; flags map to ""

    bool Has(const std::string& option) const { return options.count(option) != 0; }
    std::string Get(const std::string& option, const std::string& fallback = "") const;
};

// Parses the words after the program's name. Each command takes its own
// options, each at most once; "-h" is "--help"; "--" ends the options.
// Returns false with `error` set when the words do not parse.
bool ParseCommandLine(const std::vector<std::string>& words, CommandLine& line, std::string& error);

// How many arguments a command takes at most; -1 for an unknown command.
int ArgumentLimit(const std::string& command);

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitLogonRefused = 3;
constexpr int kExitOutputFailed = 4;

}  // namespace fsdata
