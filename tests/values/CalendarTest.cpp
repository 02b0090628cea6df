// Day numbers of the value types' calendar: Julian before 15 October 1582,
// Gregorian from then on, no year 0.
#include <gtest/gtest.h>

#include "values/Calendar.h"

namespace {

struct DateCase {
    int16_t year;
    uint16_t month;
    uint16_t day;
    int32_t number;  // -1: not a date
};

TEST(Calendar, KnownDayNumbers) {
    const DateCase cases[] = {
        {2000, 1, 1, 2451544},  {1970, 1, 1, 2440587},   {1601, 1, 1, 2305813},
        {1, 1, 1, 1721423},     {-4713, 1, 1, 0},        {1582, 10, 15, 2299160},
        {1582, 10, 4, 2299159}, {2000, 2, 29, 2451603},  {1500, 2, 29, 2268991},
        {-4, 2, 29, 1720021},   {2024, 12, 31, 2460675}, {1600, 2, 29, 2305506},
    };
    for (const DateCase& c : cases)
        EXPECT_EQ(MakeDateNumber(c.year, c.month, c.day), c.number)
            << c.year << "-" << c.month << "-" << c.day;
}

TEST(Calendar, DatesThatDoNotExist) {
    const DateCase cases[] = {
        {1900, 2, 29, -1},                   // not a leap year in the Gregorian calendar
        {2100, 2, 29, -1}, {-1, 2, 29, -1},  // 1 BC is not a leap year by the Julian rule
        {-4714, 1, 1, -1}, {2000, 13, 1, -1}, {2000, 0, 1, -1},
        {2000, 1, 0, -1},  {2000, 4, 31, -1}, {2001, 2, 29, -1},
    };
    for (const DateCase& c : cases)
        EXPECT_EQ(MakeDateNumber(c.year, c.month, c.day), -1)
            << c.year << "-" << c.month << "-" << c.day;
}

TEST(Calendar, TheTenSkippedDaysAreConsecutiveNumbers) {
    EXPECT_EQ(MakeDateNumber(1582, 10, 15) - MakeDateNumber(1582, 10, 4), 1);
    int16_t year;
    uint16_t month, day;
    SplitDateNumber(2299159, year, month, day);
    EXPECT_EQ((std::tuple<int, int, int>(year, month, day)), std::make_tuple(1582, 10, 4));
    SplitDateNumber(2299160, year, month, day);
    EXPECT_EQ((std::tuple<int, int, int>(year, month, day)), std::make_tuple(1582, 10, 15));
}

// Every day from 4713 BC to AD 9999 splits back into the date that made it,
// and consecutive dates have consecutive numbers. 5 to 14 October 1582 never
// happened: they get the numbers of the days that followed.
TEST(Calendar, RoundTripOverEveryDay) {
    int32_t previous = -1;
    int failures = 0;
    for (int year = -4713; year <= 9999 && failures < 10; ++year) {
        if (year == 0)
            continue;
        for (uint16_t month = 1; month <= 12; ++month) {
            for (uint16_t day = 1; day <= 31; ++day) {
                if (year == 1582 && month == 10 && day >= 5 && day <= 14)
                    continue;
                int32_t number = MakeDateNumber(static_cast<int16_t>(year), month, day);
                if (number == -1)
                    continue;
                if (previous != -1 && number != previous + 1) {
                    ADD_FAILURE() << "gap before " << year << "-" << month << "-" << day;
                    ++failures;
                }
                previous = number;
                int16_t y;
                uint16_t m, d;
                SplitDateNumber(number, y, m, d);
                if (y != year || m != month || d != day) {
                    ADD_FAILURE() << year << "-" << month << "-" << day << " came back as " << y
                                  << "-" << m << "-" << d;
                    ++failures;
                }
            }
        }
    }
    EXPECT_EQ(previous, MakeDateNumber(9999, 12, 31));
}

TEST(Calendar, TimeOfDay) {
    struct {
        int32_t time;
        uint16_t hour, minute, second;
    } cases[] = {{0, 0, 0, 0}, {3661, 1, 1, 1}, {86399, 23, 59, 59}, {43200, 12, 0, 0}};
    for (const auto& c : cases) {
        uint16_t h, m, s;
        SplitTimeOfDay(c.time, h, m, s);
        EXPECT_EQ(h, c.hour) << c.time;
        EXPECT_EQ(m, c.minute) << c.time;
        EXPECT_EQ(s, c.second) << c.time;
    }
}

TEST(Calendar, DateTimeFromSystemTime) {
    platform::SystemTime time{1970, 1, 4, 1, 13, 2, 3, 456};
    DbDateTime value = DateTimeFromSystemTime(time);
    EXPECT_EQ(value.date, 2440587);
    EXPECT_EQ(value.time, 13 * 3600 + 2 * 60 + 3);
    EXPECT_EQ(value.nanoseconds, 456000000u);

    platform::SystemTime invalid{1900, 2, 0, 29, 0, 0, 0, 0};
    EXPECT_EQ(DateTimeFromSystemTime(invalid).date, -1);
}

}  // namespace
