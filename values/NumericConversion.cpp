#include "values/NumericConversion.h"

#include <cmath>
#include <limits>

#include "runtime/Diagnostics.h"
#include "runtime/NumberText.h"
#include "runtime/SWCharString.h"
#include "values/DoubleFromText.h"
#include "values/PayloadAccess.h"

namespace {

// Assertion reports name one unit for all the conversions.
constexpr const char* kSourceUnit = "dbconvert";

constexpr uint8_t kDecimalNegative = 0x80;
constexpr uint16_t kDecimalReserved = 14;  // VT_DECIMAL

// The signed 64-bit number through which every integer conversion goes.
DbStatus IntegerIntermediate(const void* source, DbValueType sourceType, int64_t& value) {
    if (LoadNarrowInteger(source, sourceType, value))
        return Status_Success;
    switch (sourceType) {
        case dateValue:
        case dateTimeValue:
            value = LoadPayload<DbDateTime>(source).date;
            break;
        case timeValue:
            value = LoadPayload<DbDateTime>(source).time;
            break;
        case numberValue:
            value = TruncateToInt64(LoadPayload<double>(source));
            break;
        case currencyValue:
            value = LoadPayload<int64_t>(source) / kCurrencyScale;
            break;
        case booleanValue:
            value = LoadPayload<uint16_t>(source) != 0 ? 1 : 0;
            break;
        case stringValue:
        case memoValue:
            if (!NeutralString::ToNumber(SWCharString(static_cast<const char16_t*>(source)), value))
                return Status_ConversionFailed;
            break;
        case decimalValue:
            value = DecimalToInt64(LoadPayload<platform::Decimal>(source));
            break;
        case int64sValue:
        case int64uValue:
        case opaque64Value:
        case interfaceValue:
            value = LoadPayload<int64_t>(source);
            break;
        case blobValue:
            return Status_ConversionFailed;
        default:
            VL_ASSERT_UNREACHABLE("FALSE");
            return Status_ConversionFailed;
    }

    return Status_Success;
}

platform::Decimal SignedDecimal(int64_t value) {
    platform::Decimal decimal{kDecimalReserved, 0, 0, 0, 0};
    decimal.lo64 = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    decimal.sign = value < 0 ? kDecimalNegative : 0;
    return decimal;
}

}  // namespace

bool LoadNarrowInteger(const void* source, DbValueType type, int64_t& value) {
    switch (type) {
        case int8sValue:
            value = LoadPayload<int8_t>(source);
            return true;
        case int8uValue:
            value = LoadPayload<uint8_t>(source);
            return true;
        case int16sValue:
            value = LoadPayload<int16_t>(source);
            return true;
        case int16uValue:
            value = LoadPayload<uint16_t>(source);
            return true;
        case int32sValue:
            value = LoadPayload<int32_t>(source);
            return true;
        case int32uValue:
            value = LoadPayload<uint32_t>(source);
            return true;
        default:
            return false;
    }
}

int64_t TruncateToInt64(double x) {
    if (std::isnan(x))
        return 0;
    if (x >= 9223372036854775808.0)
        return std::numeric_limits<int64_t>::max();
    if (x < -9223372036854775808.0)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(x);
}

int64_t DecimalToInt64(const platform::Decimal& decimal) {
    platform::Decimal integer{};
    if (!platform::Succeeded(platform::DecimalIntegerPart(&decimal, &integer)))
        return 0;
    if (integer.hi32 != 0 || integer.lo64 >= (uint64_t{1} << 63))
        return 0;
    int64_t magnitude = static_cast<int64_t>(integer.lo64);
    return integer.sign != 0 ? -magnitude : magnitude;
}

DbStatus ConvertToInteger(const void* source, DbValueType sourceType, void* destination,
                          DbValueType destinationType) {
    int64_t value = 0;
    DbStatus status = IntegerIntermediate(source, sourceType, value);
    if (status != Status_Success)
        return status;
    const uint64_t asUnsigned = static_cast<uint64_t>(value);
    switch (destinationType) {
        case int8sValue:
            if (value < -128 || value > 127)
                return Status_ConversionFailed;
            StorePayload(destination, static_cast<int8_t>(value));
            break;
        case int8uValue:
            if (asUnsigned > 255)
                return Status_ConversionFailed;
            StorePayload(destination, static_cast<uint8_t>(value));
            break;
        case int16sValue:
            if (value < -32768 || value > 32767)
                return Status_ConversionFailed;
            StorePayload(destination, static_cast<int16_t>(value));
            break;
        case int16uValue:
            if (asUnsigned > 65535)
                return Status_ConversionFailed;
            StorePayload(destination, static_cast<uint16_t>(value));
            break;
        case int32sValue:
            if (value < std::numeric_limits<int32_t>::min() ||
                value > std::numeric_limits<int32_t>::max())
                return Status_ConversionFailed;
            StorePayload(destination, static_cast<int32_t>(value));
            break;
        case int32uValue:
            if ((asUnsigned >> 32) != 0)
                return Status_ConversionFailed;
            StorePayload(destination, static_cast<uint32_t>(value));
            break;
        case booleanValue:
            StorePayload(destination, static_cast<uint16_t>(value != 0 ? 1 : 0));
            break;
        case int64sValue:
            StorePayload(destination, value);
            break;
        case int64uValue:
            if (value < 0)
                return Status_ConversionFailed;
            StorePayload(destination, asUnsigned);
            break;
        default:
            VL_ASSERT_UNREACHABLE("FALSE");
            return Status_ConversionFailed;
    }
    return Status_Success;
}

