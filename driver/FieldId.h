// The fields of the file table by name. A field's value is its ordinal: its
// place in the table, counted from 1, and the identifier DbBindToField hands
// out for it.
#pragma once

#include <cstdint>

enum class FieldId : uint32_t {
    Computer = 1,
    Directory = 2,
    DirectoryName = 3,
    ParentDirectory = 4,
    FileName = 5,
    AlternateFileName = 6,
    Extension = 7,
    FileType = 8,
    FileSize = 9,
    CompressedSize = 10,
    LastWritten = 11,
    CreationTime = 12,
    LastAccessed = 13,
    // The version resource.
    FileVersion = 14,
    FileDescription = 15,
    InternalName = 16,
    CompanyName = 17,
    VersionComments = 18,
    LegalCopyright = 19,
    LegalTrademarks = 20,
    OriginalFileName = 21,
    ProductName = 22,
    ProductVersion = 23,
    PrivateBuild = 24,
    SpecialBuild = 25,
    VersionLanguage = 26,
    BinaryFileVersion = 27,
    BinaryProductVersion = 28,
    IsDebug = 29,
    IsPatched = 30,
    IsPrerelease = 31,
    IsPrivateBuild = 32,
    IsSpecialBuild = 33,
    // NT security.
    Owner = 34,
    OwnerDomain = 35,
    Acl = 36,
    // Attributes.
    IsArchived = 37,
    IsHidden = 38,
    IsNormal = 39,
    IsReadOnly = 40,
    IsSystemFile = 41,
    IsCompressed = 42,
    IsTemporary = 43,
    IsOffline = 44,
    Attributes = 45,
    AttributeString = 46,
    AbsoluteLevel = 47,
    RelativeLevel = 48,
    // The summary information of compound documents.
    Title = 49,
    Subject = 50,
    Author = 51,
    Keywords = 52,
    SummaryComments = 53,
    Template = 54,
    LastAuthor = 55,
    RevisionNumber = 56,
    EditTime = 57,
    LastPrintDate = 58,
    SummaryCreationDate = 59,
    LastSavedDate = 60,
    PageCount = 61,
    WordCount = 62,
    CharacterCount = 63,
    ApplicationName = 64,
    SummarySecurity = 65,
};

constexpr uint32_t kFileTableFieldCount = 65;

constexpr uint32_t Ordinal(FieldId id) {
    return static_cast<uint32_t>(id);
}

// The place of a field in an array in table order, such as the field list
// the catalog hands out.
constexpr uint32_t FieldIndex(FieldId id) {
    return Ordinal(id) - 1;
}

constexpr FieldId FieldAtIndex(uint32_t index) {
    return static_cast<FieldId>(index + 1);
}
