#include "values/ValueToText.h"

#include <cmath>
#include <string>

#include "platform/OleAutomation.h"
#include "runtime/DateTime.h"
#include "runtime/Diagnostics.h"
#include "runtime/NumberText.h"
#include "runtime/SLocale.h"
#include "runtime/StringFunctions.h"
#include "values/Calendar.h"
#include "values/NumericConversion.h"
#include "values/PayloadAccess.h"

namespace {

// Assertion reports name one unit for all the conversions.
constexpr const char* kSourceUnit = "dbconvert";

// Number texts are made in a work area of 80 units, keeping 79 characters.
constexpr size_t kWorkAreaUnits = 80;

// Number texts keep their first 79 characters, as the work area holds.
void CopyNumberTextOut(const char16_t* text, void* destination, uint32_t destinationBytes) {
    char16_t area[kWorkAreaUnits];
    CopyString(area, kWorkAreaUnits, text);
    CopyTextOut(area, destination, destinationBytes);
}

// The decimal text of the integer types and of booleans (0 or 1) into
// `area`; false for other types.
bool IntegerText(const void* source, DbValueType sourceType, char16_t* area) {
    int64_t narrow = 0;
    if (LoadNarrowInteger(source, sourceType, narrow)) {
        StringConvFromInteger(area, static_cast<long long>(narrow), 10);
        return true;
    }
    switch (sourceType) {
        case int64sValue:
            StringConvFromInteger(area, static_cast<long long>(LoadPayload<int64_t>(source)), 10);
            return true;
        case int64uValue:
        case opaque64Value:
        case interfaceValue:
            StringConvFromInteger(
                area, static_cast<unsigned long long>(LoadPayload<uint64_t>(source)), 10);
            return true;
        case booleanValue:
            StringConvFromInteger(area, LoadPayload<uint16_t>(source) != 0 ? 1 : 0, 10);
            return true;
        default:
            return false;
    }
}

// Doubles other than zero have a text only between 1e-75 and 1e75 in size.
DbStatus DoubleText(double x, void* destination, uint32_t destinationBytes) {
    if (x != 0 && (std::fabs(x) < 1e-75 || std::fabs(x) > 1e75))
        return Status_ConversionFailed;
    char16_t text[SWCharStringConv::kCapacity];
    SWCharStringConv::ToString(text, x, 2);
    CopyNumberTextOut(text, destination, destinationBytes);
    return Status_Success;
}

// A currency or decimal text that cannot be made is the empty text.
std::u16string CurrencyOrDecimalText(const void* source, DbValueType sourceType) {
    std::u16string text;
    platform::HResult hr;
    if (sourceType == currencyValue) {
        hr = platform::TextFromCurrency(platform::Currency{LoadPayload<int64_t>(source)}, 0, 0,
                                        &text);
    } else {
        platform::Decimal decimal = LoadPayload<platform::Decimal>(source);
        hr = platform::TextFromDecimal(&decimal, 0, 0, &text);
    }
    if (!platform::Succeeded(hr))
        text.clear();
    return text;
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

// The date, the time, or both with a space between.
SWCharString DateTimeText(const DbDateTime& value, DbValueType sourceType) {
    if (sourceType == dateValue)
        return DateText(value.date);
    if (sourceType == timeValue)
        return TimeText(value);
    SWCharString text = DateText(value.date);
    text += u' ';
    text += TimeText(value);
    return text;
}

}  // namespace

void CopyTextOut(const char16_t* text, void* destination, uint32_t destinationBytes) {
    if (destination == nullptr || destinationBytes < 2)
        return;
    CopyString(static_cast<char16_t*>(destination), destinationBytes / 2, text);
}

DbStatus ConvertToText(const void* source, DbValueType sourceType, void* destination,
                       uint32_t destinationBytes) {
    char16_t area[kWorkAreaUnits];
    if (IntegerText(source, sourceType, area)) {
        CopyNumberTextOut(area, destination, destinationBytes);
        return Status_Success;
    }
    switch (sourceType) {
        case numberValue:
            return DoubleText(LoadPayload<double>(source), destination, destinationBytes);
        case currencyValue:
        case decimalValue:
            CopyNumberTextOut(CurrencyOrDecimalText(source, sourceType).c_str(), destination,
                              destinationBytes);
            return Status_Success;
        case dateValue:
        case timeValue:
        case dateTimeValue:
            CopyTextOut(DateTimeText(LoadPayload<DbDateTime>(source), sourceType).c_str(),
                        destination, destinationBytes);
            return Status_Success;
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
}
