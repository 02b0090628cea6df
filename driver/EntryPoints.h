// The driver's exported entry points. Each is a plain C function that returns
// a status and lets no exception out.
#pragma once

#include <new>
#include <type_traits>

#include "vldb/dbdriver.h"

#define VLDB_ENTRY extern "C"

VLDB_ENTRY DbStatus DbInitialize();
VLDB_ENTRY DbStatus DbTerminate();
VLDB_ENTRY DbStatus DbGetInfo(void* context, int32_t infoCode, uint32_t* value);
VLDB_ENTRY DbStatus IsThreadSafe();
VLDB_ENTRY DbStatus DbFetchDatabaseType(const char16_t* languageTag, char16_t** typeName);
VLDB_ENTRY DbStatus DbFreeString(char16_t* text);
VLDB_ENTRY DbStatus DbFreeFieldValue(void* buffer);
VLDB_ENTRY DbStatus DbFreeErrorInfo(ErrorInfo* errorInfo);

// Logon, the logon dialog and the blocks they hand out.
VLDB_ENTRY DbStatus DbLogonServer(const DbLogonInfo* logonIn, DbLogonInfo** logonOut, void* unused1,
                                  void* unused2, const char16_t* languageTag, DbLogonRef* logon,
                                  ErrorInfo** errorInfo);
VLDB_ENTRY DbStatus DbFetchServerName(DbLogonRef logon, char16_t** serverName);
VLDB_ENTRY DbStatus DbMatchLogonInfo(const DbLogonInfo* first, const DbLogonInfo* second,
                                     void* unused1, void* unused2, const char16_t* languageTag,
                                     void* required, uint16_t* match);
VLDB_ENTRY DbStatus DbFetchLogonUIInfo(void* unused1, const DbLogonInfo* logonIn, void* unused2,
                                       const char16_t* languageTag, DbLogonInfo** logonOut);
VLDB_ENTRY DbStatus DbHandleUIPropertyRequest(void* unused1, uint32_t requestNumber, void* unused2,
                                              void* unused3, void* unused4,
                                              DbPropertyCollection* properties,
                                              DbPropertyCollection** answer, void* unused5);
VLDB_ENTRY DbStatus DbLogoffServer(DbLogonRef logon);
VLDB_ENTRY DbStatus DbFreeLogonInfo(DbLogonInfo* logonInfo);
VLDB_ENTRY DbStatus DbFreePropertyCollection(DbPropertyCollection* collection);

// The catalog of the file table.
VLDB_ENTRY DbStatus DbFetchTableList(DbLogonRef logon, void* unused, const void* parentQualifier,
                                     uint16_t qualifierNodesAtThisLevel, TableDescription*** tables,
                                     uint32_t* tableCount);
VLDB_ENTRY DbStatus DbFreeTableList(uint32_t* tableCount, TableDescription** tables);
VLDB_ENTRY DbStatus DbFetchTableInfo(DbLogonRef logon, const char16_t* tableName,
                                     TableDescription** table);
VLDB_ENTRY DbStatus DbFreeTableInfo(TableDescription* table);
VLDB_ENTRY DbStatus DbFetchTableFields(DbLogonRef logon, void* unused1, void* unused2,
                                       void* unused3, void* unused4, uint32_t* fieldCount,
                                       FieldDescription*** fields);
VLDB_ENTRY DbStatus DbFreeFieldList(uint32_t fieldCount, FieldDescription** fields);

// Rowsets and their fields.
VLDB_ENTRY DbStatus DbExecuteQuery(DbLogonRef logon, uint32_t queryType, void* table, void* unused1,
                                   const char16_t* commandText, void* unused2, DbRowsetRef* rowset);
VLDB_ENTRY DbStatus DbCloseRowset(DbRowsetRef rowset);
VLDB_ENTRY DbStatus DbBindToField(DbRowsetRef rowset, const BindRequest* request, int64_t* fieldId);
VLDB_ENTRY DbStatus DbReadRecord(DbRowsetRef rowset, uint32_t mode, void* unused,
                                 const DbReadRequest* request);
VLDB_ENTRY DbStatus DbReadFieldValue(DbRowsetRef rowset, int64_t fieldId, void* unused1,
                                     void* unused2, void** valueBuffer, uint32_t bufferSize,
                                     uint16_t* nullFlag, uint32_t* valueType, uint32_t* reserved);

#define VLDB_CHECK_ENTRY_TYPE(name) \
    static_assert(std::is_same_v<decltype(&name), name##Fn>, #name " has the interface's type");
VLDB_CHECK_ENTRY_TYPE(DbInitialize)
VLDB_CHECK_ENTRY_TYPE(DbTerminate)
VLDB_CHECK_ENTRY_TYPE(DbGetInfo)
VLDB_CHECK_ENTRY_TYPE(IsThreadSafe)
VLDB_CHECK_ENTRY_TYPE(DbFetchDatabaseType)
VLDB_CHECK_ENTRY_TYPE(DbFreeString)
VLDB_CHECK_ENTRY_TYPE(DbFreeFieldValue)
VLDB_CHECK_ENTRY_TYPE(DbFreeErrorInfo)
VLDB_CHECK_ENTRY_TYPE(DbLogonServer)
VLDB_CHECK_ENTRY_TYPE(DbFetchServerName)
VLDB_CHECK_ENTRY_TYPE(DbMatchLogonInfo)
VLDB_CHECK_ENTRY_TYPE(DbFetchLogonUIInfo)
VLDB_CHECK_ENTRY_TYPE(DbHandleUIPropertyRequest)
VLDB_CHECK_ENTRY_TYPE(DbLogoffServer)
VLDB_CHECK_ENTRY_TYPE(DbFreeLogonInfo)
VLDB_CHECK_ENTRY_TYPE(DbFreePropertyCollection)
VLDB_CHECK_ENTRY_TYPE(DbFetchTableList)
VLDB_CHECK_ENTRY_TYPE(DbFreeTableList)
VLDB_CHECK_ENTRY_TYPE(DbFetchTableInfo)
VLDB_CHECK_ENTRY_TYPE(DbFreeTableInfo)
VLDB_CHECK_ENTRY_TYPE(DbFetchTableFields)
VLDB_CHECK_ENTRY_TYPE(DbFreeFieldList)
VLDB_CHECK_ENTRY_TYPE(DbExecuteQuery)
VLDB_CHECK_ENTRY_TYPE(DbCloseRowset)
VLDB_CHECK_ENTRY_TYPE(DbBindToField)
VLDB_CHECK_ENTRY_TYPE(DbReadRecord)
VLDB_CHECK_ENTRY_TYPE(DbReadFieldValue)

// Runs an entry point's body: an allocation failure becomes
// Status_OutOfMemory, and no other exception leaves the driver either.
template <class Body>
DbStatus GuardEntry(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return Status_OutOfMemory;
    } catch (...) {
        return Status_NotSupported;
    }
}
