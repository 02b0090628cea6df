// RegistryKey on both builds. The same keys are set up on each: on Windows in
// the real registry (the test build's own Wine prefix), on POSIX as a .reg file
// named by VELLUM_REGISTRY.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Registry.h"
#include "tests/support/TestSupport.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#endif

namespace {

using testing_support::RemoveRegistryKey;
using testing_support::SetRegistryValue;

using platform::RegistryKey;
using platform::RegistryRoot;
using Bytes = std::vector<uint8_t>;

constexpr RegistryRoot LM = RegistryRoot::LocalMachine;
constexpr RegistryRoot CR = RegistryRoot::ClassesRoot;

Bytes Units(std::u16string_view text, bool withNul) {
    Bytes bytes;
    for (char16_t c : text) {
        bytes.push_back(uint8_t(c & 0xFF));
        bytes.push_back(uint8_t(c >> 8));
    }
    if (withNul)
        bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

Bytes Text(std::u16string_view text) {
    return Units(text, true);
}

struct StoredValue {
    RegistryRoot root;
    std::u16string path;
    std::u16string name;
    uint32_t type;
    Bytes data;
};

const std::u16string kKey = u"Software\\FsdataTests\\Registry";
const std::u16string kLong(300, u'x');

const std::vector<StoredValue>& Stored() {
    static const std::vector<StoredValue> values = {
        {LM, kKey, u"", 1, Text(u"Default text")},
        {LM, kKey, u"CommonFiles", 1, Text(u"C:\\Common \"Files\"\\")},
        {LM, kKey, u"Long", 1, Text(kLong)},
        {LM, kKey, u"Number", 4, {0x78, 0x56, 0x34, 0x12}},
        {LM, kKey, u"Embedded", 1, Units(std::u16string(u"ab\0cd", 5), true)},
        {LM, kKey, u"Unterminated", 3, Units(u"ok", false)},
        {LM, kKey, u"Odd", 3, {'a', 0, 'b'}},
        {LM, kKey, u"Empty", 1, Text(u"")},
        {LM, kKey, u"\u00DCn\u00EFcode", 1, Text(u"\u00FC")},
        {LM, kKey + u"\\Child", u"x", 1, Text(u"y")},
        {LM, u"Software\\FsdataTests\\NoDefault", u"Only", 1, Text(u"1")},
        {CR, u".fsdatatest", u"", 1, Text(u"fsdatatestfile")},
        {CR, u"fsdatatestfile", u"", 1, Text(u"Fsdata Test File")},
    };
    return values;
}

std::u16string Named(RegistryRoot root, const std::u16string& path) {
    return (root == LM ? u"HKEY_LOCAL_MACHINE\\" : u"HKEY_CLASSES_ROOT\\") + path;
}

void RemoveStored() {
    RemoveRegistryKey(u"HKEY_LOCAL_MACHINE\\Software\\FsdataTests");
    RemoveRegistryKey(u"HKEY_CLASSES_ROOT\\.fsdatatest");
    RemoveRegistryKey(u"HKEY_CLASSES_ROOT\\fsdatatestfile");
}

class RegistryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RemoveStored();
        for (const StoredValue& v : Stored())
            SetRegistryValue(Named(v.root, v.path), v.name, v.type,
                             std::string(v.data.begin(), v.data.end()));
    }
    static void TearDownTestSuite() { RemoveStored(); }
};

TEST_F(RegistryTest, OpensKeysThatExist) {
    struct {
        RegistryRoot root;
        std::u16string path;
        bool opens;
    } const table[] = {
        {LM, kKey, true},
        {LM, u"SOFTWARE\\fsdatatests\\REGISTRY", true},
        {LM, kKey + u"\\Child", true},
        {LM, u"Software\\FsdataTests", true},  // made on the way to its subkeys
        {LM, u"Software\\FsdataTests\\Missing", false},
        {LM, kKey + u"\\Child\\Deeper", false},
        {LM, u".fsdatatest", false},
        {CR, u".fsdatatest", true},
        {CR, u".FSDATATEST\\", true},
        {CR, kKey, false},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(std::string(row.path.begin(), row.path.end()));
        EXPECT_EQ(RegistryKey::Open(row.root, row.path) != nullptr, row.opens);
    }
}

