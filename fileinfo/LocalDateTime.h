// File times as the fields show them: the local date and time.
#pragma once

#include "platform/FindData.h"
#include "vldb/dbdriver.h"

// The local date and time of a file time; the null date-time (-1, -1, 0)
// for null or a time that cannot be converted.
DbDateTime LocalDateTimeFromFileTime(const platform::FileTime* fileTime);
