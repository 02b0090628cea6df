// fsdata: runs the File System Data driver from the command line, calling it
// exactly as the reporting engine does.
#include <cstdio>
#include <string>
#include <vector>

#include "host/DriverLibrary.h"
#include "platform/TextEncoding.h"
#include "tools/fsdata/CommandLine.h"
#include "tools/fsdata/InfoCommand.h"

namespace {

const char kUsage[] =
    "usage: fsdata info [--lang TAG] [--driver PATH]\n"
    "\n"
    "  info     the driver's path, its database type in the --lang language,\n"
    "           whether it is thread-safe, and its DbGetInfo answers\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace fsdata;
    std::vector<std::string> words(argv + 1, argv + argc);
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(words, line, error)) {
        std::fprintf(stderr, "fsdata: %s\n%s", error.c_str(), kUsage);
        return kExitUsage;
    }
    if (line.Has("--help") || line.command.empty()) {
        std::fputs(kUsage, line.command.empty() && !line.Has("--help") ? stderr : stdout);
        return line.Has("--help") ? kExitSuccess : kExitUsage;
    }
    if (line.command != "info") {
        std::fprintf(stderr, "fsdata: unknown command '%s'\n%s", line.command.c_str(), kUsage);
        return kExitUsage;
    }

    std::u16string path = line.Has("--driver") ? platform::Utf8ToUtf16(line.Get("--driver"))
                                               : host::DefaultDriverPath();
    auto driver = host::DriverLibrary::Open(path, &error);
    if (!driver) {
        std::fprintf(stderr, "fsdata: %s\n", error.c_str());
        return kExitFailure;
    }
    return RunInfo(*driver, line);
}
