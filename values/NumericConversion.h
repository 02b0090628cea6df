// Conversions of values to the integer, double, currency and decimal types,
// and the integer readings of payloads that the date conversions share.
#pragma once

#include <cstdint>

#include "platform/OleAutomation.h"
#include "vldb/dbdriver.h"

// Currency payloads count ten-thousandths.
constexpr int64_t kCurrencyScale = 10000;

// The 8-, 16- and 32-bit integer types, widened with their own signedness;
// false for every other type.
bool LoadNarrowInteger(const void* source, DbValueType type, int64_t& value);

// A double truncated toward zero into 64 bits; saturated where it does not fit.
int64_t TruncateToInt64(double x);

// The decimal's integer part as a signed 64-bit number; 0 when it does not fit.
int64_t DecimalToInt64(const platform::Decimal& decimal);

// Into one of the integer types or booleanValue, range-tested through a
// signed 64-bit intermediate; writes the destination only on success.
DbStatus ConvertToInteger(const void* source, DbValueType sourceType, void* destination,
                          DbValueType destinationType);

DbStatus ConvertToNumber(const void* source, DbValueType sourceType, double& result);
DbStatus ConvertToCurrency(const void* source, DbValueType sourceType, int64_t& result);
DbStatus ConvertToDecimal(const void* source, DbValueType sourceType, platform::Decimal& result);
