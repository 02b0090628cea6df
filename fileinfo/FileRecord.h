// FileRecord: the current row of a rowset, with its cheap fields computed on
// demand and its three expensive groups loaded once per row (source unit
// fileinfo).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "fileinfo/SecurityGroup.h"
#include "fileinfo/SummaryGroup.h"
#include "fileinfo/VersionGroup.h"
#include "platform/ContentFile.h"
#include "platform/FindData.h"
#include "runtime/SWCharString.h"
#include "vldb/dbdriver.h"

// Where a row's values come from: its entry (find data, path and levels),
// always at hand, or one of the three groups loaded on demand.
enum class RecordGroup { Entry, Version, Security, Summary };

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

    // The expensive groups: each is loaded on its first request in a row and
    // held until Reset or Fill; what cannot be read keeps the defaults.
    const VersionGroup& Version();
    const SecurityGroup& Security();
    const SummaryGroup& Summary();
    // True while the row holds the group; the entry always.
    bool IsLoaded(RecordGroup group) const;

    const platform::FindData* findData() const { return findData_; }
    const SWCharString& directory() const { return directory_; }
    const SWCharString& fullPath() const { return fullPath_; }
    uint32_t absoluteLevel() const { return absoluteLevel_; }
    uint32_t relativeLevel() const { return relativeLevel_; }
    const SWCharString& locale() const { return locale_; }

private:
    static constexpr size_t kMaxFileTypes = 1024;
    // The File Type text of an extension, from the registry.
    SWCharString FileTypeOf(const char16_t* extension) const;

    void ForgetGroups();
    // The row's file, opened once for the version and summary groups and
    // closed when both are loaded.
    platform::ContentFile& Contents();
    void CloseContentsWhenDone();

    SWCharString locale_;
    const platform::FindData* findData_ = nullptr;
    SWCharString directory_;
    uint32_t absoluteLevel_ = 0;
    uint32_t relativeLevel_ = 0;
    SWCharString computerName_;
    SWCharString fullPath_;
    SWCharString fileType_;
    // File Type by extension: one registry look-up per extension a query
    // meets, not one per row (bounded: cleared when full).
    std::unordered_map<std::u16string, std::u16string> fileTypes_;
    std::optional<VersionGroup> version_;
    std::optional<SecurityGroup> security_;
    std::optional<SummaryGroup> summary_;
    std::optional<platform::ContentFile> contents_;
};
