#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/ModuleInfo.h"
#include "platform/PathSplit.h"
#include "platform/TextEncoding.h"

namespace testing_support {
namespace {

const char16_t kLoggerKey[] = u"HKEY_LOCAL_MACHINE\\Software\\Tavrel Quillon\\Meridel 4.0\\Vellum";

// A REG_SZ value's bytes: UTF-16LE (as both builds are) with its NUL.
std::string TextData(const std::u16string& text) {
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
}

}  // namespace

std::u16string U16(const std::string& utf8) {
    return platform::Utf8ToUtf16(utf8);
}
std::string U8(const std::u16string& utf16) {
    return platform::Utf16ToUtf8(utf16);
}
std::string U8(const char16_t* utf16) {
    return utf16 ? U8(std::u16string(utf16)) : "(null)";
}

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    do
        path_ = std::filesystem::temp_directory_path() /
                ("fsdata-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    while (!std::filesystem::create_directory(path_));
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::u16string TempDir::folderText() const {
    return path_.u16string() + platform::kPathSeparator;  // path_ never ends in one
}

std::filesystem::path TempDir::Write(const std::string& name, const std::string& bytes) const {
    std::filesystem::create_directories((path_ / name).parent_path());
    std::ofstream(path_ / name, std::ios::binary) << bytes;
    return path_ / name;
}

void SetLoggerFolder(const std::u16string& folder) {
    SetRegistryValue(kLoggerKey, u"CommonFiles", 1, TextData(folder));
}

void RemoveLoggerKey() {
    RemoveRegistryKey(kLoggerKey);
}

void SetClassDefault(const std::u16string& key, const std::u16string& value) {
    if (value.empty())
        RemoveRegistryKey(u"HKEY_CLASSES_ROOT\\" + key);
    else
        SetRegistryValue(u"HKEY_CLASSES_ROOT\\" + key, u"", 1, TextData(value));
}

std::u16string ProgramFolder() {
    platform::PathParts parts = platform::SplitPath(platform::ExecutablePath());
    return parts.drive + parts.directory;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::unique_ptr<host::DriverLibrary> OpenDriver() {
    std::string error;
    auto driver = host::DriverLibrary::Open(ProgramFolder() + host::DriverFileName(), &error);
    EXPECT_TRUE(driver != nullptr) << error;
    return driver;
}

}  // namespace testing_support
