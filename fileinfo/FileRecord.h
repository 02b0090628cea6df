// FileRecord: the current row of a rowset, with its cheap fields computed on
// demand and its three expensive groups loaded lazily (source unit fileinfo).
#pragma once

#include <cstdint>

#include "platform/FindData.h"
#include "runtime/SWCharString.h"
#include "vldb/dbdriver.h"

// A flag of the version resource: -1 undetermined, 0 false, 1 true.
using VersionFlagState = int32_t;

// Fields 14 to 33.
struct VersionGroup {
    SWCharString texts[15];
    VersionFlagState flags[5] = {-1, -1, -1, -1, -1};
};

// Owner, Owner Domain, ACL.
struct SecurityGroup {
    SWCharString owner;
    SWCharString ownerDomain;
    SWCharString acl;
};

// Fields 49 to 65.
struct SummaryGroup {
    SWCharString texts[8];  // Title ... Revision Number; texts[4] is Comments
    uint32_t editTime = 0;  // minutes
    DbDateTime lastPrinted{-1, -1, 0};
    DbDateTime created{-1, -1, 0};
    DbDateTime lastSaved{-1, -1, 0};
    uint32_t pageCount = 0;
    uint32_t wordCount = 0;
    uint32_t characterCount = 0;
    SWCharString applicationName;
    uint32_t security = 0;
};

// A 32-bit field value that may be absent.
struct OptionalValue {
    uint32_t value = 0;
    bool absent = true;
};

class FileRecord {
public:
    explicit FileRecord(const SWCharString& locale);

    void Reset();
    // The row the iterator found: its find data (null for a directory row),
    // its directory and its two levels. The find data is borrowed.
    void Fill(const platform::FindData* findData, const SWCharString& directory,
              uint32_t absoluteLevel, uint32_t relativeLevel);

    const SWCharString& ComputerField();
    SWCharString DirectoryNameField() const;
    SWCharString ParentDirectoryField() const;
    // Inside the find data; null when absent.
    const char16_t* ExtensionField() const;
    const SWCharString& FileTypeField();
    OptionalValue FileSizeField() const;
    OptionalValue CompressedSizeField() const;
    DbDateTime LastWrittenField() const;
    DbDateTime CreationTimeField() const;
    DbDateTime LastAccessedField() const;
    SWCharString AttributeStringField() const;

    // Fill their group once per row (while its flag is clear); failures leave
    // the group's defaults.
    void LoadVersionInfo();
    void LoadSecurityInfo();
    void LoadSummaryInfo();

    const platform::FindData* findData() const { return findData_; }
    const SWCharString& directory() const { return directory_; }
    const SWCharString& fullPath() const { return fullPath_; }
    uint32_t absoluteLevel() const { return absoluteLevel_; }
    uint32_t relativeLevel() const { return relativeLevel_; }
    const SWCharString& locale() const { return locale_; }

    bool versionLoaded = false;
    VersionGroup version;
    bool securityLoaded = false;
    SecurityGroup security;
    bool summaryLoaded = false;
    SummaryGroup summary;

private:
    SWCharString locale_;
    const platform::FindData* findData_ = nullptr;
    SWCharString directory_;
    uint32_t absoluteLevel_ = 0;
    uint32_t relativeLevel_ = 0;
    SWCharString computerName_;
    SWCharString fullPath_;
    SWCharString fileType_;
};

// The local date and time of a file time; the null date-time (-1, -1, 0)
// for null or a time that cannot be converted.
DbDateTime LocalDateTimeFromFileTime(const platform::FileTime* fileTime);
