#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/DateTime.h"
#include "runtime/SLocale.h"
#include "tests/platform/OnPlatform.h"

using testing_platform::kWindows;
using testing_platform::OnPlatform;

namespace {

std::u16string Date(int16_t year, uint8_t month, uint8_t day) {
    return SLocale::FormatDate(kUserDefaultLcid, SDate(year, month, day)).str();
}

std::u16string Time(uint8_t hour, uint8_t minute, uint8_t second, uint16_t milliseconds = 0) {
    return SLocale::FormatTime(kUserDefaultLcid, STime(hour, minute, second, milliseconds),
                               STimeZone::TZ_Local)
        .str();
}

#ifndef _WIN32
// Sets the locale variables for one test and puts them back after it; an
// absent value unsets the variable.
class ScopedLocaleVariables {
public:
    ScopedLocaleVariables(std::optional<std::string> all, std::optional<std::string> time,
                          std::optional<std::string> lang) {
        Set("LC_ALL", all);
        Set("LC_TIME", time);
        Set("LANG", lang);
    }
    ~ScopedLocaleVariables() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }
    ScopedLocaleVariables(const ScopedLocaleVariables&) = delete;
    ScopedLocaleVariables& operator=(const ScopedLocaleVariables&) = delete;

private:
    void Set(const std::string& name, const std::optional<std::string>& value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

ScopedLocaleVariables UseLocale(const char* name) {
    return ScopedLocaleVariables(name, std::nullopt, std::nullopt);
}
#endif

// The Windows tests run in Wine's default user locale, en-US; the Linux
// tests name en_US in LC_ALL.
class UsEnglish : public testing::Test {
protected:
#ifndef _WIN32
    ScopedLocaleVariables locale_ = UseLocale("en_US.UTF-8");
#endif
};

struct DateRow {
    int16_t year;
    uint8_t month;
    uint8_t day;
    const char16_t* posix;
    const char16_t* windows;
};

// Windows formats only the years of SYSTEMTIME (1601 to 30827) and knows no
// Julian calendar; ICU formats any year, Julian before 15 October 1582, and
// names the era of a year before 1.
const DateRow kUsDates[] = {
    {1970, 1, 1, u"1/1/1970", u"1/1/1970"},
    {2000, 2, 29, u"2/29/2000", u"2/29/2000"},
    {1999, 12, 31, u"12/31/1999", u"12/31/1999"},
    {2024, 7, 4, u"7/4/2024", u"7/4/2024"},
    {1601, 1, 1, u"1/1/1601", u"1/1/1601"},
    {9999, 12, 31, u"12/31/9999", u"12/31/9999"},
    {12345, 1, 1, u"1/1/12345", u"1/1/12345"},
    {30827, 12, 31, u"12/31/30827", u"12/31/30827"},
    {30828, 1, 1, u"1/1/30828", u""},
    {INT16_MAX, 12, 31, u"12/31/32767", u""},
    {1600, 12, 31, u"12/31/1600", u""},
    {1582, 10, 15, u"10/15/1582", u""},
    {1582, 10, 4, u"10/4/1582", u""},
    {1500, 2, 29, u"2/29/1500", u""},  // a Julian leap year
    {999, 6, 1, u"6/1/0999", u""},     // four digits still
    {45, 12, 25, u"12/25/0045", u""},
    {1, 1, 1, u"1/1/0001", u""},
    {-1, 12, 31, u"12/31/0001 BC", u""},
    {-44, 3, 15, u"3/15/0044 BC", u""},
    {-4713, 1, 1, u"1/1/4713 BC", u""},
    // Years before 1 are leap years when divisible by 4, as the date
    // numbers count them: 4 BC is one, 1 BC and 5 BC are not.
    {-4, 2, 29, u"2/29/0004 BC", u""},
    {-4, 3, 1, u"3/1/0004 BC", u""},
    {-4712, 2, 29, u"2/29/4712 BC", u""},
    {-1, 2, 29, u"", u""},
    {-5, 2, 29, u"", u""},
    {-1, 2, 28, u"2/28/0001 BC", u""},
    // Dates that do not exist.
    {1900, 2, 29, u"", u""},
    {2023, 2, 29, u"", u""},
    {2023, 4, 31, u"", u""},
    {2023, 13, 1, u"", u""},
    {2023, 0, 1, u"", u""},
    {2023, 1, 0, u"", u""},
    {2023, 1, 32, u"", u""},
    {0, 1, 1, u"", u""},
    {1582, 10, 5, u"", u""},  // the days the Gregorian reform skipped
    {1582, 10, 14, u"", u""},
};

TEST_F(UsEnglish, ShortDates) {
    for (const DateRow& row : kUsDates) {
        EXPECT_EQ(Date(row.year, row.month, row.day), OnPlatform(row.posix, row.windows))
            << row.year << "-" << +row.month << "-" << +row.day;
    }
}

struct TimeRow {
    uint8_t hour;
    uint8_t minute;
    uint8_t second;
    uint16_t milliseconds;
    const char16_t* posix;
    const char16_t* windows;
};

// ICU 72 writes U+202F NARROW NO-BREAK SPACE before the day period.
const TimeRow kUsTimes[] = {
    {0, 0, 0, 0, u"12:00:00\u202FAM", u"12:00:00 AM"},
    {13, 2, 3, 0, u"1:02:03\u202FPM", u"1:02:03 PM"},
    {13, 2, 3, 999, u"1:02:03\u202FPM", u"1:02:03 PM"},
    {9, 30, 0, 500, u"9:30:00\u202FAM", u"9:30:00 AM"},
    {12, 0, 0, 0, u"12:00:00\u202FPM", u"12:00:00 PM"},
    {23, 59, 59, 999, u"11:59:59\u202FPM", u"11:59:59 PM"},
    {24, 0, 0, 0, u"", u""},
    {12, 60, 0, 0, u"", u""},
    {12, 0, 60, 0, u"", u""},
    {12, 0, 0, 1000, u"", u""},
};

TEST_F(UsEnglish, Times) {
    for (const TimeRow& row : kUsTimes) {
        EXPECT_EQ(Time(row.hour, row.minute, row.second, row.milliseconds),
                  OnPlatform(row.posix, row.windows))
            << +row.hour << ":" << +row.minute << ":" << +row.second << "." << row.milliseconds;
    }
}

// The zone argument does not move the fields: they are local already.
TEST_F(UsEnglish, TimeZoneDoesNotShiftTheFields) {
    const STime time(13, 2, 3, 0);
    EXPECT_EQ(SLocale::FormatTime(kUserDefaultLcid, time, STimeZone::TZ_UTC),
              SLocale::FormatTime(kUserDefaultLcid, time, STimeZone::TZ_Local));
    EXPECT_EQ(SLocale::FormatDate(1033, SDate(1970, 1, 1)),
              SLocale::FormatDate(kUserDefaultLcid, SDate(1970, 1, 1)));
}

TEST_F(UsEnglish, ManyThreadsAtOnce) {
    const std::u16string date = Date(2024, 7, 4);
    const std::u16string time = Time(13, 2, 3);
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                mismatches[t] += Date(2024, 7, 4) != date;
                mismatches[t] += Time(13, 2, 3) != time;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

#ifndef _WIN32
TEST(GermanLocale, ShortDatesAndTimes) {
    const auto locale = UseLocale("de_DE.UTF-8");
    EXPECT_EQ(Date(1970, 1, 1), u"01.01.1970");
    EXPECT_EQ(Date(1582, 10, 15), u"15.10.1582");
    EXPECT_EQ(Date(1582, 10, 4), u"04.10.1582");
    EXPECT_EQ(Date(9999, 12, 31), u"31.12.9999");
    EXPECT_EQ(Date(12345, 6, 7), u"07.06.12345");
    EXPECT_EQ(Date(-44, 3, 15), u"15.03.0044 v. Chr.");
    EXPECT_EQ(Date(-4, 2, 29), u"29.02.0004 v. Chr.");
    EXPECT_EQ(Time(0, 0, 0), u"00:00:00");
    EXPECT_EQ(Time(13, 2, 3), u"13:02:03");
}

// The locale comes from LC_ALL, else LC_TIME, else LANG; an empty variable
// counts as unset, and "C", "POSIX", nothing or an unknown locale mean en_US.
TEST(LocaleVariables, WhichVariableWins) {
    struct Row {
        std::optional<std::string> all, time, lang;
        const char16_t* date;
    };
    const Row rows[] = {
        {"de_DE.UTF-8", "en_US.UTF-8", "en_US.UTF-8", u"01.01.1970"},
        {"en_US.UTF-8", "de_DE.UTF-8", "de_DE.UTF-8", u"1/1/1970"},
        {std::nullopt, "de_DE.UTF-8", "en_US.UTF-8", u"01.01.1970"},
        {"", "de_DE.UTF-8", "en_US.UTF-8", u"01.01.1970"},
        {std::nullopt, std::nullopt, "de_DE.UTF-8", u"01.01.1970"},
        {std::nullopt, "", "de_DE.UTF-8", u"01.01.1970"},
        {std::nullopt, std::nullopt, std::nullopt, u"1/1/1970"},
        {"", "", "", u"1/1/1970"},
        {"C", "de_DE.UTF-8", "de_DE.UTF-8", u"1/1/1970"},
        {"POSIX", std::nullopt, std::nullopt, u"1/1/1970"},
        {"C.UTF-8", std::nullopt, std::nullopt, u"1/1/1970"},
        {"de_DE", std::nullopt, std::nullopt, u"01.01.1970"},
        {"de_DE@euro", std::nullopt, std::nullopt, u"01.01.1970"},
        {"de_DE.ISO-8859-15@euro", std::nullopt, std::nullopt, u"01.01.1970"},
        {"en_GB.UTF-8", std::nullopt, std::nullopt, u"01/01/1970"},
        {"de_AT.UTF-8", std::nullopt, std::nullopt, u"01.01.1970"},
        // A locale ICU has no data for, whatever it met before.
        {"xx_YY.UTF-8", std::nullopt, std::nullopt, u"1/1/1970"},
        {std::nullopt, "de_DE.UTF-8", std::nullopt, u"01.01.1970"},
        {std::nullopt, "zz", std::nullopt, u"1/1/1970"},
    };
    for (const Row& row : rows) {
        const ScopedLocaleVariables locale(row.all, row.time, row.lang);
        EXPECT_EQ(Date(1970, 1, 1), row.date)
            << row.all.value_or("(unset)") << " " << row.time.value_or("(unset)") << " "
            << row.lang.value_or("(unset)");
    }
}

// A locale read before is not kept when the variables change.
TEST(LocaleVariables, ChangesAreSeenAtOnce) {
    {
        const auto locale = UseLocale("de_DE.UTF-8");
        EXPECT_EQ(Time(13, 2, 3), u"13:02:03");
    }
    {
        const auto locale = UseLocale("en_US.UTF-8");
        EXPECT_EQ(Time(13, 2, 3), u"1:02:03\u202FPM");
    }
    {
        const auto locale = UseLocale("de_DE.UTF-8");
        EXPECT_EQ(Date(2024, 7, 4), u"04.07.2024");
    }
}
#endif

}  // namespace
