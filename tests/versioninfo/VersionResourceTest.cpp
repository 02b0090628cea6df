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

TEST(VersionResource, SizeIsTwiceTheResourcePlusFour) {
    const VersionBlock block(Fixture(u"full64.dll"));
    ASSERT_TRUE(block.read());
    EXPECT_EQ(block.handle(), 0u);
    // The resource is the VS_VERSIONINFO node, whose first word is its length.
    uint16_t rootLength = 0;
    std::memcpy(&rootLength, block.data(), 2);
    EXPECT_EQ(block.size(), 2u * rootLength + 4);
    EXPECT_EQ(VersionBlock(Fixture(u"image32.dll")).size() % 2, 0u);
}

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

TEST(VersionResource, SubBlockPaths) {
    const VersionBlock block(Fixture(u"full64.dll"));
    ASSERT_TRUE(block.read());
    const struct {
        const char16_t* path;
        const char* answer;
        bool text;
    } rows[] = {
        // The fixed information follows the 40 bytes of the root's header.
        {u"\\", "offset 40 length 52", false},
        {u"", "offset 40 length 52", false},
        {u"\\\\", "offset 40 length 52", false},
        {u"/", "failed", false},
        // Blocks that only hold others answer with length 0; a string's length
        // counts its NUL.
        {u"\\StringFileInfo", "offset 128 length 0", false},
        {u"\\StringFileInfo\\040904b0", "offset 152 length 0", false},
        {u"\\StringFileInfo\\040904b0\\", "offset 152 length 0", false},
        {u"\\StringFileInfo\\040904b0\\FileVersion", "text 6.1.7601.0 length 11", true},
        {u"\\StringFileInfo\\040904B0\\FileVersion", "text 6.1.7601.0 length 11", true},
        {u"\\stringfileinfo\\040904b0\\FILEVERSION", "text 6.1.7601.0 length 11", true},
        {u"StringFileInfo\\040904b0\\FileVersion", "text 6.1.7601.0 length 11", true},
        {u"\\\\StringFileInfo\\\\040904b0\\\\FileVersion\\", "text 6.1.7601.0 length 11", true},
        {u"/StringFileInfo/040904b0/FileVersion", "failed", true},
        {u"\\StringFileInfo\\040904b0\\FileVers", "failed", true},
        {u"\\StringFileInfo\\040904b0\\FileVersionX", "failed", true},
        {u"\\StringFileInfo\\040904b0\\ FileVersion", "failed", true},
        {u"\\StringFileInfo\\040904b0\\FileVersion ", "failed", true},
        {u"\\StringFileInfo\\040904e4\\FileVersion", "failed", true},
        {u"\\StringFileInfo\\0409\\FileVersion", "failed", true},
        {u"\\StringFileInfo\\040904b0\\Nope", "failed", true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(block.Query(row.path, row.text), row.answer) << U8(row.path);

    // Binary values count bytes: language 0x0409, code page 0x04B0.
    for (const char16_t* path : {u"\\VarFileInfo\\Translation", u"varfileinfo\\translation\\"}) {
        const void* value = nullptr;
        uint32_t length = 0;
        ASSERT_TRUE(platform::QueryVersionValue(block.data(), path, &value, &length)) << U8(path);
        EXPECT_EQ(std::string(static_cast<const char*>(value), length), "\x09\x04\xB0\x04");
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

TEST(LocaleName, LanguageNames) {
    const struct {
        uint32_t lcid;
        std::string posix;
        std::string windows;
    } rows[] = {
        {0x0409, "English (United States)", "English (United States)"},
        {0x0009, "English (United States)", "English (United States)"},
        {0x0809, "English (United Kingdom)", "English (United Kingdom)"},
        {0x0407, "German (Germany)", "German (Germany)"},
        {0x0007, "German (Germany)", "German (Germany)"},
        {0x00010407, "German (Germany)", "German (Germany)"},
        {0x040C, "French (France)", "French (France)"},
        {0x0C0C, "French (Canada)", "French (Canada)"},
        {0x0411, "Japanese (Japan)", "Japanese (Japan)"},
        {0x0416, "Portuguese (Brazil)", "Portuguese (Brazil)"},
        {0x0419, "Russian (Russia)", "Russian (Russia)"},
        {0x0804, "Chinese (China)", "Chinese (Simplified, China)"},
        {0x1234, "", ""},
    };
    for (const auto& row : rows) {
        char16_t name[60] = {};
        const int written = platform::GetLocaleLanguageName(row.lcid, name, 60);
        const std::string expected = OnPlatform(row.posix, row.windows);
        EXPECT_EQ(U8(name), expected) << std::hex << row.lcid;
        EXPECT_EQ(written, expected.empty() ? 0 : static_cast<int>(expected.size()) + 1)
            << std::hex << row.lcid;
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
