#include "platform/DynamicLibrary.h"

#include <windows.h>

namespace platform {

LibraryHandle LoadLibraryFile(std::u16string_view path) {
    if (path.empty())
        return nullptr;
    std::wstring wide(path.begin(), path.end());
    return reinterpret_cast<LibraryHandle>(LoadLibraryW(wide.c_str()));
}

void* FindLibrarySymbol(LibraryHandle library, const char* name) {
    if (library == nullptr)
        return nullptr;
    FARPROC proc = GetProcAddress(static_cast<HMODULE>(library), name);
    return reinterpret_cast<void*>(reinterpret_cast<void (*)()>(proc));
}

void FreeLibraryHandle(LibraryHandle library) {
    if (library != nullptr)
        FreeLibrary(static_cast<HMODULE>(library));
}

std::u16string SharedLibraryFileName(std::u16string_view baseName) {
    return std::u16string(baseName) + std::u16string(SharedLibrarySuffix());
}

std::u16string_view SharedLibrarySuffix() {
    return u".dll";
}

std::string LastLibraryError() {
    return "Windows error " + std::to_string(GetLastError());
}

}  // namespace platform
