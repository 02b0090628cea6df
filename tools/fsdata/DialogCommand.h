#pragma once

#include "host/DriverLibrary.h"
#include "tools/fsdata/CommandLine.h"
#include "tools/fsdata/Output.h"

namespace fsdata {

// fsdata dialog: the logon dialog's description as the driver gives it to the
// engine, printed as an indented tree of properties and their hints.
int RunDialog(const host::DriverLibrary& driver, const CommandLine& line, Output& out);

}  // namespace fsdata
