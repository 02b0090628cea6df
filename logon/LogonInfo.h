// The blocks a logon hands the engine beside its handle: the logon-
// information record and the error record of a refused logon.
#pragma once

#include <memory>

#include "vldb/dbdriver.h"

constexpr uint32_t kLogonInfoSize = 40;

// A record on the host heap with a new empty collection, no text, no value,
// and `ownsText` set.
DbLogonInfo* NewLogonInfo();
// Releases the collection, the text when the record owns it, the value and
// the record; null does nothing.
void DeleteLogonInfo(DbLogonInfo* info);

struct LogonInfoDeleter {
    void operator()(DbLogonInfo* info) const { DeleteLogonInfo(info); }
};
using LogonInfoPtr = std::unique_ptr<DbLogonInfo, LogonInfoDeleter>;

// The error record of a refused logon: code 202 and the message "Invalid
// starting directory." in the caller's language.
ErrorInfo* NewLogonErrorInfo(const char16_t* languageTag);
