#include "tests/support/AssertionCapture.h"

#include <regex>
#include <sstream>

#include "runtime/Diagnostics.h"

namespace testing_support {

AssertionCapture::AssertionCapture() : log_(folder_.path() / "vllogger.log") {
    SetEnvironment("VLLOGGER_FILE", log_.string());
    SetEnvironment("VLLOGGER_ASSERTIONS", "1");
    UnsetEnvironment("VLLOGGER_LEVEL");
    SetLoggerFolder(ProgramFolder());
    LoadLogger(-1, 0);
}

AssertionCapture::~AssertionCapture() {
    UnloadLogger();
    RemoveLoggerKey();
}

bool AssertionCapture::active() const {
    return diagnostics::AssertionsEnabled();
}

std::vector<std::string> AssertionCapture::Reports() {
    std::string log = ReadWholeFile(log_);
    std::istringstream lines(log.substr(consumed_));
    consumed_ = log.size();
    std::vector<std::string> reports;
    static const std::regex pattern(R"(ASSERT (\w+)\(([1-9][0-9]*)\): (.*))");
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (line.rfind("START ", 0) == 0)
            continue;  // the library's load
        reports.push_back(std::regex_match(line, match, pattern)
                              ? match[1].str() + ": " + match[3].str()
                              : "unexpected line: " + line);
    }
    return reports;
}

}  // namespace testing_support
