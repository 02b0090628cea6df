// Dates and times in the user's locale: ICU's texts on Linux, Windows's own
// under Wine (whose default user locale is en-US; Linux names en_US).
#include <gtest/gtest.h>

#include <string>

#include "runtime/DateTime.h"
#include "runtime/SLocale.h"
#include "tests/support/TestSupport.h"

using testing_support::IsWindowsBuild;
using testing_support::SetEnvironment;
using testing_support::UnsetEnvironment;

namespace {

std::u16string Date(int16_t year, uint8_t month, uint8_t day) {
    return SLocale::FormatDate(kUserDefaultLcid, SDate(year, month, day)).str();
}

std::u16string Time(uint8_t hour, uint8_t minute, uint8_t second, uint16_t milliseconds = 0) {
    return SLocale::FormatTime(kUserDefaultLcid, STime(hour, minute, second, milliseconds),
                               STimeZone::TZ_Local)
        .str();
}

void UseLocale(const char* all, const char* time = nullptr, const char* lang = nullptr) {
    const char* names[] = {"LC_ALL", "LC_TIME", "LANG"};
    const char* values[] = {all, time, lang};
    for (int i = 0; i < 3; ++i) {
        values[i] ? SetEnvironment(names[i], values[i]) : UnsetEnvironment(names[i]);
    }
}

// Windows formats only the years of SYSTEMTIME (1601 to 30827) and knows no
// Julian calendar; ICU formats any year, Julian before 15 October 1582, and
// names the era of a year before 1, counting leap years as the date numbers do.
TEST(DateTimeText, UsEnglishDatesAndTimes) {
    UseLocale("en_US.UTF-8");
    const struct {
        int16_t year;
        uint8_t month, day;
        const char16_t* posix;
        const char16_t* windows;
    } dates[] = {
        {2000, 2, 29, u"2/29/2000", u"2/29/2000"},
        {30827, 12, 31, u"12/31/30827", u"12/31/30827"},
        {30828, 1, 1, u"1/1/30828", u""},
        {1582, 10, 4, u"10/4/1582", u""},
        {1500, 2, 29, u"2/29/1500", u""},  // a Julian leap year
        {45, 12, 25, u"12/25/0045", u""},
        {-4, 2, 29, u"2/29/0004 BC", u""},
        {-1, 2, 29, u"", u""},
        {1900, 2, 29, u"", u""},
        {2023, 4, 31, u"", u""},
        {0, 1, 1, u"", u""},
        {1582, 10, 5, u"", u""},  // the days the Gregorian reform skipped
    };
    for (const auto& row : dates) {
        EXPECT_EQ(Date(row.year, row.month, row.day), IsWindowsBuild() ? row.windows : row.posix)
            << row.year << "-" << +row.month << "-" << +row.day;
    }
    // ICU 72 writes U+202F NARROW NO-BREAK SPACE before the day period.
    const std::u16string pm = IsWindowsBuild() ? u" PM" : u"\u202FPM";
    EXPECT_EQ(Time(0, 0, 0), IsWindowsBuild() ? u"12:00:00 AM" : u"12:00:00\u202FAM");
    EXPECT_EQ(Time(23, 59, 59, 999), u"11:59:59" + pm);
    EXPECT_EQ(Time(24, 0, 0), u"");
    EXPECT_EQ(Time(12, 0, 0, 1000), u"");
    // The zone argument does not move the fields: they are local already.
    EXPECT_EQ(SLocale::FormatTime(kUserDefaultLcid, STime(13, 2, 3, 0), STimeZone::TZ_UTC).str(),
              u"1:02:03" + pm);
}

// The locale comes from LC_ALL, else LC_TIME, else LANG, read anew each
// time; an empty variable counts as unset, and "C", "POSIX", nothing or a
// locale ICU does not know mean en_US.
TEST(DateTimeText, LocaleVariables) {
    if (IsWindowsBuild()) {
        GTEST_SKIP() << "Windows takes the user's locale, not variables";
    }
    const char* de = "de_DE.UTF-8";
    const char* en = "en_US.UTF-8";
    const struct {
        const char *all, *time, *lang;
        const char16_t* date;
    } rows[] = {
        {de, en, en, u"01.01.1970"},
        {en, de, de, u"1/1/1970"},
        {"", de, en, u"01.01.1970"},
        {nullptr, "", de, u"01.01.1970"},
        {nullptr, nullptr, nullptr, u"1/1/1970"},
        {"C", de, de, u"1/1/1970"},
        {"de_DE.ISO-8859-15@euro", nullptr, nullptr, u"01.01.1970"},
        {"en_GB.UTF-8", nullptr, nullptr, u"01/01/1970"},
        {"xx_YY.UTF-8", nullptr, nullptr, u"1/1/1970"},
    };
    for (const auto& row : rows) {
        UseLocale(row.all, row.time, row.lang);
        EXPECT_EQ(Date(1970, 1, 1), row.date)
            << (row.all ? row.all : "-") << " " << (row.time ? row.time : "-") << " "
            << (row.lang ? row.lang : "-");
    }
    UseLocale(de);
    EXPECT_EQ(Date(-44, 3, 15), u"15.03.0044 v. Chr.");
    EXPECT_EQ(Time(13, 2, 3), u"13:02:03");
}

}  // namespace
