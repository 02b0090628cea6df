#include "driver/FileRowset.h"

#include "logon/LogonHandle.h"

FileRowset::FileRowset(const DbLogonHandle& logon)
    : locale(logon.locale),
      iterator(logon.startingDirectory, logon.fileMask, logon.maxSubDirLevels,
               logon.includeEmptyDirectories != 0),
      record(logon.locale) {}
