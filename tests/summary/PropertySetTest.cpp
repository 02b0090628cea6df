// The property-set reader on streams held in memory (the real IStream on
// Windows): sections, typed values, dictionaries, and streams that break
// off or claim more than they hold.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "formats/PropertySetReader.h"
#include "fileinfo/SummaryInfoReader.h"
#include "platform/StructuredStorage.h"
#include "tests/summary/PropertySetBytes.h"
#include "tests/support/TestSupport.h"

using namespace testing_props;
using testing_support::U8;

namespace {

std::string Hex(const std::string& spaced) {
    std::string bytes;
    for (size_t i = 0; i + 1 < spaced.size();) {
        if (spaced[i] == ' ') {
            ++i;
            continue;
        }
        bytes += static_cast<char>(std::stoi(spaced.substr(i, 2), nullptr, 16));
        i += 2;
    }
    return bytes;
}

// The smallest stream with a title: one summary section, identifier 2 as
// type 30 "Hello".
const std::string& EightyBytes() {
    static const std::string bytes =
        Hex("FE FF 00 00 05 01 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00"
            "E0 85 9F F2 F9 4F 68 10 AB 91 08 00 2B 27 B3 D9 30 00 00 00"
            "20 00 00 00 01 00 00 00 02 00 00 00 10 00 00 00"
            "1E 00 00 00 06 00 00 00 48 65 6C 6C 6F 00 00 00");
    return bytes;
}

struct Parsed {
    bool ok = false;
    PropertySetReader reader;
};

void Parse(const std::string& bytes, Parsed& parsed) {
    std::unique_ptr<platform::StorageStream> stream = platform::OpenMemoryStream(bytes);
    ASSERT_NE(stream, nullptr);
    parsed.ok = parsed.reader.ReadPropertySet(*stream);
}

std::string Data(const PropertyItem& item) {
    const std::vector<uint8_t>* data = item.data();
    return data ? std::string(data->begin(), data->end()) : std::string("(none)");
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

TEST(PropertySetReader, EightyByteStream) {
    ASSERT_EQ(EightyBytes().size(), 80u);
    Parsed parsed;
    Parse(EightyBytes(), parsed);
    ASSERT_TRUE(parsed.ok);
    const PropertySetReader& reader = parsed.reader;
    EXPECT_EQ(reader.byteOrder(), 0xFFFE);
    EXPECT_EQ(reader.format(), 0);
    EXPECT_EQ(reader.osVersion(), 0x00020105u);
    EXPECT_EQ(reader.sectionCount(), 1u);
    ASSERT_EQ(reader.sections().size(), 1u);
    const PropertySection& section = reader.sections()[0];
    EXPECT_EQ(section.formatId(), kSummaryInformationFormat);
    EXPECT_EQ(section.sectionSize(), 32u);
    EXPECT_EQ(section.propertyCount(), 1u);
    ASSERT_EQ(section.items().size(), 1u);
    const PropertyItem& item = section.items()[0];
    EXPECT_EQ(item.identifier(), 2u);
    EXPECT_EQ(item.storedType(), 30u);
    EXPECT_EQ(Data(item), EightyBytes().substr(68, 10));
    EXPECT_EQ(ValueDataOf(&item), EightyBytes().substr(72, 6));
    EXPECT_EQ(U8(item.ValueAsText().str()), "Hello");
    EXPECT_EQ(FindSection(reader, kSummaryInformationFormat), &section);
    EXPECT_EQ(FindSection(reader, Fmt(UserFormatId())), nullptr);
    EXPECT_EQ(FindItem(&section, 2), &item);
    EXPECT_EQ(FindItem(&section, 3), nullptr);
    EXPECT_EQ(FindItem(nullptr, 2), nullptr);
}

TEST(PropertySetReader, TypeThirtyOneTwin) {
    Parsed parsed;
    Parse(SummaryStream({{2, Lpwstr(u"Hello")}}), parsed);
    ASSERT_TRUE(parsed.ok);
    const PropertyItem* item = FindItem(&parsed.reader.sections().at(0), 2);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->storedType(), 31u);
    EXPECT_EQ(U8(item->ValueAsText().str()), "Hello");
    EXPECT_EQ(ValueDataOf(item), Utf16Bytes(std::u16string(u"Hello") + u'\0'));
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

TEST(PropertySetReader, UnknownTypeAmongGoodProperties) {
    Parsed parsed;
    Parse(SummaryStream({{2, Lpstr("before")},
                         {3, Typed(1, "")},
                         {4, Typed(0x1F5, U32Bytes(9))},
                         {5, I4(-3)},
                         {6, Typed(0x2003, U32Bytes(1))},  // an array: not readable
                         {7, Lpstr("after")}}),
          parsed);
    ASSERT_TRUE(parsed.ok);
    const PropertySection& section = parsed.reader.sections().at(0);
    ASSERT_EQ(section.items().size(), 6u);
    for (uint32_t id : {3u, 4u, 6u}) {
        const PropertyItem* item = FindItem(&section, id);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->data(), nullptr) << id;
        EXPECT_EQ(ValueDataOf(item), "(nothing)") << id;
        EXPECT_TRUE(item->ValueAsText().isEmpty()) << id;
    }
    EXPECT_EQ(FindItem(&section, 4)->storedType(), 0x1F5u);
    EXPECT_EQ(U8(FindItem(&section, 2)->ValueAsText().str()), "before");
    EXPECT_EQ(ValueDataOf(FindItem(&section, 5)), U32Bytes(static_cast<uint32_t>(-3)));
    EXPECT_EQ(U8(FindItem(&section, 7)->ValueAsText().str()), "after");
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
        // Vectors yield nothing.
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
        EXPECT_NE(item->data(), nullptr);
        EXPECT_EQ(ValueDataOf(item), c.data);
        EXPECT_EQ(U8(item->ValueAsText().str()), c.text);
        // The next property is found where it should be.
        EXPECT_EQ(ValueDataOf(FindItem(&section, 3)), U32Bytes(42));
    }
}

