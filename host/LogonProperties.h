// Logon properties as the engine builds them: a DbLogonInfo whose collection
// holds "Starting Directory", "File Mask", "Max Number of Subdirectory
// Levels" and "Include Empty Directories". The memory is the host's own.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "vldb/dbdriver.h"

namespace host {

class LogonProperties {
public:
    LogonProperties(const std::u16string& startingDirectory, const std::u16string& fileMask,
                    int32_t maxSubDirLevels, bool includeEmptyDirectories);
    LogonProperties(const LogonProperties&) = delete;
    LogonProperties& operator=(const LogonProperties&) = delete;

    const DbLogonInfo* info() const { return &info_; }

private:
    void Add(const char16_t* name, DbValueType type, void* payload);

    std::u16string directory_, mask_;
    int32_t levels_;
    uint16_t includeEmpty_;
    std::deque<std::u16string> names_;
    std::deque<DbValue> values_;
    std::deque<DbProperty> properties_;
    std::vector<DbProperty*> items_;
    DbPropertyCollection collection_{};
    DbLogonInfo info_{};
};

// A level limit as a person writes it: -1 (no limit) or a whole number from
// 0 to INT32_MAX. False for anything else.
bool ParseLevels(const std::string& text, int32_t& levels);

// Whether a mask holds a path separator: it matches names inside each
// directory, and such a mask would match none.
bool MaskHoldsSeparator(const std::u16string& mask);

}  // namespace host
