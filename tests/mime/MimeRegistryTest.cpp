// HKEY_CLASSES_ROOT on POSIX when the registry file does not name a class:
// the shared-mime-info database of the XDG data directories answers, read
// through RegistryKey as the File Type column reads it. The database is a
// copy of db/: the user's data directory, then two system ones.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/Registry.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"

namespace {

using platform::RegistryKey;
using testing_support::ReferenceTable;
using testing_support::SetEnvironment;
using testing_support::UnsetEnvironment;
namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The default value of a class key, as File Type reads it (256 bytes); "-"
// when the key does not open, "!" when it has no such value.
std::string DefaultText(const std::string& path) {
    std::unique_ptr<RegistryKey> key =
        RegistryKey::Open(platform::RegistryRoot::ClassesRoot, testing_support::U16(path));
    std::u16string text;
    return !key ? "-" : !key->QueryText(u"", text, 128) ? "!" : testing_support::U8(text);
}

class MimeRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(testing_support::SourceFolder() / "tests/mime/db", root_.path(),
                 fs::copy_options::recursive);
        SetEnvironment("XDG_DATA_HOME", (root_.path() / "user").string());
        SetEnvironment("XDG_DATA_DIRS", (root_.path() / "first").string() + ":relative/ignored:" +
                                            (root_.path() / "second").string());
        SetEnvironment("VELLUM_REGISTRY", (root_.path() / "registry.reg").string());
        UnsetEnvironment("LC_ALL");
        UnsetEnvironment("LC_MESSAGES");
        SetEnvironment("LANG", "C");
    }

    testing_support::TempDir root_;
};

TEST_F(MimeRegistryTest, FollowsTheTable) {
    const ReferenceTable table = ReferenceTable::LoadCases("mime/lookups.tsv");
    for (const auto& row : table.rows())
        EXPECT_EQ(DefaultText(table.Field(row, "key")), table.Field(row, "text")) << row.name;
}

TEST_F(MimeRegistryTest, CommentsInTheCallersLanguage) {
    const ReferenceTable table = ReferenceTable::LoadCases("mime/languages_env.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            const std::string value = table.Field(row, name);
            value == "(unset)" ? UnsetEnvironment(name) : SetEnvironment(name, value);
        }
        EXPECT_EQ(DefaultText("text/x-high"), table.Field(row, "high"));
        EXPECT_EQ(DefaultText("text/x-onlyde"), table.Field(row, "onlyde"));
        EXPECT_EQ(DefaultText("text/x-user"), "Mine");
    }
}

TEST_F(MimeRegistryTest, ValuesAreDefaultTexts) {
    std::unique_ptr<RegistryKey> key =
        RegistryKey::Open(platform::RegistryRoot::ClassesRoot, u".dup");
    ASSERT_NE(key, nullptr);
    std::vector<uint8_t> data;
    uint32_t type = 0;
    ASSERT_TRUE(key->QueryValue(u"", data, type, 256));
    EXPECT_EQ(type, platform::RegistryType_String);
    EXPECT_EQ(std::string(data.begin(), data.end()),
              std::string("t\0e\0x\0t\0/\0x\0-\0h\0i\0g\0h\0\0\0", 24));
    EXPECT_FALSE(key->QueryValue(u"", data, type, data.size() - 1));
    EXPECT_FALSE(key->QueryValue(u"Content Type", data, type, 256));
    // A description longer than File Type's 256 bytes does not fit its buffer.
    std::u16string text;
    key = RegistryKey::Open(platform::RegistryRoot::ClassesRoot, u"text/x-long");
    ASSERT_NE(key, nullptr);
    EXPECT_FALSE(key->QueryText(u"", text, 128));
    ASSERT_TRUE(key->QueryText(u"", text, 201));
    EXPECT_EQ(text, std::u16string(200, u'x'));
}

TEST_F(MimeRegistryTest, TheRegistryFileComesFirst) {
    WriteFile(root_.path() / "registry.reg",
              "Windows Registry Editor Version 5.00\n\n"
              "[HKEY_CLASSES_ROOT\\.dup]\n@=\"dupfile\"\n\n"
              "[HKEY_CLASSES_ROOT\\text/x-high]\n@=\"From the file\"\n\n"
              "[HKEY_CLASSES_ROOT\\.later]\n\"Other\"=\"x\"\n");
    EXPECT_EQ(DefaultText(".DUP"), "dupfile");
    EXPECT_EQ(DefaultText("text/x-high"), "From the file");
    EXPECT_EQ(DefaultText(".later"), "!");  // the file's key, without a default value
    EXPECT_EQ(DefaultText(".c"), "text/x-csrc");
}

TEST_F(MimeRegistryTest, TheDatabaseFollowsTheEnvironment) {
    // Nothing without globs2: the older format is not read.
    const fs::path empty = root_.path() / "empty";
    WriteFile(empty / "mime/text/x-high.xml", "<mime-type><comment>Orphan</comment></mime-type>");
    WriteFile(empty / "mime/globs", "text/x-high:*.dup\n");
    SetEnvironment("XDG_DATA_HOME", empty.string());
    SetEnvironment("XDG_DATA_DIRS", (empty / "missing").string());
    EXPECT_EQ(DefaultText(".dup"), "-");
    EXPECT_EQ(DefaultText("text/x-high"), "-");

    SetEnvironment("XDG_DATA_HOME", (root_.path() / "user").string());
    SetEnvironment("XDG_DATA_DIRS", (root_.path() / "first").string());
    EXPECT_EQ(DefaultText(".dup"), "text/x-high");
    EXPECT_EQ(DefaultText(".later"), "-");  // "second" is no longer named

    // The user's data directory defaults to ~/.local/share; a relative one is ignored.
    UnsetEnvironment("XDG_DATA_HOME");
    SetEnvironment("HOME", root_.path().string());
    WriteFile(root_.path() / ".local/share/mime/globs2", "50:text/x-home:*.dup\n");
    EXPECT_EQ(DefaultText(".dup"), "text/x-home");
    EXPECT_EQ(DefaultText(".c"), "text/x-csrc");
    SetEnvironment("XDG_DATA_HOME", "relative/is/ignored");
    EXPECT_EQ(DefaultText(".dup"), "text/x-home");
}

// A process that runs for long sees the database change, a few seconds late.
TEST_F(MimeRegistryTest, SeesAnUpdatedDatabase) {
    EXPECT_EQ(DefaultText(".later"), "text/x-later");
    WriteFile(root_.path() / "second/mime/globs2", "50:text/x-updated:*.later\n");
    std::this_thread::sleep_for(std::chrono::seconds(6));
    EXPECT_EQ(DefaultText(".later"), "text/x-updated");
}

TEST_F(MimeRegistryTest, ManyThreadsAtOnce) {
    SetEnvironment("LANG", "de_DE.UTF-8");
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (size_t t = 0; t < failures.size(); ++t) {
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < 2000; ++i) {
                failures[t] += DefaultText(i % 2 ? ".DUP" : ".dup") != "text/x-high";
                failures[t] += DefaultText("text/x-high") !=
                               "Hoch & m\xC3\xA4"
                               "chtig";
                failures[t] += DefaultText(".xyz") != "-";
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(failures.size(), 0));
}

}  // namespace
