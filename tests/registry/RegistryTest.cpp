// RegistryKey on both builds. The same keys are set up on each: on Windows in
// the real registry (the test build's own Wine prefix), on POSIX as a .reg file
// named by VELLUM_REGISTRY.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Registry.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#endif

namespace {

using platform::RegistryKey;
using platform::RegistryRoot;
using testing_support::ReferenceTable;
using testing_support::U8;
using testing_support::UnescapeField16;
using Bytes = std::vector<uint8_t>;

constexpr RegistryRoot LM = RegistryRoot::LocalMachine;
constexpr RegistryRoot CR = RegistryRoot::ClassesRoot;

Bytes Units(std::u16string_view text, bool withNul = true) {
    Bytes bytes;
    for (char16_t c : text)
        bytes.insert(bytes.end(), {uint8_t(c & 0xFF), uint8_t(c >> 8)});
    if (withNul)
        bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

const std::u16string kKey = u"Software\\FsdataTests\\Registry";

struct StoredValue {
    RegistryRoot root;
    std::u16string path, name;
    uint32_t type;
    Bytes data;
};

const std::vector<StoredValue> kStored = {
    {LM, kKey, u"", 1, Units(u"Default text")},
    {LM, kKey, u"CommonFiles", 1, Units(u"C:\\Common \"Files\"\\")},
    {LM, kKey, u"Long", 1, Units(std::u16string(300, u'x'))},
    {LM, kKey, u"Number", 4, {0x78, 0x56, 0x34, 0x12}},
    {LM, kKey, u"Embedded", 1, Units(std::u16string(u"ab\0cd", 5))},
    {LM, kKey, u"Unterminated", 3, Units(u"ok", false)},
    {LM, kKey, u"Odd", 3, {'a', 0, 'b'}},
    {LM, kKey, u"Empty", 1, Units(u"")},
    {LM, kKey, u"\u00DCn\u00EFcode", 1, Units(u"\u00FC")},
    {LM, kKey + u"\\Child", u"x", 1, Units(u"y")},
    {LM, u"Software\\FsdataTests\\NoDefault", u"Only", 1, Units(u"1")},
    {CR, u".fsdatatest", u"", 1, Units(u"fsdatatestfile")},
    {CR, u"fsdatatestfile", u"", 1, Units(u"Fsdata Test File")},
};

class RegistryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        TearDownTestSuite();
        for (const StoredValue& v : kStored)
            testing_support::SetRegistryValue(
                (v.root == LM ? u"HKEY_LOCAL_MACHINE\\" : u"HKEY_CLASSES_ROOT\\") + v.path, v.name,
                v.type, std::string(v.data.begin(), v.data.end()));
    }
    static void TearDownTestSuite() {
        for (const char16_t* key :
             {u"HKEY_LOCAL_MACHINE\\Software\\FsdataTests", u"HKEY_CLASSES_ROOT\\.fsdatatest",
              u"HKEY_CLASSES_ROOT\\fsdatatestfile"})
            testing_support::RemoveRegistryKey(key);
    }
};

TEST_F(RegistryTest, FollowsTheTable) {
    const ReferenceTable table = ReferenceTable::LoadCases("registry/keys.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        std::unique_ptr<RegistryKey> key = RegistryKey::Open(
            table.Field(row, "root") == "CR" ? CR : LM, UnescapeField16(row.fields[1]));
        const std::string capacity = table.Field(row, "capacity");
        if (capacity.empty()) {
            EXPECT_EQ(key != nullptr ? "opens" : "-", table.Field(row, "text"));
            continue;
        }
        ASSERT_NE(key, nullptr);
        std::u16string text = u"unchanged";
        const bool found =
            key->QueryText(UnescapeField16(row.fields[2]), text, std::stoul(capacity));
        EXPECT_EQ(found ? text : u"-", UnescapeField16(row.fields[4]));
        EXPECT_TRUE(found || text == u"unchanged");  // a failed read leaves it alone
    }
}

TEST_F(RegistryTest, ReadsRawValues) {
    std::unique_ptr<RegistryKey> key = RegistryKey::Open(LM, kKey);
    ASSERT_NE(key, nullptr);
    for (const StoredValue& v : kStored) {
        if (v.root != LM || v.path != kKey)
            continue;
        SCOPED_TRACE(U8(v.name));
        Bytes data = {1, 2, 3};
        uint32_t type = 99;
        EXPECT_TRUE(v.data.empty() || !key->QueryValue(v.name, data, type, v.data.size() - 1));
        ASSERT_TRUE(key->QueryValue(v.name, data, type, v.data.size()));
        EXPECT_EQ(type, v.type);
        EXPECT_EQ(data, v.data);
    }
}

#ifndef _WIN32

// The file is read again when it changes; keys opened before keep what they read.
TEST_F(RegistryTest, RereadsAChangedFile) {
    std::unique_ptr<RegistryKey> before = RegistryKey::Open(LM, kKey);
    ASSERT_NE(before, nullptr);
    const Bytes data = Units(u"/opt/common/");
    testing_support::SetRegistryValue(u"HKEY_LOCAL_MACHINE\\" + kKey, u"CommonFiles", 1,
                                      std::string(data.begin(), data.end()));
    std::u16string text;
    std::unique_ptr<RegistryKey> after = RegistryKey::Open(LM, kKey);
    ASSERT_NE(after, nullptr);
    ASSERT_TRUE(after->QueryText(u"CommonFiles", text, 260));
    EXPECT_EQ(text, u"/opt/common/");
    ASSERT_TRUE(before->QueryText(u"CommonFiles", text, 260));
    EXPECT_EQ(text, u"C:\\Common \"Files\"\\");
}

TEST_F(RegistryTest, MissingOrUnreadableFileIsAnEmptyRegistry) {
    const std::string registryPath = std::getenv("VELLUM_REGISTRY");
    const std::string directory = registryPath + ".dir";
    ASSERT_EQ(mkdir(directory.c_str(), 0755), 0);
    for (const std::string& path : {registryPath + ".missing", directory}) {
        setenv("VELLUM_REGISTRY", path.c_str(), 1);
        EXPECT_EQ(RegistryKey::Open(LM, u""), nullptr) << path;
        EXPECT_EQ(RegistryKey::Open(CR, u".fsdatatest"), nullptr) << path;
    }
    rmdir(directory.c_str());
    setenv("VELLUM_REGISTRY", registryPath.c_str(), 1);
    EXPECT_NE(RegistryKey::Open(LM, kKey), nullptr);
}

#endif

}  // namespace
