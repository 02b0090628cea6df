#include "values/ValueConversion.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "platform/OleAutomation.h"
#include "runtime/DateTime.h"
#include "runtime/Diagnostics.h"
#include "runtime/HostMemory.h"
#include "runtime/NumberText.h"
#include "runtime/SLocale.h"
#include "runtime/StringFunctions.h"
#include "values/Calendar.h"
#include "values/ValueBuffer.h"

namespace {

constexpr const char* kSourceUnit = "dbconvert";

// Number texts are made in a work area of 80 units, keeping 79 characters.
constexpr size_t kWorkAreaUnits = 80;
constexpr uint32_t kScratchBytes = 128;
constexpr int64_t kCurrencyScale = 10000;
constexpr uint8_t kDecimalNegative = 0x80;
constexpr uint16_t kDecimalReserved = 14;  // VT_DECIMAL

template <class T>
T Load(const void* buffer) {
    T value;
    std::memcpy(&value, buffer, sizeof value);
    return value;
}

template <class T>
void Store(void* buffer, T value) {
    std::memcpy(buffer, &value, sizeof value);
}

bool IsText(DbValueType type) {
    return type == stringValue || type == memoValue;
}

// The 8-, 16- and 32-bit integer types, widened with their own signedness.
bool LoadNarrowInteger(const void* source, DbValueType type, int64_t& value) {
    switch (type) {
        case int8sValue:
            value = Load<int8_t>(source);
            return true;
        case int8uValue:
            value = Load<uint8_t>(source);
            return true;
        case int16sValue:
            value = Load<int16_t>(source);
            return true;
        case int16uValue:
            value = Load<uint16_t>(source);
            return true;
        case int32sValue:
            value = Load<int32_t>(source);
            return true;
        case int32uValue:
            value = Load<uint32_t>(source);
            return true;
        default:
            return false;
    }
}

// A double truncated toward zero into 64 bits; saturated where it does not fit.
int64_t TruncateToInt64(double x) {
    if (std::isnan(x))
        return 0;
    if (x >= 9223372036854775808.0)
        return std::numeric_limits<int64_t>::max();
    if (x < -9223372036854775808.0)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(x);
}

// Copies a text into the destination: at most (bytes / 2) - 1 characters and
// a terminating NUL, when the destination has room for one.
void CopyTextOut(const char16_t* text, void* destination, uint32_t destinationBytes) {
    if (destination == nullptr || destinationBytes < 2)
        return;
    CopyString(static_cast<char16_t*>(destination), destinationBytes / 2, text);
}

// Number texts keep their first 79 characters, as the work area holds.
void CopyNumberTextOut(const char16_t* text, void* destination, uint32_t destinationBytes) {
    char16_t area[kWorkAreaUnits];
    CopyString(area, kWorkAreaUnits, text);
    CopyTextOut(area, destination, destinationBytes);
}

// The decimal's integer part as a signed 64-bit number; 0 when it does not fit.
int64_t DecimalToInt64(const platform::Decimal& decimal) {
    platform::Decimal integer{};
    if (!platform::Succeeded(platform::DecimalIntegerPart(&decimal, &integer)))
        return 0;
    if (integer.hi32 != 0 || integer.lo64 >= (uint64_t{1} << 63))
        return 0;
    int64_t magnitude = static_cast<int64_t>(integer.lo64);
    return integer.sign != 0 ? -magnitude : magnitude;
}

// The signed 64-bit number through which every integer conversion goes.
DbStatus IntegerIntermediate(const void* source, DbValueType sourceType, int64_t& value) {
    if (LoadNarrowInteger(source, sourceType, value))
        return Status_Success;
    switch (sourceType) {
        case dateValue:
        case dateTimeValue:
            value = Load<DbDateTime>(source).date;
            break;
        case timeValue:
            value = Load<DbDateTime>(source).time;
            break;
        case numberValue:
            value = TruncateToInt64(Load<double>(source));
            break;
        case currencyValue:
            value = Load<int64_t>(source) / kCurrencyScale;
            break;
        case booleanValue:
            value = Load<uint16_t>(source) != 0 ? 1 : 0;
            break;
        case stringValue:
        case memoValue:
            if (!NeutralString::ToNumber(SWCharString(static_cast<const char16_t*>(source)), value))
                return Status_ConversionFailed;
            break;
        case decimalValue:
            value = DecimalToInt64(Load<platform::Decimal>(source));
            break;
        case int64sValue:
        case int64uValue:
        case opaque64Value:
        case interfaceValue:
            value = Load<int64_t>(source);
            break;
        case blobValue:
            return Status_ConversionFailed;
        default:
            VL_ASSERT_UNREACHABLE("FALSE");
            return Status_ConversionFailed;
    }

    return Status_Success;
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
            Store(destination, static_cast<int8_t>(value));
            break;
        case int8uValue:
            if (asUnsigned > 255)
                return Status_ConversionFailed;
            Store(destination, static_cast<uint8_t>(value));
            break;
        case int16sValue:
            if (value < -32768 || value > 32767)
                return Status_ConversionFailed;
            Store(destination, static_cast<int16_t>(value));
            break;
        case int16uValue:
            if (asUnsigned > 65535)
                return Status_ConversionFailed;
            Store(destination, static_cast<uint16_t>(value));
            break;
        case int32sValue:
            if (value < std::numeric_limits<int32_t>::min() ||
                value > std::numeric_limits<int32_t>::max())
                return Status_ConversionFailed;
            Store(destination, static_cast<int32_t>(value));
            break;
        case int32uValue:
            if ((asUnsigned >> 32) != 0)
                return Status_ConversionFailed;
            Store(destination, static_cast<uint32_t>(value));
            break;
        case booleanValue:
            Store(destination, static_cast<uint16_t>(value != 0 ? 1 : 0));
            break;
        case int64sValue:
            Store(destination, value);
            break;
        case int64uValue:
            if (value < 0)
                return Status_ConversionFailed;
            Store(destination, asUnsigned);
            break;
        default:
            VL_ASSERT_UNREACHABLE("FALSE");
            return Status_ConversionFailed;
    }
    return Status_Success;
}

