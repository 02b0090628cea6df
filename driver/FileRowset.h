// A rowset over the file table: the logon's language and the walk with its
// current row. It copies what it needs from the logon, so the logon may end
// while the rowset stays open.
#pragma once

#include "fileinfo/FileRecord.h"
#include "fs/FileSystemIterator.h"
#include "runtime/SWCharString.h"

struct DbLogonHandle;

struct FileRowset {
    explicit FileRowset(const DbLogonHandle& logon);

    SWCharString locale;
    FileSystemIterator iterator;
    FileRecord record;
};
