// Day numbers of the value types' calendar: Julian before 15 October 1582,
// Gregorian from then on, no year 0.
#include <gtest/gtest.h>

#include "values/Calendar.h"

namespace {

TEST(Calendar, DayNumbersAndDatesThatDoNotExist) {
    const struct {
        int16_t year;
        uint16_t month, day;
        int32_t number;  // -1: not a date
    } cases[] = {
        {1970, 1, 1, 2440587},  {1, 1, 1, 1721423},      {-4713, 1, 1, 0},
        {1582, 10, 4, 2299159}, {1582, 10, 15, 2299160}, {1500, 2, 29, 2268991},
        {-4, 2, 29, 1720021},   {1600, 2, 29, 2305506},  {2000, 2, 29, 2451603},
        {1900, 2, 29, -1},      {2100, 2, 29, -1},       {-1, 2, 29, -1},  // 1 BC is no leap year
        {-4714, 1, 1, -1},      {2000, 13, 1, -1},       {2000, 1, 0, -1},
        {2000, 4, 31, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeDateNumber(c.year, c.month, c.day), c.number)
            << c.year << "-" << c.month << "-" << c.day;
}

// Every day from 4713 BC to AD 9999 splits back into the date that made it,
// and consecutive dates have consecutive numbers across the ten days of
// October 1582 that never happened.
TEST(Calendar, RoundTripOverEveryDay) {
    int32_t previous = -1;
    int failures = 0;
    for (int year = -4713; year <= 9999 && failures < 10; ++year) {
        for (uint16_t month = 1; month <= 12 && year != 0; ++month) {
            for (uint16_t day = 1; day <= 31; ++day) {
                const int32_t number = MakeDateNumber(static_cast<int16_t>(year), month, day);
                if (number == -1 || (year == 1582 && month == 10 && day >= 5 && day <= 14))
                    continue;
                int16_t y;
                uint16_t m, d;
                SplitDateNumber(number, y, m, d);
                if ((previous != -1 && number != previous + 1) || y != year || m != month ||
                    d != day) {
                    ADD_FAILURE() << year << "-" << month << "-" << day << " is " << number
                                  << ", splits into " << y << "-" << m << "-" << d;
                    ++failures;
                }
                previous = number;
            }
        }
    }
    EXPECT_EQ(previous, MakeDateNumber(9999, 12, 31));
}

TEST(Calendar, TimeOfDayAndSystemTime) {
    uint16_t h, m, s;
    SplitTimeOfDay(86399, h, m, s);
    EXPECT_EQ((std::tuple<int, int, int>(h, m, s)), std::make_tuple(23, 59, 59));
    const DbDateTime value =
        DateTimeFromSystemTime(platform::SystemTime{1970, 1, 4, 1, 13, 2, 3, 456});
    EXPECT_EQ(value.date, 2440587);
    EXPECT_EQ(value.time, 13 * 3600 + 2 * 60 + 3);
    EXPECT_EQ(value.nanoseconds, 456000000u);
    EXPECT_EQ(DateTimeFromSystemTime(platform::SystemTime{1900, 2, 0, 29, 0, 0, 0, 0}).date, -1);
}

}  // namespace
