// The one-text logon form "<directory|mask|levels>" (source unit fslogon).
#pragma once

#include <cstdint>

#include "runtime/SWCharString.h"

// Splits `text` at the first (or, with `first` false, the last) `separator`:
// true with the parts before and after it; false with the whole text left and
// an empty right when it does not occur.
bool SplitAtChar(const SWCharString& text, char16_t separator, SWCharString& left,
                 SWCharString& right, bool first);

// The number at the start of `text` as the C runtime's _wtol reads it:
// leading white space, an optional sign, decimal digits up to the first
// other character (none: 0); beyond the 32-bit range it stays at the limit.
int32_t LeadingDecimalNumber(const SWCharString& text);

// Parses "<directory|mask|levels>", white space round each field ignored; the
// last two bars split, so only the directory may hold a bar. True, with the
// three fields, when a directory was obtained; the outputs change only then.
bool ParsePreQEDatabaseName(const SWCharString& text, SWCharString& directory, SWCharString& mask,
                            int32_t& levels);
