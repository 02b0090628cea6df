#include "runtime/DateTime.h"

#include "platform/DateTimeText.h"
#include "runtime/SLocale.h"

// Every locale identifier formats in the user's default locale: the driver
// only ever passes kUserDefaultLcid.
SWCharString SLocale::FormatDate(uint32_t /*lcid*/, const SDate& date) {
    return SWCharString(platform::FormatUserShortDate(date.year, date.month, date.day));
}

// The fields are shown as they stand in either zone: a time of day without
// its date cannot be moved between zones reliably, and the driver's times
// are local already (TZ_Local).
SWCharString SLocale::FormatTime(uint32_t /*lcid*/, const STime& time, STimeZone /*zone*/) {
    return SWCharString(
        platform::FormatUserTime(time.hour, time.minute, time.second, time.milliseconds));
}
