#include "driver/FieldValue.h"

#include <cstring>

#include "driver/FileTableSchema.h"
#include "fileinfo/FileRecord.h"
#include "runtime/Diagnostics.h"
#include "runtime/HostMemory.h"
#include "runtime/StringFunctions.h"

namespace {

constexpr const char* kSourceUnit = "FileSystem";

// Where and how big the engine's buffer is, and where the null flag goes.
struct Output {
    void** buffer;
    uint32_t size;
    uint16_t* nullFlag;
};

// A null text is handed over as the empty text with the null flag set.
void WriteText(const Output& out, const char16_t* text) {
    if (text == nullptr) {
        *out.nullFlag = 1;
        text = u"";
    }
    const size_t units = TextLength(text) + 1;
    const size_t required = units * sizeof(char16_t);
    if (required <= out.size) {
        if (out.buffer != nullptr && *out.buffer != nullptr)
            std::memcpy(*out.buffer, text, required);
        return;
    }
    if (out.buffer == nullptr)
        return;
    void* block = AllocateHostBlock(required);
    std::memcpy(block, text, required);
    *out.buffer = block;
}

template <class T>
void WriteFixed(const Output& out, T value, bool absent = false) {
    if (absent)
        *out.nullFlag = 1;
    if (out.buffer != nullptr && *out.buffer != nullptr)
        std::memcpy(*out.buffer, &value, sizeof value);
}

void WriteBoolean(const Output& out, bool value, bool absent = false) {
    WriteFixed(out, static_cast<uint16_t>(value ? 1 : 0), absent);
}

// Attribute bits of fields 37 to 44, in field order.
constexpr uint32_t kAttributeBits[] = {0x20, 0x2, 0x80, 0x1, 0x4, 0x800, 0x100, 0x1000};

void WriteVersionField(FileRecord& record, int64_t id, const Output& out) {
    const VersionGroup& version = record.Version();
    if (id <= 28)
        return WriteText(out, version.texts[id - 14].c_str());
    VersionFlagState state = version.flags[id - 29];
    WriteBoolean(out, state == 1, state == -1);
}

void WriteSecurityField(FileRecord& record, int64_t id, const Output& out) {
    const SecurityGroup& group = record.Security();
    const SWCharString& text = id == 34 ? group.owner : id == 35 ? group.ownerDomain : group.acl;
    WriteText(out, text.c_str());
}

void WriteSummaryField(FileRecord& record, int64_t id, const Output& out) {
    const SummaryGroup& group = record.Summary();
    const bool noFindData = record.findData() == nullptr;
    switch (id) {
        case 49:
        case 50:
        case 51:
        case 52:
            return WriteText(out, group.texts[id - 49].c_str());
        case 53:
            return WriteText(out, group.texts[4].c_str());
        case 54:
        case 55:
        case 56:
            return WriteText(out, group.texts[id - 49].c_str());
        case 57:
            return WriteFixed(out, group.editTime, noFindData);
        case 58:
            return WriteFixed(out, group.lastPrinted);
        case 59:
            return WriteFixed(out, group.created);
        case 60:
            return WriteFixed(out, group.lastSaved);
        case 61:
            return WriteFixed(out, group.pageCount, noFindData);
        case 62:
            return WriteFixed(out, group.wordCount, noFindData);
        case 63:
            return WriteFixed(out, group.characterCount, noFindData);
        case 64:
            return WriteText(out, group.applicationName.c_str());
        default:
            return WriteFixed(out, group.security, noFindData);
    }
}

}  // namespace

DbStatus ReadFieldValue(FileRecord& record, int64_t fieldId, void** valueBuffer,
                        uint32_t bufferSize, uint16_t* nullFlag, uint32_t* valueType) {
    const FieldDefinition* field = FindFieldDefinition(fieldId);
    if (field == nullptr) {
        VL_ASSERT_UNREACHABLE("false");
        return Status_FieldNotFound;
    }
    const Output out{valueBuffer, bufferSize, nullFlag};
    const platform::FindData* findData = record.findData();
    const int64_t id = fieldId;
    switch (id) {
        case 1:
            WriteText(out, record.ComputerField().c_str());
            break;
        case 2:
            WriteText(out, record.directory().c_str());
            break;
        case 3:
            WriteText(out, record.DirectoryNameField().c_str());
            break;
        case 4:
            WriteText(out, record.ParentDirectoryField().c_str());
            break;
        case 5:
            WriteText(out, findData ? findData->cFileName : nullptr);
            break;
        case 6:
            WriteText(out, findData ? findData->cAlternateFileName : nullptr);
            break;
        case 7:
            WriteText(out, record.ExtensionField());
            break;
        case 8:
            WriteText(out, record.FileTypeField().c_str());
            break;
        case 9: {
            OptionalValue size = record.FileSizeField();
            WriteFixed(out, size.value, size.absent);
            break;
        }
        case 10: {
            OptionalValue size = record.CompressedSizeField();
            WriteFixed(out, size.value, size.absent);
            break;
        }
        case 11:
            WriteFixed(out, record.LastWrittenField());
            break;
        case 12:
            WriteFixed(out, record.CreationTimeField());
            break;
        case 13:
            WriteFixed(out, record.LastAccessedField());
            break;
        case 37:
        case 38:
        case 39:
        case 40:
        case 41:
        case 42:
        case 43:
        case 44:
            WriteBoolean(out, findData && (findData->dwFileAttributes & kAttributeBits[id - 37]),
                         findData == nullptr);
            break;
        case 45:
            WriteFixed(out, findData ? findData->dwFileAttributes : 0u, findData == nullptr);
            break;
        case 46:
            WriteText(out, record.AttributeStringField().c_str());
            break;
        case 47:
            WriteFixed(out, record.absoluteLevel());
            break;
        case 48:
            WriteFixed(out, record.relativeLevel());
            break;
        default:
            if (id >= 14 && id <= 33)
                WriteVersionField(record, id, out);
            else if (id >= 34 && id <= 36)
                WriteSecurityField(record, id, out);
            else
                WriteSummaryField(record, id, out);
            break;
    }
    *valueType = field->valueType;
    return Status_Success;
}
