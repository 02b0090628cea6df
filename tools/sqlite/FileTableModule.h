// The SQLite module "fsdata": the file table as a table-valued function,
//   SELECT file_name FROM fsdata('/usr', '*.so', 2, 0)
// (starting directory, mask, level limit, empty-directories flag: all but
// the first optional), and as a virtual table over a fixed tree,
//   CREATE VIRTUAL TABLE docs USING fsdata(dir=/srv/docs, mask=*.doc)
// whose arguments a call may still override. Every cursor has a session of
// its own; fields are read from the driver only when a statement reads them.
#pragma once

#include <memory>
#include <string>

#include "host/DriverLibrary.h"
#include "tools/sqlite/SqliteApi.h"

namespace sqlhost {

struct ModuleContext {
    host::DriverEntryPoints api;
    std::u16string language;  // of the logons and of the field names bound
    std::shared_ptr<const host::DriverLibrary> library;  // kept loaded while registered
};

// Registers the module on `db`; an SQLite result code.
int RegisterFileTableModule(sqlite3* db, ModuleContext context);

}  // namespace sqlhost
