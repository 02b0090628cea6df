// fsdata sql where the build has no SQLite.
#include <cstdio>

#include "tools/fsdata/SqlCommand.h"
#include "tools/fsdata/Usage.h"

namespace fsdata {

int RunSql(const host::DriverLibrary&, const CommandLine&, Output&) {
    std::fprintf(stderr, "fsdata: sql needs SQLite, which this build of fsdata lacks\n");
    return kExitFailure;
}

}  // namespace fsdata