// wcstod in the classic locale: leading white space, an optional sign, then a
// decimal or hexadecimal number, "inf", "infinity" or "nan"; the whole text
// must be consumed.
bool ParseWholeDouble(const char16_t* text, double& result) {
    std::string narrow;
    for (const char16_t* p = text; *p != 0; ++p) {
        if (*p > 0x7F)
            return false;  // wcstod would stop here
        narrow += static_cast<char>(*p);
    }
    const char* first = narrow.c_str();
    const char* last = first + narrow.size();
    while (first < last && (*first == ' ' || (*first >= '\t' && *first <= '\r')))
        ++first;
    bool negative = false;
    if (first < last && (*first == '+' || *first == '-'))
        negative = *first++ == '-';
    if (first == last || *first == '+' || *first == '-')
        return false;
    std::chars_format format = std::chars_format::general;
    if (last - first > 2 && first[0] == '0' && (first[1] == 'x' || first[1] == 'X')) {
        first += 2;
        format = std::chars_format::hex;
    }
    double value = 0;
    auto [end, error] = std::from_chars(first, last, value, format);
    if (end != last)
        return false;
    if (error == std::errc::result_out_of_range) {
        // wcstod gives HUGE_VAL or a denormal/zero; the text still converts.
        value = std::strtod(std::string(first, last).c_str(), nullptr);
    } else if (error != std::errc()) {
        return false;
    }
    result = negative ? -value : value;
    return true;
}

