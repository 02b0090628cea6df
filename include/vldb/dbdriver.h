/*
 * The engine interface of the File System Data driver: status codes, value
 * types, the records exchanged with the reporting engine, and the types of
 * the 27 exported entry points.
 *
 * Every layout here is a contract with the engine (64-bit builds only).
 * Text is NUL-terminated UTF-16.
 */
#ifndef VLDB_DBDRIVER_H
#define VLDB_DBDRIVER_H

#ifdef __cplusplus
#include <cstddef>
#include <cstdint>
#define VLDB_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
extern "C" {
#else
#include <stddef.h>
#include <stdint.h>
#include <uchar.h>
#define VLDB_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

VLDB_STATIC_ASSERT(sizeof(void*) == 8, "the engine interface is 64-bit");
VLDB_STATIC_ASSERT(sizeof(char16_t) == 2, "text is UTF-16");

typedef uint32_t DbStatus;

/* Status codes returned by every entry point. */
enum {
    Status_Success = 0,
    Status_OutOfMemory = 10,
    Status_NotSupported = 11,
    Status_InvalidArgument = 12,
    Status_InfoNotAvailable = 100,
    Status_LogonFailed = 202,
    Status_TableNotFound = 230,
    Status_FieldNotFound = 400,
    Status_NoMoreRecords = 500,
    /* Internal to the driver's conversions; never returned by an entry point. */
    Status_ConversionFailed = 600,
    Status_BufferTooSmall = 601
};

/* Value type codes (DbValueType). Code 12 is not a type. */
typedef uint32_t DbValueType;
enum {
    int8sValue = 0,
    int8uValue = 1,
    int16sValue = 2,
    int16uValue = 3,
    int32sValue = 4,
    int32uValue = 5,
    numberValue = 6,
    currencyValue = 7,
    booleanValue = 8,
    dateValue = 9,
    timeValue = 10,
    stringValue = 11,
    memoValue = 13,
    blobValue = 14,
    dateTimeValue = 15,
    decimalValue = 16,
    int64sValue = 17,
    int64uValue = 18,
    opaque64Value = 100,
    interfaceValue = 101,
    unknownValue = 255
};

/* What DbValue.data points to (DbValueKind). */
typedef uint32_t DbValueKind;
enum {
    emptyKind = 0,
    singleKind = 1,
    rangeKind = 2,
    multipleKind = 3,
    fieldKind = 4,
    compoundKind = 5
};

/* The only query the driver expects. */
enum { QueryType_OpenTable = 5 };

/* DbReadRecord modes. */
enum {
    ReadMode_Position = 1, /* from the first row when the request's rowPosition is 0 */
    ReadMode_Next = 2
};

/* BindRequest kinds. */
enum { BindKind_Ordinal = 1, BindKind_Name = 2 };

/* Logon dialog hint values. */
enum { UiControl_Edit = 1, UiControl_CheckBox = 6, UiControl_DirectoryChooser = 9 };
enum { UpdateMessage_Enable = 2, UpdateMessage_SetValue = 5 };

/* Error information handed out with a failure status. */
typedef struct ErrorInfo {
    struct ErrorInfo* next;
    uint32_t code;
    char16_t* message;
    uint32_t reserved;
} ErrorInfo;

typedef struct DbDateTime {
    int32_t date; /* day number; -1: no date */
    int32_t time; /* seconds since midnight; -1: no time */
    uint32_t nanoseconds;
} DbDateTime;

typedef struct DbValue {
    uint32_t structSize; /* 24 */
    DbValueKind kind;
    DbValueType valueType;
    uint32_t reserved;
    void* data;
} DbValue;

typedef struct DbRangeValue {
    uint32_t structSize; /* 40 */
    DbValue* start;
    uint16_t startFlag;
    DbValue* end;
    uint16_t endFlag;
} DbRangeValue;

typedef struct DbValueList {
    uint32_t structSize; /* 16 */
    uint32_t count;
    DbValue** items;
} DbValueList;

/* The wide-string object embedded in DbCompoundRecord. */
typedef struct DbWideStringObject {
    union {
        char16_t inlineText[8]; /* while capacity < 8 */
        char16_t* heapText;     /* capacity + 1 units */
    } storage;
    uint64_t length;
    uint64_t capacity;
} DbWideStringObject;

/* A descriptive record that the driver only copies and releases. */
typedef struct DbCompoundRecord {
    char16_t* firstText;
    char16_t* secondText;
    DbValue* firstValue;  /* may be null */
    DbValue* secondValue; /* present after a copy */
    uint32_t word32;
    uint32_t words36[4]; /* words36[0] starts as unknownValue */
    uint32_t structSize; /* 120 for the full record */
    uint16_t fixedWords[3];
    uint16_t optionalWords[7]; /* each present as structSize reaches 64, 66, ... 76 */
    DbWideStringObject wideString;
    uint8_t byte112;
} DbCompoundRecord;

typedef struct DbPropertyCollection {
    uint32_t structSize; /* 16 */
    uint32_t count;
    struct DbProperty** items;
} DbPropertyCollection;

typedef struct DbProperty {
    uint32_t structSize; /* 64 */
    uint32_t padding;
    char16_t* name;
    char16_t* displayName;
    char16_t* description;
    DbValueType valueType;
    DbValue* value;
    uint32_t options;
    DbPropertyCollection* uiInfo;
} DbProperty;

typedef struct DbLogonInfo {
    DbPropertyCollection* properties;
    char16_t* text;
    DbValue* value;
    uint32_t reserved;
    uint32_t structSize; /* 40 */
    uint16_t ownsText;
} DbLogonInfo;

typedef struct TableDescription {
    char16_t* name;
    char16_t* text8;
    char16_t* secondName;
    char16_t** textArray; /* entryCount entries */
    char16_t* text32;
    char16_t* text40;
    char16_t* text48;
    char16_t* text56;         /* owned only when ownsText56 is set */
    char16_t** parallelArray; /* parallel to textArray */
    DbPropertyCollection* properties;
    uint32_t unsigned80;
    uint32_t structSize; /* 112 */
    uint32_t reserved;
    uint32_t entryCount;
    uint32_t tableKind;
    uint16_t flag100;
    uint16_t flag102;
    uint16_t flag104;
    uint16_t ownsText56;
    uint32_t unsigned108;
} TableDescription;

typedef struct FieldDescription {
    uint64_t reserved;
    char16_t* name;
    char16_t* text16;
    char16_t* description;
    char16_t* text32; /* present when structSize >= 40 */
    uint32_t one40;
    uint32_t zero44;
    DbValueType valueType;
    uint32_t length;
    uint32_t structSize; /* 72 */
    uint32_t word60;
    uint32_t word64;
    uint32_t word68; /* present when structSize >= 72 */
} FieldDescription;

/* The engine's binding request; the driver reads only these members. */
typedef struct BindRequest {
    uint32_t ordinal;
    const char16_t* name;
    uint8_t engine16[20];
    uint32_t kind;
    uint8_t engine40[12];
    uint16_t caseSensitive;
} BindRequest;

/* The engine's read request; the driver reads only rowPosition. */
typedef struct DbReadRequest {
    uint32_t engine0;
    uint16_t rowPosition; /* 0 with ReadMode_Position starts over */
} DbReadRequest;

/* Opaque handles. */
typedef void* DbLogonRef;
typedef void* DbRowsetRef;

#define VLDB_CHECK_LAYOUT(type, member, offset) \
    VLDB_STATIC_ASSERT(offsetof(type, member) == (offset), #type "." #member)

VLDB_STATIC_ASSERT(sizeof(ErrorInfo) == 32, "ErrorInfo");
VLDB_CHECK_LAYOUT(ErrorInfo, next, 0);
VLDB_CHECK_LAYOUT(ErrorInfo, code, 8);
VLDB_CHECK_LAYOUT(ErrorInfo, message, 16);
VLDB_CHECK_LAYOUT(ErrorInfo, reserved, 24);

VLDB_STATIC_ASSERT(sizeof(DbDateTime) == 12, "DbDateTime");
VLDB_CHECK_LAYOUT(DbDateTime, time, 4);
VLDB_CHECK_LAYOUT(DbDateTime, nanoseconds, 8);

VLDB_STATIC_ASSERT(sizeof(DbValue) == 24, "DbValue");
VLDB_CHECK_LAYOUT(DbValue, kind, 4);
VLDB_CHECK_LAYOUT(DbValue, valueType, 8);
VLDB_CHECK_LAYOUT(DbValue, data, 16);

VLDB_STATIC_ASSERT(sizeof(DbRangeValue) == 40, "DbRangeValue");
VLDB_CHECK_LAYOUT(DbRangeValue, start, 8);
VLDB_CHECK_LAYOUT(DbRangeValue, startFlag, 16);
VLDB_CHECK_LAYOUT(DbRangeValue, end, 24);
VLDB_CHECK_LAYOUT(DbRangeValue, endFlag, 32);

VLDB_STATIC_ASSERT(sizeof(DbValueList) == 16, "DbValueList");
VLDB_CHECK_LAYOUT(DbValueList, count, 4);
VLDB_CHECK_LAYOUT(DbValueList, items, 8);

VLDB_STATIC_ASSERT(sizeof(DbWideStringObject) == 32, "DbWideStringObject");
VLDB_STATIC_ASSERT(sizeof(DbCompoundRecord) == 120, "DbCompoundRecord");
VLDB_CHECK_LAYOUT(DbCompoundRecord, secondText, 8);
VLDB_CHECK_LAYOUT(DbCompoundRecord, firstValue, 16);
VLDB_CHECK_LAYOUT(DbCompoundRecord, secondValue, 24);
VLDB_CHECK_LAYOUT(DbCompoundRecord, word32, 32);
VLDB_CHECK_LAYOUT(DbCompoundRecord, words36, 36);
VLDB_CHECK_LAYOUT(DbCompoundRecord, structSize, 52);
VLDB_CHECK_LAYOUT(DbCompoundRecord, fixedWords, 56);
VLDB_CHECK_LAYOUT(DbCompoundRecord, optionalWords, 62);
VLDB_CHECK_LAYOUT(DbCompoundRecord, wideString, 80);
VLDB_CHECK_LAYOUT(DbCompoundRecord, byte112, 112);

VLDB_STATIC_ASSERT(sizeof(DbPropertyCollection) == 16, "DbPropertyCollection");
VLDB_CHECK_LAYOUT(DbPropertyCollection, count, 4);
VLDB_CHECK_LAYOUT(DbPropertyCollection, items, 8);

VLDB_STATIC_ASSERT(sizeof(DbProperty) == 64, "DbProperty");
VLDB_CHECK_LAYOUT(DbProperty, name, 8);
VLDB_CHECK_LAYOUT(DbProperty, displayName, 16);
VLDB_CHECK_LAYOUT(DbProperty, description, 24);
VLDB_CHECK_LAYOUT(DbProperty, valueType, 32);
VLDB_CHECK_LAYOUT(DbProperty, value, 40);
VLDB_CHECK_LAYOUT(DbProperty, options, 48);
VLDB_CHECK_LAYOUT(DbProperty, uiInfo, 56);

VLDB_STATIC_ASSERT(sizeof(DbLogonInfo) == 40, "DbLogonInfo");
VLDB_CHECK_LAYOUT(DbLogonInfo, text, 8);
VLDB_CHECK_LAYOUT(DbLogonInfo, value, 16);
VLDB_CHECK_LAYOUT(DbLogonInfo, reserved, 24);
VLDB_CHECK_LAYOUT(DbLogonInfo, structSize, 28);
VLDB_CHECK_LAYOUT(DbLogonInfo, ownsText, 32);

VLDB_STATIC_ASSERT(sizeof(TableDescription) == 112, "TableDescription");
VLDB_CHECK_LAYOUT(TableDescription, text8, 8);
VLDB_CHECK_LAYOUT(TableDescription, secondName, 16);
VLDB_CHECK_LAYOUT(TableDescription, textArray, 24);
VLDB_CHECK_LAYOUT(TableDescription, text32, 32);
VLDB_CHECK_LAYOUT(TableDescription, text56, 56);
VLDB_CHECK_LAYOUT(TableDescription, parallelArray, 64);
VLDB_CHECK_LAYOUT(TableDescription, properties, 72);
VLDB_CHECK_LAYOUT(TableDescription, unsigned80, 80);
VLDB_CHECK_LAYOUT(TableDescription, structSize, 84);
VLDB_CHECK_LAYOUT(TableDescription, reserved, 88);
VLDB_CHECK_LAYOUT(TableDescription, entryCount, 92);
VLDB_CHECK_LAYOUT(TableDescription, tableKind, 96);
VLDB_CHECK_LAYOUT(TableDescription, flag100, 100);
VLDB_CHECK_LAYOUT(TableDescription, ownsText56, 106);
VLDB_CHECK_LAYOUT(TableDescription, unsigned108, 108);

VLDB_STATIC_ASSERT(sizeof(FieldDescription) == 72, "FieldDescription");
VLDB_CHECK_LAYOUT(FieldDescription, name, 8);
VLDB_CHECK_LAYOUT(FieldDescription, text16, 16);
VLDB_CHECK_LAYOUT(FieldDescription, description, 24);
VLDB_CHECK_LAYOUT(FieldDescription, text32, 32);
VLDB_CHECK_LAYOUT(FieldDescription, one40, 40);
VLDB_CHECK_LAYOUT(FieldDescription, zero44, 44);
VLDB_CHECK_LAYOUT(FieldDescription, valueType, 48);
VLDB_CHECK_LAYOUT(FieldDescription, length, 52);
VLDB_CHECK_LAYOUT(FieldDescription, structSize, 56);
VLDB_CHECK_LAYOUT(FieldDescription, word60, 60);
VLDB_CHECK_LAYOUT(FieldDescription, word64, 64);
VLDB_CHECK_LAYOUT(FieldDescription, word68, 68);

VLDB_CHECK_LAYOUT(BindRequest, ordinal, 0);
VLDB_CHECK_LAYOUT(BindRequest, name, 8);
VLDB_CHECK_LAYOUT(BindRequest, kind, 36);
VLDB_CHECK_LAYOUT(BindRequest, caseSensitive, 52);

VLDB_CHECK_LAYOUT(DbReadRequest, rowPosition, 4);

/*
 * Entry points. Arguments the driver never reads are pointer-sized (void *).
 */
typedef DbStatus (*DbInitializeFn)(void);
typedef DbStatus (*DbTerminateFn)(void);
typedef DbStatus (*DbGetInfoFn)(void* context, int32_t infoCode, uint32_t* value);
typedef DbStatus (*IsThreadSafeFn)(void);
typedef DbStatus (*DbFetchDatabaseTypeFn)(const char16_t* languageTag, char16_t** typeName);
typedef DbStatus (*DbFreeStringFn)(char16_t* text);
typedef DbStatus (*DbFreeFieldValueFn)(void* buffer);
typedef DbStatus (*DbFreeErrorInfoFn)(ErrorInfo* errorInfo);

typedef DbStatus (*DbFetchTableListFn)(DbLogonRef logon, void* unused, const void* parentQualifier,
                                       uint16_t qualifierNodesAtThisLevel,
                                       TableDescription*** tables, uint32_t* tableCount);
typedef DbStatus (*DbFreeTableListFn)(uint32_t* tableCount, TableDescription** tables);
typedef DbStatus (*DbFetchTableInfoFn)(DbLogonRef logon, const char16_t* tableName,
                                       TableDescription** table);
typedef DbStatus (*DbFreeTableInfoFn)(TableDescription* table);
typedef DbStatus (*DbFetchTableFieldsFn)(DbLogonRef logon, void* unused1, void* unused2,
                                         void* unused3, void* unused4, uint32_t* fieldCount,
                                         FieldDescription*** fields);
typedef DbStatus (*DbFreeFieldListFn)(uint32_t fieldCount, FieldDescription** fields);

typedef DbStatus (*DbExecuteQueryFn)(DbLogonRef logon, uint32_t queryType, void* table,
                                     void* unused1, const char16_t* commandText, void* unused2,
                                     DbRowsetRef* rowset);
typedef DbStatus (*DbCloseRowsetFn)(DbRowsetRef rowset);
typedef DbStatus (*DbBindToFieldFn)(DbRowsetRef rowset, const BindRequest* request,
                                    int64_t* fieldId);
typedef DbStatus (*DbReadRecordFn)(DbRowsetRef rowset, uint32_t mode, void* unused,
                                   const DbReadRequest* request);
typedef DbStatus (*DbReadFieldValueFn)(DbRowsetRef rowset, int64_t fieldId, void* unused1,
                                       void* unused2, void** valueBuffer, uint32_t bufferSize,
                                       uint16_t* nullFlag, uint32_t* valueType, uint32_t* reserved);

typedef DbStatus (*DbLogonServerFn)(const DbLogonInfo* logonIn, DbLogonInfo** logonOut,
                                    void* unused1, void* unused2, const char16_t* languageTag,
                                    DbLogonRef* logon, ErrorInfo** errorInfo);
typedef DbStatus (*DbFetchServerNameFn)(DbLogonRef logon, char16_t** serverName);
typedef DbStatus (*DbMatchLogonInfoFn)(const DbLogonInfo* first, const DbLogonInfo* second,
                                       void* unused1, void* unused2, const char16_t* languageTag,
                                       void* required, uint16_t* match);
typedef DbStatus (*DbFetchLogonUIInfoFn)(void* unused1, const DbLogonInfo* logonIn, void* unused2,
                                         const char16_t* languageTag, DbLogonInfo** logonOut);
typedef DbStatus (*DbHandleUIPropertyRequestFn)(void* unused1, uint32_t requestNumber,
                                                void* unused2, void* unused3, void* unused4,
                                                DbPropertyCollection* properties,
                                                DbPropertyCollection** answer, void* unused5);
typedef DbStatus (*DbLogoffServerFn)(DbLogonRef logon);
typedef DbStatus (*DbFreeLogonInfoFn)(DbLogonInfo* logonInfo);
typedef DbStatus (*DbFreePropertyCollectionFn)(DbPropertyCollection* collection);

/* The exported names, in the order the host resolves them. */
#define VLDB_ENTRY_POINTS(X)     \
    X(DbInitialize)              \
    X(DbTerminate)               \
    X(DbGetInfo)                 \
    X(IsThreadSafe)              \
    X(DbFetchDatabaseType)       \
    X(DbFreeString)              \
    X(DbFreeFieldValue)          \
    X(DbFreeErrorInfo)           \
    X(DbFetchTableList)          \
    X(DbFreeTableList)           \
    X(DbFetchTableInfo)          \
    X(DbFreeTableInfo)           \
    X(DbFetchTableFields)        \
    X(DbFreeFieldList)           \
    X(DbExecuteQuery)            \
    X(DbCloseRowset)             \
    X(DbBindToField)             \
    X(DbReadRecord)              \
    X(DbReadFieldValue)          \
    X(DbLogonServer)             \
    X(DbFetchServerName)         \
    X(DbMatchLogonInfo)          \
    X(DbFetchLogonUIInfo)        \
    X(DbHandleUIPropertyRequest) \
    X(DbLogoffServer)            \
    X(DbFreeLogonInfo)           \
    X(DbFreePropertyCollection)

#ifdef __cplusplus
}
#endif

#endif /* VLDB_DBDRIVER_H */
