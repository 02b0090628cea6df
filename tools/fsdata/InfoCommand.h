#pragma once

#include "host/DriverLibrary.h"
#include "tools/fsdata/CommandLine.h"
#include "tools/fsdata/Output.h"

namespace fsdata {

// fsdata info: the driver's path, database type, thread safety and the
// answers of DbGetInfo.
int RunInfo(const host::DriverLibrary& driver, const CommandLine& line, Output& out);

}  // namespace fsdata
