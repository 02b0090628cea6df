// The project's binaries carry its version: on Windows as a version
// resource, read back with the driver's own PE reader; a Linux library has
// none.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "formats/PeVersion.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

// The string `name` of the block's English (United States) table.
std::u16string VersionString(const std::string& block, const std::u16string& name) {
    size_t offset = 0;
    uint32_t length = 0;
    if (!formats::pe::QueryVersionBlock(reinterpret_cast<const uint8_t*>(block.data()),
                                        block.size(), u"\\StringFileInfo\\040904b0\\" + name,
                                        offset, length) ||
        length == 0)
        return u"(none)";
    std::u16string text(length, u'\0');
    std::memcpy(text.data(), block.data() + offset, length * sizeof(char16_t));
    return text.substr(0, text.find(u'\0'));
}

TEST(ProjectVersion, TheBinariesCarryIt) {
    const struct {
        std::u16string file, original;
    } binaries[] = {
        {host::DriverFileName(), u"vldb_filesystem.dll"},
        {IsWindowsBuild() ? u"vllogger.dll" : u"libvllogger.so", u"vllogger.dll"},
        {IsWindowsBuild() ? u"fsdata.exe" : u"fsdata", u"fsdata.exe"},
    };
    for (const auto& binary : binaries) {
        const std::string bytes =
            ReadWholeFile(std::filesystem::path(ProgramFolder() + binary.file));
        ASSERT_FALSE(bytes.empty()) << U8(binary.file);
        formats::MemorySource file(bytes);
        formats::pe::ResourceLocation where;
        const bool found = formats::pe::FindVersionResource(file, 0x0409, where);
        if (!IsWindowsBuild()) {
            EXPECT_FALSE(found) << "an ELF file has no version resource: " << U8(binary.file);
            continue;
        }
        ASSERT_TRUE(found) << U8(binary.file);
        const std::string block = bytes.substr(where.offset, where.size);
        EXPECT_EQ(U8(VersionString(block, u"ProductVersion")), FSDATA_VERSION);
        EXPECT_EQ(U8(VersionString(block, u"FileVersion")), FSDATA_VERSION);
        EXPECT_EQ(VersionString(block, u"OriginalFilename"), binary.original);
        EXPECT_EQ(VersionString(block, u"ProductName"), u"File System Data driver");
    }
}

}  // namespace
