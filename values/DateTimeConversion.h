// Conversions of values to the date, time and date-time types. A field that
// the source does not give is -1.
#pragma once

#include "vldb/dbdriver.h"

// A plain number gives the date field; date and time payloads are taken whole.
DbStatus ConvertToDateTime(const void* source, DbValueType sourceType, DbDateTime& result);

// As ConvertToDateTime, keeping the date field only.
DbStatus ConvertToDate(const void* source, DbValueType sourceType, DbDateTime& result);

// A plain number gives the time field; a date gives midnight.
DbStatus ConvertToTime(const void* source, DbValueType sourceType, DbDateTime& result);
