// The walk: order, levels, masks, directory rows, links and unreadable
// directories, through FileSystemIterator as a rowset drives it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "fileinfo/FileRecord.h"
#include "fs/FileSystemIterator.h"
#include "fs/StartingDirectory.h"
#include "fs/UFindFile.h"
#include "platform/PathSplit.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// A row as "relative/directory/name@relative-level"; a directory row has
// the name "<dir>". Directories are relative to the starting directory.
std::vector<std::string> Walk(const std::u16string& start, const std::u16string& mask = u"*.*",
                              int32_t levels = -1, bool includeEmpty = false,
                              int32_t* baseLevel = nullptr) {
    FileSystemIterator iterator(start, mask, levels, includeEmpty);
    FileRecord record(u"");
    std::vector<std::string> rows;
    for (bool found = true; found;) {
        iterator.ReadRow(found, record);
        if (!found)
            break;
        std::u16string directory = record.directory().str().substr(start.size());
        while (!directory.empty() && platform::IsPathSeparator(directory[0]))
            directory.erase(0, 1);
        for (char16_t& c : directory)
            if (platform::IsPathSeparator(c))
                c = u'/';
        std::string name = record.findData() ? U8(record.findData()->cFileName) : "<dir>";
        rows.push_back((directory.empty() ? "" : U8(directory) + "/") + name + "@" +
                       std::to_string(record.relativeLevel()));
        if (baseLevel)
            *baseLevel = int32_t(record.absoluteLevel() - record.relativeLevel());
    }
    return rows;
}

using Rows = std::vector<std::string>;

class WalkTest : public ::testing::Test {
protected:
    void File(const std::string& relative, const std::string& bytes = "x") {
        fs::path path = dir_.path() / fs::u8path(relative);
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void Dir(const std::string& relative) { fs::create_directories(dir_.path() / relative); }
    std::u16string Start() const { return dir_.path().u16string(); }

    TempDir dir_;
};

// Depth first, each directory's subtree before its own files, the starting
// directory last; NTFS order ("B" < "b2" < "C" once upper-cased). The mask
// filters files, never subdirectories; a directory whose own files do not
// match gives a row of its own when asked.
TEST_F(WalkTest, OrderLevelsMasksAndDirectoryRows) {
    for (const char* name : {"f1", "B/f2", "B/D/f4.txt", "b2/g", "C/x.doc"})
        File(name);
    Dir("C/Empty");
    const struct {
        const char16_t* mask;
        int32_t levels;
        bool includeEmpty;
        Rows rows;
    } cases[] = {
        {u"*.*", -1, false, {"B/D/f4.txt@2", "B/f2@1", "b2/g@1", "C/x.doc@1", "f1@0"}},
        {u"*.*", 0, false, {"f1@0"}},
        {u"*.*", 1, false, {"B/f2@1", "b2/g@1", "C/x.doc@1", "f1@0"}},
        {u"*.*", -2, false, {"f1@0"}},  // below -1 behaves like 0
        {u"*.txt", -1, false, {"B/D/f4.txt@2"}},
        {u"*.txt", 1, true, {"B/<dir>@1", "b2/<dir>@1", "C/<dir>@1", "<dir>@0"}},
        {u"*.txt",
         -1,
         true,
         {"B/D/f4.txt@2", "B/<dir>@1", "b2/<dir>@1", "C/Empty/<dir>@2", "C/<dir>@1", "<dir>@0"}},
    };
    for (const auto& c : cases) {
        int32_t base = -1;
        EXPECT_EQ(Walk(Start(), c.mask, c.levels, c.includeEmpty, &base), c.rows)
            << U8(c.mask) << " " << c.levels << " " << c.includeEmpty;
        EXPECT_EQ(base, GetStartingDirectoryLevel(Start()));
    }
}

TEST_F(WalkTest, EmptyStartingDirectory) {
    EXPECT_EQ(Walk(Start()), Rows{});
    EXPECT_EQ(Walk(Start(), u"*.*", -1, true), Rows{"<dir>@0"});
}

TEST_F(WalkTest, TrailingSeparatorIsKeptInTheDirectoryText) {
    File("B/f2");
    std::u16string start = Start() + platform::kPathSeparator;
    FileSystemIterator iterator(start, u"*.*", -1, false);
    FileRecord record(u"");
    bool found = false;
    iterator.ReadRow(found, record);
    ASSERT_TRUE(found);
    // Joined with one separator without looking at the parent's end.
    EXPECT_EQ(U8(record.directory().str()), U8(start + platform::kPathSeparator + u"B"));
    EXPECT_EQ(GetStartingDirectoryLevel(start), GetStartingDirectoryLevel(Start()));
}

TEST_F(WalkTest, EndedStaysEndedAndRewindStartsOver) {
    File("B/f2");
    File("f1");
    FileSystemIterator iterator(Start(), u"*.*", -1, false);
    FileRecord record(u"");
    bool found = false;
    int rows = 0;
    for (iterator.ReadRow(found, record); found; iterator.ReadRow(found, record))
        ++rows;
    EXPECT_EQ(rows, 2);
    File("late");  // ended walks do not look again
    iterator.ReadRow(found, record);
    EXPECT_FALSE(found);
    EXPECT_EQ(record.findData(), nullptr);
    iterator.Rewind();
    for (rows = 0, iterator.ReadRow(found, record); found; iterator.ReadRow(found, record))
        ++rows;
    EXPECT_EQ(rows, 3);
}

TEST_F(WalkTest, StartingDirectoryRemovedAfterConstruction) {
    Dir("gone");
    std::u16string start = (dir_.path() / "gone").u16string();
    FileSystemIterator iterator(start, u"*.*", -1, true);
    fs::remove(dir_.path() / "gone");
    FileRecord record(u"");
    bool found = true;
    iterator.ReadRow(found, record);
    EXPECT_FALSE(found);
}

TEST_F(WalkTest, DirectoriesRemovedOrRenamedDuringTheWalk) {
    File("A/a1");
    File("B/b1");
    File("B/b2");
    File("C/c1");
    File("top");
    FileSystemIterator iterator(Start(), u"*.*", -1, false);
    FileRecord record(u"");
    bool found = false;
    iterator.ReadRow(found, record);
    ASSERT_TRUE(found);
    EXPECT_EQ(U8(record.findData()->cFileName), "a1");
    // B goes away and C changes its name before the walk reaches them.
    fs::remove_all(dir_.path() / "B");
    fs::rename(dir_.path() / "C", dir_.path() / "D");
    std::vector<std::string> rest;
    for (iterator.ReadRow(found, record); found; iterator.ReadRow(found, record))
        rest.push_back(U8(record.findData()->cFileName));
    // B yields nothing and the walk goes on. Whether the search still shows
    // C or already D is the file system's affair; D's file may come once.
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.back(), "top");
    EXPECT_EQ(std::count(rest.begin(), rest.end(), "b1"), 0);
    EXPECT_LE(rest.size(), 2u);
    if (!IsWindowsBuild()) {
        EXPECT_EQ(rest.size(), 1u) << "a POSIX search lists its directory once";
    }
}

