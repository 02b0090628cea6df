// The version group of a row, read from PE files built for the tests and
// from Wine's own PE files. Both builds expect the same values: the Windows
// build gets them from the real functions, the Linux build from its own PE
// reader.
#include <gtest/gtest.h>

#include <filesystem>

#include "fileinfo/FileRecord.h"
#include "platform/PathSplit.h"
#include "platform/VersionResource.h"
#include "tests/platform/OnPlatform.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/ScopedResources.h"
#include "tests/support/TestSupport.h"
#include "tests/versioninfo/VersionFixtures.h"

using namespace testing_support;
using namespace version_testing;
using testing_platform::kWindows;
using Texts = std::vector<std::string>;
using Flags = std::vector<int>;

namespace {

// Texts in group order: the twelve string values, Language, Binary File
// Version, Binary Product Version; flags: Is Debug, Is Patched, Is
// Prerelease, Is Private Build, Is Special Build.
struct Expected {
    const char16_t* file;
    Texts texts;
    Flags flags;
};

const Flags kUndetermined{-1, -1, -1, -1, -1};

class VersionInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The resource loader's choice of language follows the user's; Wine
        // takes it from the environment it starts in.
        if (!kWindows)
            SetEnvironment("LC_ALL", "C.UTF-8");
    }

    void ExpectRow(const std::u16string& directory, const Expected& expected) {
        SCOPED_TRACE(U8(expected.file));
        const VersionRow row = LoadVersionRow(record_, directory, expected.file);
        EXPECT_EQ(row.texts, expected.texts);
        EXPECT_EQ(row.flags, expected.flags);
    }

    ScopedResources resources_;
    FileRecord record_{u""};
};

TEST_F(VersionInfoTest, EveryFieldOfTheBuiltFiles) {
    const Expected rows[] = {
        {u"full64.dll",
         {"6.1.7601.0", "Sixty-four-bit fixture", "full64", "Fixture Company",
          "Built for the tests", "Copyright (c) Fixture Company", "Fixture(tm)", "full64.dll",
          "Fixture Product", "10.0.19041.1", "private build", "special build",
          "English (United States)", "6.1.7601.0", "10.0.19041.1"},
         {0, 0, 1, 0, 0}},
        // A 32-bit image; a mask of 0 leaves every flag undetermined.
        {u"image32.dll",
         {"2.5", u8"Zweiunddrei\u00DFig Bit", "", u8"Pr\u00FCfstand GmbH", "", "", "", "",
          u8"Pr\u00FCfling", "", "", "", "German (Germany)", "2.5.0.65535", "2.5.0.0"},
         kUndetermined},
        // Strings stored only under another code page than the first
        // translation's are not found; the fixed information still is.
        {u"codepage.dll",
         {"", "", "", "", "", "", "", "", "", "", "", "", "English (United States)", "1.2.3.4",
          "5.6.7.8"},
         {1, 1, 0, 1, 1}},
        // Only the first of two translations is consulted (an .exe).
        {u"several.exe",
         {"", "Deutsche Beschreibung", "", "Deutsche Firma", "", "", "", "", "", "", "", "",
          "German (Germany)", "3.0.0.1", "3.0.0.0"},
         {0, 0, 0, 0, 0}},
        // The wrong signature is reported (see the assertion tests) and the
        // values are taken anyway.
        {u"badsignature.dll",
         {"", "", "", "", "", "", "", "", "", "", "", "", "English (United States)", "2.3.4.5",
          "6.7.8.9"},
         {1, 0, 0, 0, 0}},
    };
    for (const Expected& row : rows)
        ExpectRow(FixtureFolder(), row);
}

TEST_F(VersionInfoTest, FilesWithoutUsableVersionInformation) {
    TempDir dir;
    dir.Write("plain.txt", "MZ but not much else");
    const VersionRow empty = EmptyVersionRow();
    for (const char16_t* name :
         {u"notrans.dll", u"emptytrans.dll", u"noversion.dll", u"idtwo.dll", u"missing.dll"}) {
        SCOPED_TRACE(U8(name));
        const VersionRow row = LoadVersionRow(record_, FixtureFolder(), name);
        EXPECT_EQ(row.texts, empty.texts);
        EXPECT_EQ(row.flags, empty.flags);
    }
    std::u16string folder = dir.folderText();
    folder.pop_back();
    EXPECT_EQ(LoadVersionRow(record_, folder, u"plain.txt").texts, empty.texts);

    // A row for a directory without matching entries: no find data.
    record_.Reset();
    record_.Fill(nullptr, FixtureFolder(), 0, 0);
    const VersionGroup& version = record_.Version();
    EXPECT_TRUE(record_.IsLoaded(RecordGroup::Version));
    for (const SWCharString& text : version.texts)
        EXPECT_TRUE(text.isEmpty());
}

