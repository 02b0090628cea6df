// The walk through FileSystemIterator as a rowset drives it: the tree tables
// of walk.tsv, and what a table cannot show (changes during the walk, rewinds,
// deep chains, unreadable directories, a real tree).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "fileinfo/FileRecord.h"
#include "fs/FileSystemIterator.h"
#include "fs/StartingDirectory.h"
#include "platform/PathSplit.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <set>

#include "platform/TextEncoding.h"
#include "tests/support/Unprivileged.h"
#endif

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// Files, directories ending in "/" and links to directories "link->target".
void MakeTree(const fs::path& root, const std::string& tree) {
    std::istringstream items(tree);
    for (std::string item; items >> item;) {
        const size_t arrow = item.find("->");
        const fs::path path = root / fs::u8path(item.substr(0, arrow));
        fs::create_directories(item.back() == '/' ? path : path.parent_path());
        if (arrow != std::string::npos)
            fs::create_directory_symlink(root / fs::u8path(item.substr(arrow + 2)), path);
        else if (item.back() != '/')
            std::ofstream(path) << "x";
    }
}

// The rows still to come as "directory/name@level", as walk.tsv lists them.
std::string Rows(FileSystemIterator& iterator, const std::u16string& start) {
    FileRecord record(u"");
    std::string rows;
    bool found = false;
    for (iterator.ReadRow(found, record); found; iterator.ReadRow(found, record)) {
        std::string directory = U8(record.directory().str().substr(start.size()));
        std::replace(directory.begin(), directory.end(), '\\', '/');
        if (!directory.empty())
            directory = directory.substr(1) + "/";
        rows += (rows.empty() ? "" : " ") + directory +
                (record.findData() ? U8(record.findData()->cFileName) : "<dir>") + "@" +
                std::to_string(record.relativeLevel());
        EXPECT_EQ(int32_t(record.absoluteLevel() - record.relativeLevel()),
                  GetStartingDirectoryLevel(start));
    }
    return rows;
}

std::string Walk(const std::u16string& start, const std::u16string& mask = u"*.*",
                 int32_t levels = -1, bool includeEmpty = false) {
    FileSystemIterator iterator(start, mask, levels, includeEmpty);
    return Rows(iterator, start);
}

TEST(Walk, Trees) {
    const ReferenceTable table = ReferenceTable::LoadCases("fs/walk.tsv");
    for (const auto& row : table.rows()) {
        if (IsWindowsBuild() && table.Field(row, "build") == "posix")
            continue;
        SCOPED_TRACE(row.name);
        TempDir dir;
        MakeTree(dir.path(), table.Field(row, "tree"));
        // A trailing separator stays in the directory texts: one more is added.
        for (const std::u16string& start :
             {dir.path().u16string(), dir.path().u16string() + platform::kPathSeparator})
            EXPECT_EQ(Walk(start, U16(table.Field(row, "mask")),
                           std::stoi(table.Field(row, "levels")), table.Field(row, "empty") == "1"),
                      table.Field(row, "rows"));
    }
}

TEST(Walk, EndedStaysEndedAndRewindStartsOver) {
    TempDir dir;
    MakeTree(dir.path(), "B/f2 f1 gone/");
    const std::u16string start = dir.path().u16string();
    FileSystemIterator iterator(start, u"*.*", -1, false);
    EXPECT_EQ(Rows(iterator, start), "B/f2@1 f1@0");
    MakeTree(dir.path(), "late");  // an ended walk does not look again
    EXPECT_EQ(Rows(iterator, start), "");
    iterator.Rewind();
    EXPECT_EQ(Rows(iterator, start), "B/f2@1 f1@0 late@0");

    const std::u16string gone = (dir.path() / "gone").u16string();
    FileSystemIterator removed(gone, u"*.*", -1, true);
    fs::remove(gone);
    EXPECT_EQ(Rows(removed, gone), "");
}

TEST(Walk, DirectoriesRemovedOrRenamedDuringTheWalk) {
    TempDir dir;
    MakeTree(dir.path(), "A/a1 B/b1 B/b2 C/c1 top");
    const std::u16string start = dir.path().u16string();
    FileSystemIterator iterator(start, u"*.*", -1, false);
    FileRecord record(u"");
    bool found = false;
    iterator.ReadRow(found, record);
    ASSERT_TRUE(found);
    fs::remove_all(dir.path() / "B");
    fs::rename(dir.path() / "C", dir.path() / "D");
    // B yields nothing and the walk goes on. Whether the search still shows C
    // or already D is the file system's affair; a POSIX search lists its
    // directory once.
    const std::string rest = Rows(iterator, start);
    if (IsWindowsBuild())
        EXPECT_TRUE(rest == "top@0" || rest == "C/c1@1 top@0" || rest == "D/c1@1 top@0") << rest;
    else
        EXPECT_EQ(rest, "top@0");
}

