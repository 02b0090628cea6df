#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

#include "platform/TextEncoding.h"

namespace platform {

LibraryHandle LoadLibraryFile(std::u16string_view path) {
    std::string native = Utf16ToUtf8(path);
    if (native.empty())
        return nullptr;
    return dlopen(native.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* FindLibrarySymbol(LibraryHandle library, const char* name) {
    if (library == nullptr)
        return nullptr;
    return dlsym(library, name);
}

void FreeLibraryHandle(LibraryHandle library) {
    if (library != nullptr)
        dlclose(library);
}

std::u16string SharedLibraryFileName(std::u16string_view baseName) {
    return u"lib" + std::u16string(baseName) + std::u16string(SharedLibrarySuffix());
}

std::u16string_view SharedLibrarySuffix() {
    return u".so";
}

std::string LastLibraryError() {
    const char* text = dlerror();
    return text != nullptr ? text : "";
}

}  // namespace platform
