#pragma once

#include "host/DriverLibrary.h"
#include "tools/fsdata/CommandLine.h"

namespace fsdata {

// fsdata query [DIR] [--mask M] [--levels N] [--empty-dirs] [--fields LIST]
//              [--format table|csv|jsonl] [--lang TAG]
int RunQuery(const host::DriverLibrary& driver, const CommandLine& line);

// fsdata fields [--lang TAG] [--format ...]: the table's fields.
int RunFields(const host::DriverLibrary& driver, const CommandLine& line);

}  // namespace fsdata
