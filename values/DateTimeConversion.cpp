#include "values/DateTimeConversion.h"

#include <limits>

#include "runtime/Diagnostics.h"
#include "values/NumericConversion.h"
#include "values/PayloadAccess.h"

namespace {

// Assertion reports name one unit for all the conversions.
constexpr const char* kSourceUnit = "dbconvert";

// The date or time field a number gives: its low 32 bits.
int32_t LowWord(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// The one field that ConvertToDateTime or ConvertToTime sets from a plain
// number; false for the types that carry no number.
bool NumericField(const void* source, DbValueType sourceType, int32_t& field) {
    int64_t narrow = 0;
    if (LoadNarrowInteger(source, sourceType, narrow)) {
        field = LowWord(narrow);
        return true;
    }
    switch (sourceType) {
        case int64sValue:
        case int64uValue:
            field = LowWord(LoadPayload<int64_t>(source));
            return true;
        case numberValue:
            field = LowWord(TruncateToInt64(LoadPayload<double>(source)));
            return true;
        case currencyValue:
            field = LowWord(LoadPayload<int64_t>(source) / kCurrencyScale);
            return true;
        case decimalValue: {
            int64_t value = DecimalToInt64(LoadPayload<platform::Decimal>(source));
            bool fits = value >= std::numeric_limits<int32_t>::min() &&
                        value <= std::numeric_limits<int32_t>::max();
            field = fits ? static_cast<int32_t>(value) : 0;
            return true;
        }
        default:
            return false;
    }
}

bool CarriesNoDate(DbValueType type) {
    return type == booleanValue || IsTextType(type) || type == blobValue || type == opaque64Value ||
           type == interfaceValue;
}

}  // namespace

DbStatus ConvertToDateTime(const void* source, DbValueType sourceType, DbDateTime& result) {
    result = DbDateTime{-1, -1, 0};
    if (NumericField(source, sourceType, result.date))
        return Status_Success;
    switch (sourceType) {
        case dateValue:
        case timeValue:
        case dateTimeValue:
            result = LoadPayload<DbDateTime>(source);
            return Status_Success;
        default:
            if (CarriesNoDate(sourceType))
                return Status_ConversionFailed;
            VL_ASSERT_UNREACHABLE("false");
            return Status_ConversionFailed;
    }
}

DbStatus ConvertToDate(const void* source, DbValueType sourceType, DbDateTime& result) {
    const DbStatus status = ConvertToDateTime(source, sourceType, result);
    result = DbDateTime{result.date, -1, 0};
    return status;
}

DbStatus ConvertToTime(const void* source, DbValueType sourceType, DbDateTime& result) {
    result = DbDateTime{-1, -1, 0};
    if (NumericField(source, sourceType, result.time))
        return Status_Success;
    switch (sourceType) {
        case dateValue:
            result.time = 0;
            return Status_Success;
        case timeValue:
            result = LoadPayload<DbDateTime>(source);
            return Status_Success;
        case dateTimeValue:
            result = LoadPayload<DbDateTime>(source);
            result.date = -1;
            return Status_Success;
        default:
            if (CarriesNoDate(sourceType))
                return Status_ConversionFailed;
            VL_ASSERT_UNREACHABLE("FALSE");
            return Status_ConversionFailed;
    }
}
