// The value record DbValue and what it owns: single values, ranges, lists,
// field descriptions and compound records (source unit dbvalue).
#pragma once

#include <cstdint>

#include "vldb/dbdriver.h"

void InitValue(DbValue* value, DbValueType type);
void CopyValue(DbValue* value, const DbValue* source);
// 0, or Status_NotSupported for a source kind above compoundKind.
DbStatus AssignValue(DbValue* value, const DbValue* source);
void MakeRange(DbRangeValue* range, DbValueType type, const DbValue* start, uint16_t startFlag,
               const DbValue* end, uint16_t endFlag);
void ClearValue(DbValue* value);
void DestroyValue(DbValue* value);
// Stores `buffer` (copied when `copy` is non-zero, adopted otherwise).
void SetSingleValue(DbValue* value, DbValueType type, void* buffer, uint16_t copy);

// Records on the host heap, for the records that own them.
DbValue* NewValue(DbValueType type);  // an initialised, empty value
void DeleteValue(DbValue* value);     // DestroyValue, then release; null does nothing

// A fresh field description: 1 at offset 40, unknownValue, size 72.
void InitFieldDescription(FieldDescription* field);
// Releases the four texts and the record; null does nothing.
void DeleteFieldDescription(FieldDescription* field);
// A fresh compound record with its default words and an empty wide string.
void InitCompoundRecord(DbCompoundRecord* record);
