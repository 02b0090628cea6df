// The entry points of rowsets: open the file table, bind fields, read rows
// and their fields, close.
#include "driver/EntryPoints.h"
#include "driver/FieldValue.h"
#include "driver/FileRowset.h"
#include "driver/FileTableSchema.h"
#include "logon/LogonHandle.h"
#include "platform/Collation.h"
#include "runtime/Diagnostics.h"
#include "runtime/ResourceTexts.h"

namespace {

constexpr const char* kSourceUnit = "FileSystem";

FileRowset* RowsetOf(DbRowsetRef rowset) {
    return static_cast<FileRowset*>(rowset);
}

// The first field whose name, in the rowset's language, equals `name`.
DbStatus BindByName(const FileRowset& rowset, const char16_t* name, bool caseSensitive,
                    int64_t* fieldId) {
    if (name == nullptr || *name == 0) {
        VL_ASSERT_UNREACHABLE("false");
        return Status_InvalidArgument;
    }
    for (const FieldDefinition& field : FileTableSchema) {
        SWCharString fieldName = LoadResourceText(field.nameId, rowset.locale.c_str());
        if (fieldName.isEmpty()) {
            VL_ASSERT_UNREACHABLE("false");
            continue;
        }
        int order = caseSensitive ? platform::CollateText(name, fieldName.c_str())
                                  : platform::CollateTextNoCase(name, fieldName.c_str());
        if (order == 0) {
            *fieldId = Ordinal(field.id);
            return Status_Success;
        }
    }
    return Status_FieldNotFound;
}

}  // namespace

DbStatus DbExecuteQuery(DbLogonRef logon, uint32_t queryType, void* table, void*,
                        const char16_t* commandText, void*, DbRowsetRef* rowset) {
    return GuardEntry([&]() -> DbStatus {
        VL_ASSERT_TEXT(rowset == nullptr || *rowset == nullptr, "rowsetHandle == NULL");
        VL_ASSERT_TEXT(commandText == nullptr || *commandText == 0,
                       "commandText == NULL || *commandText == 0");
        if (logon == nullptr || table == nullptr || rowset == nullptr)
            return Status_InvalidArgument;
        VL_ASSERT_TEXT(queryType == QueryType_OpenTable, "queryType == QueryType_OpenTable");
        *rowset = new FileRowset(*static_cast<const DbLogonHandle*>(logon));
        return Status_Success;
    });
}

DbStatus DbCloseRowset(DbRowsetRef rowset) {
    delete RowsetOf(rowset);
    return Status_Success;
}

DbStatus DbBindToField(DbRowsetRef rowset, const BindRequest* request, int64_t* fieldId) {
    return GuardEntry([&]() -> DbStatus {
        if (fieldId != nullptr)
            *fieldId = 0;
        if (rowset == nullptr || request == nullptr || fieldId == nullptr)
            return Status_InvalidArgument;
        switch (request->kind) {
            case BindKind_Name:
                return BindByName(*RowsetOf(rowset), request->name, request->caseSensitive != 0,
                                  fieldId);
            case BindKind_Ordinal:
                VL_ASSERT_TEXT(request->ordinal != 0, "ordinal != 0");
                if (FindFieldDefinition(request->ordinal) == nullptr)
                    return Status_FieldNotFound;
                *fieldId = static_cast<int64_t>(request->ordinal);
                return Status_Success;
            default:
                VL_ASSERT_UNREACHABLE("false");
                return Status_NotSupported;
        }
    });
}

DbStatus DbReadRecord(DbRowsetRef rowset, uint32_t mode, void*, const DbReadRequest* request) {
    return GuardEntry([&]() -> DbStatus {
        if (rowset == nullptr)
            return Status_InvalidArgument;
        FileRowset& files = *RowsetOf(rowset);
        if (mode == ReadMode_Position) {
            if (request == nullptr)
                return Status_InvalidArgument;
            if (request->rowPosition == 0)
                files.iterator.Rewind();
        } else if (mode != ReadMode_Next) {
            VL_ASSERT_UNREACHABLE("false");
            return Status_NotSupported;
        }
        bool found = false;
        files.iterator.ReadRow(found, files.record);
        return found ? Status_Success : Status_NoMoreRecords;
    });
}

DbStatus DbReadFieldValue(DbRowsetRef rowset, int64_t fieldId, void*, void*, void** valueBuffer,
                          uint32_t bufferSize, uint16_t* nullFlag, uint32_t* valueType,
                          uint32_t* reserved) {
    uint16_t ignoredFlag;
    uint32_t ignoredType, ignoredReserved;
    // Set before anything else; the engine always passes these three.
    if (nullFlag == nullptr)
        nullFlag = &ignoredFlag;
    if (valueType == nullptr)
        valueType = &ignoredType;
    if (reserved == nullptr)
        reserved = &ignoredReserved;
    *nullFlag = 0;
    *valueType = unknownValue;
    *reserved = 0;
    return GuardEntry([&]() -> DbStatus {
        if (rowset == nullptr)
            return Status_InvalidArgument;
        return ReadFieldValue(RowsetOf(rowset)->record, fieldId, valueBuffer, bufferSize, nullFlag,
                              valueType);
    });
}
