// fsdata query: the files under a directory, as the engine reads them.
#pragma once

#include "host/DriverLibrary.h"
#include "tools/fsdata/CommandLine.h"
#include "tools/fsdata/Output.h"

namespace fsdata {

int RunQuery(const host::DriverLibrary& driver, const CommandLine& line, Output& out);

}  // namespace fsdata
