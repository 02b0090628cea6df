// fsdata fields: the table's fields as the driver describes them.
#pragma once

#include "host/DriverLibrary.h"
#include "tools/fsdata/CommandLine.h"
#include "tools/fsdata/Output.h"

namespace fsdata {

int RunFields(const host::DriverLibrary& driver, const CommandLine& line, Output& out);

}  // namespace fsdata
