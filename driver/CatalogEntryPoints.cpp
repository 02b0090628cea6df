// The catalog: the one table of a logon and its 65 fields.
#include <cstddef>
#include <cstring>

#include "driver/EntryPoints.h"
#include "driver/FileTableSchema.h"
#include "logon/LogonHandle.h"
#include "platform/PathSplit.h"
#include "runtime/Diagnostics.h"
#include "runtime/HostMemory.h"
#include "runtime/ResourceTexts.h"
#include "values/ValueRecord.h"

namespace {

constexpr const char* kSourceUnit = "FileSystem";

const DbLogonHandle& LogonOf(DbLogonRef logon) {
    return *static_cast<const DbLogonHandle*>(logon);
}

void FreeTableDescription(TableDescription* table);

// A table description named after the starting directory; its property
// collection is new and empty.
TableDescription* NewTableDescription(const DbLogonHandle& logon) {
    auto* table = static_cast<TableDescription*>(AllocateHostBlock(sizeof(TableDescription)));
    std::memset(table, 0, sizeof *table);
    table->structSize = sizeof(TableDescription);
    table->tableKind = 1;
    table->ownsText56 = 1;
    try {
        table->name = DuplicateHostText(logon.startingDirectory.c_str());
        table->secondName = DuplicateHostText(logon.startingDirectory.c_str());
        auto* properties =
            static_cast<DbPropertyCollection*>(AllocateHostBlock(sizeof(DbPropertyCollection)));
        *properties = DbPropertyCollection{sizeof(DbPropertyCollection), 0, nullptr};
        table->properties = properties;
    } catch (...) {
        FreeTableDescription(table);
        throw;
    }
    return table;
}

void FreeTableDescription(TableDescription* table) {
    if (table == nullptr)
        return;
    FreeHostBlock(table->name);
    FreeHostBlock(table->text8);
    FreeHostBlock(table->secondName);
    FreeHostBlock(table->text32);
    for (uint32_t i = 0; i < table->entryCount; ++i) {
        if (table->textArray != nullptr)
            FreeHostBlock(table->textArray[i]);
        if (table->parallelArray != nullptr)
            FreeHostBlock(table->parallelArray[i]);
    }
    FreeHostBlock(table->textArray);
    FreeHostBlock(table->parallelArray);
    FreeHostBlock(table->text40);
    FreeHostBlock(table->text48);
    if (table->ownsText56 != 0)
        FreeHostBlock(table->text56);
    DbFreePropertyCollection(table->properties);
    FreeHostBlock(table);
}

// The table's name: the starting directory, or "<", the starting directory,
// a separator and anything after it.
bool DesignatesTable(const DbLogonHandle& logon, const char16_t* name) {
    SWCharString requested(name);
    if (requested.compareNoCase(logon.startingDirectory) == 0)
        return true;
    if (requested.getAt(0) == u'<') {
        SWCharString rest = requested.mid(1);
        requested = rest.left(rest.findLast(platform::kPathSeparator));
    }
    return requested.compareNoCase(logon.startingDirectory) == 0;
}

}  // namespace

DbStatus DbFetchTableList(DbLogonRef logon, void*, const void* parentQualifier,
                          uint16_t qualifierNodesAtThisLevel, TableDescription*** tables,
                          uint32_t* tableCount) {
    return GuardEntry([&]() -> DbStatus {
        VL_ASSERT(parentQualifier == NULL);
        VL_ASSERT_TEXT(qualifierNodesAtThisLevel == 0, "qualifierNodesAtThisLevel == FALSE");
        if (logon == nullptr || tables == nullptr || tableCount == nullptr)
            return Status_InvalidArgument;
        *tables = static_cast<TableDescription**>(AllocateHostBlock(sizeof(TableDescription*)));
        (*tables)[0] = nullptr;
        (*tables)[0] = NewTableDescription(LogonOf(logon));
        *tableCount = 1;
        return Status_Success;
    });
}

DbStatus DbFreeTableList(uint32_t* tableCount, TableDescription** tables) {
    if (tables == nullptr)
        return Status_Success;
    const uint32_t count = tableCount != nullptr ? *tableCount : 0;
    for (uint32_t i = 0; i < count; ++i)
        FreeTableDescription(tables[i]);
    FreeHostBlock(tables);
    return Status_Success;
}

DbStatus DbFetchTableInfo(DbLogonRef logon, const char16_t* tableName, TableDescription** table) {
    return GuardEntry([&]() -> DbStatus {
        if (table != nullptr)
            *table = nullptr;
        if (logon == nullptr || table == nullptr)
            return Status_InvalidArgument;
        if (!DesignatesTable(LogonOf(logon), tableName))
            return Status_TableNotFound;
        *table = NewTableDescription(LogonOf(logon));
        return Status_Success;
    });
}

DbStatus DbFreeTableInfo(TableDescription* table) {
    FreeTableDescription(table);
    return Status_Success;
}

DbStatus DbFetchTableFields(DbLogonRef logon, void*, void*, void*, void*, uint32_t* fieldCount,
                            FieldDescription*** fields) {
    return GuardEntry([&]() -> DbStatus {
        if (logon == nullptr || fieldCount == nullptr || fields == nullptr)
            return Status_InvalidArgument;
        const char16_t* language = LogonOf(logon).locale.c_str();
        *fieldCount = kFileTableFieldCount;
        const size_t bytes = kFileTableFieldCount * sizeof(FieldDescription*);
        *fields = static_cast<FieldDescription**>(AllocateHostBlock(bytes));
        std::memset(*fields, 0, bytes);
        for (uint32_t i = 0; i < kFileTableFieldCount; ++i) {
            const FieldDefinition& definition = FileTableSchema[i];
            auto* field =
                static_cast<FieldDescription*>(AllocateHostBlock(sizeof(FieldDescription)));
            InitFieldDescription(field);
            (*fields)[i] = field;
            field->one40 = 1;
            field->name = DuplicateHostText(LoadResourceText(definition.nameId, language).c_str());
            field->description =
                DuplicateHostText(LoadResourceText(definition.descriptionId, language).c_str());
            field->valueType = definition.valueType;
            field->length = definition.length;
        }
        return Status_Success;
    });
}

DbStatus DbFreeFieldList(uint32_t fieldCount, FieldDescription** fields) {
    if (fields == nullptr)
        return Status_Success;
    for (uint32_t i = 0; i < fieldCount; ++i)
        DeleteFieldDescription(fields[i]);
    FreeHostBlock(fields);
    return Status_Success;
}
