// The driver's answers when the user ticks one of the logon dialog's check
// boxes: which other controls to set or enable (source unit fslogon).
#pragma once

#include "vldb/dbdriver.h"

// Appends an update that sets the value of property `name` to `text`.
void AddValueUpdate(DbPropertyCollection* collection, const char16_t* name, const char16_t* text);
// Appends an update that enables or disables the control of property `name`.
void AddEnableUpdate(DbPropertyCollection* collection, const char16_t* name, bool enabled);

// "Include All Files" changed: a set box forces the mask to "*.*" and locks
// it; a clear one unlocks it. The box is looked for at any depth of
// `properties`. 0 with the answer in `answer` (null on failure), or
// Status_NotSupported when the box holds no single boolean.
DbStatus HandleFileMaskRequest(const DbPropertyCollection* properties,
                               DbPropertyCollection** answer);
// "Include All Subdirectories" changed: the limit becomes -1 and locked, or
// 0 and unlocked.
DbStatus HandleLevelRequest(const DbPropertyCollection* properties, DbPropertyCollection** answer);
