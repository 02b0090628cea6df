// A session with the driver as the engine holds one: initialised, logged on,
// the table's fields fetched, and everything given back at the end.
#pragma once

#include <string>

#include "host/DriverLibrary.h"
#include "host/LogonProperties.h"

namespace host {

class Session {
public:
    explicit Session(const DriverEntryPoints& api);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // False with the driver's message and status when the logon is refused.
    bool LogOn(const LogonProperties& properties, const std::u16string& language,
               std::string& message, DbStatus& status);
    bool FetchFields();
    // A rowset over the logon's only table; null, with the reason in
    // `error`, when there is none.
    DbRowsetRef OpenTable(std::string& error);

    const FieldDescription* Field(uint32_t ordinal) const;
    uint32_t fieldCount() const { return fieldCount_; }
    const DriverEntryPoints& api() const { return api_; }

private:
    const DriverEntryPoints& api_;
    DbLogonRef logon_ = nullptr;
    DbLogonInfo* logonInfo_ = nullptr;
    uint32_t fieldCount_ = 0;
    FieldDescription** fields_ = nullptr;
};

// The UTF-16 text the driver handed over; empty for null.
std::u16string DriverText(const char16_t* text);

}  // namespace host
