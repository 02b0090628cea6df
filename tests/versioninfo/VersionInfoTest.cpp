// The version group of a row, read from PE files built for the tests and
// from Wine's own PE files. Both builds expect the same values: the Windows
// build gets them from the real functions, the Linux build from its own PE
// reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fileinfo/FileRecord.h"
#include "platform/PathSplit.h"
#include "tests/platform/OnPlatform.h"
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

TEST_F(VersionInfoTest, TheResourceIsReadOncePerRow) {
    TempDir dir;
    std::filesystem::copy_file(std::filesystem::path(FixtureFolder()) / "full64.dll",
                               dir.path() / "copy.dll");
    std::u16string folder = dir.folderText();
    folder.pop_back();
    EXPECT_EQ(LoadVersionRow(record_, folder, u"copy.dll").texts[kVersionProductName],
              "Fixture Product");

    // Reading another field of the row finds the group loaded: the file is
    // not read again, even when it is gone.
    std::filesystem::remove(dir.path() / "copy.dll");
    EXPECT_EQ(U8(record_.Version().texts[kVersionFileVersion].str()), "6.1.7601.0");
    EXPECT_EQ(U8(record_.Version().texts[kVersionProductName].str()), "Fixture Product");

    // The next row loads again.
    const platform::FindData* data = record_.findData();
    record_.Reset();
    record_.Fill(data, folder, 0, 0);
    EXPECT_TRUE(record_.Version().texts[kVersionProductName].isEmpty());
    EXPECT_EQ(record_.Version().flags[kVersionIsDebug], -1);
}

// Wine's PE files, whose version information the real functions gave as
// below; the files are the same on both builds (Z: is the Linux root).
struct WineFile {
    const char16_t* name;
    const char* fileVersion;  // null: no version resource
    const char* productVersion;
    Texts strings;
};

Texts WineStrings(const char* version, const char* description, const char* original,
                  const char* product) {
    return {version,
            description,
            "",
            "Microsoft Corporation",
            "",
            "Copyright (c) 1993-2023 the Wine project authors (see the file AUTHORS "
            "for a complete list)",
            "",
            original,
            "Wine",
            product,
            "",
            ""};
}

const WineFile kWineFiles[] = {
    {u"kernel32.dll", "10.0.18362.1350", "10.0.18362.1350",
     WineStrings("10.0.18362.1350", "Wine kernel DLL", "kernel32.dll", "10.0.18362.1350")},
    {u"ntdll.dll", "6.1.7601.24059", "6.1.7601.24059",
     WineStrings("6.1.7601.24059", "Wine ntdll", "ntdll.dll", "6.1.7601.24059")},
    {u"ole32.dll", "10.0.0.0", "1.0.0.0",
     WineStrings("10.0.0.0", "Wine core dll", "ole32.dll", "1.0")},
    {u"oleaut32.dll", "6.0.6001.18000", "1.0.0.0",
     WineStrings("6.0.6001.18000", "Wine OLE dll", "oleaut32.dll", "1.0")},
    {u"msvcrt.dll", "7.0.2600.2180", "1.0.0.0",
     WineStrings("7.0.2600", "Wine CRT library", "msvcrt.dll", "1.0")},
    {u"comctl32.dll", "5.81.4704.1100", "5.81.4704.1100",
     WineStrings("5.81", "Wine Common Controls", "comctl32.dll", "5.81")},
    {u"user32.dll", "5.1.2600.2180", "5.1.2600.2180",
     WineStrings("5.01.2600.2180", "Wine core dll", "user32.dll", "5.01.2600.2180")},
    {u"gdi32.dll", "10.0.0.0", "1.0.0.0", WineStrings("1.0", "Wine core dll", "gdi32.dll", "1.0")},
    {u"advapi32.dll", "10.0.10240.16384", "10.0.10240.16384",
     WineStrings("10.0.10240.16384", "Wine advapi32 dll", "advapi32.dll", "10.0.10240.16384")},
    {u"shell32.dll", "6.0.2900.6242", "6.0.2900.6242",
     WineStrings("6.0.2900.6242", "Wine core dll", "shell32.dll", "6.0.2900.6242")},
    {u"version.dll", "5.1.2600.2180", "5.1.2600.2180",
     WineStrings("5.1.2600.2180", "Wine version dll", "version.dll", "5.1.2600.2180")},
    {u"ws2_32.dll", "5.1.2600.5512", "5.1.2600.5512",
     WineStrings("5.1.2600.5512", "Wine core dll", "ws2_32.dll", "5.1.2600.5512")},
    {u"wininet.dll", "8.0.7601.17601", "8.0.7601.17601",
     WineStrings("8.00.7601.17601", "Wine Internet Connectivity", "wininet.dll",
                 "8.00.7601.17601")},
    {u"msi.dll", "4.5.6001.22308", "4.5.6001.22308",
     WineStrings("4.5.6001.22308", "Wine MSI dll", "msi.dll", "4.5.6001.22308")},
    {u"dbghelp.dll", "6.1.7601.17514", "6.1.7601.17514",
     WineStrings("6.1.7601.17514", "Wine Image Helper", "dbghelp.dll", "6.1.7601.17514")},
    {u"mshtml.dll", "6.0.2800.1106", "6.0.2800.1106",
     WineStrings("6.0.2800.1106", "Wine HTML Viewer", "mshtml.dll", "6.0.2800.1106")},
    {u"regedit.exe",
     "5.2.3790.0",
     "5.2.3790.0",
     {"5.2.3790.0", "Wine Registry Editor", "REGEDIT", "Microsoft Corporation", "",
      "Copyright (c) 1993-2023 the Wine project authors (see the file AUTHORS for a complete "
      "list)",
      "", "REGEDIT.EXE", "Wine", "5.2", "", ""}},
    {u"kernelbase.dll", nullptr, nullptr, {}},
    {u"cmd.exe", nullptr, nullptr, {}},
    {u"notepad.exe", nullptr, nullptr, {}},
};

TEST_F(VersionInfoTest, WinesOwnFiles) {
    const std::u16string folder = WineFolder(false);
    if (folder.empty())
        GTEST_SKIP() << "Wine is not installed";
    for (const WineFile& file : kWineFiles) {
        Expected expected{file.name, EmptyVersionRow().texts, kUndetermined};
        if (file.fileVersion != nullptr) {
            expected.texts = file.strings;
            expected.texts.insert(expected.texts.end(), {"English (United States)",
                                                         file.fileVersion, file.productVersion});
            expected.flags = {0, 0, 0, 0, 0};
        }
        ExpectRow(folder, expected);
    }
}

TEST_F(VersionInfoTest, WinesThirtyTwoBitZlib) {
    const std::u16string folder = WineFolder(true);
    if (folder.empty() || !std::filesystem::exists(std::filesystem::path(folder) / "zlib1.dll"))
        GTEST_SKIP() << "Wine's 32-bit zlib1.dll is not installed";
    ExpectRow(folder, {u"zlib1.dll",
                       {"1.2.13", "zlib data compression library", "zlib1.dll", "",
                        "For more information visit http://www.zlib.net/",
                        "(C) 1995-2022 Jean-loup Gailly & Mark Adler", "", "zlib1.dll", "zlib",
                        "1.2.13", "", "", "English (United States)", "1.2.13.0", "1.2.13.0"},
                       {0, 0, 0, 0, 0}});
}

}  // namespace
