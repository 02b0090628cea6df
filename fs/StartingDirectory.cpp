#include "fs/StartingDirectory.h"

#include "platform/DirectorySearch.h"
#include "platform/PathSplit.h"
#include "runtime/Diagnostics.h"

namespace {

constexpr const char* kSourceUnit = "fscommon";

// The text with a separator at its end.
SWCharString WithTrailingSeparator(const SWCharString& directory) {
    SWCharString copy = directory;
    if (!IsStartingDirectorySeparator(copy.getAt(copy.length() - 1)))
        copy += platform::kPathSeparator;
    return copy;
}

}  // namespace

bool IsValidStartingDirectory(const SWCharString& startingDirectory) {
    if (startingDirectory.isEmpty())
        return false;
    SWCharString fileSpec = WithTrailingSeparator(startingDirectory);
    fileSpec += u"*.*";
    platform::FindData scratch;
    platform::SearchHandle search = platform::FindFirstEntry(fileSpec.view(), &scratch);
    if (search == platform::kInvalidSearch)
        return false;
    platform::FindCloseSearch(search);
    return true;
}

int32_t GetStartingDirectoryLevel(const SWCharString& startingDirectory) {
    if (startingDirectory.isEmpty())
        return 0;
    SWCharString path = WithTrailingSeparator(startingDirectory);
    platform::PathParts parts = platform::SplitPath(path.view());

    // A path that starts with the separator stands where a drive path would.
    VL_ASSERT_TEXT(!parts.drive.empty() || platform::IsPathSeparator(path.getAt(0)),
                   "*szDrive != 0");
    VL_ASSERT_TEXT(parts.fileName.empty(), "*szFname == 0");
    VL_ASSERT_TEXT(parts.extension.empty(), "*szExt == 0");

    SWCharString directories(parts.directory);
    if (directories.isEmpty())
        return 0;
    VL_ASSERT_TEXT(IsStartingDirectorySeparator(directories.getAt(0)),
                   "directories.left (1).compare (_T(\"\\\\\")) == 0 || "
                   "directories.left (1).compare (_T(\"/\")) == 0");
    VL_ASSERT_TEXT(IsStartingDirectorySeparator(directories.getAt(directories.length() - 1)),
                   "directories.right (1).compare (_T(\"\\\\\")) == 0 || "
                   "directories.right (1).compare (_T(\"/\")) == 0");

    int32_t separators = 0;
    for (char16_t c : directories.view())
        if (IsStartingDirectorySeparator(c))
            ++separators;
    VL_ASSERT(separators > 0);
    return separators > 0 ? separators - 1 : 0;
}
