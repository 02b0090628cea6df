// Helpers shared by the tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "host/DriverLibrary.h"

namespace testing_support {

std::u16string U16(const std::string& utf8);
std::string U8(const std::u16string& utf16);
std::string U8(const char16_t* utf16);  // "(null)" for null

// True in the Windows build (where the real Win32 API answers).
bool IsWindowsBuild();

// A fresh folder, removed with everything in it at the end of the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }
    // The path as the platform's API sees it, with a trailing separator.
    std::u16string folderText() const;
    // Writes the file `name` (a relative path), making its folders.
    std::filesystem::path Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

void SetEnvironment(const std::string& name, const std::string& value);
void UnsetEnvironment(const std::string& name);

// The folder of the running test program, with a trailing separator.
std::u16string ProgramFolder();

// The registry value naming the logging library's folder, as given.
void SetLoggerFolder(const std::u16string& folder);
void RemoveLoggerKey();

// A key's default under HKEY_CLASSES_ROOT; an empty `value` removes the key.
void SetClassDefault(const std::u16string& key, const std::u16string& value);

// A value under a key named from its root ("HKEY_LOCAL_MACHINE\\..."): the real
// registry on Windows, the .reg file VELLUM_REGISTRY names on POSIX.
void SetRegistryValue(const std::u16string& key, const std::u16string& name, uint32_t type,
                      const std::string& data);
void RemoveRegistryKey(const std::u16string& key);

std::string ReadWholeFile(const std::filesystem::path& path);

// The driver library beside the test program, through the host loader;
// fails the current test when it cannot be loaded.
std::unique_ptr<host::DriverLibrary> OpenDriver();

}  // namespace testing_support