DbStatus ConvertToNumber(const void* source, DbValueType sourceType, double& result) {
    int64_t narrow = 0;
    if (LoadNarrowInteger(source, sourceType, narrow)) {
        result = static_cast<double>(narrow);
        return Status_Success;
    }
    switch (sourceType) {
        case booleanValue:
            result = LoadPayload<int16_t>(source);
            break;
        case dateValue:
        case dateTimeValue:
            result = LoadPayload<DbDateTime>(source).date;
            break;
        case timeValue:
            result = LoadPayload<DbDateTime>(source).time;
            break;
        case numberValue:
            result = LoadPayload<double>(source);
            break;
        case currencyValue:
            result = static_cast<double>(LoadPayload<int64_t>(source)) / kCurrencyScale;
            break;
        case int64sValue:
        case opaque64Value:
        case interfaceValue:
            result = static_cast<double>(LoadPayload<int64_t>(source));
            break;
        case int64uValue: {
            uint64_t value = LoadPayload<uint64_t>(source);
            VL_ASSERT_TEXT(value < std::numeric_limits<uint64_t>::max(),
                           "*(Int64u *) srcBuffer < MaxInt64u");
            result = static_cast<double>(static_cast<int64_t>(value));
            break;
        }
        case stringValue:
        case memoValue:
            if (!ParseWholeDouble(static_cast<const char16_t*>(source), result))
                return Status_ConversionFailed;
            break;
        case decimalValue: {
            platform::Decimal decimal = LoadPayload<platform::Decimal>(source);
            double value = 0.0;
            platform::DoubleFromDecimal(&decimal, &value);
            result = value;
            break;
        }
        case blobValue:
            return Status_ConversionFailed;
        default:
            VL_ASSERT_UNREACHABLE("FALSE");
            return Status_ConversionFailed;
    }
    return Status_Success;
}

DbStatus ConvertToCurrency(const void* source, DbValueType sourceType, int64_t& result) {
    int64_t narrow = 0;
    if (LoadNarrowInteger(source, sourceType, narrow)) {
        result = narrow * kCurrencyScale;
        return Status_Success;
    }
    switch (sourceType) {
        case booleanValue:
            result = LoadPayload<int16_t>(source) * kCurrencyScale;
            break;
        case dateValue:
        case dateTimeValue:
            result = int64_t{LoadPayload<DbDateTime>(source).date} * kCurrencyScale;
            break;
        case timeValue:
            result = int64_t{LoadPayload<DbDateTime>(source).time} * kCurrencyScale;
            break;
        case numberValue:
            result =
                TruncateToInt64(std::floor(LoadPayload<double>(source) * kCurrencyScale + 0.5));
            break;
        case currencyValue:
            result = LoadPayload<int64_t>(source);
            break;
        case int64sValue:
        case int64uValue:
        case opaque64Value:
        case interfaceValue:
            // No overflow test: the product wraps in 64 bits.
            result = static_cast<int64_t>(LoadPayload<uint64_t>(source) * uint64_t{kCurrencyScale});
            break;
        case stringValue:
        case memoValue: {
            platform::Currency currency{0};
            platform::CurrencyFromText(static_cast<const char16_t*>(source), 0, 0, &currency);
            result = currency.int64;
            break;
        }
        case decimalValue: {
            platform::Decimal decimal = LoadPayload<platform::Decimal>(source);
            platform::Currency currency{0};
            platform::CurrencyFromDecimal(&decimal, &currency);
            result = currency.int64;
            break;
        }
        case blobValue:
            return Status_ConversionFailed;
        default:
            VL_ASSERT_UNREACHABLE("FALSE");
            return Status_ConversionFailed;
    }
    return Status_Success;
}

DbStatus ConvertToDecimal(const void* source, DbValueType sourceType, platform::Decimal& result) {
    // Unsigned integers have no sign to set, so they take the same path.
    int64_t narrow = 0;
    if (LoadNarrowInteger(source, sourceType, narrow)) {
        result = SignedDecimal(narrow);
        return Status_Success;
    }
    result = platform::Decimal{kDecimalReserved, 0, 0, 0, 0};
    switch (sourceType) {
        case booleanValue:
            result = SignedDecimal(LoadPayload<int16_t>(source));
            break;
        case dateValue:
        case dateTimeValue:
            result = SignedDecimal(LoadPayload<DbDateTime>(source).date);
            break;
        case timeValue:
            result = SignedDecimal(LoadPayload<DbDateTime>(source).time);
            break;
        case int64sValue:
        case opaque64Value:
        case interfaceValue:
            result = SignedDecimal(LoadPayload<int64_t>(source));
            break;
        case int64uValue:
            result.lo64 = LoadPayload<uint64_t>(source);
            break;
        case currencyValue:
            result = SignedDecimal(LoadPayload<int64_t>(source));
            result.scale = 4;
            break;
        case numberValue: {
            platform::Decimal converted{};
            if (platform::Succeeded(
                    platform::DecimalFromDouble(LoadPayload<double>(source), &converted)))
                result = converted;
            break;
        }
        case stringValue:
        case memoValue: {
            platform::Decimal converted{};
            if (platform::Succeeded(platform::DecimalFromText(static_cast<const char16_t*>(source),
                                                              0, 0, &converted)))
                result = converted;
            break;
        }
        case decimalValue:
            result = LoadPayload<platform::Decimal>(source);
            break;
        case blobValue:
            return Status_ConversionFailed;
        default:
            VL_ASSERT_UNREACHABLE("FALSE");
            return Status_ConversionFailed;
    }
    return Status_Success;
}
