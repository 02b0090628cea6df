// fsdata: runs the File System Data driver from the command line, calling it
// exactly as the reporting engine does.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "host/DriverLibrary.h"
#include "platform/TextEncoding.h"
#include "tools/fsdata/CommandLine.h"
#include "tools/fsdata/DialogCommand.h"
#include "tools/fsdata/InfoCommand.h"
#include "tools/fsdata/QueryCommand.h"

namespace {

const char kUsage[] =
    "usage: fsdata query [DIR] [--mask M] [--levels N] [--empty-dirs] [--fields LIST]\n"
    "                    [--format table|csv|jsonl] [--lang TAG] [--driver PATH]\n"
    "       fsdata fields [--lang TAG] [--format table|csv|jsonl] [--driver PATH]\n"
    "       fsdata dialog [--lang TAG] [--driver PATH]\n"
    "       fsdata info [--lang TAG] [--driver PATH]\n"
    "\n"
    "  query    one row per file under DIR (default: the current directory) that\n"
    "           matches the mask (default *.*), down to N levels (default -1: all);\n"
    "           --empty-dirs adds a row for each directory without a matching file;\n"
    "           LIST is field names or ordinals separated by commas, or all\n"
    "  fields   the table's fields: ordinal, name in the --lang language, type\n"
    "  dialog   the logon dialog as the driver describes it to the engine, in the\n"
    "           --lang language: each property with its display name, type and\n"
    "           value, its hints indented below it\n"
    "  info     the driver's path, its database type in the --lang language,\n"
    "           whether it is thread-safe, and its DbGetInfo answers\n";

using Command = int (*)(const host::DriverLibrary&, const fsdata::CommandLine&);

// Each command and the number of positional arguments it takes at most.
const std::map<std::string, std::pair<Command, size_t>> kCommands = {
    {"query", {fsdata::RunQuery, 1}},
    {"fields", {fsdata::RunFields, 0}},
    {"dialog", {fsdata::RunDialog, 0}},
    {"info", {fsdata::RunInfo, 0}},
};

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
    auto command = kCommands.find(line.command);
    if (command == kCommands.end()) {
        std::fprintf(stderr, "fsdata: unknown command '%s'\n%s", line.command.c_str(), kUsage);
        return kExitUsage;
    }
    if (line.positional.size() > command->second.second) {
        std::fprintf(stderr, "fsdata: too many arguments for %s\n%s", line.command.c_str(), kUsage);
        return kExitUsage;
    }

    std::u16string path = line.Has("--driver") ? platform::Utf8ToUtf16(line.Get("--driver"))
                                               : host::DefaultDriverPath();
    auto driver = host::DriverLibrary::Open(path, &error);
    if (!driver) {
        std::fprintf(stderr, "fsdata: %s\n", error.c_str());
        return kExitFailure;
    }
    auto missing = driver->MissingEntryPoints();
    if (!missing.empty()) {
        std::fprintf(stderr, "fsdata: %s does not export %s\n", platform::Utf16ToUtf8(path).c_str(),
                     missing.front().c_str());
        return kExitFailure;
    }
    return command->second.first(*driver, line);
}
