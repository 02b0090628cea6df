// fsdata's command line: a command word and its options.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace fsdata {

struct CommandLine {
    std::string command;
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;  // "--lang" -> "de"; flags map to ""

    bool Has(const std::string& option) const { return options.count(option) != 0; }
    std::string Get(const std::string& option, const std::string& fallback = "") const;
};

// Options that take a value; every other option is a flag.
// Returns false with `error` set when the words do not parse.
bool ParseCommandLine(const std::vector<std::string>& words, CommandLine& line, std::string& error);

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitLogonRefused = 3;

}  // namespace fsdata
