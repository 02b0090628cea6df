#include "tools/fsdata/Usage.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "tools/fsdata/CommandLine.h"

namespace fsdata {
namespace {

struct Help {
    const char* synopsis;
    const char* text;
};

// In the order the program's help lists them.
const std::vector<std::pair<std::string, Help>> kHelp = {
    {"query",
     {"fsdata query [OPTIONS] [--] [DIR]",
      "List one row per file under DIR (default: the current directory) whose name\n"
      "matches the mask, depth first: each subdirectory's files, then the\n"
      "directory's own.\n"
      "\n"
      "  --mask M          file name pattern, Windows wildcards, case ignored\n"
      "                    (default *.*); it cannot hold a path separator\n"
      "  --levels N        subdirectory levels to descend, 0 for DIR alone\n"
      "                    (default -1: no limit)\n"
      "  --empty-dirs      a row for each directory without a matching file\n"
      "  --fields LIST     field names (any case) or ordinals, separated by commas,\n"
      "                    or all (default: a readable handful)\n"
      "  --format F        table (default), csv or jsonl\n"
      "  --lang TAG        language of field names and texts (en, de, ...)\n"
      "  --driver PATH     the driver library (default: beside fsdata)\n"
      "  -h, --help        show this help\n"}},
    {"sql",
     {"fsdata sql [OPTIONS] [--] STATEMENT",
      "Run one SQL statement in an in-memory SQLite database in which the file\n"
      "table is the table-valued function fsdata(DIR, MASK, LEVELS, EMPTY_DIRS)\n"
      "(all but DIR optional) and the module of CREATE VIRTUAL TABLE ... USING\n"
      "fsdata(dir=..., mask=..., levels=..., empty_dirs=...). Columns carry the\n"
      "names fsdata fields --sql lists.\n"
      "\n"
      "  --format F        table (default), csv or jsonl\n"
      "  --lang TAG        language of the logon: texts, and the field names\n"
      "                    bound (the column names stay the same)\n"
      "  --driver PATH     the driver library (default: beside fsdata)\n"
      "  -h, --help        show this help\n"}},
    {"fields",
     {"fsdata fields [OPTIONS]",
      "List the table's fields: ordinal, name in the --lang language, type and length;\n"
      "with --sql, each field's SQL column name and type beside its name.\n"
      "\n"
      "  --format F        table (default), csv or jsonl\n"
      "  --lang TAG        language of the field names\n"
      "  --sql             the SQL column names and types\n"
      "  --driver PATH     the driver library (default: beside fsdata)\n"
      "  -h, --help        show this help\n"}},
    {"dialog",
     {"fsdata dialog [OPTIONS]",
      "Print the logon dialog as the driver describes it to the engine: each\n"
      "property with its label, type and value, its hints indented below it.\n"
      "\n"
      "  --lang TAG        language of the labels\n"
      "  --driver PATH     the driver library (default: beside fsdata)\n"
      "  -h, --help        show this help\n"}},
    {"info",
     {"fsdata info [OPTIONS]",
      "Print fsdata's version, the driver's path, its database type in the --lang\n"
      "language, whether it is thread-safe, and its DbGetInfo answers.\n"
      "\n"
      "  --lang TAG        language of the database type\n"
      "  --driver PATH     the driver library (default: beside fsdata)\n"
      "  -h, --help        show this help\n"}},
};

const char kProgramHelp[] =
    "The File System Data driver from the command line: a directory tree as a\n"
    "table, read through the driver's entry points as the reporting engine does.\n"
    "\n"
    "Commands:\n"
    "  query     list the files under a directory\n"
    "  sql       run an SQL statement over the file table\n"
    "  fields    list the table's fields\n"
    "  dialog    print the logon dialog\n"
    "  info      print what the driver says of itself\n"
    "\n"
    "  -h, --help        show this help (fsdata COMMAND --help: the command's)\n"
    "  --version         show fsdata's version\n"
    "\n"
    "Exit status: 0 success, 1 the driver cannot be loaded or fails, 2 usage\n"
    "error, 3 the driver refused the logon, 4 the output cannot be written.\n";

const Help* FindHelp(const std::string& command) {
    auto found = std::find_if(kHelp.begin(), kHelp.end(),
                              [&](const auto& entry) { return entry.first == command; });
    return found != kHelp.end() ? &found->second : nullptr;
}

}  // namespace

std::string UsageSummary(const std::string& command) {
    const Help* found = FindHelp(command);
    if (found != nullptr)
        return std::string("usage: ") + found->synopsis + "\n";
    std::string all = "usage: fsdata [--help | --version]\n";
    for (const auto& [name, help] : kHelp)
        all += std::string("       ") + help.synopsis + "\n";
    return all;
}

std::string UsageText(const std::string& command) {
    const Help* found = FindHelp(command);
    if (found == nullptr)
        return UsageSummary("") + "\n" + kProgramHelp;
    return UsageSummary(command) + "\n" + found->text;
}

int ReportUsageError(const std::string& message, const std::string& command) {
    std::fprintf(stderr, "fsdata: %s\n%sTry 'fsdata %s--help' for more.\n", message.c_str(),
                 UsageSummary(command).c_str(), command.empty() ? "" : (command + " ").c_str());
    return kExitUsage;
}

}  // namespace fsdata
