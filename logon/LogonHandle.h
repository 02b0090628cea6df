// DbLogonHandle: what a logon hands the engine as its opaque handle. Catalog
// and rowset calls read it; DbLogoffServer releases it.
#pragma once

#include <cstdint>

#include "runtime/SWCharString.h"
#include "vldb/dbdriver.h"

struct LogonParameters;

struct DbLogonHandle {
    SWCharString locale;  // the caller's language tag, first so rowsets find it alike
    SWCharString startingDirectory;
    SWCharString fileMask;  // never empty
    int32_t maxSubDirLevels = -1;
    bool includeEmptyDirectories = false;
};

// A handle on the host heap holding `locale` and the parameters.
DbLogonHandle* NewLogonHandle(const char16_t* locale, const LogonParameters& parameters);
// Releases the handle and its texts; null does nothing.
void DeleteLogonHandle(DbLogonHandle* handle);

inline DbLogonHandle* LogonHandleFrom(DbLogonRef logon) {
    return static_cast<DbLogonHandle*>(logon);
}
