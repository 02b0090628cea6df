// The four values a logon is made of, as read from the engine's logon
// properties (source unit fslogon).
#pragma once

#include <cstdint>

#include "runtime/SWCharString.h"
#include "vldb/dbdriver.h"

struct LogonParameters {
    SWCharString startingDirectory;
    SWCharString fileMask{u"*.*"};
    int32_t maxSubDirLevels = -1;  // -1: no limit
    bool includeEmptyDirectories = false;
};

// The name under which a logon may arrive as one bracketed text.
constexpr const char16_t* kPreQEDatabaseName = u"PreQEDatabaseName";

// Reads the properties at the top level of `collection` (null reads as
// empty), each under its name in the default language and in `languageTag`'s.
// Returns 0.
DbStatus ReadLogonParameters(const DbPropertyCollection* collection, const char16_t* languageTag,
                             LogonParameters& parameters);

// True when two logons list the same files: directories and masks equal but
// for case (as texts: no path normalisation), limits and flags equal.
bool LogonParametersMatch(const LogonParameters& first, const LogonParameters& second);
