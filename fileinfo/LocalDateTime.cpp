#include "fileinfo/LocalDateTime.h"

#include "platform/FileInformation.h"
#include "values/Calendar.h"

namespace {

constexpr DbDateTime kNoDateTime{-1, -1, 0};

}  // namespace

DbDateTime LocalDateTimeFromFileTime(const platform::FileTime* fileTime) {
    platform::FileTime local;
    platform::SystemTime time;
    if (fileTime == nullptr || !platform::FileTimeToLocalFileTime(*fileTime, local) ||
        !platform::FileTimeToSystemTime(local, time))
        return kNoDateTime;
    return DateTimeFromSystemTime(time);
}
