// Conversions between value types (source unit dbconvert).
#pragma once

#include <cstdint>

#include "runtime/SWCharString.h"
#include "vldb/dbdriver.h"

// Flag: a text source is narrow text in the process's ANSI code page.
constexpr uint32_t kConvertNarrowSource = 1;

// The fixed payload size these conversions use; 0 for text.
uint32_t FixedValueSize(DbValueType type);

DbStatus ConvertValue(const void* source, DbValueType sourceType, uint32_t flags, void* destination,
                      DbValueType destinationType, uint32_t destinationBytes);

// The bytes a destination buffer needs.
DbStatus GetConvertedSize(const void* source, DbValueType sourceType, uint32_t flags,
                          DbValueType destinationType, uint32_t* size, bool exact);

// Allocates a buffer of the destination type (released with FreeValueBuffer)
// and converts into it.
DbStatus ConvertToNewBuffer(const void* source, DbValueType sourceType, uint32_t flags,
                            void** newBuffer, DbValueType destinationType);

// Value readers for property values.
bool GetValueAsBoolean(const DbValue* value, bool defaultValue);
SWCharString GetValueAsString(const DbValue* value);
