#include "host/CellValue.h"

#include <cstdio>

#include "host/Session.h"
#include "values/Calendar.h"

namespace host {
namespace {

// Large enough for every fixed-length field; longer texts come back in a
// block of the driver's, given back at once.
constexpr uint32_t kFieldBufferBytes = 1024;

}  // namespace

CellValue ReadCell(const DriverEntryPoints& api, DbRowsetRef rowset, int64_t fieldId) {
    alignas(8) unsigned char buffer[kFieldBufferBytes];
    void* value = buffer;
    uint16_t isNull = 0;
    uint32_t type = unknownValue, reserved = 0;
    CellValue cell;
    if (api.DbReadFieldValue(rowset, fieldId, nullptr, nullptr, &value, sizeof buffer, &isNull,
                             &type, &reserved) != Status_Success)
        return cell;
    cell.type = type;
    cell.isNull = isNull != 0;
    switch (type) {
        case stringValue:
        case memoValue:
            cell.text = DriverText(static_cast<const char16_t*>(value));
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
    return cell;
}

std::string DateTimeText(const DbDateTime& value) {
    if (value.date == -1)
        return "";
    int16_t year;
    uint16_t month, day, hour = 0, minute = 0, second = 0;
    SplitDateNumber(value.date, year, month, day);
    if (value.time >= 0)
        SplitTimeOfDay(value.time, hour, minute, second);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02u:%02u:%02u.%03u", year, month, day, hour,
                  minute, second, value.nanoseconds / 1000000);
    return text;
}

}  // namespace host