TEST_F(RegistryTest, ReadsTexts) {
    struct {
        std::u16string path;
        std::u16string name;
        size_t capacity;
        bool found;
        std::u16string text;
    } const table[] = {
        {kKey, u"", 128, true, u"Default text"},
        {kKey, u"CommonFiles", 260, true, u"C:\\Common \"Files\"\\"},
        {kKey, u"commonfiles", 19, true, u"C:\\Common \"Files\"\\"},
        {kKey, u"CommonFiles", 18, false, u""},  // no room for the NUL
        {kKey, u"Long", 300, false, u""},
        {kKey, u"Long", 301, true, kLong},
        {kKey, u"Embedded", 3, false, u""},  // the whole value must fit
        {kKey, u"Embedded", 6, true, u"ab"},
        {kKey, u"Unterminated", 3, true, u"ok"},
        {kKey, u"Odd", 2, true, u"a"},
        {kKey, u"Number", 8, true, u"\x5678\x1234"},  // the type is not examined
        {kKey, u"Empty", 1, true, u""},
        {kKey, u"\u00FCN\u00CFCODE", 8, true, u"\u00FC"},
        {kKey, u"Missing", 128, false, u""},
        {kKey, u"x", 128, false, u""},  // a value of the subkey
        {kKey + u"\\Child", u"X", 128, true, u"y"},
        {u"Software\\FsdataTests\\NoDefault", u"", 128, false, u""},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(std::string(row.name.begin(), row.name.end()) + " in " +
                     std::to_string(row.capacity));
        std::unique_ptr<RegistryKey> key = RegistryKey::Open(LM, row.path);
        ASSERT_NE(key, nullptr);
        std::u16string text = u"unchanged";
        EXPECT_EQ(key->QueryText(row.name, text, row.capacity), row.found);
        if (row.found) {
            EXPECT_EQ(text, row.text);
        } else {
            EXPECT_EQ(text, u"unchanged");
        }
    }
}

TEST_F(RegistryTest, ReadsRawValues) {
    std::unique_ptr<RegistryKey> key = RegistryKey::Open(LM, kKey);
    ASSERT_NE(key, nullptr);
    for (const StoredValue& v : Stored()) {
        if (v.root != LM || v.path != kKey)
            continue;
        SCOPED_TRACE(std::string(v.name.begin(), v.name.end()));
        Bytes data = {1, 2, 3};
        uint32_t type = 99;
        if (!v.data.empty()) {
            EXPECT_FALSE(key->QueryValue(v.name, data, type, v.data.size() - 1));
        }
        ASSERT_TRUE(key->QueryValue(v.name, data, type, v.data.size()));
        EXPECT_EQ(type, v.type);
        EXPECT_EQ(data, v.data);
        ASSERT_TRUE(key->QueryValue(v.name, data, type, SIZE_MAX));
        EXPECT_EQ(data, v.data);
    }
    Bytes data;
    uint32_t type = 0;
    EXPECT_FALSE(key->QueryValue(u"Missing", data, type, SIZE_MAX));
}

TEST_F(RegistryTest, FollowsAFileTypeClass) {
    std::unique_ptr<RegistryKey> extension = RegistryKey::Open(CR, u".fsdatatest");
    ASSERT_NE(extension, nullptr);
    std::u16string className;
    ASSERT_TRUE(extension->QueryText(u"", className, 128));
    EXPECT_EQ(className, u"fsdatatestfile");
    std::unique_ptr<RegistryKey> fileClass = RegistryKey::Open(CR, className);
    ASSERT_NE(fileClass, nullptr);
    std::u16string description;
    ASSERT_TRUE(fileClass->QueryText(u"", description, 128));
    EXPECT_EQ(description, u"Fsdata Test File");
}

#ifndef _WIN32

// The file is read again when it changes; keys opened before keep what they read.
TEST_F(RegistryTest, RereadsAChangedFile) {
    std::unique_ptr<RegistryKey> before = RegistryKey::Open(LM, kKey);
    ASSERT_NE(before, nullptr);
    const std::u16string changed = u"/opt/common/";
    const Bytes data = Text(changed);
    SetRegistryValue(Named(LM, kKey), u"CommonFiles", 1, std::string(data.begin(), data.end()));
    SetRegistryValue(Named(LM, u"Software\\FsdataTests\\New"), u"", 1, std::string(2, '\0'));
    std::u16string text;
    std::unique_ptr<RegistryKey> after = RegistryKey::Open(LM, kKey);
    ASSERT_NE(after, nullptr);
    ASSERT_TRUE(after->QueryText(u"CommonFiles", text, 260));
    EXPECT_EQ(text, changed);
    EXPECT_NE(RegistryKey::Open(LM, u"Software\\FsdataTests\\New"), nullptr);
    ASSERT_TRUE(before->QueryText(u"CommonFiles", text, 260));
    EXPECT_EQ(text, u"C:\\Common \"Files\"\\");
    SetUpTestSuite();
}

TEST_F(RegistryTest, MissingOrUnreadableFileIsAnEmptyRegistry) {
    const std::string registryPath = std::getenv("VELLUM_REGISTRY");
    const std::string missing = registryPath + ".missing";
    const std::string directory = registryPath + ".dir";
    ASSERT_EQ(mkdir(directory.c_str(), 0755), 0);
    for (const std::string& path : {missing, directory}) {
        SCOPED_TRACE(path);
        setenv("VELLUM_REGISTRY", path.c_str(), 1);
        EXPECT_EQ(RegistryKey::Open(LM, kKey), nullptr);
        EXPECT_EQ(RegistryKey::Open(LM, u""), nullptr);
        EXPECT_EQ(RegistryKey::Open(CR, u".fsdatatest"), nullptr);
    }
    rmdir(directory.c_str());
    setenv("VELLUM_REGISTRY", registryPath.c_str(), 1);
    EXPECT_NE(RegistryKey::Open(LM, kKey), nullptr);
}

#endif

}  // namespace
