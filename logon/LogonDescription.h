// The description of a logon as the engine shows it: the plain form returned
// with every logon, and the tabbed form that describes the logon dialog
// (source unit fslogon).
#pragma once

#include <cstdint>

#include "runtime/SWCharString.h"
#include "vldb/dbdriver.h"

struct LogonParameters;

// Appends the description of the four values to `collection`: with
// `tabbed`, a caption and a "Connection" tab whose hints list the
// properties with their controls; otherwise the four plain properties.
// Returns 0.
DbStatus BuildLogonDescription(DbPropertyCollection* collection, const char16_t* languageTag,
                               const SWCharString& startingDirectory, const SWCharString& fileMask,
                               int32_t maxSubDirLevels, bool includeEmptyDirectories, bool tabbed);
