// The portable PE version reader against the platform's version functions,
// in one process: on the Windows build GetFileVersionInfoW and
// VerQueryValueW themselves (under Wine), on the Linux build the adapter that
// feeds the reader a file. Every file with one version resource must give the
// same block and the same answer to every query.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "formats/PeVersion.h"
#include "platform/FileContents.h"
#include "platform/PathSplit.h"
#include "platform/VersionResource.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"
#include "tests/versioninfo/VersionFixtures.h"

using testing_support::U16;
using testing_support::U8;

namespace {

// Fixtures with one version resource (the loader's choice among several is
// tested with the field values), and files without one.
const char16_t* const kFixtures[] = {
    u"full64.dll",    u"image32.dll", u"codepage.dll", u"notrans.dll",      u"emptytrans.dll",
    u"noversion.dll", u"idtwo.dll",   u"neutral.dll",  u"badsignature.dll",
};

const char16_t* const kStringKeys[] = {
    u"Comments",     u"CompanyName",    u"FileDescription", u"FileVersion",
    u"InternalName", u"LegalCopyright", u"LegalTrademarks", u"OriginalFilename",
    u"PrivateBuild", u"ProductName",    u"ProductVersion",  u"SpecialBuild",
};

std::vector<std::u16string> Files() {
    std::vector<std::u16string> files;
    for (const char16_t* name : kFixtures)
        files.push_back(version_testing::FixtureFolder() + platform::kPathSeparator + name);
    // Wine's own PE files (version.tsv), when Wine is installed.
    const testing_support::ReferenceTable table =
        testing_support::ReferenceTable::Load("version.tsv");
    for (const auto& row : table.rows()) {
        std::u16string folder, name;
        if (version_testing::WineFile(table.Field(row, "same_bytes_in_wine_builtin_dir"),
                                      table.Field(row, "unix_path_of_file"), folder, name))
            files.push_back(folder + platform::kPathSeparator + name);
    }
    return files;
}

// The sub-blocks of version_keys.tsv and every string value, asked of a
// block whose first translation is `t` ("040904b0") in place of the
// table's.
std::vector<std::u16string> Queries(const std::u16string& t) {
    std::vector<std::u16string> queries;
    const testing_support::ReferenceTable table =
        testing_support::ReferenceTable::Load("version_keys.tsv");
    for (const auto& row : table.rows()) {
        std::u16string query = U16(testing_support::Unquoted(table.Field(row, "sub_block")));
        const size_t at = query.find(u"040904b0");
        if (at != std::u16string::npos)
            query.replace(at, 8, t);
        queries.push_back(query);
    }
    for (const char16_t* key : kStringKeys)
        queries.push_back(u"\\StringFileInfo\\" + t + u"\\" + key);
    return queries;
}

// The first translation of a block as the text of its StringFileInfo key.
std::u16string FirstTranslation(const uint8_t* block, size_t size) {
    size_t offset = 0;
    uint32_t length = 0;
    if (!formats::pe::QueryVersionBlock(block, size, u"\\VarFileInfo\\Translation", offset,
                                        length) ||
        length < 4)
        return u"040904b0";
    char text[9];
    const unsigned language = block[offset] | block[offset + 1] << 8;
    const unsigned codePage = block[offset + 2] | block[offset + 3] << 8;
    std::snprintf(text, sizeof text, "%04x%04x", language, codePage);
    return U16(text);
}

struct Answer {
    bool found = false;
    size_t offset = 0;
    uint32_t length = 0;
    bool operator==(const Answer& o) const {
        return found == o.found && offset == o.offset && length == o.length;
    }
};

std::string Show(const Answer& a) {
    return a.found ? "offset " + std::to_string(a.offset) + " length " + std::to_string(a.length)
                   : "failed";
}

TEST(PeVersionReader, AnswersAsThePlatformDoes) {
    int compared = 0;
    for (const std::u16string& path : Files()) {
        SCOPED_TRACE(U8(path));
        std::string bytes;
        if (!platform::ReadFileBytes(path, bytes, size_t{64} << 20))
            continue;  // not shipped in this Wine
        const formats::MemorySource file(bytes);
        formats::pe::ResourceLocation where;
        const bool found = formats::pe::FindVersionResource(file, 0x0409, where);

        uint32_t handle = 0;
        const uint32_t size = platform::FileVersionInfoSize(path, &handle);
        ASSERT_EQ(size != 0, found);
        ++compared;
        if (!found)
            continue;
        EXPECT_EQ(size, where.size * 2 + 4);
        std::vector<uint8_t> block(size);
        ASSERT_TRUE(platform::ReadFileVersionInfo(path, handle, size, block.data()));
        std::vector<uint8_t> resource(where.size);
        ASSERT_TRUE(file.ReadExact(where.offset, resource.data(), resource.size()));
        ASSERT_EQ(0, std::memcmp(block.data(), resource.data(), resource.size()));

        const size_t rootLength = block[0] | block[1] << 8;
        for (const std::u16string& query :
             Queries(FirstTranslation(resource.data(), resource.size()))) {
            Answer system, portable;
            const void* value = nullptr;
            system.found =
                platform::QueryVersionValue(block.data(), query.c_str(), &value, &system.length);
            if (system.found)
                system.offset = static_cast<const uint8_t*>(value) - block.data();
            portable.found = formats::pe::QueryVersionBlock(
                resource.data(), std::min(rootLength, resource.size()), query, portable.offset,
                portable.length);
            if (!portable.found)
                portable.length = 0;
            if (!system.found)
                system.length = 0;
            EXPECT_EQ(Show(system), Show(portable)) << U8(query);
        }
    }
    EXPECT_GE(compared, static_cast<int>(std::size(kFixtures)));
}

}  // namespace
