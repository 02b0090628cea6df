// fsdata: runs the File System Data driver from the command line, calling it
// exactly as the reporting engine does.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "host/DriverLibrary.h"
#include "platform/Console.h"
#include "platform/TextEncoding.h"
#include "tools/fsdata/CommandLine.h"
#include "tools/fsdata/DialogCommand.h"
#include "tools/fsdata/FieldsCommand.h"
#include "tools/fsdata/InfoCommand.h"
#include "tools/fsdata/Output.h"
#include "tools/fsdata/QueryCommand.h"
#include "tools/fsdata/SqlCommand.h"
#include "tools/fsdata/Usage.h"

namespace {

using Command = int (*)(const host::DriverLibrary&, const fsdata::CommandLine&, fsdata::Output&);

const std::map<std::string, Command> kCommands = {
    {"query", fsdata::RunQuery},   {"sql", fsdata::RunSql},   {"fields", fsdata::RunFields},
    {"dialog", fsdata::RunDialog}, {"info", fsdata::RunInfo},
};

// Writes a text the user asked for; a failed write is an error of its own.
int Print(fsdata::Output& out, const std::string& text) {
    if (out.Write(text) && out.Flush())
        return fsdata::kExitSuccess;
    std::fprintf(stderr, "fsdata: cannot write the output: %s\n", out.error().c_str());
    return fsdata::kExitOutputFailed;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace fsdata;
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(platform::ProgramArguments(argc, argv), line, error))
        return ReportUsageError(error, line.command);
    platform::UseBinaryStandardOutput();
    Output out(stdout);
    if (line.Has("--help"))
        return Print(out, UsageText(line.command));
    if (line.Has("--version"))
        return Print(out, "fsdata " FSDATA_VERSION "\n");
    if (line.command.empty())
        return ReportUsageError("no command given", "");
    if (line.Has("--driver") && line.Get("--driver").empty())
        return ReportUsageError("--driver needs a path", line.command);

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
    const int status = kCommands.at(line.command)(*driver, line, out);
    if (!out.Flush()) {
        std::fprintf(stderr, "fsdata: cannot write the output: %s\n", out.error().c_str());
        return kExitOutputFailed;
    }
    return status;
}
