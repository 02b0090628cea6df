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
