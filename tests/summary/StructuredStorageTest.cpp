// Compound files through the platform's structured storage (the real
// StgOpenStorage on Windows, our own reader on POSIX), and the POSIX reader
// on a damaged file. Damaged files of every other kind are seeds of the
// compound_file fuzz target.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "formats/CompoundFile.h"
#include "platform/StructuredStorage.h"
#include "tests/summary/SummaryTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace testing_summary;
using testing_support::ReadWholeFile;
using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

TEST(StructuredStorage, OpenFailsForWhatIsNoCompoundFile) {
    TempDir dir;
    const std::string good = ReadWholeFile(DataFile("title_only.stg"));
    fs::create_directory(dir.path() / "a_directory");
    const struct {
        const char* name;
        std::u16string path;
    } cases[] = {
        {"missing file", PathText(dir.path() / "missing.stg")},
        {"empty path", u""},
        {"directory", PathText(dir.path() / "a_directory")},
        {"empty file", PathText(dir.Write("empty.bin", ""))},
        {"plain text", PathText(dir.Write("plain.txt", "Just some text.\r\n"))},
        {"signature and zeros",
         PathText(dir.Write("zeros.bin", good.substr(0, 8) + std::string(504, '\0')))},
        {"header only", PathText(dir.Write("cut.stg", good.substr(0, 512)))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::OpenStorage(c.path), nullptr) << c.name;
    // Only versions 3 and 4 exist; Wine opens any version whose sector
    // sizes it knows, where Windows refuses.
    std::string v5 = good;
    v5[26] = 5;
    EXPECT_EQ(platform::OpenStorage(PathText(dir.Write("v5.stg", v5))) == nullptr,
              !testing_support::IsWindowsBuild());
}

// The files Wine's own property-set storage wrote, read back to the byte,
// whatever the case of the name asked for.
TEST(StructuredStorage, ReferenceStreamsReadAsDumped) {
    for (const char* name : {"full_ansi", "full_unicode_set_lpstr", "unicode_lpwstr", "title_only",
                             "ansi_cp1252_lpstr"}) {
        SCOPED_TRACE(name);
        const fs::path file = DataFile(std::string(name) + ".stg");
        const std::string expected =
            HexDumpBytes(ReadWholeFile(DataFile(std::string(name) + ".hex")));
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
    ASSERT_GT(content.size(), 300u);
    auto storage = platform::OpenStorage(PathText(file));
    ASSERT_NE(storage, nullptr);
    auto stream = storage->OpenStream(kSummaryStreamName);
    ASSERT_NE(stream, nullptr);
    char buffer[1024];
    uint32_t got = 0;
    ASSERT_TRUE(stream->Read(buffer, 100, got));
    EXPECT_EQ(std::string(buffer, got), content.substr(0, 100));
    auto clone = stream->Clone();
    ASSERT_NE(clone, nullptr);
    uint64_t position = 0;
    ASSERT_TRUE(clone->Seek(0, platform::SeekOrigin::Current, position));
    EXPECT_EQ(position, 100u);
    ASSERT_TRUE(clone->Seek(-10, platform::SeekOrigin::End, position));
    EXPECT_EQ(position, content.size() - 10);
    ASSERT_TRUE(clone->Read(buffer, sizeof buffer, got));
    EXPECT_EQ(std::string(buffer, got), content.substr(content.size() - 10));
    // The original did not move with its clone.
    ASSERT_TRUE(stream->Read(buffer, 50, got));
    EXPECT_EQ(std::string(buffer, got), content.substr(100, 50));
    // Before the start is an error; Wine's storage stream wraps around.
    if (!testing_support::IsWindowsBuild()) {
        position = 7;
        EXPECT_FALSE(stream->Seek(-151, platform::SeekOrigin::Current, position));
        EXPECT_EQ(position, 7u);
    }
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
        ReadWholeFile(SourceFile("fuzz/corpus/compound_file/chain_loops.stg"));
    auto file = formats::cfb::CompoundFile::Open(std::make_shared<formats::MemorySource>(bytes));
    ASSERT_NE(file, nullptr);
    for (const auto& [name, expected] : {std::make_pair(u"big", pattern.substr(0, 3 * 512)),
                                         std::make_pair(u"SMALL", pattern.substr(0, 300))}) {
        const uint32_t index = file->FindChild(0, name);
        formats::cfb::StreamLayout layout;
        ASSERT_TRUE(file->OpenStream(index, layout));
        std::string read(static_cast<size_t>(layout.size), '\0');
        read.resize(file->ReadStream(layout, 0, &read[0], read.size()));
        EXPECT_EQ(read, expected);
    }
}

}  // namespace
