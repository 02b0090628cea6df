// fsdata sql: one SQL statement over the file table, run in an in-memory
// SQLite database in which the fsdata module reads through the driver that
// fsdata loaded.
#pragma once

#include "host/DriverLibrary.h"
#include "tools/fsdata/CommandLine.h"
#include "tools/fsdata/Output.h"

namespace fsdata {

int RunSql(const host::DriverLibrary& driver, const CommandLine& line, Output& out);

}  // namespace fsdata
