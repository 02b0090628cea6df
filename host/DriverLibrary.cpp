#include "host/DriverLibrary.h"

#include <filesystem>

#include "platform/AbsolutePath.h"
#include "platform/DynamicLibrary.h"
#include "platform/ModuleInfo.h"
#include "platform/PathSplit.h"
#include "platform/TextEncoding.h"

namespace host {

std::unique_ptr<DriverLibrary> DriverLibrary::Open(const std::u16string& path, std::string* error) {
    platform::LibraryHandle handle = platform::LoadLibraryFile(path);
    if (handle == nullptr) {
        if (error != nullptr)
            *error =
                "cannot load " + platform::Utf16ToUtf8(path) + ": " + platform::LastLibraryError();
        return nullptr;
    }
    std::unique_ptr<DriverLibrary> driver(new DriverLibrary());
    driver->library_ = handle;
    driver->path_ = path;
#define VLDB_HOST_RESOLVE(name) \
    driver->api_.name = platform::FindLibraryFunction<name##Fn>(handle, #name);
    VLDB_ENTRY_POINTS(VLDB_HOST_RESOLVE)
#undef VLDB_HOST_RESOLVE
    return driver;
}

DriverLibrary::~DriverLibrary() {
    platform::FreeLibraryHandle(library_);
}

std::vector<std::string> DriverLibrary::MissingEntryPoints() const {
    std::vector<std::string> missing;
#define VLDB_HOST_MISSING(name) \
    if (api_.name == nullptr)   \
        missing.push_back(#name);
    VLDB_ENTRY_POINTS(VLDB_HOST_MISSING)
#undef VLDB_HOST_MISSING
    return missing;
}

std::u16string DriverFileName() {
    // The driver's name carries no "lib" prefix on any platform.
    return u"vldb_filesystem" + std::u16string(platform::SharedLibrarySuffix());
}

std::u16string DefaultDriverPath() {
    const std::u16string program = platform::ExecutablePath();
    const std::u16string beside = DriverPathBeside(program);
    platform::PathParts parts = platform::SplitPath(program);
    const std::u16string installedFolder = parts.drive + parts.directory + u"../lib/fsdata/";
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::path(beside), error) ||
        !std::filesystem::is_directory(std::filesystem::path(installedFolder), error))
        return beside;
    return platform::AbsolutePath(installedFolder + DriverFileName());
}

std::u16string DriverPathBeside(const std::u16string& path) {
    platform::PathParts parts = platform::SplitPath(path);
    return parts.drive + parts.directory + DriverFileName();
}

}  // namespace host