TEST(Walk, DeepChain) {
    TempDir dir;
    std::string path = "d0";
    for (int i = 1; i < 300; ++i)
        path += "/d" + std::to_string(i % 10);
    MakeTree(dir.path(), path + "/leaf");
    EXPECT_EQ(Walk(dir.path().u16string()), path + "/leaf@300");
}

TEST(StartingDirectory, ValidityAndLevels) {
    TempDir dir;
    MakeTree(dir.path(), "empty/ file.txt");
    EXPECT_TRUE(IsValidStartingDirectory((dir.path() / "empty").u16string()));
    EXPECT_TRUE(IsValidStartingDirectory(dir.folderText()));
    EXPECT_FALSE(IsValidStartingDirectory((dir.path() / "file.txt").u16string()));
    EXPECT_FALSE(IsValidStartingDirectory((dir.path() / "missing").u16string()));
    EXPECT_FALSE(IsValidStartingDirectory(u""));

    const ReferenceTable table = ReferenceTable::LoadCases("fs/starting-levels.tsv");
    for (const auto& row : table.rows()) {
        if (table.Field(row, "build") != (IsWindowsBuild() ? "windows" : "posix"))
            continue;
        EXPECT_EQ(GetStartingDirectoryLevel(U16(table.Field(row, "path"))),
                  std::stoi(table.Field(row, "level")))
            << row.name;
    }
}

#ifndef _WIN32
TEST(Walk, UnreadableDirectoriesGiveOnlyTheirDirectoryRow) {
    TempDir dir;
    MakeTree(dir.path(), "open/f shut/inner/g");
    for (const char* name : {"", "open"})
        chmod((dir.path() / name).c_str(), 0755);
    chmod((dir.path() / "shut").c_str(), 0700);
    const std::u16string start = dir.path().u16string();
    EXPECT_EQ(AsUnprivilegedUser([&] {
                  return Walk(start) == "open/f@1" &&
                         Walk(start, u"*.*", -1, true) == "open/f@1 shut/<dir>@1 <dir>@0";
              }),
              0)
        << "99: could not drop root";
}

// 400 levels of 20-byte names, far past PATH_MAX: every file is listed.
TEST(Walk, DeeperThanThePathLimit) {
    TempDir dir;
    int directory = open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    for (int level = 1000; level < 1400; ++level) {
        const std::string name = "level" + std::to_string(level) + "_abcdefghij";
        ASSERT_EQ(mkdirat(directory, name.c_str(), 0755), 0);
        const int next = openat(directory, name.c_str(), O_RDONLY | O_DIRECTORY);
        close(directory);
        close(openat(directory = next, "f.txt", O_CREAT | O_WRONLY, 0644));
    }
    close(directory);
    const std::string rows = Walk(dir.path().u16string());
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '@'), 400);
}

// The whole of /usr: the same files, with the same sizes, as find lists when
// it follows links the way the walk does.
TEST(Walk, UsrMatchesFind) {
    std::multiset<std::string> expected, walked;
    FILE* find = popen("find -L /usr ! -type d -printf '%p\\t%s\\n' 2>/dev/null", "r");
    ASSERT_NE(find, nullptr);
    for (char line[8192]; std::fgets(line, sizeof line, find);)
        expected.insert(std::string(line, std::strcspn(line, "\n")));
    pclose(find);
    ASSERT_GT(expected.size(), 1000u);
    FileSystemIterator iterator(u"/usr", u"*.*", -1, false);
    FileRecord record(u"");
    bool found = false;
    for (iterator.ReadRow(found, record); found; iterator.ReadRow(found, record))
        walked.insert(platform::Utf16ToUtf8(record.fullPath().str()) + "\t" +
                      std::to_string(record.FileSizeField().value));
    std::vector<std::string> differ;
    std::set_symmetric_difference(expected.begin(), expected.end(), walked.begin(), walked.end(),
                                  std::back_inserter(differ));
    EXPECT_TRUE(differ.empty()) << differ.size() << " differ from find, first " << differ[0];
}
#endif

}  // namespace
