// The POSIX compound-file reader on damaged files: chains that loop, leave
// the file or end early, directories that point at themselves, sizes beyond
// the file, DIFAT loops and truncation. Nothing may read outside the bytes,
// allocate beyond them or loop; what can be read is read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/CompoundFile.h"
#include "tests/summary/CompoundFileWriter.h"

using namespace formats::cfb;
using testing_cfb::PutU16;
using testing_cfb::PutU32;
using testing_cfb::PutU64;
using testing_cfb::StreamSpec;
using testing_cfb::WriteCompoundFile;
using testing_cfb::WriterOptions;
using testing_cfb::WrittenLayout;

namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;

std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
}

std::shared_ptr<CompoundFile> Open(const std::string& bytes) {
    return CompoundFile::Open(std::make_shared<formats::MemorySource>(bytes));
}

// The stream at `index` as far as it can be read.
std::string ReadAll(CompoundFile& file, uint32_t index, StreamLayout* layoutOut = nullptr) {
    StreamLayout layout;
    if (!file.OpenStream(index, layout))
        return "(not a stream)";
    std::string bytes(static_cast<size_t>(layout.size), '\0');
    bytes.resize(file.ReadStream(layout, 0, &bytes[0], bytes.size()));
    if (layoutOut != nullptr)
        *layoutOut = layout;
    return bytes;
}

uint32_t U32(const std::string& bytes, uint64_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[offset + i]);
    return value;
}

TEST(CompoundFile, NamesOrderByLengthThenUpperCase) {
    EXPECT_LT(CompareEntryNames(u"b", u"aa"), 0);
    EXPECT_GT(CompareEntryNames(u"aa", u"b"), 0);
    EXPECT_LT(CompareEntryNames(u"abc", u"ABD"), 0);
    EXPECT_EQ(CompareEntryNames(u"\x05SummaryInformation", u"\x05SUMMARYINFORMATION"), 0);
    EXPECT_EQ(CompareEntryNames(u"\u00E9t\u00E9", u"\u00C9T\u00C9"), 0);
    EXPECT_NE(CompareEntryNames(u"a", u"b"), 0);
}

TEST(CompoundFile, HeaderChecks) {
    WrittenLayout layout;
    const std::string good = WriteCompoundFile({{u"a", "x"}}, {}, &layout);
    ASSERT_NE(Open(good), nullptr);
    const struct {
        const char* name;
        uint64_t offset;
        uint16_t value;
    } patches[] = {
        {"signature", 0, 0xCFD1},
        {"byte order", 28, 0xFEFF},
        {"version 3, 4096 sectors", 30, 12},
        {"version 2", 26, 2},
        {"mini sector shift", 32, 7},
        {"mini stream cutoff", 56, 2048},
        {"root is a storage", layout.EntryOffset(0) + 66, 1},
    };
    for (const auto& patch : patches) {
        std::string bad = good;
        PutU16(bad, patch.offset, patch.value);
        EXPECT_EQ(Open(bad), nullptr) << patch.name;
    }
    std::string v4 = WriteCompoundFile({{u"a", "x"}}, WriterOptions{4, 0});
    ASSERT_NE(Open(v4), nullptr);
    PutU16(v4, 30, 9);
    EXPECT_EQ(Open(v4), nullptr);
    EXPECT_EQ(Open(good.substr(0, 511)), nullptr);
    EXPECT_EQ(Open(""), nullptr);
}

class DamagedChains : public ::testing::Test {
protected:
    void SetUp() override {
        content_ = Pattern(5000);  // ten 512-byte sectors
        bytes_ = WriteCompoundFile({{u"big", content_}, {u"small", Pattern(300)}}, {}, &layout_);
        start_ = layout_.streamStarts[0];
    }

    std::string content_, bytes_;
    WrittenLayout layout_;
    uint32_t start_ = 0;
};

TEST_F(DamagedChains, ChainThatLoops) {
    PutU32(bytes_, layout_.FatEntryOffset(start_ + 2), start_);
    auto file = Open(bytes_);
    ASSERT_NE(file, nullptr);
    StreamLayout layout;
    EXPECT_EQ(ReadAll(*file, 1, &layout), content_.substr(0, 3 * 512));
    EXPECT_EQ(layout.sectors.size(), 3u);
}

TEST_F(DamagedChains, ChainThatPointsAtItself) {
    PutU32(bytes_, layout_.FatEntryOffset(start_), start_);
    auto file = Open(bytes_);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadAll(*file, 1), content_.substr(0, 512));
}

TEST_F(DamagedChains, ChainThatLeavesTheFile) {
    for (uint32_t next : {0x00FFFFFFu, 0xFFFFFFFAu, 0xFFFFFFFDu, 0xFFFFFFFFu, kEndOfChain}) {
        std::string bytes = bytes_;
        PutU32(bytes, layout_.FatEntryOffset(start_ + 4), next);
        auto file = Open(bytes);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(ReadAll(*file, 1), content_.substr(0, 5 * 512)) << next;
    }
}

TEST_F(DamagedChains, StartOutsideTheFile) {
    PutU32(bytes_, layout_.EntryOffset(1) + 116, 0x7FFFFFFF);
    auto file = Open(bytes_);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadAll(*file, 1), "");
}

