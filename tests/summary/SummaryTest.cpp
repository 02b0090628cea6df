// The summary group of a row and what it is read with: the property-set
// reader on streams built here (the real IStream on Windows) and what it
// reports to the logging library, structured storage (the real StgOpenStorage
// on Windows, our own reader on POSIX), and compound files that Wine's
// property-set storage or the real API wrote. Damaged streams and files are
// seeds of the fuzz targets.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fileinfo/FileRecord.h"
#include "fileinfo/LocalDateTime.h"
#include "fileinfo/SummaryInfoReader.h"
#include "formats/CompoundFile.h"
#include "platform/StructuredStorage.h"
#include "tests/support/AssertionCapture.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// Property-set streams, byte by byte; the summary format identifier in stream
// byte order.
const std::string kSummaryFormatId(
    "\xE0\x85\x9F\xF2\xF9\x4F\x68\x10\xAB\x91\x08\x00\x2B\x27\xB3\xD9", 16);

std::string U32Bytes(uint32_t value) {
    return {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}

// A string padded with NULs to a multiple of 4 bytes.
std::string Padded(std::string bytes) {
    bytes.resize((bytes.size() + 3) / 4 * 4, '\0');
    return bytes;
}

// A typed value: the 4-byte type word and `payload`, padded to 4 bytes.
std::string Typed(uint32_t type, const std::string& payload) {
    return Padded(U32Bytes(type) + payload);
}
// Type 30: length (text and its NUL), the bytes, the NUL.
std::string Lpstr(const std::string& text) {
    return Typed(30, U32Bytes(text.size() + 1) + text + '\0');
}
std::string I4(int32_t value) {
    return Typed(3, U32Bytes(static_cast<uint32_t>(value)));
}

// A section: size, count, the identifier/offset table, then the values (from
// the type word on, or a dictionary for identifier 0) in the order given.
std::string Section(const std::vector<std::pair<uint32_t, std::string>>& properties) {
    const size_t tableEnd = 8 + 8 * properties.size();
    std::string table, values;
    for (const auto& [identifier, value] : properties) {
        table += U32Bytes(identifier) + U32Bytes(tableEnd + values.size());
        values += value;
    }
    return U32Bytes(tableEnd + values.size()) + U32Bytes(properties.size()) + table + values;
}

// A dictionary: count, then per entry the identifier, the name's length with
// its NUL, the name and the NUL.
std::string Dictionary(const std::vector<std::pair<uint32_t, std::string>>& entries) {
    std::string bytes = U32Bytes(entries.size());
    for (const auto& [identifier, name] : entries)
        bytes += U32Bytes(identifier) + U32Bytes(name.size() + 1) + name + '\0';
    return Padded(bytes);
}

// Header, section table and sections, each section after the one before.
std::string PropertySet(const std::vector<std::pair<std::string, std::string>>& sections) {
    const std::string header = std::string("\xFE\xFF\x00\x00\x05\x01\x02\x00", 8) +
                               std::string(16, '\0') + U32Bytes(sections.size());
    const size_t offset = header.size() + 20 * sections.size();
    std::string table, bodies;
    for (const auto& [format, body] : sections) {
        table += format + U32Bytes(offset + bodies.size());
        bodies += body;
    }
    return header + table + bodies;
}

// A summary stream holding one section of these properties.
std::string SummaryStream(const std::vector<std::pair<uint32_t, std::string>>& properties) {
    return PropertySet({{kSummaryFormatId, Section(properties)}});
}

const std::u16string kSummaryStreamName = u"\x05SummaryInformation";

// A compound file or hexdump that Wine wrote (the reference folder), or one
// of tests/summary/data (docfile_*.stg, written through the real API).
fs::path DataFile(const std::string& name) {
    return name.rfind("docfile_", 0) == 0 ? SourceFolder() / "tests/summary/data" / name
                                          : ReferenceFolder() / "ole" / name;
}

// The stream of a compound file, or empty with `found` false.
std::string StreamBytes(const fs::path& file, const std::u16string& name, bool* found = nullptr) {
    auto storage = platform::OpenStorage(file.u16string());
    auto stream = storage ? storage->OpenStream(name) : nullptr;
    if (found != nullptr)
        *found = stream != nullptr;
    std::string bytes, buffer(4096, '\0');
    uint32_t got = 0;
    while (stream && stream->Read(&buffer[0], 4096, got) && got != 0)
        bytes.append(buffer, 0, got);
    return bytes;
}

struct Parsed {
    explicit Parsed(const std::string& bytes) {
        std::unique_ptr<platform::StorageStream> stream = platform::OpenMemoryStream(bytes);
        ok = stream != nullptr && reader.ReadPropertySet(*stream);
    }
    bool ok = false;
    PropertySetReader reader;
    const PropertySection& section() const { return reader.sections().at(0); }
    std::string Text(uint32_t id) const {
        return U8(FindItem(&section(), id)->ValueAsText().str());
    }
};

std::string ValueDataOf(const PropertyItem* item) {
    ValueBytes value;
    if (item == nullptr || !item->ValueData(value))
        return "-";
    return std::string(reinterpret_cast<const char*>(value.data), value.size);
}

TEST(PropertySetReader, IdentifierListedTwiceFindsTheFirst) {
    Parsed parsed(SummaryStream({{2, Lpstr("first")}, {3, I4(7)}, {2, Lpstr("second")}}));
    ASSERT_TRUE(parsed.ok);
    ASSERT_EQ(parsed.section().items().size(), 3u);
    EXPECT_EQ(FindItem(&parsed.section(), 2), &parsed.section().items()[0]);
    EXPECT_EQ(parsed.Text(2), "first");
}

// Each row is property 2 of a stream, with property 3 after it.
TEST(PropertySetReader, ValueDataByType) {
    const ReferenceTable table = ReferenceTable::LoadCases("summary/property_types.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        const uint32_t type = std::stoul(table.Field(row, "type"), nullptr, 16);
        const std::string data = table.Field(row, "data");
        Parsed parsed(SummaryStream({{2, Typed(type, table.Field(row, "payload"))}, {3, I4(42)}}));
        ASSERT_TRUE(parsed.ok);
        const PropertyItem* item = FindItem(&parsed.section(), 2);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->storedType(), type);
        EXPECT_EQ(item->data() != nullptr, data != "-" || (type & 0x1000) != 0);
        EXPECT_EQ(ValueDataOf(item), data);
        EXPECT_EQ(U8(item->ValueAsText().str()), table.Field(row, "text"));
        EXPECT_EQ(ValueDataOf(FindItem(&parsed.section(), 3)), U32Bytes(42));
    }
}

TEST(PropertySetReader, MultibyteTextIsCutAtTheLimit) {
    const std::string longText(2000, 'x');
    Parsed parsed(SummaryStream({{2, Typed(8, U32Bytes(2001) + longText + '\0')},
                                 {3, Typed(30, U32Bytes(2001) + longText + '\0')}}));
    ASSERT_TRUE(parsed.ok);
    // Type 8 is held converted, at most 1024 characters; type 30 as read.
    EXPECT_EQ(parsed.Text(2), longText.substr(0, 1024));
    EXPECT_EQ(parsed.Text(3), longText);
}

TEST(PropertySetReader, SectionsInStreamOrder) {
    Parsed parsed(PropertySet({{std::string(16, 0x11), Section({{2, Lpstr("user")}})},
                               {kSummaryFormatId, Section({{2, Lpstr("summary")}})},
                               {kSummaryFormatId, Section({{2, Lpstr("other")}})}}));
    ASSERT_TRUE(parsed.ok);
    ASSERT_EQ(parsed.reader.sections().size(), 3u);
    EXPECT_EQ(FindSection(parsed.reader, kSummaryInformationFormat), &parsed.reader.sections()[1]);
    FormatIdentifier user;
    user.fill(0x11);
    EXPECT_EQ(FindSection(parsed.reader, user), &parsed.reader.sections()[0]);
}

// Cut at every length past the section table: each property whose bytes
// are all there is read, the others stay without data.
TEST(PropertySetReader, ValuesThatEndEarly) {
    const std::string good = SummaryStream({{2, Lpstr("kept")}, {3, I4(9)}, {4, Lpstr("last")}});
    // Section at 48, its table 56 to 80; values end at 93, 104 and 117.
    const size_t tableEnd[] = {64, 72, 80}, valueEnd[] = {93, 104, 117};
    for (size_t cut = 48; cut <= good.size(); ++cut) {
        SCOPED_TRACE(cut);
        Parsed parsed(good.substr(0, cut));
        EXPECT_TRUE(parsed.ok);
        ASSERT_EQ(parsed.reader.sections().size(), 1u);
        for (uint32_t id = 2; id <= 4; ++id) {
            const PropertyItem* item = FindItem(&parsed.section(), id);
            ASSERT_EQ(item != nullptr, cut >= tableEnd[id - 2]);
            EXPECT_TRUE(!item || (item->data() != nullptr) == (cut >= valueEnd[id - 2]));
        }
        EXPECT_TRUE(cut < valueEnd[2] || parsed.Text(4) == "last");
    }
}

TEST(PropertySetReader, Dictionary) {
    const std::string dictionary = Dictionary({{0, "Section Name"},
                                               {2, "Alpha"},
                                               {3, "ALPHA"},
                                               {0, "zero"},
                                               {4, "Beta"},
                                               {5, std::string(300, 'n')}});
    Parsed parsed(SummaryStream({{0, dictionary}, {2, I4(1)}}));
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(U8(parsed.section().name().str()), "Section Name");
    // The duplicate (after lower-casing) is not added; identifier 0 after
    // the first entry is an ordinary name, and names are cut at 256.
    std::vector<std::pair<std::string, uint32_t>> entries;
    for (const DictionaryEntry& entry : parsed.section().dictionary())
        entries.push_back({U8(entry.name.str()), entry.identifier});
    const std::vector<std::pair<std::string, uint32_t>> expected = {
        {"alpha", 2}, {"zero", 0}, {"beta", 4}, {std::string(256, 'n'), 5}};
    EXPECT_EQ(entries, expected);
    // The dictionary is no property.
    ASSERT_EQ(parsed.section().items().size(), 1u);
    EXPECT_EQ(parsed.section().items()[0].identifier(), 2u);
}

// The logging library is told of a name met twice in a dictionary; the first
// one is kept.
TEST(PropertySetAssertion, DuplicateDictionaryName) {
    AssertionCapture capture;
    ASSERT_TRUE(capture.active());
    Parsed parsed(
        SummaryStream({{0, Dictionary({{2, "Name"}, {3, "NAME"}, {4, "other"}})}, {2, I4(1)}}));
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.section().dictionary().size(), 2u);
    EXPECT_EQ(capture.Reports(), std::vector<std::string>{"gprpset: !bNameExists"});
}

std::string Show(const DbDateTime& value) {
    return std::to_string(value.date) + "/" + std::to_string(value.time) + "/" +
           std::to_string(value.nanoseconds);
}

// A summary group by property identifier.
std::map<int, std::string> Fields(const SummaryGroup& group) {
    std::map<int, std::string> fields;
    for (int i = 0; i < 8; ++i)
        fields[2 + i] = U8(group.texts[i].str());
    const uint32_t counts[] = {group.editTime, group.pageCount, group.wordCount,
                               group.characterCount, group.security};
    for (int i = 0; i < 5; ++i)
        fields[i == 0 ? 10 : i == 4 ? 19 : 13 + i] = std::to_string(counts[i]);
    fields[11] = Show(group.lastPrinted);
    fields[12] = Show(group.created);
    fields[13] = Show(group.lastSaved);
    fields[18] = U8(group.applicationName.str());
    return fields;
}

// The summary group of `file`, loaded as a row of its directory would.
std::map<int, std::string> Group(const fs::path& file) {
    platform::FindData data{};
    data.dwFileAttributes = 0x20;
    file.filename().u16string().copy(data.cFileName, 259);
    FileRecord record(u"");
    record.Fill(&data, file.parent_path().u16string(), 0, 0);
    return Fields(record.Summary());
}

std::map<int, std::string> Defaults() {
    std::map<int, std::string> fields;
    for (int id = 2; id <= 19; ++id)
        fields[id] = id >= 11 && id <= 13 ? "-1/-1/0" : id >= 10 && id != 18 ? "0" : "";
    fields.erase(17);
    return fields;
}