TEST_F(VersionInfoTest, TheLanguageOfTheResourceThatIsRead) {
    const Expected rows[] = {
        // German, English and French: the user's language (English here).
        {u"languages.dll",
         {"", "", "", "English", "", "", "", "", "", "", "", "", "English (United States)",
          "1.0.0.0", "1.0.0.0"},
         {0, 0, 0, 0, 0}},
        // Neither the user's language nor a neutral one: the first.
        {u"otherlanguages.dll",
         {"", "", "", "German", "", "", "", "", "", "", "", "", "German (Germany)", "1.0.0.0",
          "1.0.0.0"},
         {0, 0, 0, 0, 0}},
        // A neutral resource before another language; a translation of
        // language 0 is named after the user's locale.
        {u"neutral.dll",
         {"", "", "", "Neutral", "", "", "", "", "", "", "", "", "English (United States)",
          "1.0.0.0", "1.0.0.0"},
         {0, 0, 0, 0, 0}},
    };
    for (const Expected& row : rows)
        ExpectRow(FixtureFolder(), row);
}

// Wine departs from Windows here: its loader takes a neutral resource before
// one in the user's language, where Windows (FindResourceEx with a neutral
// language) starts with the user's. The Linux build does what Windows does.
TEST_F(VersionInfoTest, TheUsersLanguageComesBeforeNeutral) {
    if (kWindows)
        GTEST_SKIP() << "Wine takes the neutral resource first";
    EXPECT_EQ(
        LoadVersionRow(record_, FixtureFolder(), u"userandneutral.dll").texts[kVersionCompanyName],
        "English");
}

// Only the Linux build can change the user's language inside the process.
TEST_F(VersionInfoTest, TheUsersLanguageFollowsTheEnvironment) {
    if (kWindows)
        GTEST_SKIP() << "Windows fixes the user's language when the process starts";
    SetEnvironment("LC_ALL", "fr_FR.UTF-8");
    EXPECT_EQ(LoadVersionRow(record_, FixtureFolder(), u"languages.dll").texts[kVersionCompanyName],
              "French");
    SetEnvironment("LC_ALL", "de_CH.UTF-8");  // no Swiss German: the English one
    EXPECT_EQ(LoadVersionRow(record_, FixtureFolder(), u"languages.dll").texts[kVersionCompanyName],
              "English");
    UnsetEnvironment("LC_ALL");
    SetEnvironment("LC_MESSAGES", "de_DE");
    EXPECT_EQ(LoadVersionRow(record_, FixtureFolder(), u"languages.dll").texts[kVersionCompanyName],
              "German");
    UnsetEnvironment("LC_MESSAGES");
}

// Wine's own PE files against what the real functions gave for them
// (version.tsv); the files are the same on both builds (Z: is the Linux
// root). A file without a version resource gives the empty row.
TEST_F(VersionInfoTest, WinesOwnFiles) {
    const ReferenceTable table = ReferenceTable::Load("version.tsv");
    const char* const strings[] = {"FileVersion",     "FileDescription",  "InternalName",
                                   "CompanyName",     "Comments",         "LegalCopyright",
                                   "LegalTrademarks", "OriginalFilename", "ProductName",
                                   "ProductVersion",  "PrivateBuild",     "SpecialBuild"};
    const uint32_t flagBits[] = {0x1, 0x4, 0x2, 0x8, 0x20};  // the group's order
    int compared = 0;
    for (const ReferenceTable::Row& row : table.rows()) {
        std::u16string folder, name;
        if (!WineFile(table.Field(row, "same_bytes_in_wine_builtin_dir"),
                      table.Field(row, "unix_path_of_file"), folder, name))
            continue;
        SCOPED_TRACE(row.name);
        ++compared;
        // The size asked for is twice the resource's, plus four.
        uint32_t handle = 7;
        EXPECT_EQ(platform::FileVersionInfoSize(folder + platform::kPathSeparator + name, &handle),
                  std::stoul(table.Field(row, "GetFileVersionInfoSizeW")));
        VersionRow expected = EmptyVersionRow();
        if (table.Field(row, "fixed_signature") != "-") {
            for (size_t i = 0; i < std::size(strings); ++i) {
                const std::string field = table.Field(row, strings[i]);
                if (field[0] == '"')
                    expected.texts[i] = Unquoted(field.substr(0, field.rfind(" len=")));
            }
            EXPECT_EQ(table.Field(row, "translation_first_pair").substr(0, 4), "0409");
            expected.texts[kVersionLanguage] = "English (United States)";
            expected.texts[kVersionBinaryFileVersion] = table.Field(row, "file_version");
            expected.texts[kVersionBinaryProductVersion] = table.Field(row, "product_version");
            const uint32_t mask = std::stoul(table.Field(row, "file_flags_mask"), nullptr, 16);
            const uint32_t flags = std::stoul(table.Field(row, "file_flags"), nullptr, 16);
            for (size_t i = 0; i < std::size(flagBits); ++i)
                expected.flags[i] = (mask & flagBits[i]) == 0 ? -1 : (flags & flagBits[i]) != 0;
        }
        const VersionRow got = LoadVersionRow(record_, folder, name);
        EXPECT_EQ(got.texts, expected.texts);
        EXPECT_EQ(got.flags, expected.flags);
    }
    if (compared == 0)
        GTEST_SKIP() << "Wine is not installed";
}

}  // namespace
