#include "host/CellValue.h"

#include <cstdio>

#include "values/Calendar.h"

namespace host {
namespace {

// Large enough for every fixed-length field; longer texts come back in a
// block of the driver's, given back at once.
constexpr uint32_t kFieldBufferBytes = 1024;

}  // namespace

void ReadCell(const DriverEntryPoints& api, DbRowsetRef rowset, int64_t fieldId, CellValue& cell) {
    alignas(8) unsigned char buffer[kFieldBufferBytes];
    void* value = buffer;
    uint16_t isNull = 0;
    uint32_t type = unknownValue, reserved = 0;
    cell.type = unknownValue;
    cell.isNull = false;
    cell.inBytes = false;
    cell.text.clear();
    if (api.DbReadFieldValue(rowset, fieldId, nullptr, nullptr, &value, sizeof buffer, &isNull,
                             &type, &reserved) != Status_Success)
        return;
    cell.type = type;
    cell.isNull = isNull != 0;
    switch (type) {
        case stringValue:
        case memoValue:
            if (value != nullptr)
                cell.text.assign(static_cast<const char16_t*>(value));
            break;
        case int32uValue:
            cell.number = *static_cast<const uint32_t*>(value);
            break;
        case booleanValue:
            cell.flag = *static_cast<const uint16_t*>(value) != 0;
            break;
        case dateTimeValue:
            cell.dateTime = *static_cast<const DbDateTime*>(value);
            break;
        default:
            break;
    }
    if (value != buffer)
        api.DbFreeFieldValue(value);
}

std::string DateTimeText(const DbDateTime& value) {
    if (value.date == -1)
        return "";
    int16_t year;
    uint16_t month, day, hour = 0, minute = 0, second = 0;
    SplitDateNumber(value.date, year, month, day);
    if (value.time >= 0)
        SplitTimeOfDay(value.time, hour, minute, second);
    if (year < 0 || year > 9999) {  // outside what four digits hold
        char text[48];
        std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02u:%02u:%02u.%03u", year, month, day,
                      hour, minute, second, value.nanoseconds / 1000000);
        return text;
    }
    // Digits by hand: this runs for every date of every row.
    std::string text = "0000-00-00T00:00:00.000";
    const auto put = [&text](size_t end, unsigned number, int digits) {
        for (int i = 0; i < digits; ++i, number /= 10)
            text[end - i] = static_cast<char>('0' + number % 10);
    };
    put(3, static_cast<unsigned>(year), 4);
    put(6, month, 2);
    put(9, day, 2);
    put(12, hour, 2);
    put(15, minute, 2);
    put(18, second, 2);
    put(22, value.nanoseconds / 1000000 % 1000, 3);
    return text;
}

}  // namespace host
