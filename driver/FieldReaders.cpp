#include "driver/FieldReaders.h"

namespace {

void WriteOptional(const FieldOutput& out, OptionalValue value) {
    WriteFixed(out, value.value, value.absent);
}

}  // namespace

void ReadComputer(FileRecord& record, const FieldOutput& out) {
    WriteText(out, record.ComputerField().c_str());
}

void ReadDirectory(FileRecord& record, const FieldOutput& out) {
    WriteText(out, record.directory().c_str());
}

void ReadDirectoryName(FileRecord& record, const FieldOutput& out) {
    WriteText(out, record.DirectoryNameField().c_str());
}

void ReadParentDirectory(FileRecord& record, const FieldOutput& out) {
    WriteText(out, record.ParentDirectoryField().c_str());
}

void ReadFileName(FileRecord& record, const FieldOutput& out) {
    const platform::FindData* findData = record.findData();
    WriteText(out, findData != nullptr ? findData->cFileName : nullptr);
}

void ReadAlternateFileName(FileRecord& record, const FieldOutput& out) {
    const platform::FindData* findData = record.findData();
    WriteText(out, findData != nullptr ? findData->cAlternateFileName : nullptr);
}

void ReadExtension(FileRecord& record, const FieldOutput& out) {
    WriteText(out, record.ExtensionField());
}

void ReadFileType(FileRecord& record, const FieldOutput& out) {
    WriteText(out, record.FileTypeField().c_str());
}

void ReadFileSize(FileRecord& record, const FieldOutput& out) {
    WriteOptional(out, record.FileSizeField());
}

void ReadCompressedSize(FileRecord& record, const FieldOutput& out) {
    WriteOptional(out, record.CompressedSizeField());
}

void ReadLastWritten(FileRecord& record, const FieldOutput& out) {
    WriteFixed(out, record.LastWrittenField());
}

void ReadCreationTime(FileRecord& record, const FieldOutput& out) {
    WriteFixed(out, record.CreationTimeField());
}

void ReadLastAccessed(FileRecord& record, const FieldOutput& out) {
    WriteFixed(out, record.LastAccessedField());
}

void ReadAttributes(FileRecord& record, const FieldOutput& out) {
    const platform::FindData* findData = record.findData();
    WriteFixed(out, findData != nullptr ? findData->dwFileAttributes : 0u, findData == nullptr);
}

void ReadAttributeString(FileRecord& record, const FieldOutput& out) {
    WriteText(out, record.AttributeStringField().c_str());
}

void ReadAbsoluteLevel(FileRecord& record, const FieldOutput& out) {
    WriteFixed(out, record.absoluteLevel());
}

void ReadRelativeLevel(FileRecord& record, const FieldOutput& out) {
    WriteFixed(out, record.relativeLevel());
}

void ReadApplicationName(FileRecord& record, const FieldOutput& out) {
    WriteText(out, record.Summary().applicationName.c_str());
}
