#include <gtest/gtest.h>

#include <string>

#include "platform/PathSplit.h"
#include "tests/support/TestSupport.h"

using platform::IsPathSeparator;
using platform::kPathSeparator;
using platform::PathParts;
using platform::SplitPath;
using testing_support::IsWindowsBuild;

namespace {

struct Row {
    std::u16string path;
    PathParts parts;
};

void ExpectSplit(const Row& row) {
    SCOPED_TRACE(testing::PrintToString(row.path));
    const PathParts parts = SplitPath(row.path);
    EXPECT_EQ(parts.drive, row.parts.drive);
    EXPECT_EQ(parts.directory, row.parts.directory);
    EXPECT_EQ(parts.fileName, row.parts.fileName);
    EXPECT_EQ(parts.extension, row.parts.extension);
}

// '/' separates on both builds.
TEST(PathSplit, ForwardSlashPaths) {
    const Row rows[] = {
        {u"", {u"", u"", u"", u""}},
        {u"/", {u"", u"/", u"", u""}},
        {u"/usr", {u"", u"/", u"usr", u""}},
        {u"/usr/share/", {u"", u"/usr/share/", u"", u""}},
        {u"/usr/share/notes.txt", {u"", u"/usr/share/", u"notes", u".txt"}},
        {u"notes.txt", {u"", u"", u"notes", u".txt"}},
        {u"README", {u"", u"", u"README", u""}},
        {u"dir/README", {u"", u"dir/", u"README", u""}},
        {u"archive.tar.gz", {u"", u"", u"archive.tar", u".gz"}},
        {u".profile", {u"", u"", u"", u".profile"}},
        {u"home/.config.bak", {u"", u"home/", u".config", u".bak"}},
        {u"name.", {u"", u"", u"name", u"."}},
        {u"dots..txt", {u"", u"", u"dots.", u".txt"}},
        {u"sub.dir/file", {u"", u"sub.dir/", u"file", u""}},  // dots before the name don't count
        {u"sub.dir/", {u"", u"sub.dir/", u"", u""}},
        {u"a//b", {u"", u"a//", u"b", u""}},
        {u"//server/share/x.doc", {u"", u"//server/share/", u"x", u".doc"}},
        {u"\u00FC/\U0001F600.t\u00E4t", {u"", u"\u00FC/", u"\U0001F600", u".t\u00E4t"}},
    };
    for (const Row& row : rows) {
        ExpectSplit(row);
    }
}

// Backslashes and drive letters only mean something on Windows.
TEST(PathSplit, BackslashesAndDrives) {
    const Row posix[] = {
        {u"dir\\file.txt", {u"", u"", u"dir\\file", u".txt"}},
        {u"C:\\dir\\file.txt", {u"", u"", u"C:\\dir\\file", u".txt"}},
        {u"C:file.txt", {u"", u"", u"C:file", u".txt"}},
        {u"C:", {u"", u"", u"C:", u""}},
        {u"/mnt/c:\\x.y/z", {u"", u"/mnt/c:\\x.y/", u"z", u""}},
    };
    const Row windows[] = {
        {u"dir\\file.txt", {u"", u"dir\\", u"file", u".txt"}},
        {u"C:\\dir\\file.txt", {u"C:", u"\\dir\\", u"file", u".txt"}},
        {u"C:file.txt", {u"C:", u"", u"file", u".txt"}},
        {u"C:", {u"C:", u"", u"", u""}},
        {u"C:\\", {u"C:", u"\\", u"", u""}},
        {u"z:/mixed\\seps/a.b", {u"z:", u"/mixed\\seps/", u"a", u".b"}},
        {u"\\\\server\\share\\x.doc", {u"", u"\\\\server\\share\\", u"x", u".doc"}},
    };
    if (IsWindowsBuild()) {
        for (const Row& row : windows) {
            ExpectSplit(row);
        }
    } else {
        for (const Row& row : posix) {
            ExpectSplit(row);
        }
    }
}

TEST(PathSplit, StopsAtNul) {
    const std::u16string path(u"dir/a.b\0/c.d", 12);
    const PathParts parts = SplitPath(path);
    EXPECT_EQ(parts.directory, u"dir/");
    EXPECT_EQ(parts.fileName, u"a");
    EXPECT_EQ(parts.extension, u".b");
}

TEST(PathSplit, Separators) {
    EXPECT_EQ(kPathSeparator, IsWindowsBuild() ? u'\\' : u'/');
    EXPECT_TRUE(IsPathSeparator(u'/'));
    EXPECT_TRUE(IsPathSeparator(kPathSeparator));
    EXPECT_EQ(IsPathSeparator(u'\\'), IsWindowsBuild());
    EXPECT_FALSE(IsPathSeparator(u':'));
    EXPECT_FALSE(IsPathSeparator(u'.'));
    EXPECT_FALSE(IsPathSeparator(u'\0'));
}

}  // namespace
