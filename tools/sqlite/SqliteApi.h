// SQLite's API: linked directly into fsdata, reached through the table of
// routines the loading program hands over in the loadable extension.
#pragma once

#ifdef FSDATA_SQLITE_LOADABLE
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif
