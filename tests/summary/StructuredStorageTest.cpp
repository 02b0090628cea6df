// Compound files through the platform's structured storage: the real
// StgOpenStorage on Windows, our own reader on POSIX. Both must open the
// same files, find the same streams and read the same bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/StructuredStorage.h"
#include "tests/summary/CompoundFileWriter.h"
#include "tests/summary/SummaryTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace testing_summary;
using testing_cfb::StreamSpec;
using testing_cfb::WriteCompoundFile;
using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

// Bytes that differ from place to place, so a misplaced sector shows.
std::string Pattern(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return bytes;
}

TEST(StructuredStorage, OpenFailsForWhatIsNoCompoundFile) {
    TempDir dir;
    const std::string good = WriteCompoundFile({{u"a", "x"}});
    std::string header(8, '\0');
    const char signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    header.assign(signature, 8);
    fs::create_directory(dir.path() / "a_directory");
    const struct {
        const char* name;
        std::u16string path;
    } cases[] = {
        {"missing file", PathText(dir.path() / "missing.stg")},
        {"missing directory", PathText(dir.path() / "no_such_dir" / "x.stg")},
        {"empty path", u""},
        {"directory", PathText(dir.path() / "a_directory")},
        {"empty file", PathText(dir.Write("empty.bin", ""))},
        {"plain text", PathText(dir.Write("plain.txt", "Just some text.\r\n"))},
        {"signature and zeros",
         PathText(dir.Write("header_only.bin", header + std::string(504, '\0')))},
        {"header only", PathText(dir.Write("cut.stg", good.substr(0, 512)))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::OpenStorage(c.path), nullptr) << c.name;
    EXPECT_NE(platform::OpenStorage(PathText(dir.Write("good.stg", good))), nullptr);
}

// Only versions 3 and 4 exist. Wine opens any version whose sector sizes it
// knows, where Windows refuses, so this runs on the native build only.
TEST(StructuredStorage, UnknownVersionIsRefused) {
    if (testing_support::IsWindowsBuild())
        GTEST_SKIP() << "Wine ignores the version number";
    TempDir dir;
    std::string bytes = WriteCompoundFile({{u"a", "x"}});
    bytes[26] = 5;
    EXPECT_EQ(platform::OpenStorage(PathText(dir.Write("v5.stg", bytes))), nullptr);
}

// The files Wine's own property-set storage wrote, read back to the byte.
TEST(StructuredStorage, ReferenceStreamsReadAsDumped) {
    for (const char* name : {"full_ansi", "full_unicode_set_lpstr", "unicode_lpwstr", "title_only",
                             "ansi_cp1252_lpstr"}) {
        SCOPED_TRACE(name);
        const std::string dump =
            testing_support::ReadWholeFile(DataFile(std::string(name) + ".hex"));
        const std::string expected = HexDumpBytes(dump);
        ASSERT_GT(expected.size(), 28u);
        bool found = false;
        EXPECT_EQ(StreamBytes(DataFile(std::string(name) + ".stg"), kSummaryStreamName, &found),
                  expected);
        EXPECT_TRUE(found);
    }
}

// Streams of every size around the sector sizes, in both versions.
TEST(StructuredStorage, WrittenFilesReadBack) {
    const std::vector<size_t> sizes = {0, 1, 63, 64, 65, 511, 512, 513, 4095, 4096, 5000, 70000};
    for (int version : {3, 4}) {
        SCOPED_TRACE(version);
        std::vector<StreamSpec> streams;
        for (size_t i = 0; i < sizes.size(); ++i)
            streams.push_back({u"Stream" + std::u16string(1, char16_t(u'A' + i)),
                               Pattern(sizes[i], static_cast<unsigned>(i))});
        TempDir dir;
        testing_cfb::WriterOptions options;
        options.version = version;
        const fs::path file = dir.Write("v.stg", WriteCompoundFile(streams, options));
        auto storage = platform::OpenStorage(PathText(file));
        ASSERT_NE(storage, nullptr);
        for (const StreamSpec& expected : streams) {
            auto stream = storage->OpenStream(expected.name);
            ASSERT_NE(stream, nullptr) << expected.bytes.size();
            // Odd pieces cross every sector boundary.
            EXPECT_EQ(ReadToEnd(*stream, 77), expected.bytes) << expected.bytes.size();
        }
    }
}

// Names are looked up in the directory's tree, without regard to case.
TEST(StructuredStorage, StreamsFoundByName) {
    std::vector<StreamSpec> streams;
    for (int i = 0; i < 40; ++i) {
        std::u16string name = u"n";
        for (int k = 0; k < i % 7; ++k)
            name += char16_t(u'a' + (i + k) % 26);
        name += char16_t(u'0' + i / 7);
        streams.push_back({name, "content " + std::to_string(i)});
    }
    streams.push_back({kSummaryStreamName, "summary bytes"});
    TempDir dir;
    const fs::path file = dir.Write("names.stg", WriteCompoundFile(streams));
    auto storage = platform::OpenStorage(PathText(file));
    ASSERT_NE(storage, nullptr);
    for (const StreamSpec& expected : streams) {
        auto stream = storage->OpenStream(expected.name);
        ASSERT_NE(stream, nullptr) << testing_support::U8(expected.name);
        EXPECT_EQ(ReadToEnd(*stream), expected.bytes);
    }
    auto upper = storage->OpenStream(u"\x05SUMMARYINFORMATION");
    ASSERT_NE(upper, nullptr);
    EXPECT_EQ(ReadToEnd(*upper), "summary bytes");
    for (const char16_t* missing : {u"", u"n", u"nb", u"Root Entry", u"\x05SummaryInformatio",
                                    u"\x05SummaryInformationX", u"zzzzzzzzzz"})
        EXPECT_EQ(storage->OpenStream(missing), nullptr) << testing_support::U8(missing);
}

// Enough FAT sectors that some are listed in a DIFAT sector: the stream
// lies in sectors only those describe.
TEST(StructuredStorage, FatListedInDifatSectors) {
    testing_cfb::WriterOptions options;
    options.fillerSectors = 14000;
    testing_cfb::WrittenLayout layout;
    const std::string big = Pattern(9000, 7);
    const std::string bytes =
        WriteCompoundFile({{u"big", big}, {u"small", "tiny"}}, options, &layout);
    ASSERT_GT(layout.fatSectors.size(), 109u);
    ASSERT_EQ(layout.difatSectors.size(), 1u);
    ASSERT_GE(layout.streamStarts[0] / 128, 109u);
    TempDir dir;
    const fs::path file = dir.Write("difat.stg", bytes);
    EXPECT_EQ(StreamBytes(file, u"big"), big);
    EXPECT_EQ(StreamBytes(file, u"small"), "tiny");
}

TEST(StructuredStorage, StreamReadSeekClone) {
    const std::string content = Pattern(300, 3);
    TempDir dir;
    const fs::path file = dir.Write("s.stg", WriteCompoundFile({{u"data", content}}));
    auto storage = platform::OpenStorage(PathText(file));
    ASSERT_NE(storage, nullptr);
    auto stream = storage->OpenStream(u"data");
    ASSERT_NE(stream, nullptr);
    char buffer[400];
    uint32_t got = 0;
    ASSERT_TRUE(stream->Read(buffer, 100, got));
    EXPECT_EQ(std::string(buffer, got), content.substr(0, 100));
    auto clone = stream->Clone();
    ASSERT_NE(clone, nullptr);
    uint64_t position = 0;
    ASSERT_TRUE(clone->Seek(0, platform::SeekOrigin::Current, position));
    EXPECT_EQ(position, 100u);
    ASSERT_TRUE(clone->Seek(-10, platform::SeekOrigin::End, position));
    EXPECT_EQ(position, 290u);
    ASSERT_TRUE(clone->Read(buffer, 400, got));
    EXPECT_EQ(std::string(buffer, got), content.substr(290));
    // The original did not move with its clone.
    ASSERT_TRUE(stream->Read(buffer, 50, got));
    EXPECT_EQ(std::string(buffer, got), content.substr(100, 50));
    // Before the start is an error; Wine's storage stream wraps around
    // instead, so that is checked on the native build only.
    if (!testing_support::IsWindowsBuild()) {
        position = 7;
        EXPECT_FALSE(stream->Seek(-151, platform::SeekOrigin::Current, position));
        EXPECT_EQ(position, 7u);
    }
    ASSERT_TRUE(stream->Seek(1000, platform::SeekOrigin::Begin, position));
    ASSERT_TRUE(stream->Read(buffer, 10, got));
    EXPECT_EQ(got, 0u);
}

}  // namespace
