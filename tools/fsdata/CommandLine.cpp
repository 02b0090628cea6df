#include "tools/fsdata/CommandLine.h"

#include <set>

namespace fsdata {
namespace {

const std::set<std::string> kValueOptions = {"--mask",   "--levels", "--fields",
                                             "--format", "--lang",   "--driver"};
const std::set<std::string> kFlagOptions = {"--empty-dirs", "--help"};

}  // namespace

std::string CommandLine::Get(const std::string& option, const std::string& fallback) const {
    auto found = options.find(option);
    return found != options.end() ? found->second : fallback;
}

bool ParseCommandLine(const std::vector<std::string>& words, CommandLine& line,
                      std::string& error) {
    for (size_t i = 0; i < words.size(); ++i) {
        std::string word = words[i];
        if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
            std::string value;
            bool hasValue = false;
            size_t equals = word.find('=');
            if (equals != std::string::npos) {
                value = word.substr(equals + 1);
                word = word.substr(0, equals);
                hasValue = true;
            }
            if (kValueOptions.count(word)) {
                if (!hasValue) {
                    if (i + 1 >= words.size()) {
                        error = word + " needs a value";
                        return false;
                    }
                    value = words[++i];
                }
                line.options[word] = value;
            } else if (kFlagOptions.count(word) && !hasValue) {
                line.options[word] = "";
            } else {
                error = "unknown option " + word;
                return false;
            }
        } else if (line.command.empty()) {
            line.command = word;
        } else {
            line.positional.push_back(word);
        }
    }
    return true;
}

}  // namespace fsdata
