// Day numbers of the calendar the value types use: 1 January 4713 BC is day
// 0; the Julian calendar before 15 October 1582, the Gregorian from then on.
#pragma once

#include <cstdint>

#include "platform/FileInformation.h"
#include "vldb/dbdriver.h"

// The day number of a date, or -1 when the date does not exist. Years have
// no year 0: -1 is 1 BC.
int32_t MakeDateNumber(int16_t year, uint16_t month, uint16_t day);

void SplitDateNumber(int32_t date, int16_t& year, uint16_t& month, uint16_t& day);

void SplitTimeOfDay(int32_t time, uint16_t& hour, uint16_t& minute, uint16_t& second);

DbDateTime DateTimeFromSystemTime(const platform::SystemTime& time);