DbStatus ConvertToNumber(const void* source, DbValueType sourceType, double& result) {
    int64_t narrow = 0;
    if (LoadNarrowInteger(source, sourceType, narrow)) {
        result = static_cast<double>(narrow);
        return Status_Success;
    }
    switch (sourceType) {
        case booleanValue:
            result = Load<int16_t>(source);
            break;
        case dateValue:
        case dateTimeValue:
            result = Load<DbDateTime>(source).date;
            break;
        case timeValue:
            result = Load<DbDateTime>(source).time;
            break;
        case numberValue:
            result = Load<double>(source);
            break;
        case currencyValue:
            result = static_cast<double>(Load<int64_t>(source)) / kCurrencyScale;
            break;
        case int64sValue:
        case opaque64Value:
        case interfaceValue:
            result = static_cast<double>(Load<int64_t>(source));
            break;
        case int64uValue: {
            uint64_t value = Load<uint64_t>(source);
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
            platform::Decimal decimal = Load<platform::Decimal>(source);
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
            result = Load<int16_t>(source) * kCurrencyScale;
            break;
        case dateValue:
        case dateTimeValue:
            result = int64_t{Load<DbDateTime>(source).date} * kCurrencyScale;
            break;
        case timeValue:
            result = int64_t{Load<DbDateTime>(source).time} * kCurrencyScale;
            break;
        case numberValue:
            result = TruncateToInt64(std::floor(Load<double>(source) * kCurrencyScale + 0.5));
            break;
        case currencyValue:
            result = Load<int64_t>(source);
            break;
        case int64sValue:
        case int64uValue:
        case opaque64Value:
        case interfaceValue:
            // No overflow test: the product wraps in 64 bits.
            result = static_cast<int64_t>(Load<uint64_t>(source) * uint64_t{kCurrencyScale});
            break;
        case stringValue:
        case memoValue: {
            platform::Currency currency{0};
            platform::CurrencyFromText(static_cast<const char16_t*>(source), 0, 0, &currency);
            result = currency.int64;
            break;
        }
        case decimalValue: {
            platform::Decimal decimal = Load<platform::Decimal>(source);
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

// The date or time field a number gives: its low 32 bits.
int32_t LowWord(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// The one field that ConvertToDate or ConvertToTime sets from a plain number;
// false for the types that carry no number.
bool NumericField(const void* source, DbValueType sourceType, int32_t& field) {
    int64_t narrow = 0;
    if (LoadNarrowInteger(source, sourceType, narrow)) {
        field = LowWord(narrow);
        return true;
    }
    switch (sourceType) {
        case int64sValue:
        case int64uValue:
            field = LowWord(Load<int64_t>(source));
            return true;
        case numberValue:
            field = LowWord(TruncateToInt64(Load<double>(source)));
            return true;
        case currencyValue:
            field = LowWord(Load<int64_t>(source) / kCurrencyScale);
            return true;
        case decimalValue: {
            int64_t value = DecimalToInt64(Load<platform::Decimal>(source));
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
    return type == booleanValue || IsText(type) || type == blobValue || type == opaque64Value ||
           type == interfaceValue;
}

DbStatus ConvertToDate(const void* source, DbValueType sourceType, DbDateTime& result) {
    result = DbDateTime{-1, -1, 0};
    if (NumericField(source, sourceType, result.date))
        return Status_Success;
    switch (sourceType) {
        case dateValue:
        case timeValue:
        case dateTimeValue:
            result = Load<DbDateTime>(source);
            return Status_Success;
        default:
            if (CarriesNoDate(sourceType))
                return Status_ConversionFailed;
            VL_ASSERT_UNREACHABLE("false");
            return Status_ConversionFailed;
    }
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
            result = Load<DbDateTime>(source);
            return Status_Success;
        case dateTimeValue:
            result = Load<DbDateTime>(source);
            result.date = -1;
            return Status_Success;
        default:
            if (CarriesNoDate(sourceType))
                return Status_ConversionFailed;
            VL_ASSERT_UNREACHABLE("FALSE");
            return Status_ConversionFailed;
    }
}

platform::Decimal SignedDecimal(int64_t value) {
    platform::Decimal decimal{kDecimalReserved, 0, 0, 0, 0};
    decimal.lo64 = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    decimal.sign = value < 0 ? kDecimalNegative : 0;
    return decimal;
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
            result = SignedDecimal(Load<int16_t>(source));
            break;
        case dateValue:
        case dateTimeValue:
            result = SignedDecimal(Load<DbDateTime>(source).date);
            break;
        case timeValue:
            result = SignedDecimal(Load<DbDateTime>(source).time);
            break;
        case int64sValue:
        case opaque64Value:
        case interfaceValue:
            result = SignedDecimal(Load<int64_t>(source));
            break;
        case int64uValue:
            result.lo64 = Load<uint64_t>(source);
            break;
        case currencyValue:
            result = SignedDecimal(Load<int64_t>(source));
            result.scale = 4;
            break;
        case numberValue: {
            platform::Decimal converted{};
            if (platform::Succeeded(platform::DecimalFromDouble(Load<double>(source), &converted)))
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
            result = Load<platform::Decimal>(source);
            break;
        case blobValue:
            return Status_ConversionFailed;
        default:
            VL_ASSERT_UNREACHABLE("FALSE");
            return Status_ConversionFailed;
    }
    return Status_Success;
}

SWCharString DateText(int32_t date) {
    int16_t year = 0;
    uint16_t month = 0, day = 0;
    SplitDateNumber(date, year, month, day);
    return SLocale::FormatDate(kUserDefaultLcid,
                               SDate(year, static_cast<uint8_t>(month), static_cast<uint8_t>(day)));
}

SWCharString TimeText(const DbDateTime& value) {
    uint16_t hour = 0, minute = 0, second = 0;
    SplitTimeOfDay(value.time, hour, minute, second);
    STime time(static_cast<uint8_t>(hour), static_cast<uint8_t>(minute),
               static_cast<uint8_t>(second), static_cast<uint16_t>(value.nanoseconds / 1000000));
    return SLocale::FormatTime(kUserDefaultLcid, time, STimeZone::TZ_Local);
}

DbStatus ConvertToText(const void* source, DbValueType sourceType, void* destination,
                       uint32_t destinationBytes) {
    char16_t area[kWorkAreaUnits];
    switch (sourceType) {
        case int8sValue:
            StringConvFromInteger(area, static_cast<int>(Load<int8_t>(source)), 10);
            break;
        case int8uValue:
            StringConvFromInteger(area, static_cast<int>(Load<uint8_t>(source)), 10);
            break;
        case int16sValue:
            StringConvFromInteger(area, static_cast<int>(Load<int16_t>(source)), 10);
            break;
        case int16uValue:
            StringConvFromInteger(area, static_cast<int>(Load<uint16_t>(source)), 10);
            break;
        case int32sValue:
            StringConvFromInteger(area, static_cast<long>(Load<int32_t>(source)), 10);
            break;
        case int32uValue:
            StringConvFromInteger(area, static_cast<unsigned long>(Load<uint32_t>(source)), 10);
            break;
        case int64sValue:
            StringConvFromInteger(area, static_cast<long long>(Load<int64_t>(source)), 10);
            break;
        case int64uValue:
        case opaque64Value:
        case interfaceValue:
            StringConvFromInteger(area, static_cast<unsigned long long>(Load<uint64_t>(source)),
                                  10);
            break;
        case booleanValue:
            StringConvFromInteger(area, Load<uint16_t>(source) != 0 ? 1 : 0, 10);
            break;
        case numberValue: {
            double x = Load<double>(source);
            if (x != 0 && (std::fabs(x) < 1e-75 || std::fabs(x) > 1e75))
                return Status_ConversionFailed;
            char16_t text[SWCharStringConv::kCapacity];
            SWCharStringConv::ToString(text, x, 2);
            CopyNumberTextOut(text, destination, destinationBytes);
            return Status_Success;
        }
        case currencyValue:
        case decimalValue: {
            std::u16string text;
            platform::HResult hr;
            if (sourceType == currencyValue) {
                hr = platform::TextFromCurrency(platform::Currency{Load<int64_t>(source)}, 0, 0,
                                                &text);
            } else {
                platform::Decimal decimal = Load<platform::Decimal>(source);
                hr = platform::TextFromDecimal(&decimal, 0, 0, &text);
            }
            if (!platform::Succeeded(hr))
                text.clear();
            CopyNumberTextOut(text.c_str(), destination, destinationBytes);
            return Status_Success;
        }
        case dateValue:
            CopyTextOut(DateText(Load<DbDateTime>(source).date).c_str(), destination,
                        destinationBytes);
            return Status_Success;
        case timeValue:
            CopyTextOut(TimeText(Load<DbDateTime>(source)).c_str(), destination, destinationBytes);
            return Status_Success;
        case dateTimeValue: {
            DbDateTime value = Load<DbDateTime>(source);
            SWCharString text = DateText(value.date);
            text += u' ';
            text += TimeText(value);
            CopyTextOut(text.c_str(), destination, destinationBytes);
            return Status_Success;
        }
        case stringValue:
        case memoValue:
            VL_ASSERT_UNREACHABLE("FALSE");
            return Status_NotSupported;
        case blobValue:
            return Status_ConversionFailed;
        default:
            VL_ASSERT_UNREACHABLE("FALSE");
            return Status_ConversionFailed;
    }
    CopyNumberTextOut(area, destination, destinationBytes);
    return Status_Success;
}

}  // namespace

uint32_t FixedValueSize(DbValueType type) {
    if (type == blobValue)
        return 8;
    if (uint32_t bytes = FixedPayloadBytes(type))
        return bytes;
    if (!IsText(type))
        VL_ASSERT_UNREACHABLE("false");
    return 0;
}

DbStatus ConvertValue(const void* source, DbValueType sourceType, uint32_t flags, void* destination,
                      DbValueType destinationType, uint32_t destinationBytes) {
    if (source == nullptr || destinationType == unknownValue || destinationType == blobValue) {
        VL_ASSERT_UNREACHABLE("FALSE");
        return Status_InvalidArgument;
    }
    if (sourceType == memoValue)
        sourceType = stringValue;
    if (destinationType == memoValue)
        destinationType = stringValue;
    if (IsFixedSizeValue(destinationType) && FixedValueSize(destinationType) > destinationBytes)
        return Status_BufferTooSmall;

    const bool narrow = (flags & kConvertNarrowSource) != 0 && sourceType == stringValue;
    if (sourceType == destinationType) {
        if (sourceType == stringValue) {
            if (narrow) {
                SWCharString wide;
                wide.fromMBCS(static_cast<const char*>(source));
                if (destination != nullptr)
                    wide.toWChar(static_cast<char16_t*>(destination), destinationBytes / 2);
            } else {
                CopyTextOut(static_cast<const char16_t*>(source), destination, destinationBytes);
            }
            return Status_Success;
        }
        VL_ASSERT_TEXT(IsFixedSizeValue(destinationType), "IsFixedSizeValue (destType)");
        CopyValueBuffer(source, destination, destinationBytes, destinationType);
        return Status_Success;
    }

    // Converters write fixed-size results without looking further.
    if (destination == nullptr && destinationType != stringValue) {
        VL_ASSERT_UNREACHABLE("FALSE");
        return Status_InvalidArgument;
    }
    SWCharString widened;
    if (narrow) {
        widened.fromMBCS(static_cast<const char*>(source));
        source = widened.c_str();
    }

    DbStatus status = Status_Success;
    switch (destinationType) {
        case int8sValue:
        case int8uValue:
        case int16sValue:
        case int16uValue:
        case int32sValue:
        case int32uValue:
        case booleanValue:
        case int64sValue:
        case int64uValue:
            return ConvertToInteger(source, sourceType, destination, destinationType);
        case numberValue: {
            double result = 0;
            status = ConvertToNumber(source, sourceType, result);
            if (status == Status_Success)
                Store(destination, result);
            return status;
        }
        case currencyValue: {
            int64_t result = 0;
            status = ConvertToCurrency(source, sourceType, result);
            if (status == Status_Success)
                Store(destination, result);
            return status;
        }
        case dateValue: {
            DbDateTime result{};
            status = ConvertToDate(source, sourceType, result);
            if (status == Status_Success)
                Store(destination, DbDateTime{result.date, -1, 0});
            return status;
        }
        case timeValue: {
            DbDateTime result{};
            status = ConvertToTime(source, sourceType, result);
            if (status == Status_Success)
                Store(destination, result);
            return status;
        }
        case dateTimeValue: {
            DbDateTime result{};
            status = ConvertToDate(source, sourceType, result);
            if (status == Status_Success)
                Store(destination, result);
            return status;
        }
        case stringValue:
            return ConvertToText(source, sourceType, destination, destinationBytes);
        case decimalValue: {
            platform::Decimal result{};
            status = ConvertToDecimal(source, sourceType, result);
            if (status == Status_Success)
                Store(destination, result);
            return status;
        }
        default:
            VL_ASSERT_UNREACHABLE("false");
            return Status_ConversionFailed;
    }
}

DbStatus GetConvertedSize(const void* source, DbValueType sourceType, uint32_t flags,
                          DbValueType destinationType, uint32_t* size, bool exact) {
    *size = 0;
    if (source == nullptr || destinationType == blobValue || destinationType == unknownValue)
        return Status_InvalidArgument;
    if (uint32_t fixed = FixedValueSize(destinationType)) {
        *size = fixed;
        return Status_Success;
    }
    VL_ASSERT_TEXT(IsText(destinationType), "destType == stringValue");
    if (IsText(sourceType)) {
        size_t length;
        if (flags & kConvertNarrowSource) {
            SWCharString wide;
            wide.fromMBCS(static_cast<const char*>(source));
            length = wide.length();
        } else {
            length = TextLength(static_cast<const char16_t*>(source));
        }
        *size = static_cast<uint32_t>(length * 2 + 2);
        return Status_Success;
    }
    if (exact) {
        char16_t scratch[kScratchBytes / 2] = {};
        DbStatus status =
            ConvertValue(source, sourceType, flags, scratch, destinationType, kScratchBytes);
        if (status != Status_Success)
            return status;
        *size = static_cast<uint32_t>(TextLength(scratch) * 2 + 2);
        return Status_Success;
    }
    *size = kScratchBytes;
    return Status_Success;
}

DbStatus ConvertToNewBuffer(const void* source, DbValueType sourceType, uint32_t flags,
                            void** newBuffer, DbValueType destinationType) {
    if (IsText(sourceType) && IsText(destinationType) && (flags & kConvertNarrowSource) == 0) {
        *newBuffer = DuplicateWideString(static_cast<const char16_t*>(source));
        return Status_Success;
    }
    uint32_t size = 0;
    DbStatus status = GetConvertedSize(source, sourceType, flags, destinationType, &size, false);
    if (status != Status_Success)
        return status;
    void* buffer = AllocateHostBlock(size);
    std::memset(buffer, 0, size);
    status = ConvertValue(source, sourceType, flags, buffer, destinationType, size);
    if (status != Status_Success) {
        // A failed conversion wrote nothing, so the block holds no reference
        // or global block: released as it is, whatever the type code says.
        FreeHostBlock(buffer);
        *newBuffer = nullptr;
        return status;
    }
    *newBuffer = buffer;
    return Status_Success;
}

bool GetValueAsBoolean(const DbValue* value, bool defaultValue) {
    if (value == nullptr || value->kind != singleKind || value->data == nullptr)
        return defaultValue;
    if (value->valueType == booleanValue)
        return Load<uint16_t>(value->data) != 0;
    uint16_t flag = 0;
    if (ConvertValue(value->data, value->valueType, 0, &flag, booleanValue, sizeof flag) !=
        Status_Success)
        return defaultValue;
    return flag != 0;
}

SWCharString GetValueAsString(const DbValue* value) {
    if (value == nullptr || value->kind != singleKind || value->data == nullptr)
        return {};
    if (value->valueType == stringValue)
        return SWCharString(static_cast<const char16_t*>(value->data));
    void* text = nullptr;
    if (ConvertToNewBuffer(value->data, value->valueType, 0, &text, stringValue) != Status_Success)
        return {};
    SWCharString result(static_cast<const char16_t*>(text));
    FreeValueBuffer(text, stringValue);
    return result;
}
