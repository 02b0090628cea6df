// Loading shared libraries and looking up their symbols.
#pragma once

#include <string>
#include <string_view>

namespace platform {

using LibraryHandle = void*;

// Loads the library at `path`; null when it cannot be loaded.
LibraryHandle LoadLibraryFile(std::u16string_view path);

// The address of an exported symbol, or null.
void* FindLibrarySymbol(LibraryHandle library, const char* name);

void FreeLibraryHandle(LibraryHandle library);

// The file name a library called `baseName` has on this platform:
// "vllogger" gives "vllogger.dll" on Windows, "libvllogger.so" on POSIX.
std::u16string SharedLibraryFileName(std::u16string_view baseName);

// The ending of a shared library's file name: ".dll" or ".so".
std::u16string_view SharedLibrarySuffix();

// The text of the last loading failure, for people reading a diagnostic.
std::string LastLibraryError();

// A symbol as a function pointer of type Fn, or null.
template <class Fn>
Fn FindLibraryFunction(LibraryHandle library, const char* name) {
    void* symbol = FindLibrarySymbol(library, name);
    // Through a generic function pointer: a direct cast warns on some compilers.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(symbol));
}

}  // namespace platform
