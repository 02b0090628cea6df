// The .reg reader over the cases of regfile.tsv, each read in every encoding
// and with either line end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/RegistryFile.h"
#include "platform/TextEncoding.h"
#include "tests/support/ReferenceTable.h"

namespace {

using formats::RegistryFile;
using platform::RegistryRoot;
using testing_support::ReferenceTable;
using testing_support::UnescapeField16;
using Bytes = std::vector<uint8_t>;

void AppendUtf16(const std::u16string& text, Bytes& bytes) {
    for (char16_t c : text)
        bytes.insert(bytes.end(), {uint8_t(c & 0xFF), uint8_t(c >> 8)});
}

// The case's text (UTF-8, LF) as UTF-8, UTF-8 with its mark or UTF-16LE with
// its mark. Bytes that are not UTF-8 reach a UTF-16 file as the reader would
// read them in a UTF-8 one.
Bytes Encode(const std::string& text, int encoding, bool crlf) {
    std::string lines;
    for (char c : text)
        lines += c == '\n' && crlf ? "\r\n" : std::string(1, c);
    Bytes bytes;
    if (encoding == 2) {
        bytes = {0xFF, 0xFE};
        AppendUtf16(platform::Utf8ToUtf16(lines), bytes);
        return bytes;
    }
    if (encoding == 1)
        bytes = {0xEF, 0xBB, 0xBF};
    bytes.insert(bytes.end(), lines.begin(), lines.end());
    return bytes;
}

const char kDigits[] = "0123456789abcdef";

std::string Hex(const uint8_t* data, size_t size) {
    std::string text;
    for (size_t i = 0; i < size; ++i)
        text += std::string(i ? "," : "") + kDigits[data[i] >> 4] + kDigits[data[i] & 15];
    return text;
}

// A value as the expect column writes it ("-" when there is none).
std::string Lookup(const RegistryFile& file, RegistryRoot root, const std::u16string& path,
                   const std::u16string& name, const std::string& expected) {
    const RegistryFile::Key* key = nullptr;
    const bool found = file.FindKey(root, path, key);
    if (expected.rfind("key:", 0) == 0)
        return !found ? "key:none" : key != nullptr ? "key:own" : "key:made";
    const RegistryFile::Value* value = found && key ? file.FindValue(*key, name) : nullptr;
    if (value == nullptr)
        return "-";
    return std::to_string(value->type) + ":" + Hex(file.Data(*value), value->dataLength);
}

TEST(RegistryFileTest, ReadsTheCasesInEveryEncodingAndLineEnd) {
    const ReferenceTable table = ReferenceTable::LoadCases("registry/regfile.tsv");
    std::string text;
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        if (!table.Field(row, "text").empty())
            text = table.Field(row, "text");
        std::string expected = table.Field(row, "expect");
        if (expected.rfind("1:", 0) == 0 || expected.rfind("2:", 0) == 0) {  // a text, with its NUL
            Bytes data;
            AppendUtf16(UnescapeField16(row.fields[table.Column("expect")].substr(2)) + u'\0',
                        data);
            expected = expected.substr(0, 2) + Hex(data.data(), data.size());
        }
        const RegistryRoot root = table.Field(row, "root") == "CR" ? RegistryRoot::ClassesRoot
                                                                   : RegistryRoot::LocalMachine;
        const std::u16string path = UnescapeField16(row.fields[table.Column("key")]);
        const std::u16string name = UnescapeField16(row.fields[table.Column("value")]);
        for (int encoding : {0, 1, 2}) {
            for (bool crlf : {false, true}) {
                SCOPED_TRACE("encoding " + std::to_string(encoding) + (crlf ? " CRLF" : " LF"));
                const Bytes bytes = Encode(text, encoding, crlf);
                EXPECT_EQ(Lookup(formats::ParseRegistryFile(bytes.data(), bytes.size()), root, path,
                                 name, expected),
                          expected);
            }
        }
    }
}

}  // namespace
