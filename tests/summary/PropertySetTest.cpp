// The property-set reader on streams held in memory (the real IStream on
// Windows): sections, typed values, dictionaries, and a stream that breaks
// off. Other damaged streams are seeds of the property_set fuzz target.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fileinfo/SummaryInfoReader.h"
#include "formats/PropertySetReader.h"
#include "platform/StructuredStorage.h"
#include "tests/summary/PropertySetBytes.h"
#include "tests/support/TestSupport.h"

using namespace testing_props;
using testing_support::U8;

namespace {

struct Parsed {
    bool ok = false;
    PropertySetReader reader;
};

void Parse(const std::string& bytes, Parsed& parsed) {
    std::unique_ptr<platform::StorageStream> stream = platform::OpenMemoryStream(bytes);
    ASSERT_NE(stream, nullptr);
    parsed.ok = parsed.reader.ReadPropertySet(*stream);
}

std::string ValueDataOf(const PropertyItem* item) {
    ValueBytes value;
    if (item == nullptr || !item->ValueData(value))
        return "(nothing)";
    return std::string(reinterpret_cast<const char*>(value.data), value.size);
}

FormatIdentifier Fmt(const std::string& bytes) {
    FormatIdentifier id;
    std::copy(bytes.begin(), bytes.end(), id.begin());
    return id;
}

std::string Utf16Bytes(const std::u16string& text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST(PropertySetReader, IdentifierListedTwiceFindsTheFirst) {
    Parsed parsed;
    Parse(SummaryStream({{2, Lpstr("first")}, {3, I4(7)}, {2, Lpstr("second")}}), parsed);
    ASSERT_TRUE(parsed.ok);
    const PropertySection& section = parsed.reader.sections().at(0);
    ASSERT_EQ(section.items().size(), 3u);
    EXPECT_EQ(FindItem(&section, 2), &section.items()[0]);
    EXPECT_EQ(U8(FindItem(&section, 2)->ValueAsText().str()), "first");
    EXPECT_EQ(U8(section.items()[2].ValueAsText().str()), "second");
}

// What ValueData gives for each type, and what ValueAsText makes of it.
TEST(PropertySetReader, ValueDataByType) {
    const std::string eight = "ABCDEFGH", sixteen = "0123456789abcdef";
    struct Case {
        uint32_t type;
        std::string payload;
        std::string data;  // "(nothing)" when ValueData yields nothing
        std::string text;
    } const cases[] = {
        {0, "", "", ""},
        {12, "", "", ""},
        {2, "\x01\x02", "\x01\x02", ""},
        {11, "\xFF\xFF", "\xFF\xFF", ""},
        {3, "\x01\x02\x03\x04", "\x01\x02\x03\x04", ""},
        {4, "abcd", "abcd", ""},
        {5, eight, eight, ""},
        {6, eight, eight, ""},
        {7, eight, eight, ""},
        {20, eight, eight, ""},
        {64, eight, eight, ""},
        {72, sixteen, sixteen, ""},
        // Byte strings: after the count, as many bytes as it says.
        {30, U32Bytes(4) + std::string("abc\0", 4), std::string("abc\0", 4), "abc"},
        {71, U32Bytes(3) + "xyz", "xyz", "xyz"},
        // Blobs: the count is the size, but the bytes start at the count.
        {65, U32Bytes(5) + "12345", U32Bytes(5) + "1", ""},
        {70, U32Bytes(2) + "zz", U32Bytes(2).substr(0, 2), ""},
        {75, U32Bytes(0), "", ""},
        // Multibyte texts are held converted: characters after the count.
        {8, U32Bytes(6) + std::string("Hello\0", 6), Utf16Bytes(u"Hello"), "Hello"},
        {66, U32Bytes(3) + "ab", Utf16Bytes(u"ab"), "ab"},
        {74, U32Bytes(0), "", ""},
        // A text stops at its first NUL, and never passes its count.
        {31, U32Bytes(3) + Utf16Bytes(u"ab") + std::string(2, '\0'),
         Utf16Bytes(std::u16string(u"ab") + u'\0'), "ab"},
        {31, U32Bytes(2) + Utf16Bytes(u"abcd"), Utf16Bytes(u"ab"), "ab"},
        {30, U32Bytes(2) + "abcd", "ab", "ab"},
        // Types without plain data (empty, unknown, arrays) and vectors
        // yield nothing, and the next property is still found.
        {1, "", "(nothing)", ""},
        {0x1F5, U32Bytes(9), "(nothing)", ""},
        {0x2003, U32Bytes(1), "(nothing)", ""},
        {0x1003, U32Bytes(2) + "11112222", "(nothing)", ""},
        {0x101E, U32Bytes(2) + U32Bytes(2) + "a" + std::string(1, '\0') + U32Bytes(1) + "b",
         "(nothing)", ""},
        {0x101F, U32Bytes(1) + U32Bytes(2) + Utf16Bytes(u"a") + std::string(2, '\0'), "(nothing)",
         ""},
        {0x1008, U32Bytes(1) + U32Bytes(3) + "hi" + std::string(1, '\0'), "(nothing)", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        Parsed parsed;
        Parse(SummaryStream({{2, Typed(c.type, c.payload)}, {3, I4(42)}}), parsed);
        ASSERT_TRUE(parsed.ok);
        const PropertySection& section = parsed.reader.sections().at(0);
        const PropertyItem* item = FindItem(&section, 2);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->storedType(), c.type);
        EXPECT_EQ(item->data() != nullptr, c.data != "(nothing)" || (c.type & 0x1000) != 0);
        EXPECT_EQ(ValueDataOf(item), c.data);
        EXPECT_EQ(U8(item->ValueAsText().str()), c.text);
        // The next property is found where it should be.
        EXPECT_EQ(ValueDataOf(FindItem(&section, 3)), U32Bytes(42));
    }
}

TEST(PropertySetReader, MultibyteTextIsCutAtTheLimit) {
    const std::string longText(2000, 'x');
    Parsed parsed;
    Parse(SummaryStream({{2, Typed(8, U32Bytes(2001) + longText + '\0')},
                         {3, Typed(30, U32Bytes(2001) + longText + '\0')}}),
          parsed);
    ASSERT_TRUE(parsed.ok);
    const PropertySection& section = parsed.reader.sections().at(0);
    // Type 8 is held converted, at most 1024 characters; type 30 as read.
    EXPECT_EQ(FindItem(&section, 2)->ValueAsText().length(), 1024u);
    EXPECT_EQ(FindItem(&section, 3)->ValueAsText().length(), 2000u);
}

TEST(PropertySetReader, TextsInTheProcessCodePage) {
    // Bytes that are not UTF-8, as a Windows program writes them in 1252.
    Parsed parsed;
    Parse(SummaryStream({{2, Lpstr("Gr\xFC\xDF"
                                   "e \x80")},
                         {3, Typed(8, U32Bytes(4) + "caf\xE9")}}),
          parsed);
    ASSERT_TRUE(parsed.ok);
    const PropertySection& section = parsed.reader.sections().at(0);
    EXPECT_EQ(U8(FindItem(&section, 2)->ValueAsText().str()), "Grüße €");
    EXPECT_EQ(U8(FindItem(&section, 3)->ValueAsText().str()), "café");
}

TEST(PropertySetReader, SectionsInStreamOrder) {
    const std::string user = Section({{2, Lpstr("user")}});
    const std::string summary = Section({{2, Lpstr("summary")}});
    const std::string other = Section({{2, Lpstr("other")}});
    Parsed parsed;
    Parse(PropertySet(
              {{UserFormatId(), user}, {SummaryFormatId(), summary}, {SummaryFormatId(), other}}),
          parsed);
    ASSERT_TRUE(parsed.ok);
    ASSERT_EQ(parsed.reader.sections().size(), 3u);
    const PropertySection* found = FindSection(parsed.reader, kSummaryInformationFormat);
    EXPECT_EQ(found, &parsed.reader.sections()[1]);
    EXPECT_EQ(U8(FindItem(found, 2)->ValueAsText().str()), "summary");
    EXPECT_EQ(FindSection(parsed.reader, Fmt(UserFormatId())), &parsed.reader.sections()[0]);
}

// Cut at every length past the section table: each property whose bytes
// are all there is read, the others stay without data.
TEST(PropertySetReader, ValuesThatEndEarly) {
    const std::string good = SummaryStream({{2, Lpstr("kept")}, {3, I4(9)}, {4, Lpstr("last")}});
    // Section at 48, its table 56 to 80; values end at 93, 104 and 117.
    struct Expect {
        uint32_t id;
        size_t tableEnd, valueEnd;
        std::string text;
    } const expected[] = {{2, 64, 93, "kept"}, {3, 72, 104, ""}, {4, 80, 117, "last"}};
    for (size_t cut = 48; cut <= good.size(); ++cut) {
        SCOPED_TRACE(cut);
        Parsed parsed;
        Parse(good.substr(0, cut), parsed);
        EXPECT_TRUE(parsed.ok);
        ASSERT_EQ(parsed.reader.sections().size(), 1u);
        const PropertySection& s = parsed.reader.sections()[0];
        for (const Expect& e : expected) {
            const PropertyItem* item = FindItem(&s, e.id);
            if (cut < e.tableEnd) {
                EXPECT_EQ(item, nullptr);
                continue;
            }
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->data() != nullptr, cut >= e.valueEnd);
            if (cut >= e.valueEnd && e.id != 3) {
                EXPECT_EQ(U8(item->ValueAsText().str()), e.text);
            }
        }
    }
}

TEST(PropertySetReader, Dictionary) {
    const std::string dictionary = Dictionary({{0, "Section Name"},
                                               {2, "Alpha"},
                                               {3, "ALPHA"},
                                               {0, "zero"},
                                               {4, "Beta"},
                                               {5, std::string(300, 'n')}});
    Parsed parsed;
    Parse(SummaryStream({{0, dictionary}, {2, I4(1)}}), parsed);
    ASSERT_TRUE(parsed.ok);
    const PropertySection& section = parsed.reader.sections().at(0);
    EXPECT_EQ(U8(section.name().str()), "Section Name");
    // The duplicate (after lower-casing) is not added; identifier 0 after
    // the first entry is an ordinary name.
    std::vector<std::pair<std::string, uint32_t>> entries;
    for (const DictionaryEntry& entry : section.dictionary())
        entries.push_back({U8(entry.name.str()), entry.identifier});
    const std::vector<std::pair<std::string, uint32_t>> expected = {
        {"alpha", 2}, {"zero", 0}, {"beta", 4}, {std::string(256, 'n'), 5}};
    EXPECT_EQ(entries, expected);
    // The dictionary is no property.
    ASSERT_EQ(section.items().size(), 1u);
    EXPECT_EQ(section.items()[0].identifier(), 2u);
}

}  // namespace
