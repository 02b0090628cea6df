// What only a POSIX file system can show the walk: links that loop, names
// that are not UTF-8, and directories that an unprivileged user cannot read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "fileinfo/FileRecord.h"
#include "fs/FileSystemIterator.h"
#include "platform/TextEncoding.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Unprivileged.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> FullPaths(const fs::path& start, bool includeEmpty = false) {
    FileSystemIterator iterator(start.u16string(), u"*.*", -1, includeEmpty);
    FileRecord record(u"");
    std::vector<std::string> paths;
    bool found = false;
    for (iterator.ReadRow(found, record); found; iterator.ReadRow(found, record))
        paths.push_back(platform::Utf16ToUtf8(record.fullPath().str()));
    return paths;
}

TEST(PosixWalk, LinkLoopsEndWithoutRows) {
    TempDir dir;
    fs::create_directories(dir.path() / "a/b");
    std::ofstream(dir.path() / "a/b/file") << "x";
    fs::create_directory_symlink(dir.path() / "a", dir.path() / "a/b/up");
    fs::create_directory_symlink(dir.path() / "a/b", dir.path() / "a/b/self");
    std::string root = dir.path().string();
    EXPECT_EQ(FullPaths(dir.path()), std::vector<std::string>{root + "/a/b/file"});
    // A link to a directory elsewhere is descended like the directory.
    fs::create_directories(dir.path() / "other");
    std::ofstream(dir.path() / "other/o") << "x";
    fs::create_directory_symlink(dir.path() / "other", dir.path() / "a/to-other");
    EXPECT_EQ(FullPaths(dir.path() / "a"),
              (std::vector<std::string>{root + "/a/b/file", root + "/a/to-other/o"}));
}

TEST(PosixWalk, UnreadableSubdirectoriesContributeOnlyTheirDirectoryRow) {
    TempDir dir;
    fs::create_directories(dir.path() / "open");
    fs::create_directories(dir.path() / "shut/inner");
    std::ofstream(dir.path() / "open/f") << "x";
    std::ofstream(dir.path() / "shut/inner/g") << "x";
    chmod(dir.path().c_str(), 0755);
    chmod((dir.path() / "open").c_str(), 0755);
    chmod((dir.path() / "shut").c_str(), 0700);
    const std::string root = dir.path().string();
    int status = AsUnprivilegedUser([&] {
        auto plain = FullPaths(dir.path());
        auto withDirectories = FullPaths(dir.path(), true);
        return plain == std::vector<std::string>{root + "/open/f"} &&
               withDirectories ==
                   std::vector<std::string>{root + "/open/f", root + "/shut/", root + "/"};
    });
    EXPECT_EQ(status, 0) << "rows differ for an unprivileged user (99: could not drop root)";
}

// The whole of /usr: the same files, with the same sizes, as find lists when
// it follows links the way the walk does.
TEST(PosixWalk, UsrMatchesFind) {
    std::vector<std::string> expected;
    if (FILE* find = popen("find -L /usr ! -type d -printf '%p\\t%s\\n' 2>/dev/null", "r")) {
        char line[8192];
        while (std::fgets(line, sizeof line, find)) {
            std::string text(line);
            if (!text.empty() && text.back() == '\n')
                text.pop_back();
            expected.push_back(text);
        }
        pclose(find);
    }
    ASSERT_GT(expected.size(), 1000u);

    FileSystemIterator iterator(u"/usr", u"*.*", -1, false);
    FileRecord record(u"");
    std::vector<std::string> walked;
    bool found = false;
    for (iterator.ReadRow(found, record); found; iterator.ReadRow(found, record))
        walked.push_back(platform::Utf16ToUtf8(record.fullPath().str()) + "\t" +
                         std::to_string(record.FileSizeField().value));
    std::sort(expected.begin(), expected.end());
    std::sort(walked.begin(), walked.end());
    std::vector<std::string> missing, extra;
    std::set_difference(expected.begin(), expected.end(), walked.begin(), walked.end(),
                        std::back_inserter(missing));
    std::set_difference(walked.begin(), walked.end(), expected.begin(), expected.end(),
                        std::back_inserter(extra));
    EXPECT_EQ(walked.size(), expected.size());
    for (size_t i = 0; i < missing.size() && i < 5; ++i)
        ADD_FAILURE() << "not walked: " << missing[i];
    for (size_t i = 0; i < extra.size() && i < 5; ++i)
        ADD_FAILURE() << "not in find: " << extra[i];
}

}  // namespace
