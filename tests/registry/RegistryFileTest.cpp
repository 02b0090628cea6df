// The .reg reader: every case is read as UTF-8, UTF-8 with its byte-order
// mark and UTF-16LE with its mark, each with LF and with CRLF line ends.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "formats/RegistryFile.h"
#include "platform/TextEncoding.h"

namespace {

using formats::ParseRegistryFile;
using formats::RegistryFile;
using platform::RegistryRoot;

constexpr RegistryRoot LM = RegistryRoot::LocalMachine;
constexpr RegistryRoot CR = RegistryRoot::ClassesRoot;

using Bytes = std::vector<uint8_t>;

// A string value as the reader stores it: UTF-16LE with its NUL.
Bytes Text(std::u16string_view text) {
    Bytes bytes;
    for (char16_t c : text) {
        bytes.push_back(uint8_t(c & 0xFF));
        bytes.push_back(uint8_t(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

struct Found {
    uint32_t type;
    Bytes data;
    bool operator==(const Found& other) const { return type == other.type && data == other.data; }
};

std::ostream& operator<<(std::ostream& out, const Found& found) {
    out << "type " << found.type << " bytes";
    for (uint8_t b : found.data)
        out << ' ' << std::hex << int(b) << std::dec;
    return out;
}

std::optional<Found> Lookup(const RegistryFile& file, RegistryRoot root, std::u16string_view path,
                            std::u16string_view name) {
    const RegistryFile::Key* key = nullptr;
    if (!file.FindKey(root, path, key) || key == nullptr)
        return std::nullopt;
    const RegistryFile::Value* value = file.FindValue(*key, name);
    if (value == nullptr)
        return std::nullopt;
    const uint8_t* data = file.Data(*value);
    return Found{value->type, Bytes(data, data + value->dataLength)};
}

enum class Encoding { Utf8, Utf8Bom, Utf16 };

// The test's text (UTF-8, LF) in one encoding and line end. Bytes that are not
// UTF-8 reach a UTF-16 file as the reader would read them in a UTF-8 one.
Bytes Encode(const std::string& text, Encoding encoding, bool crlf) {
    std::string lines;
    for (char c : text) {
        if (c == '\n' && crlf)
            lines += '\r';
        lines += c;
    }
    Bytes bytes;
    if (encoding == Encoding::Utf16) {
        bytes = {0xFF, 0xFE};
        for (char16_t c : platform::Utf8ToUtf16(lines)) {
            bytes.push_back(uint8_t(c & 0xFF));
            bytes.push_back(uint8_t(c >> 8));
        }
        return bytes;
    }
    if (encoding == Encoding::Utf8Bom)
        bytes = {0xEF, 0xBB, 0xBF};
    bytes.insert(bytes.end(), lines.begin(), lines.end());
    return bytes;
}

struct Expectation {
    RegistryRoot root;
    std::u16string path;
    std::u16string name;
    std::optional<Found> value;  // nullopt: no such value
};

struct Case {
    const char* title;
    std::string text;
    std::vector<Expectation> expected;
};

const std::u16string kVellumKey = u"Software\\Tavrel Quillon\\Meridel 4.0\\Vellum\\";

std::vector<Case> Cases() {
    return {
        {"values of every kind",
         "Windows Registry Editor Version 5.00\n"
         "\n"
         "[HKEY_LOCAL_MACHINE\\Software\\Kinds]\n"
         "@=\"default\"\n"
         "\"Name\"=\"value\"\n"
         "\"Empty\"=\"\"\n"
         "\"Number\"=dword:0000abCD\n"
         "\"Short\"=dword:7\n"
         "\"Blob\"=hex:00,ff,7\n"
         "\"NoBytes\"=hex:\n"
         "\"Expand\"=hex(2):25,00,41,00,25,00,00,00\n"
         "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\n"
         "\"Quad\"=hex(b):01,02,03,04,05,06,07,08\n"
         "\"Typed\"=hex(100):01\n"
         "\"Unicode\"=\"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\"\n",
         {{LM, u"Software\\Kinds", u"", Found{1, Text(u"default")}},
          {LM, u"Software\\Kinds", u"Name", Found{1, Text(u"value")}},
          {LM, u"Software\\Kinds", u"Empty", Found{1, Text(u"")}},
          {LM, u"Software\\Kinds", u"Number", Found{4, {0xCD, 0xAB, 0, 0}}},
          {LM, u"Software\\Kinds", u"Short", Found{4, {7, 0, 0, 0}}},
          {LM, u"Software\\Kinds", u"Blob", Found{3, {0x00, 0xFF, 0x07}}},
          {LM, u"Software\\Kinds", u"NoBytes", Found{3, {}}},
          {LM, u"Software\\Kinds", u"Expand", Found{2, Text(u"%A%")}},
          {LM, u"Software\\Kinds", u"Multi", Found{7, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}}},
          {LM, u"Software\\Kinds", u"Quad", Found{11, {1, 2, 3, 4, 5, 6, 7, 8}}},
          {LM, u"Software\\Kinds", u"Typed", Found{0x100, {1}}},
          {LM, u"Software\\Kinds", u"Unicode", Found{1, Text(u"\u00E9t\u00E9 \u20AC \U0001F600")}},
          {LM, u"Software\\Kinds", u"Missing", std::nullopt}}},

        {"the logger's key, written with its trailing backslash",
         "REGEDIT4\n"
         "\n"
         "[HKEY_LOCAL_MACHINE\\Software\\Tavrel Quillon\\Meridel 4.0\\Vellum\\]\n"
         "\"CommonFiles\"=\"/opt/vellum/common/\"\n",
         {{LM, kVellumKey, u"CommonFiles", Found{1, Text(u"/opt/vellum/common/")}},
          {LM, kVellumKey.substr(0, kVellumKey.size() - 1), u"CommonFiles",
           Found{1, Text(u"/opt/vellum/common/")}},
          {LM, u"SOFTWARE\\tavrel quillon\\MERIDEL 4.0\\vellum", u"commonfiles",
           Found{1, Text(u"/opt/vellum/common/")}},
          {CR, kVellumKey, u"CommonFiles", std::nullopt}}},

        // Broken lines are skipped and the rest is read (more broken lines
        // are seeds of the registry_file fuzz target).
        {"broken lines among good ones",
         "[HKEY_LOCAL_MACHINE\\Software\\Broken]\n"
         "\"Good1\"=\"1\"\n"
         "\"Open\"=\"no closing quote\n"
         "\"BadHex\"=hex:01,zz\n"
         "\"LongDword\"=dword:123456789\n"
         "random text\n"
         "\"Good2\"=\"2\"\n"
         "[HKEY_LOCAL_MACHINE\\Software\\NoClose\n"
         "\"Lost\"=\"x\"\n"
         "[HKEY_LOCAL_MACHINE\\Software\\Broken]\n"
         "\"Good3\"=\"3\"\n",
         {{LM, u"Software\\Broken", u"Good1", Found{1, Text(u"1")}},
          {LM, u"Software\\Broken", u"Good2", Found{1, Text(u"2")}},
          {LM, u"Software\\Broken", u"Good3", Found{1, Text(u"3")}},
          {LM, u"Software\\Broken", u"Open", std::nullopt},
          {LM, u"Software\\Broken", u"BadHex", std::nullopt},
          {LM, u"Software\\Broken", u"LongDword", std::nullopt},
          {LM, u"Software\\Broken", u"Lost", std::nullopt},
          {LM, u"Software\\NoClose", u"Lost", std::nullopt}}},

        {"escapes in names and texts",
         "[HKEY_LOCAL_MACHINE\\Software\\Escapes]\n"
         "\"Path\"=\"C:\\\\Program Files\\\\Vellum\\\\\"\n"
         "\"Quote\"=\"say \\\"hi\\\"\"\n"
         "\"Back\\\\slash \\\"name\\\"\"=\"x\"\n"
         "\"Other\"=\"a\\nb\\\"\n",
         {{LM, u"Software\\Escapes", u"Path", Found{1, Text(u"C:\\Program Files\\Vellum\\")}},
          {LM, u"Software\\Escapes", u"Quote", Found{1, Text(u"say \"hi\"")}},
          {LM, u"Software\\Escapes", u"Back\\slash \"name\"", Found{1, Text(u"x")}},
          // \n is not an escape here, and the last \" leaves the text open
          {LM, u"Software\\Escapes", u"Other", std::nullopt}}},

        {"continuation lines",
         "[HKEY_LOCAL_MACHINE\\Software\\Continued]\n"
         "\"Three\"=hex:01,02,\\\n"
         "  03,04,\\\n"
         "\t05\n"
         "06\n"  // the list ended on the line before
         "\"NoComma\"=hex(7):61,00\\\n"
         "  00,00\n"
         "\"After\"=\"a\"\n"
         "\"Cut\"=hex:0a,0b,\\\n"
         "[HKEY_LOCAL_MACHINE\\Software\\Next]\n"
         "\"Kept\"=\"k\"\n"
         "\"Commented\"=hex:01,\\\n"
         "; a comment ends the list\n"
         "  02\n"
         "\"BeforeValue\"=hex:01,\\\n"
         "\"Quoted\"=\"q\"\n"
         "\"Last\"=hex:ff,\\\n",
         {{LM, u"Software\\Continued", u"Three", Found{3, {1, 2, 3, 4, 5}}},
          {LM, u"Software\\Continued", u"NoComma", Found{7, {0x61, 0, 0, 0}}},
          {LM, u"Software\\Continued", u"After", Found{1, Text(u"a")}},
          {LM, u"Software\\Continued", u"Cut", Found{3, {0x0A, 0x0B}}},
          {LM, u"Software\\Next", u"Kept", Found{1, Text(u"k")}},
          {LM, u"Software\\Next", u"Commented", Found{3, {1}}},
          {LM, u"Software\\Next", u"BeforeValue", Found{3, {1}}},
          {LM, u"Software\\Next", u"Quoted", Found{1, Text(u"q")}},
          {LM, u"Software\\Next", u"Last", Found{3, {0xFF}}}}},

        {"names compare without regard to case",
         "[HKEY_LOCAL_MACHINE\\Software\\\xC3\x9Cnicode Key]\n"
         "\"Stra\xC3\x9F\xC3\xA9\"=\"s\"\n"
         "\"MiXeD\"=\"m\"\n"
         "[HKEY_CLASSES_ROOT\\.TXT]\n"
         "@=\"upper\"\n",
         {{LM, u"SOFTWARE\\\u00FCNICODE key", u"mixed", Found{1, Text(u"m")}},
          {LM, u"software\\\u00DCnicode KEY", u"STRA\u00DF\u00C9", Found{1, Text(u"s")}},
          {LM, u"Software\\Unicode Key", u"MiXeD", std::nullopt},
          {CR, u".txt", u"", Found{1, Text(u"upper")}}}},

        {"later settings replace earlier ones; a key may come back",
         "[HKEY_LOCAL_MACHINE\\Software\\Twice]\n"
         "\"A\"=\"first\"\n"
         "\"B\"=\"kept\"\n"
         "\"a\"=dword:00000002\n"
         "\"Gone\"=\"x\"\n"
         "[HKEY_LOCAL_MACHINE\\Software\\Other]\n"
         "\"A\"=\"other\"\n"
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\TWICE\\]\n"
         "\"A\"=\"third\"\n"
         "\"C\"=\"added\"\n"
         "\"Gone\"=-\n"
         "\"Back\"=-\n"
         "\"Back\"=\"again\"\n",
         {{LM, u"Software\\Twice", u"A", Found{1, Text(u"third")}},
          {LM, u"Software\\Twice", u"B", Found{1, Text(u"kept")}},
          {LM, u"Software\\Twice", u"C", Found{1, Text(u"added")}},
          {LM, u"Software\\Twice", u"Gone", std::nullopt},
          {LM, u"Software\\Twice", u"Back", Found{1, Text(u"again")}},
          {LM, u"Software\\Other", u"A", Found{1, Text(u"other")}}}},

        {"the root's own values",
         "[HKEY_LOCAL_MACHINE]\n"
         "\"Top\"=\"t\"\n",
         {{LM, u"", u"Top", Found{1, Text(u"t")}}, {LM, u"\\", u"Top", Found{1, Text(u"t")}}}},
    };
}

TEST(RegistryFileTest, ReadsEveryEncodingAndLineEnd) {
    for (const Case& c : Cases()) {
        for (Encoding encoding : {Encoding::Utf8, Encoding::Utf8Bom, Encoding::Utf16}) {
            for (bool crlf : {false, true}) {
                SCOPED_TRACE(std::string(c.title) + " / encoding " + std::to_string(int(encoding)) +
                             (crlf ? " / CRLF" : " / LF"));
                const Bytes bytes = Encode(c.text, encoding, crlf);
                const RegistryFile file = ParseRegistryFile(bytes.data(), bytes.size());
                for (const Expectation& e : c.expected) {
                    SCOPED_TRACE(platform::Utf16ToUtf8(e.path) + " : " +
                                 platform::Utf16ToUtf8(e.name));
                    EXPECT_EQ(Lookup(file, e.root, e.path, e.name), e.value);
                }
            }
        }
    }
}

TEST(RegistryFileTest, ParentsOfNamedKeysExist) {
    const std::string text =
        "[HKEY_LOCAL_MACHINE\\Software\\A\\B\\C]\n"
        "\"v\"=\"1\"\n"
        "[HKEY_LOCAL_MACHINE\\Software\\A!]\n"
        "[HKEY_CLASSES_ROOT\\.empty]\n";
    const RegistryFile file =
        ParseRegistryFile(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    struct {
        RegistryRoot root;
        std::u16string path;
        bool exists;
        bool ownEntry;
    } const table[] = {
        {LM, u"Software\\A\\B\\C", true, true},
        {LM, u"software\\a\\b\\c\\", true, true},
        {LM, u"Software\\A\\B", true, false},
        {LM, u"Software\\A\\", true, false},
        {LM, u"Software", true, false},
        {LM, u"", true, false},
        {LM, u"Software\\A!", true, true},
        {LM, u"Software\\A\\B\\C\\D", false, false},
        {LM, u"Software\\A\\B\\", true, false},
        {LM, u"Software\\A\\Bx", false, false},
        {LM, u"Soft", false, false},
        {LM, u"Software\\A\\B\\\\", false, false},
        {CR, u".empty", true, true},
        {CR, u"", true, false},
        {CR, u"Software", false, false},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(platform::Utf16ToUtf8(row.path));
        const RegistryFile::Key* key = nullptr;
        EXPECT_EQ(file.FindKey(row.root, row.path, key), row.exists);
        EXPECT_EQ(key != nullptr, row.ownEntry);
    }
}

}  // namespace
