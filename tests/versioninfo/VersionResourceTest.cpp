// The three version functions and the language names, as the loader uses
// them: both builds must give the same answers (the Linux build reads the PE
// file itself).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/LocaleName.h"
#include "platform/PathSplit.h"
#include "platform/VersionResource.h"
#include "tests/platform/OnPlatform.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"
#include "tests/versioninfo/VersionFixtures.h"

using namespace testing_support;
using testing_platform::OnPlatform;

namespace {

std::u16string Fixture(const char16_t* name) {
    return version_testing::FixtureFolder() + platform::kPathSeparator + name;
}

class VersionBlock {
public:
    explicit VersionBlock(const std::u16string& path) {
        uint32_t handle = 7;
        size_ = platform::FileVersionInfoSize(path, &handle);
        handle_ = handle;
        if (size_ == 0)
            return;
        block_.reset(new uint8_t[size_]());
        read_ = platform::ReadFileVersionInfo(path, handle, size_, block_.get());
    }

    uint32_t size() const { return size_; }
    uint32_t handle() const { return handle_; }
    bool read() const { return read_; }
    const uint8_t* data() const { return block_.get(); }

    // "offset N length L", "text T" for a string, or "failed".
    std::string Query(const char16_t* path, bool text = false) const {
        const void* value = nullptr;
        uint32_t length = 0;
        if (!platform::QueryVersionValue(block_.get(), path, &value, &length))
            return "failed";
        if (text) {
            const auto* units = static_cast<const char16_t*>(value);
            return "text " + U8(std::u16string(units, std::char_traits<char16_t>::length(units))) +
                   " length " + std::to_string(length);
        }
        return "offset " + std::to_string(static_cast<const uint8_t*>(value) - block_.get()) +
               " length " + std::to_string(length);
    }

private:
    uint32_t size_ = 0;
    uint32_t handle_ = 0;
    bool read_ = false;
    std::unique_ptr<uint8_t[]> block_;
};

TEST(VersionResource, NoInformation) {
    TempDir dir;
    const std::u16string folder = dir.folderText();
    dir.Write("text.txt", "hello");
    dir.Write("short.dll", "MZ");
    for (const std::u16string& path :
         {Fixture(u"noversion.dll"), Fixture(u"idtwo.dll"), Fixture(u"missing.dll"),
          folder + u"text.txt", folder + u"short.dll", folder, std::u16string()}) {
        uint32_t handle = 7;
        EXPECT_EQ(platform::FileVersionInfoSize(path, &handle), 0u) << U8(path);
        EXPECT_EQ(handle, 0u) << U8(path);
        uint8_t block[64] = {};
        EXPECT_FALSE(platform::ReadFileVersionInfo(path, 0, sizeof block, block)) << U8(path);
    }
}

// Sub-block paths asked of a file of Wine's as the real VerQueryValueW
// answered them (version_keys.tsv): "offset N ...", a "text", or "-".
TEST(VersionResource, SubBlockPaths) {
    const ReferenceTable files = ReferenceTable::Load("version.tsv");
    const ReferenceTable keys = ReferenceTable::Load("version_keys.tsv");
    std::u16string folder, name;
    for (const ReferenceTable::Row& row : keys.rows()) {
        SCOPED_TRACE(row.name);
        for (const ReferenceTable::Row& file : files.rows())
            if (files.Field(file, "file") == keys.Field(row, "file") &&
                !version_testing::WineFile(files.Field(file, "same_bytes_in_wine_builtin_dir"),
                                           files.Field(file, "unix_path_of_file"), folder, name))
                GTEST_SKIP() << "Wine is not installed";
        const VersionBlock block(folder + platform::kPathSeparator + name);
        ASSERT_TRUE(block.read());
        const std::string value = keys.Field(row, "value");
        const std::string length = keys.Field(row, "len");
        const std::u16string path = U16(Unquoted(keys.Field(row, "sub_block")));
        if (value == "-")
            EXPECT_EQ(block.Query(path.c_str()), "failed");
        else if (value[0] == '"')
            EXPECT_EQ(block.Query(path.c_str(), true),
                      "text " + Unquoted(value) + " length " + length);
        else
            EXPECT_EQ(block.Query(path.c_str()),
                      value.substr(0, value.find(" bytes")) + " length " + length);
    }
}

TEST(VersionResource, AnEmptyStringCountsItsNul) {
    const VersionBlock block(Fixture(u"image32.dll"));
    ASSERT_TRUE(block.read());
    EXPECT_EQ(block.Query(u"\\StringFileInfo\\040704e4\\InternalName", true), "text  length 1");
    EXPECT_EQ(block.Query(u"\\StringFileInfo\\040704e4\\Comments", true), "failed");
}

TEST(VersionResource, AShorterBlockHoldsTheStartOfTheResource) {
    const std::u16string path = Fixture(u"full64.dll");
    const VersionBlock whole(path);
    ASSERT_TRUE(whole.read());
    // The fixed information is inside the first 92 bytes.
    std::unique_ptr<uint8_t[]> part(new uint8_t[whole.size()]());
    ASSERT_TRUE(platform::ReadFileVersionInfo(path, 0, 92, part.get()));
    EXPECT_EQ(std::memcmp(part.get() + 2, whole.data() + 2, 90), 0);
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
}

TEST(LocaleName, TheDefaultLocalesNameTheUsers) {
    SetEnvironment("LC_ALL", "C.UTF-8");  // Wine fixed its locale when it started
    for (uint32_t lcid : {0x0000u, 0x0400u, 0x0800u}) {
        char16_t name[60] = {};
        EXPECT_GT(platform::GetLocaleLanguageName(lcid, name, 60), 0) << lcid;
        EXPECT_EQ(U8(name), "English (United States)") << lcid;
    }
    UnsetEnvironment("LC_ALL");
}

TEST(LocaleName, TheBufferMustHoldTheNul) {
    char16_t name[60];
    std::fill(std::begin(name), std::end(name), u'#');
    EXPECT_EQ(platform::GetLocaleLanguageName(0x0409, name, 23), 0);
    EXPECT_EQ(name[0], u'#');
    EXPECT_EQ(platform::GetLocaleLanguageName(0x0409, name, 24), 24);
    EXPECT_EQ(U8(name), "English (United States)");
}

}  // namespace
