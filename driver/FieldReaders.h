// How each field of the file table reads its value from the current row:
// one reader per field, or one per kind of field with the member it shows.
#pragma once

#include <cstdint>

#include "driver/FieldOutput.h"
#include "fileinfo/FileRecord.h"

using FieldReader = void (*)(FileRecord& record, const FieldOutput& out);

// The entry: find data, path and levels.
void ReadComputer(FileRecord& record, const FieldOutput& out);
void ReadDirectory(FileRecord& record, const FieldOutput& out);
void ReadDirectoryName(FileRecord& record, const FieldOutput& out);
void ReadParentDirectory(FileRecord& record, const FieldOutput& out);
void ReadFileName(FileRecord& record, const FieldOutput& out);
void ReadAlternateFileName(FileRecord& record, const FieldOutput& out);
void ReadExtension(FileRecord& record, const FieldOutput& out);
void ReadFileType(FileRecord& record, const FieldOutput& out);
void ReadFileSize(FileRecord& record, const FieldOutput& out);
void ReadCompressedSize(FileRecord& record, const FieldOutput& out);
void ReadLastWritten(FileRecord& record, const FieldOutput& out);
void ReadCreationTime(FileRecord& record, const FieldOutput& out);
void ReadLastAccessed(FileRecord& record, const FieldOutput& out);
void ReadAttributes(FileRecord& record, const FieldOutput& out);
void ReadAttributeString(FileRecord& record, const FieldOutput& out);
void ReadAbsoluteLevel(FileRecord& record, const FieldOutput& out);
void ReadRelativeLevel(FileRecord& record, const FieldOutput& out);

// One bit of the attributes (platform/FindData.h); null on a directory row.
template <uint32_t Bit>
void ReadAttributeFlag(FileRecord& record, const FieldOutput& out) {
    const platform::FindData* findData = record.findData();
    WriteBoolean(out, findData != nullptr && (findData->dwFileAttributes & Bit) != 0,
                 findData == nullptr);
}

template <VersionText Text>
void ReadVersionText(FileRecord& record, const FieldOutput& out) {
    WriteText(out, record.Version().texts[Text].c_str());
}

// Null while the resource leaves the flag undetermined.
template <VersionFlag Flag>
void ReadVersionFlag(FileRecord& record, const FieldOutput& out) {
    const VersionFlagState state = record.Version().flags[Flag];
    WriteBoolean(out, state == 1, state == -1);
}

template <SWCharString SecurityGroup::*Text>
void ReadSecurityText(FileRecord& record, const FieldOutput& out) {
    WriteText(out, (record.Security().*Text).c_str());
}

template <SummaryText Text>
void ReadSummaryText(FileRecord& record, const FieldOutput& out) {
    WriteText(out, record.Summary().texts[Text].c_str());
}

void ReadApplicationName(FileRecord& record, const FieldOutput& out);

// A number of the summary; null on a directory row.
template <uint32_t SummaryGroup::*Number>
void ReadSummaryNumber(FileRecord& record, const FieldOutput& out) {
    const SummaryGroup& summary = record.Summary();
    WriteFixed(out, summary.*Number, record.findData() == nullptr);
}

template <DbDateTime SummaryGroup::*Date>
void ReadSummaryDate(FileRecord& record, const FieldOutput& out) {
    WriteFixed(out, record.Summary().*Date);
}