TEST_F(WalkTest, DeepChain) {
    std::string path;
    for (int i = 0; i < 300; ++i)
        path += (i ? "/d" : "d") + std::to_string(i % 10);
    File(path + "/leaf");
    Rows rows = Walk(Start());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], path + "/leaf@300");
}

TEST(StartingDirectory, Validity) {
    TempDir dir;
    fs::create_directory(dir.path() / "empty");
    std::ofstream(dir.path() / "file.txt") << "x";
    EXPECT_TRUE(IsValidStartingDirectory(dir.path().u16string()));
    EXPECT_TRUE(IsValidStartingDirectory((dir.path() / "empty").u16string()));
    EXPECT_TRUE(IsValidStartingDirectory(dir.folderText()));
    EXPECT_FALSE(IsValidStartingDirectory((dir.path() / "file.txt").u16string()));
    EXPECT_FALSE(IsValidStartingDirectory((dir.path() / "missing").u16string()));
    EXPECT_FALSE(IsValidStartingDirectory(u""));
}

TEST(StartingDirectory, Levels) {
    struct Case {
        const char16_t* path;
        int32_t level;
    };
    const std::vector<Case> posix = {{u"/", 0},        {u"/usr", 1},     {u"/usr/share/", 2},
                                     {u"/a/b/c/d", 4}, {u"Data/Sub", 1}, {u"", 0}};
    const std::vector<Case> windows = {{u"C:\\", 0},
                                       {u"C:/", 0},
                                       {u"C:\\Windows", 1},
                                       {u"C:\\Windows\\System32\\", 2},
                                       {u"\\\\server\\share\\dir", 4},
                                       {u"\\\\server\\share\\a\\b", 5},
                                       {u"Data\\Sub", 1},
                                       {u"", 0}};
    for (const Case& c : IsWindowsBuild() ? windows : posix)
        EXPECT_EQ(GetStartingDirectoryLevel(c.path), c.level) << U8(c.path);
}

TEST(FindFileWrapper, DirectoriesFilesAndTheEnd) {
    TempDir dir;
    std::ofstream(dir.path() / "a.txt") << "x";
    std::ofstream(dir.path() / "b.txt") << "x";
    fs::create_directory(dir.path() / "c.txt");  // a directory that matches the mask
    std::u16string fileSpec = dir.folderText() + u"*.txt";

    UFindFile files(fileSpec.c_str());
    std::vector<std::string> names;
    while (const char16_t* name = files.NextFile())
        names.push_back(U8(name));
    EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(files.NextEntry(), nullptr);

    UFindFile entries(fileSpec.c_str());
    std::string last;
    while (const char16_t* name = entries.NextEntry())
        last = U8(name);
    EXPECT_EQ(last, "c.txt");
    EXPECT_EQ(U8(entries.findData().cFileName), last) << "the last entry stays readable";

    std::u16string all = dir.folderText() + u"*.*";
    UFindFile directories(all.c_str());
    EXPECT_EQ(U8(directories.NextDirectory()), "c.txt");
    EXPECT_EQ(directories.NextDirectory(), nullptr);

    // A new file specification closes the open search and starts over.
    UFindFile again(all.c_str());
    ASSERT_NE(again.NextEntry(), nullptr);
    again.SetFileSpec(fileSpec.c_str());
    EXPECT_EQ(again.findData().cFileName[0], 0) << "cleared";
    EXPECT_EQ(U8(again.NextFile()), "a.txt");

    std::u16string none = dir.folderText() + u"*.none";
    UFindFile nothing(none.c_str());
    EXPECT_EQ(nothing.NextDirectory(), nullptr);
    EXPECT_EQ(nothing.NextEntry(), nullptr);
    UFindFile unset;
    EXPECT_EQ(unset.NextEntry(), nullptr);
}

}  // namespace