// A vector keeps its count and its elements as they stand (byte strings
// unpadded, UTF-16 strings padded to four bytes between elements);
// multibyte text elements are held converted.
TEST(PropertySetReader, VectorsAreMeasured) {
    const std::string strings =
        U32Bytes(2) + U32Bytes(3) + "ab" + std::string(1, '\0') + U32Bytes(2) + "c" + '\0';
    // The first UTF-16 element is 6 bytes long, then 2 bytes of padding.
    const std::string wide = U32Bytes(2) + U32Bytes(1) + Utf16Bytes(u"a") + std::string(2, '\0') +
                             U32Bytes(1) + std::string(2, '\0');
    const std::string converted =
        U32Bytes(2) + U32Bytes(2) + Utf16Bytes(u"ab") + U32Bytes(1) + Utf16Bytes(u"c");
    struct Case {
        uint32_t type;
        std::string payload;
        std::string data;
    } const cases[] = {
        {0x1002, U32Bytes(3) + "aabbcc", U32Bytes(3) + "aabbcc"},
        {0x1000, U32Bytes(100), U32Bytes(100)},
        {0x101E, strings, strings},
        {0x1041, strings, strings},
        {0x101F, wide, wide},
        {0x1008, strings, converted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        Parsed parsed;
        Parse(SummaryStream({{2, Typed(c.type, c.payload)}, {3, I4(42)}}), parsed);
        ASSERT_TRUE(parsed.ok);
        const PropertySection& section = parsed.reader.sections().at(0);
        ASSERT_NE(FindItem(&section, 2), nullptr);
        EXPECT_EQ(Data(*FindItem(&section, 2)), c.data);
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

// The stream need not start at the property set: positions count from
// where it does.
TEST(PropertySetReader, PropertySetAfterOtherBytes) {
    const std::string prefix(12, '\x55');
    std::unique_ptr<platform::StorageStream> stream =
        platform::OpenMemoryStream(prefix + SummaryStream({{2, Lpstr("moved")}, {3, I4(5)}}));
    ASSERT_NE(stream, nullptr);
    uint64_t position = 0;
    ASSERT_TRUE(stream->Seek(12, platform::SeekOrigin::Begin, position));
    PropertySetReader reader;
    ASSERT_TRUE(reader.ReadPropertySet(*stream));
    const PropertySection* section = FindSection(reader, kSummaryInformationFormat);
    EXPECT_EQ(U8(FindItem(section, 2)->ValueAsText().str()), "moved");
    EXPECT_EQ(ValueDataOf(FindItem(section, 3)), U32Bytes(5));
}

TEST(PropertySetReader, HeaderShorterThanItsSize) {
    const std::string good = SummaryStream({{2, Lpstr("x")}});
    for (size_t cut : {0, 1, 27}) {
        Parsed parsed;
        Parse(good.substr(0, cut), parsed);
        EXPECT_FALSE(parsed.ok) << cut;
        EXPECT_TRUE(parsed.reader.sections().empty());
    }
}

// A section table that ends before its count: false, and the sections read
// before the break stay.
TEST(PropertySetReader, SectionTableBreaksOff) {
    std::string bytes = SummaryStream({{2, Lpstr("kept")}});
    bytes[24] = 2;
    bytes.resize(48 + 19);  // the second record would be bytes 48 to 67
    Parsed parsed;
    Parse(bytes, parsed);
    EXPECT_FALSE(parsed.ok);
    EXPECT_EQ(parsed.reader.sections().size(), 1u);
}

// A value table that breaks off: the properties read before the break stay.
TEST(PropertySetReader, ValueTableBreaksOff) {
    // Four entries announced; the third is the bytes of the values of the
    // first two (type 3, value 7) and the fourth is past the end.
    const std::string section = U32Bytes(40) + U32Bytes(4) + U32Bytes(14) + U32Bytes(24) +
                                U32Bytes(15) + U32Bytes(24) + U32Bytes(3) + U32Bytes(7);
    Parsed parsed;
    Parse(PropertySet({{SummaryFormatId(), section}}), parsed);
    EXPECT_TRUE(parsed.ok);
    const PropertySection& s = parsed.reader.sections().at(0);
    EXPECT_EQ(s.propertyCount(), 4u);
    ASSERT_EQ(s.items().size(), 3u);
    EXPECT_EQ(ValueDataOf(FindItem(&s, 14)), U32Bytes(7));
    EXPECT_EQ(ValueDataOf(FindItem(&s, 15)), U32Bytes(7));
    EXPECT_EQ(FindItem(&s, 3)->data(), nullptr);
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

// Counts and lengths far beyond the stream: nothing is allocated for them
// and nothing loops.
TEST(PropertySetReader, HugeClaims) {
    const uint32_t huge = 0xFFFFFFF0;
    const std::vector<std::string> streams = {
        // Section count.
        PropertySet({{SummaryFormatId(), Section({{2, Lpstr("a")}})}})
            .replace(24, 4, U32Bytes(huge)),
        // Property count.
        PropertySet({{SummaryFormatId(),
                      U32Bytes(16) + U32Bytes(huge) + U32Bytes(2) + U32Bytes(16) + Lpstr("a")}}),
        // Lengths of texts, blobs and vectors.
        SummaryStream({{2, Typed(30, U32Bytes(huge) + "abc")},
                       {3, Typed(31, U32Bytes(huge) + "abcd")},
                       {4, Typed(65, U32Bytes(huge))},
                       {5, Typed(0x1003, U32Bytes(huge) + "1234")},
                       {6, Typed(0x1048, U32Bytes(huge))},
                       {7, Typed(0x101E, U32Bytes(huge) + U32Bytes(0) + U32Bytes(0))},
                       {8, Typed(0x101F, U32Bytes(huge) + U32Bytes(huge))},
                       {9, Typed(0x1000, U32Bytes(huge))},
                       {10, Typed(0x100C, U32Bytes(huge))},
                       {11, Typed(0x1008, U32Bytes(huge) + U32Bytes(1) + "x")},
                       {12, I4(1)}}),
        // Dictionary with a huge count and a huge name length.
        SummaryStream({{0, U32Bytes(huge) + U32Bytes(5) + U32Bytes(huge) + "ab"}, {2, I4(1)}}),
        // Section offsets before the start and far past the end.
        PropertySet({{SummaryFormatId(), Section({{2, I4(1)}})}}).replace(44, 4, U32Bytes(huge)),
        PropertySet({{SummaryFormatId(), Section({{2, I4(1)}})}})
            .replace(44, 4, U32Bytes(0x7FFFFFFF)),
        // A value offset far past the end.
        PropertySet(
            {{SummaryFormatId(), U32Bytes(16) + U32Bytes(1) + U32Bytes(2) + U32Bytes(huge)}}),
    };
    for (size_t i = 0; i < streams.size(); ++i) {
        SCOPED_TRACE(i);
        Parsed parsed;
        Parse(streams[i], parsed);
        size_t items = 0;
        for (const PropertySection& section : parsed.reader.sections()) {
            items += section.items().size();
            for (const PropertyItem& item : section.items()) {
                if (item.data() != nullptr) {
                    EXPECT_LE(item.data()->size(), 2 * streams[i].size());
                }
                // Of the huge values only the empty vectors hold data.
                if (i == 2 && item.identifier() != 9 && item.identifier() != 10 &&
                    item.identifier() != 12) {
                    EXPECT_EQ(item.data(), nullptr) << item.identifier();
                }
            }
        }
        EXPECT_LE(items, streams[i].size() / 8);
    }
}

// Sections and tables that overlap on purpose cannot multiply the work: a
// few kilobytes that would otherwise hold millions of copies of one value.
TEST(PropertySetReader, OverlappingSectionsStayBounded) {
    const uint32_t sections = 200, properties = 400;
    std::string bytes = std::string("\xFE\xFF\x00\x00\x05\x01\x02\x00", 8) + std::string(16, '\0') +
                        U32Bytes(sections);
    const uint32_t sectionAt = 28 + 20 * sections;
    for (uint32_t i = 0; i < sections; ++i)
        bytes += SummaryFormatId() + U32Bytes(sectionAt);
    const uint32_t valueAt = 8 + 8 * properties;
    bytes += U32Bytes(valueAt + 4096) + U32Bytes(properties);
    for (uint32_t i = 0; i < properties; ++i)
        bytes += U32Bytes(2) + U32Bytes(valueAt);
    bytes += Typed(65, U32Bytes(4000) + std::string(4000, 'v'));

    const auto start = std::chrono::steady_clock::now();
    Parsed parsed;
    Parse(bytes, parsed);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.reader.sections().size(), sections);
    uint64_t held = 0;
    for (const PropertySection& section : parsed.reader.sections())
        for (const PropertyItem& item : section.items())
            held += item.data() ? item.data()->size() : 0;
    EXPECT_LE(held, 4 * bytes.size() + 4096);
    // The first copies are read as they stand.
    const PropertyItem* first = FindItem(&parsed.reader.sections()[0], 2);
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first->data(), nullptr);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count(), 5);
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

TEST(PropertySetReader, DictionaryThatBreaksOff) {
    const std::string dictionary = Dictionary({{2, "one"}, {3, "two"}});
    for (size_t keep : {size_t(2), size_t(4 + 8 + 4 + 8 + 2)}) {
        SCOPED_TRACE(keep);
        Parsed parsed;
        Parse(SummaryStream({{2, I4(1)}, {0, dictionary.substr(0, keep)}}), parsed);
        ASSERT_TRUE(parsed.ok);
        const PropertySection& section = parsed.reader.sections().at(0);
        EXPECT_EQ(section.dictionary().size(), keep > 4 ? 1u : 0u);
        EXPECT_EQ(ValueDataOf(FindItem(&section, 2)), U32Bytes(1));
    }
}

TEST(PropertySetReader, AddDictionaryEntry) {
    PropertySection section(kSummaryInformationFormat);
    EXPECT_TRUE(section.AddDictionaryEntry(7, u"Mixed Case"));
    EXPECT_FALSE(section.AddDictionaryEntry(8, u"MIXED case"));
    EXPECT_TRUE(section.AddDictionaryEntry(8, u"other"));
    ASSERT_EQ(section.dictionary().size(), 2u);
    EXPECT_EQ(U8(section.dictionary()[0].name.str()), "mixed case");
    EXPECT_EQ(section.dictionary()[0].identifier, 7u);
}

// Reading again starts afresh.
TEST(PropertySetReader, ReadingAgainDiscardsTheSections) {
    Parsed parsed;
    Parse(EightyBytes(), parsed);
    auto stream = platform::OpenMemoryStream(SummaryStream({{3, I4(1)}, {4, I4(2)}}));
    ASSERT_TRUE(parsed.reader.ReadPropertySet(*stream));
    ASSERT_EQ(parsed.reader.sections().size(), 1u);
    EXPECT_EQ(FindItem(&parsed.reader.sections()[0], 2), nullptr);
    EXPECT_EQ(parsed.reader.sections()[0].items().size(), 2u);
}

// The stream operations the reader relies on, on both builds.
TEST(MemoryStream, ReadSeekClone) {
    auto stream = platform::OpenMemoryStream("0123456789");
    ASSERT_NE(stream, nullptr);
    char buffer[16] = {};
    uint32_t got = 0;
    ASSERT_TRUE(stream->Read(buffer, 4, got));
    EXPECT_EQ(std::string(buffer, got), "0123");
    uint64_t position = 99;
    EXPECT_FALSE(stream->Seek(-5, platform::SeekOrigin::Current, position));
    EXPECT_EQ(position, 99u);
    ASSERT_TRUE(stream->Seek(0, platform::SeekOrigin::Current, position));
    EXPECT_EQ(position, 4u);
    auto clone = stream->Clone();
    ASSERT_NE(clone, nullptr);
    ASSERT_TRUE(clone->Read(buffer, 3, got));
    EXPECT_EQ(std::string(buffer, got), "456");
    ASSERT_TRUE(stream->Read(buffer, 2, got));
    EXPECT_EQ(std::string(buffer, got), "45");
    ASSERT_TRUE(stream->Seek(-3, platform::SeekOrigin::End, position));
    EXPECT_EQ(position, 7u);
    ASSERT_TRUE(stream->Read(buffer, 16, got));
    EXPECT_EQ(std::string(buffer, got), "789");
    ASSERT_TRUE(stream->Seek(100, platform::SeekOrigin::Begin, position));
    EXPECT_EQ(position, 100u);
    ASSERT_TRUE(stream->Read(buffer, 4, got));
    EXPECT_EQ(got, 0u);
    auto empty = platform::OpenMemoryStream("");
    ASSERT_NE(empty, nullptr);
    ASSERT_TRUE(empty->Read(buffer, 4, got));
    EXPECT_EQ(got, 0u);
}

}  // namespace
