// The loader a host uses: opens the driver library by path, resolves its entry
// points and calls them exactly as the engine does.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "vldb/dbdriver.h"

namespace host {

// Every entry point the library exports; null for one it lacks.
struct DriverEntryPoints {
#define VLDB_HOST_ENTRY(name) name##Fn name = nullptr;
    VLDB_ENTRY_POINTS(VLDB_HOST_ENTRY)
#undef VLDB_HOST_ENTRY
};

class DriverLibrary {
public:
    // Null when the library cannot be loaded; `error` then says why.
    static std::unique_ptr<DriverLibrary> Open(const std::u16string& path, std::string* error);
    ~DriverLibrary();

    DriverLibrary(const DriverLibrary&) = delete;
    DriverLibrary& operator=(const DriverLibrary&) = delete;

    const DriverEntryPoints& api() const { return api_; }
    const std::u16string& path() const { return path_; }
    // The names of the entry points the library lacks.
    std::vector<std::string> MissingEntryPoints() const;

private:
    DriverLibrary() = default;

    void* library_ = nullptr;
    std::u16string path_;
    DriverEntryPoints api_;
};

// The driver library's file name on this platform.
std::u16string DriverFileName();

// The driver beside the running program, or where an installed tree keeps
// it (../lib/fsdata/ from the program's folder) when that folder exists and
// the program has no driver beside it.
std::u16string DefaultDriverPath();

// The driver in the folder of the module (program or library) at `path`.
std::u16string DriverPathBeside(const std::u16string& path);

}  // namespace host
