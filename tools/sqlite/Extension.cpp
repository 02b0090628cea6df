// The loadable extension: sqlite3's .load and Python's load_extension find
// sqlite3_fsdata_init from the file name. It loads the driver beside itself,
// or the one FSDATA_DRIVER names, and registers the module on the connection.
#include <cstdlib>
#include <memory>
#include <string>

#include "host/DriverLibrary.h"
#include "platform/ModuleInfo.h"
#include "platform/TextEncoding.h"
#include "tools/sqlite/FileTableModule.h"

SQLITE_EXTENSION_INIT1

namespace {

std::u16string DriverPath() {
    const char* named = std::getenv("FSDATA_DRIVER");
    if (named != nullptr && *named != 0)
        return platform::Utf8ToUtf16(named);
    static const int kHere = 0;
    return host::DriverPathBeside(platform::ModulePathContaining(&kHere));
}

int LoadDriverAndRegister(sqlite3* db, char** error) {
    const std::u16string path = DriverPath();
    std::string message;
    std::shared_ptr<const host::DriverLibrary> driver = host::DriverLibrary::Open(path, &message);
    if (driver && !driver->MissingEntryPoints().empty())
        message = "cannot use " + platform::Utf16ToUtf8(path) + ": it does not export " +
                  driver->MissingEntryPoints().front();
    if (!driver || !message.empty()) {
        *error = sqlite3_mprintf("fsdata: %s", message.c_str());
        return SQLITE_ERROR;
    }
    return sqlhost::RegisterFileTableModule(db, {driver->api(), u"", driver});
}

}  // namespace

extern "C" int sqlite3_fsdata_init(sqlite3* db, char** error, const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    try {
        return LoadDriverAndRegister(db, error);
    } catch (...) {
        return SQLITE_NOMEM;
    }
}