// Where our reader departs from Wine's: a type-30 text in a Unicode (1200) set
// is UTF-16, and the code page is not consulted, so it ends at the first NUL
// byte (Wine gives half the text); bytes of code page 1252 read as such.
std::string Cp1252(const std::string& bytes) {
    std::u16string text;
    for (unsigned char c : bytes)
        text += c == 0x80 ? u'\u20AC' : static_cast<char16_t>(c);
    return U8(text);
}

// The files Wine's property-set storage wrote, against what it reads back
// (storage_props.tsv), and the docfiles written through the real API.
TEST(SummaryInfo, FilesAsTheirWritersReadThem) {
    for (const ReferenceTable& table : {ReferenceTable::Load("storage_props.tsv"),
                                        ReferenceTable::LoadCases("summary/docfiles.tsv")}) {
        std::map<std::string, std::map<int, std::string>> files;
        std::string codePage;
        for (const auto& row : table.rows()) {
            SCOPED_TRACE(row.name);
            auto& fields = files.emplace(table.Field(row, "file"), Defaults()).first->second;
            const std::string value = table.Field(row, "value_as_read_back");
            const std::string type = value.substr(0, value.find(' '));
            const std::string data = value.substr(value.find(' ') + 1);
            const int identifier = std::atoi(table.Field(row, "propid").c_str());  // "-": 0
            codePage = identifier == 1 ? data : codePage;
            if (type == "VT_LPWSTR")
                fields[identifier] = Unquoted(data);
            else if (type == "VT_LPSTR")
                fields[identifier] =
                    codePage == "1200" ? Unquoted(data).substr(0, 1) : Cp1252(Unquoted(data));
            else if (identifier == 10)
                fields[10] = std::to_string(std::stoull(data) / 600000000);
            else if (identifier >= 11 && identifier <= 13) {
                const uint64_t ticks = std::stoull(data);
                platform::FileTime time{uint32_t(ticks), uint32_t(ticks >> 32)};
                fields[identifier] = Show(LocalDateTimeFromFileTime(&time));
            } else if (identifier > 1)
                fields[identifier] = std::to_string(std::stoul(data));
        }
        for (const auto& [file, fields] : files) {
            SCOPED_TRACE(file);
            EXPECT_EQ(Group(DataFile(file + ".stg")), fields);
        }
    }
}

TEST(SummaryInfo, WhatIsNoCompoundFileKeepsTheDefaults) {
    TempDir dir;
    EXPECT_EQ(Group(dir.Write("notes.txt", "Title: not a document\n")), Defaults());
    EXPECT_EQ(Group(dir.Write("empty.doc", "")), Defaults());
    EXPECT_EQ(Group(dir.path() / "missing.doc"), Defaults());
    // A directory row (no find data, the path ends in a separator), and a
    // record never filled.
    FileRecord directory(u""), empty(u"");
    directory.Fill(nullptr, dir.path().u16string(), 0, 0);
    for (FileRecord* record : {&directory, &empty}) {
        EXPECT_EQ(Fields(record->Summary()), Defaults());
        EXPECT_TRUE(record->IsLoaded(RecordGroup::Summary));
    }
}

TEST(StructuredStorage, OpenFailsForWhatIsNoCompoundFile) {
    TempDir dir;
    const std::string good = ReadWholeFile(DataFile("title_only.stg"));
    fs::create_directory(dir.path() / "a_directory");
    for (const fs::path& path :
         {dir.path() / "missing.stg", fs::path(), dir.path() / "a_directory",
          dir.Write("empty.bin", ""), dir.Write("plain.txt", "Just some text.\r\n"),
          dir.Write("zeros.bin", good.substr(0, 8) + std::string(504, '\0')),
          dir.Write("cut.stg", good.substr(0, 512))})
        EXPECT_EQ(platform::OpenStorage(path.u16string()), nullptr) << path;
    // Only versions 3 and 4 exist; Wine opens any version whose sector
    // sizes it knows, where Windows refuses.
    std::string v5 = good;
    v5[26] = 5;
    EXPECT_EQ(platform::OpenStorage(dir.Write("v5.stg", v5).u16string()) == nullptr,
              !IsWindowsBuild());
}