TEST_F(DamagedChains, SizeLargerThanTheFile) {
    // Version 3 keeps only the low 32 bits of a size.
    for (uint64_t size : {0xFFFFFFFFull, 0x12345678FFFFFFFFull, 1000000ull}) {
        std::string bytes = bytes_;
        PutU64(bytes, layout_.EntryOffset(1) + 120, size);
        auto file = Open(bytes);
        ASSERT_NE(file, nullptr);
        StreamLayout layout;
        const std::string read = ReadAll(*file, 1, &layout);
        // The chain ends with the stream's ten sectors.
        EXPECT_EQ(layout.size, 10u * 512) << size;
        EXPECT_EQ(read.substr(0, content_.size()), content_) << size;
    }
    // In version 4 the size is 64 bits wide.
    WrittenLayout layout4;
    std::string v4 = WriteCompoundFile({{u"big", content_}}, WriterOptions{4, 0}, &layout4);
    PutU64(v4, layout4.EntryOffset(1) + 120, 1ull << 62);
    auto file = Open(v4);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadAll(*file, 1).substr(0, content_.size()), content_);
}

TEST_F(DamagedChains, MiniChainThatLoops) {
    const uint32_t miniFat = U32(bytes_, 60);
    const uint32_t first = layout_.streamStarts[1];
    PutU32(bytes_, layout_.SectorOffset(miniFat) + 4 * (first + 1), first);
    auto file = Open(bytes_);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadAll(*file, 2), Pattern(300).substr(0, 128));
}

TEST_F(DamagedChains, MiniStreamCutShort) {
    // The root says the mini stream is shorter than the small stream needs.
    PutU64(bytes_, layout_.EntryOffset(0) + 120, 100);
    auto file = Open(bytes_);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadAll(*file, 2), Pattern(300).substr(0, 128));
}

TEST_F(DamagedChains, DirectoryChainThatLoops) {
    PutU32(bytes_, layout_.FatEntryOffset(layout_.firstDirectorySector),
           layout_.firstDirectorySector);
    auto file = Open(bytes_);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->EntryCount(), 4u);
    EXPECT_EQ(file->FindChild(0, u"big"), 1u);
}

TEST_F(DamagedChains, EntriesThatPointAtThemselves) {
    auto file = Open(bytes_);
    ASSERT_NE(file, nullptr);
    const uint32_t top = file->FindChild(0, u"big") == 1 ? 1 : 2;
    DirectoryEntry root;
    ASSERT_TRUE(file->ReadEntry(0, root));
    // The tree's top points at itself on both sides; the root is its own child.
    const uint32_t node = root.child;
    ASSERT_TRUE(node == 1 || node == 2) << top;
    PutU32(bytes_, layout_.EntryOffset(node) + 68, node);
    PutU32(bytes_, layout_.EntryOffset(node) + 72, node);
    file = Open(bytes_);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->FindChild(0, u"nothing here"), kNoEntry);
    EXPECT_EQ(file->FindChild(0, u"a"), kNoEntry);
    PutU32(bytes_, layout_.EntryOffset(0) + 76, 0);
    file = Open(bytes_);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->FindChild(0, u"big"), kNoEntry);
    // Children of a stream are never searched.
    EXPECT_EQ(file->FindChild(1, u"big"), kNoEntry);
    EXPECT_EQ(file->FindChild(99, u"big"), kNoEntry);
}

TEST_F(DamagedChains, FatCountsBeyondTheFile) {
    PutU32(bytes_, 44, 0xFFFFFFFF);
    PutU32(bytes_, 72, 0xFFFFFFFF);
    PutU32(bytes_, 68, 0);
    auto file = Open(bytes_);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadAll(*file, 1), content_);
}

class DamagedDifat : public ::testing::Test {
protected:
    void SetUp() override {
        content_ = Pattern(9000);
        WriterOptions options;
        options.fillerSectors = 14000;
        bytes_ = WriteCompoundFile({{u"big", content_}}, options, &layout_);
        ASSERT_EQ(layout_.difatSectors.size(), 1u);
    }
    std::string content_, bytes_;
    WrittenLayout layout_;
};

TEST_F(DamagedDifat, Sound) {
    auto file = Open(bytes_);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadAll(*file, 1), content_);
}

TEST_F(DamagedDifat, DifatSectorThatPointsAtItself) {
    const uint32_t difat = layout_.difatSectors[0];
    PutU32(bytes_, layout_.SectorOffset(difat) + 508, difat);
    PutU32(bytes_, 72, 100000);
    auto file = Open(bytes_);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadAll(*file, 1), content_);
    // Asked for more FAT sectors than the loop lists: they repeat, harmlessly.
    PutU32(bytes_, 44, 5000);
    file = Open(bytes_);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadAll(*file, 1), content_);
}

TEST_F(DamagedDifat, DifatOutsideTheFile) {
    PutU32(bytes_, 68, 0x00FFFFFF);
    auto file = Open(bytes_);
    ASSERT_NE(file, nullptr);
    // The FAT sectors that describe the stream are unknown: only its first
    // sector can be read.
    EXPECT_EQ(ReadAll(*file, 1), content_.substr(0, 512));
}

// Every truncation of sound files: opening either fails or gives streams
// no longer than what is left of the file.
TEST(CompoundFile, TruncatedFiles) {
    for (int version : {3, 4}) {
        WriterOptions options;
        options.version = version;
        const std::string whole = WriteCompoundFile(
            {{u"big", Pattern(6000)}, {u"small", Pattern(200)}, {u"\x05SummaryInformation", "abc"}},
            options);
        auto sound = Open(whole);
        ASSERT_NE(sound, nullptr);
        const uint32_t step = version == 4 ? 256 : 32;
        for (size_t cut = 0; cut < whole.size(); cut += step) {
            auto file = Open(whole.substr(0, cut));
            if (file == nullptr)
                continue;
            for (uint32_t index = 0; index < file->EntryCount(); ++index) {
                StreamLayout layout;
                if (!file->OpenStream(index, layout))
                    continue;
                const std::string read = ReadAll(*file, index);
                EXPECT_LE(read.size(), cut);
                EXPECT_EQ(read, ReadAll(*sound, index).substr(0, read.size()));
            }
        }
    }
}

}  // namespace
