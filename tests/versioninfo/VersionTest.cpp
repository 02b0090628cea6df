// The version group of a row, read from PE files built for the tests
// (fixtures.tsv) and from Wine's own PE files (version.tsv), and the version
// functions and language names it is read with. Both builds expect the same
// values: the Windows build gets them from the real functions (under Wine),
// the Linux build from its own PE reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fileinfo/FileRecord.h"
#include "platform/LocaleName.h"
#include "platform/PathSplit.h"
#include "platform/VersionResource.h"
#include "tests/platform/OnPlatform.h"
#include "tests/support/AssertionCapture.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/ScopedResources.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;
using testing_platform::OnPlatform;

namespace {

// The group's texts, in order; the flags in the order of kFlagBits.
const char* const kTexts[] = {"FileVersion",     "FileDescription",   "InternalName",
                              "CompanyName",     "Comments",          "LegalCopyright",
                              "LegalTrademarks", "OriginalFilename",  "ProductName",
                              "ProductVersion",  "PrivateBuild",      "SpecialBuild",
                              "Language",        "BinaryFileVersion", "BinaryProductVersion"};
const uint32_t kFlagBits[] = {0x1, 0x4, 0x2, 0x8, 0x20};

// bin/versionfixtures, built from tests/versioninfo/fixtures.
std::u16string Fixture(const std::u16string& name = u"") {
    return ProgramFolder() + u"versionfixtures" +
           (name.empty() ? u"" : platform::kPathSeparator + name);
}

// The Linux file of a version.tsv row (a file of Wine's own, byte for byte
// the one the row was recorded from) as this build names it; false when
// there is none here.
bool WineFile(const ReferenceTable& table, const ReferenceTable::Row& row, std::u16string& folder,
              std::u16string& name) {
    const std::string same = table.Field(row, "same_bytes_in_wine_builtin_dir");
    std::string path =
        same.rfind("identical: ", 0) == 0 ? same.substr(11) : table.Field(row, "unix_path_of_file");
    if (path.rfind("/usr/lib/", 0) != 0)
        return false;
    name = U16(path.substr(path.rfind('/') + 1));
    path.resize(path.rfind('/'));
    if (IsWindowsBuild()) {
        std::replace(path.begin(), path.end(), '/', '\\');
        path = "Z:" + path;
    }
    folder = U16(path);
    std::error_code error;
    return std::filesystem::is_regular_file(
        std::filesystem::path(folder + platform::kPathSeparator + name), error);
}

// The version group of `name` in `folder`, loaded for a row: the texts, then
// the flags as "1 0 -1 ...".
std::vector<std::string> VersionRow(const std::u16string& folder, const std::u16string& name) {
    platform::FindData data{};
    name.copy(data.cFileName, 259);
    data.dwFileAttributes = 0x20;
    FileRecord record(u"");
    record.Fill(&data, folder, 0, 0);
    const VersionGroup& version = record.Version();
    std::vector<std::string> row;
    for (const SWCharString& text : version.texts)
        row.push_back(U8(text.str()));
    std::string flags;
    for (VersionFlagState flag : version.flags)
        flags += (flags.empty() ? "" : " ") + std::to_string(flag);
    row.push_back(flags);
    return row;
}

class VersionInfoTest : public ::testing::Test {
protected:
    ScopedResources resources_;
};

TEST_F(VersionInfoTest, BuiltFiles) {
    const ReferenceTable table = ReferenceTable::LoadCases("versioninfo/fixtures.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        if (IsWindowsBuild() && table.Field(row, "builds") != "both")
            continue;
        for (const char* variable : {"LC_ALL", "LC_MESSAGES"}) {
            const std::string value = table.Field(row, variable);
            if (!IsWindowsBuild())
                value == "-" ? UnsetEnvironment(variable) : SetEnvironment(variable, value);
        }
        std::vector<std::string> expected;
        for (const char* text : kTexts)
            expected.push_back(table.Field(row, text));
        expected.push_back(table.Field(row, "flags"));
        EXPECT_EQ(VersionRow(Fixture(), U16(table.Field(row, "file"))), expected);
    }
    // A directory row: no find data.
    FileRecord directory(u"");
    directory.Fill(nullptr, Fixture(), 0, 0);
    EXPECT_TRUE(directory.Version().texts[kVersionFileVersion].isEmpty());
    EXPECT_TRUE(directory.IsLoaded(RecordGroup::Version));
}

// Wine's own PE files against what the real functions gave for them
// (version.tsv); the files are the same on both builds (Z: is the Linux
// root). A file without a version resource gives the empty row.
TEST_F(VersionInfoTest, WinesOwnFiles) {
    const ReferenceTable table = ReferenceTable::Load("version.tsv");
    int compared = 0;
    for (const ReferenceTable::Row& row : table.rows()) {
        std::u16string folder, name;
        if (!WineFile(table, row, folder, name))
            continue;
        SCOPED_TRACE(row.name);
        ++compared;
        // The size asked for is twice the resource's, plus four.
        uint32_t handle = 7;
        EXPECT_EQ(platform::FileVersionInfoSize(folder + platform::kPathSeparator + name, &handle),
                  std::stoul(table.Field(row, "GetFileVersionInfoSizeW")));
        std::vector<std::string> expected(15);
        std::string flags = "-1 -1 -1 -1 -1";
        if (table.Field(row, "fixed_signature") != "-") {
            for (size_t i = 0; i < 12; ++i) {
                const std::string field = table.Field(row, kTexts[i]);
                if (field[0] == '"')
                    expected[i] = Unquoted(field.substr(0, field.rfind(" len=")));
            }
            EXPECT_EQ(table.Field(row, "translation_first_pair").substr(0, 4), "0409");
            expected[kVersionLanguage] = "English (United States)";
            expected[kVersionBinaryFileVersion] = table.Field(row, "file_version");
            expected[kVersionBinaryProductVersion] = table.Field(row, "product_version");
            const uint32_t mask = std::stoul(table.Field(row, "file_flags_mask"), nullptr, 16);
            const uint32_t bits = std::stoul(table.Field(row, "file_flags"), nullptr, 16);
            flags.clear();
            for (uint32_t bit : kFlagBits)
                flags += std::string(flags.empty() ? "" : " ") + ((mask & bit) == 0   ? "-1"
                                                                  : (bits & bit) != 0 ? "1"
                                                                                      : "0");
        }
        expected.push_back(flags);
        EXPECT_EQ(VersionRow(folder, name), expected);
    }
    if (compared == 0)
        GTEST_SKIP() << "Wine is not installed";
}

// The version block of a file, as the platform's functions give it.
std::vector<uint8_t> Block(const std::u16string& path, uint32_t bytes = 0) {
    uint32_t handle = 7;
    const uint32_t size = platform::FileVersionInfoSize(path, &handle);
    std::vector<uint8_t> block(size);
    EXPECT_TRUE(size == 0 ||
                platform::ReadFileVersionInfo(path, handle, bytes ? bytes : size, block.data()));
    return block;
}

// "offset N length L", "text T length L" for a string, or "failed".
std::string Query(const std::vector<uint8_t>& block, const std::u16string& path, bool text) {
    const void* value = nullptr;
    uint32_t length = 0;
    if (!platform::QueryVersionValue(block.data(), path.c_str(), &value, &length))
        return "failed";
    const size_t offset = static_cast<const uint8_t*>(value) - block.data();
    return (text ? "text " + U8(static_cast<const char16_t*>(value))
                 : "offset " + std::to_string(offset)) +
           " length " + std::to_string(length);
}

// Sub-block paths asked of a file of Wine's as the real VerQueryValueW
// answered them (version_keys.tsv): "offset N ...", a "text", or "-".
TEST(VersionResource, SubBlockPaths) {
    const ReferenceTable files = ReferenceTable::Load("version.tsv");
    const ReferenceTable keys = ReferenceTable::Load("version_keys.tsv");
    for (const ReferenceTable::Row& row : keys.rows()) {
        SCOPED_TRACE(row.name);
        std::u16string folder, name;
        for (const ReferenceTable::Row& file : files.rows())
            if (files.Field(file, "file") == keys.Field(row, "file") &&
                !WineFile(files, file, folder, name))
                GTEST_SKIP() << "Wine is not installed";
        const std::vector<uint8_t> block = Block(folder + platform::kPathSeparator + name);
        ASSERT_FALSE(block.empty());
        const std::string value = keys.Field(row, "value");
        const std::u16string path = U16(Unquoted(keys.Field(row, "sub_block")));
        EXPECT_EQ(
            Query(block, path, value[0] == '"'),
            value == "-" ? "failed"
            : value[0] == '"'
                ? "text " + Unquoted(value) + " length " + keys.Field(row, "len")
                : value.substr(0, value.find(" bytes")) + " length " + keys.Field(row, "len"));
    }
}

TEST(VersionResource, BuiltFiles) {
    TempDir dir;
    // No information: a size of 0, and a handle of 0.
    for (const std::u16string& path :
         {Fixture(u"noversion.dll"), Fixture(u"idtwo.dll"), Fixture(u"missing.dll"),
          dir.Write("short.dll", "MZ").u16string(), dir.folderText(), std::u16string()}) {
        uint32_t handle = 7;
        EXPECT_EQ(platform::FileVersionInfoSize(path, &handle), 0u) << U8(path);
        EXPECT_EQ(handle, 0u) << U8(path);
        uint8_t block[64] = {};
        EXPECT_FALSE(platform::ReadFileVersionInfo(path, 0, sizeof block, block)) << U8(path);
    }
    // An empty string counts its NUL.
    const std::vector<uint8_t> image32 = Block(Fixture(u"image32.dll"));
    EXPECT_EQ(Query(image32, u"\\StringFileInfo\\040704e4\\InternalName", true), "text  length 1");
    EXPECT_EQ(Query(image32, u"\\StringFileInfo\\040704e4\\Comments", true), "failed");
    // A shorter block holds the start of the resource: the fixed information
    // is inside the first 92 bytes.
    const std::vector<uint8_t> whole = Block(Fixture(u"full64.dll")),
                               part = Block(Fixture(u"full64.dll"), 92);
    ASSERT_GT(whole.size(), 92u);
    EXPECT_EQ(std::memcmp(part.data() + 2, whole.data() + 2, 90), 0);
}

// The language names of locale.tsv. The Linux build names a locale after
// glibc's, which departs from Windows's for Chinese and the invariant one.
TEST(LocaleName, LanguageNames) {
    const ReferenceTable table = ReferenceTable::Load("locale.tsv");
    for (const ReferenceTable::Row& row : table.rows()) {
        if (table.Field(row, "args") != "LOCALE_SLANGUAGE(0x2) cch=60")
            continue;
        const uint32_t lcid = std::stoul(table.Field(row, "input"), nullptr, 16);
        if ((lcid & 0xFFF) == 0)
            continue;  // the default locales follow the user's
        SCOPED_TRACE(row.name);
        char16_t name[60] = {};
        const int written = platform::GetLocaleLanguageName(lcid, name, 60);
        const std::string output = table.Field(row, "output");
        std::string expected = output[0] == '"' ? Unquoted(output) : "";
        if (lcid == 0x0804)
            expected = OnPlatform<std::string>("Chinese (China)", expected);
        if (lcid == 0x007F)
            expected = OnPlatform<std::string>("English (United States, Computer)", expected);
        EXPECT_EQ(U8(name), expected);
        EXPECT_EQ(written, expected.empty() ? 0 : static_cast<int>(U16(expected).size()) + 1);
    }
    // The default locales name the user's; the buffer must hold the NUL.
    SetEnvironment("LC_ALL", "C.UTF-8");  // Wine fixed its locale when it started
    for (uint32_t lcid : {0x0000u, 0x0400u, 0x0800u}) {
        char16_t name[60] = {};
        EXPECT_EQ(platform::GetLocaleLanguageName(lcid, name, 60), 24) << lcid;
        EXPECT_EQ(U8(name), "English (United States)") << lcid;
    }
    char16_t name[60] = {u'#'};
    EXPECT_EQ(platform::GetLocaleLanguageName(0x0409, name, 23), 0);
    EXPECT_EQ(name[0], u'#');
}

// What loading version information reports to the logging library: the
// wrong signature of badsignature.dll (whose values fixtures.tsv shows taken),
// once for the row.
TEST(VersionAssertion, AWrongSignatureIsReported) {
    AssertionCapture capture;
    ASSERT_TRUE(capture.active());
    FileRecord record(u"");
    platform::FindData data{};
    data.dwFileAttributes = 0x20;
    std::u16string(u"badsignature.dll").copy(data.cFileName, 259);
    record.Fill(&data, Fixture(), 0, 0);
    EXPECT_EQ(U8(record.Version().texts[kVersionBinaryFileVersion].str()), "2.3.4.5");
    record.Version();
    EXPECT_EQ(capture.Reports(),
              std::vector<std::string>{"fileinfo: ffi->dwSignature == 0xFEEF04BD"});
}

}  // namespace
