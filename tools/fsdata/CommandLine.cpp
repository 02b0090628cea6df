#include "tools/fsdata/CommandLine.h"

#include <algorithm>
#include <set>

namespace fsdata {
namespace {

struct CommandOptions {
    std::set<std::string> valued;
    std::set<std::string> flags;
    int arguments;
};

// The program's own options come before a command; "" names them.
const std::map<std::string, CommandOptions> kCommands = {
    {"", {{}, {"--help", "--version"}, 0}},
    {"query",
     {{"--mask", "--levels", "--fields", "--format", "--lang", "--driver"},
      {"--empty-dirs", "--help"},
      1}},
    {"sql", {{"--format", "--lang", "--driver"}, {"--help"}, 1}},
    {"fields", {{"--format", "--lang", "--driver"}, {"--sql", "--help"}, 0}},
    {"dialog", {{"--lang", "--driver"}, {"--help"}, 0}},
    {"info", {{"--lang", "--driver"}, {"--help"}, 0}},
};

bool IsOption(const std::string& word) {
    return word.size() > 1 && word[0] == '-';
}

// Takes the option in words[i] (and its value from the next word when it is
// not written --name=value) into `line`.
bool TakeOption(const std::vector<std::string>& words, size_t& i, CommandLine& line,
                std::string& error) {
    std::string name = words[i] == "-h" ? "--help" : words[i];
    std::string value;
    const size_t equals = name.find('=');
    const bool hasValue = name.compare(0, 2, "--") == 0 && equals != std::string::npos;
    if (hasValue) {
        value = name.substr(equals + 1);
        name = name.substr(0, equals);
    }
    const CommandOptions& allowed = kCommands.at(line.command);
    const bool valued = allowed.valued.count(name) != 0;
    if (!valued && allowed.flags.count(name) == 0) {
        const bool known = std::any_of(kCommands.begin(), kCommands.end(), [&](const auto& c) {
            return c.second.valued.count(name) != 0 || c.second.flags.count(name) != 0;
        });
        error = !known                 ? "unknown option '" + name + "'"
                : line.command.empty() ? "option '" + name + "' comes after a command"
                                       : line.command + " does not take " + name;
        return false;
    }
    if (!valued && hasValue) {
        error = name + " takes no value";
        return false;
    }
    if (valued && !hasValue) {
        if (i + 1 >= words.size()) {
            error = name + " needs a value";
            return false;
        }
        value = words[++i];
    }
    if (!line.options.emplace(name, value).second) {
        error = name + " is given more than once";
        return false;
    }
    return true;
}

}  // namespace

std::string CommandLine::Get(const std::string& option, const std::string& fallback) const {
    auto found = options.find(option);
    return found != options.end() ? found->second : fallback;
}

int ArgumentLimit(const std::string& command) {
    auto found = kCommands.find(command);
    return found != kCommands.end() && !command.empty() ? found->second.arguments : -1;
}

bool ParseCommandLine(const std::vector<std::string>& words, CommandLine& line,
                      std::string& error) {
    bool optionsEnded = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && IsOption(word)) {
            if (!TakeOption(words, i, line, error))
                return false;
        } else if (line.command.empty()) {
            if (ArgumentLimit(word) < 0) {
                error = "unknown command '" + word + "'";
                return false;
            }
            line.command = word;
        } else if (static_cast<int>(line.positional.size()) >= ArgumentLimit(line.command)) {
            error = "too many arguments for " + line.command + ": '" + word + "'";
            return false;
        } else {
            line.positional.push_back(word);
        }
    }
    return true;
}

}  // namespace fsdata