// The files Wine's own property-set storage wrote, read back to the byte,
// whatever the case of the name asked for.
TEST(StructuredStorage, ReferenceStreamsReadAsDumped) {
    for (const char* name : {"full_ansi", "full_unicode_set_lpstr", "unicode_lpwstr", "title_only",
                             "ansi_cp1252_lpstr"}) {
        SCOPED_TRACE(name);
        const fs::path file = DataFile(std::string(name) + ".stg");
        std::string expected, line, field;
        std::istringstream lines(ReadWholeFile(DataFile(std::string(name) + ".hex")));
        while (std::getline(lines, line)) {  // hexdump -C: offset, bytes, |text|
            std::istringstream fields(line.substr(0, line.find('|')));
            for (fields >> field; fields >> field;)
                expected += static_cast<char>(std::stoi(field, nullptr, 16));
        }
        ASSERT_GT(expected.size(), 28u);
        bool found = false;
        EXPECT_EQ(StreamBytes(file, kSummaryStreamName, &found), expected);
        EXPECT_TRUE(found);
        EXPECT_EQ(StreamBytes(file, u"\x05SUMMARYINFORMATION"), expected);
        for (const char16_t* missing : {u"", u"Root Entry", u"\x05SummaryInformatio"})
            EXPECT_EQ(StreamBytes(file, missing, &found), "");
    }
}

TEST(StructuredStorage, StreamReadSeekClone) {
    const fs::path file = DataFile("full_ansi.stg");
    const std::string content = StreamBytes(file, kSummaryStreamName);
    auto storage = platform::OpenStorage(file.u16string());
    auto stream = storage ? storage->OpenStream(kSummaryStreamName) : nullptr;
    char buffer[1024];
    uint32_t got = 0;
    uint64_t position = 0;
    ASSERT_TRUE(stream && stream->Read(buffer, 100, got));
    EXPECT_EQ(std::string(buffer, got), content.substr(0, 100));
    auto clone = stream->Clone();
    ASSERT_TRUE(clone && clone->Seek(0, platform::SeekOrigin::Current, position));
    EXPECT_EQ(position, 100u);
    ASSERT_TRUE(clone->Seek(-10, platform::SeekOrigin::End, position));
    ASSERT_TRUE(clone->Read(buffer, sizeof buffer, got));
    EXPECT_EQ(std::string(buffer, got), content.substr(content.size() - 10));
    // The original did not move with its clone.
    ASSERT_TRUE(stream->Read(buffer, 50, got));
    EXPECT_EQ(std::string(buffer, got), content.substr(100, 50));
    // Before the start is an error that keeps the position; Wine's storage
    // stream wraps around.
    position = 7;
    EXPECT_TRUE(IsWindowsBuild() ||
                (!stream->Seek(-151, platform::SeekOrigin::Current, position) && position == 7));
    ASSERT_TRUE(stream->Seek(100000, platform::SeekOrigin::Begin, position));
    ASSERT_TRUE(stream->Read(buffer, 10, got));
    EXPECT_EQ(got, 0u);
}

// A FAT chain that loops back after three sectors (a fuzz seed): the first
// three sectors are read, the other stream is whole.
TEST(CompoundFile, TheIntactPartOfADamagedFileIsRead) {
    std::string pattern(5000, '\0');
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<char>(i * 7 + i / 251);
    const std::string bytes =
        ReadWholeFile(SourceFolder() / "fuzz/corpus/compound_file/chain_loops.stg");
    auto file = formats::cfb::CompoundFile::Open(std::make_shared<formats::MemorySource>(bytes));
    ASSERT_NE(file, nullptr);
    for (const auto& [name, expected] : {std::make_pair(u"big", pattern.substr(0, 3 * 512)),
                                         std::make_pair(u"SMALL", pattern.substr(0, 300))}) {
        formats::cfb::StreamLayout layout;
        ASSERT_TRUE(file->OpenStream(file->FindChild(0, name), layout));
        std::string read(static_cast<size_t>(layout.size), '\0');
        read.resize(file->ReadStream(layout, 0, &read[0], read.size()));
        EXPECT_EQ(read, expected);
    }
}

}  // namespace
