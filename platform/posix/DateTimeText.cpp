#include "platform/DateTimeText.h"

#include <unicode/datefmt.h>
#include <unicode/fieldpos.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/udat.h>
#include <unicode/unistr.h>
#include <unicode/ures.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/posix/UserLocale.h"

namespace platform {
namespace {

// The locale name of the user's time texts, as the C library would pick it:
// codeset and modifier dropped ("de_DE.UTF-8" is "de_DE").
std::string UserLocaleName() {
    const std::string name = EnvironmentLanguage(LC_TIME);
    return name.empty() ? "en_US" : name;
}

// A two-digit year ("yy") becomes four digits; other year fields already
// show the whole year. Quoted literal text is left alone.
icu::UnicodeString WidenYear(const icu::UnicodeString& pattern) {
    icu::UnicodeString widened;
    bool quoted = false;
    int32_t i = 0;
    while (i < pattern.length()) {
        const char16_t unit = pattern[i];
        if (unit == u'\'') {
            quoted = !quoted;
        }
        if (quoted || unit != u'y') {
            widened.append(unit);
            ++i;
            continue;
        }
        int32_t end = i;
        while (end < pattern.length() && pattern[end] == u'y') {
            ++end;
        }
        if (end - i == 2) {
            widened.append(u"yyyy");
        } else {
            widened.append(pattern, i, end - i);
        }
        i = end;
    }
    return widened;
}

bool HasEra(const icu::UnicodeString& pattern) {
    bool quoted = false;
    for (int32_t i = 0; i < pattern.length(); ++i) {
        if (pattern[i] == u'\'') {
            quoted = !quoted;
        } else if (!quoted && pattern[i] == u'G') {
            return true;
        }
    }
    return false;
}

struct Formatters {
    std::unique_ptr<icu::SimpleDateFormat> date;
    // The same with the era: a year before 1 is shown as its BC year
    // (1 BC is 1), which would otherwise read as a year AD.
    std::unique_ptr<icu::SimpleDateFormat> dateWithEra;
    std::unique_ptr<icu::SimpleDateFormat> time;
};

// The fields are local already: formatting them in GMT shows them unshifted.
std::unique_ptr<icu::SimpleDateFormat> MakeFormat(icu::DateFormat* created) {
    std::unique_ptr<icu::DateFormat> format(created);
    auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format.get());
    if (simple == nullptr) {
        return nullptr;
    }
    format.release();
    simple->setTimeZone(*icu::TimeZone::getGMT());
    return std::unique_ptr<icu::SimpleDateFormat>(simple);
}

// For a name it has no data for, ICU would use its default locale, which
// depends on the process's history; such a name gets en_US, like no name.
icu::Locale LocaleOf(const std::string& name) {
    UErrorCode status = U_ZERO_ERROR;
    UResourceBundle* bundle = ures_open(nullptr, name.c_str(), &status);
    const bool known = U_SUCCESS(status) && status != U_USING_DEFAULT_WARNING;
    ures_close(bundle);
    return icu::Locale(known ? name.c_str() : "en_US");
}

Formatters MakeFormatters(const std::string& name) {
    const icu::Locale locale = LocaleOf(name);
    Formatters formatters;
    formatters.date =
        MakeFormat(icu::DateFormat::createDateInstance(icu::DateFormat::kShort, locale));
    if (formatters.date != nullptr) {
        icu::UnicodeString pattern;
        formatters.date->toPattern(pattern);
        pattern = WidenYear(pattern);
        formatters.date->applyPattern(pattern);
        formatters.dateWithEra.reset(formatters.date->clone());
        if (!HasEra(pattern)) {
            formatters.dateWithEra->applyPattern(icu::UnicodeString(pattern).append(u" G"));
        }
    }
    formatters.time =
        MakeFormat(icu::DateFormat::createTimeInstance(icu::DateFormat::kMedium, locale));
    return formatters;
}

// Formatters per locale name; SimpleDateFormat may not be used by two
// threads at once, so every use holds the lock.
std::mutex gLock;
std::map<std::string, Formatters> gFormatters;

const Formatters& FormattersFor(const std::string& name) {
    auto found = gFormatters.find(name);
    if (found == gFormatters.end()) {
        found = gFormatters.emplace(name, MakeFormatters(name)).first;
    }
    return found->second;
}

// Our calendar: Gregorian from 15 October 1582, Julian before, years
// numbered without a 0 and a year before 1 a leap year when divisible by 4
// (4 BC, 8 BC, ...), as the driver's date numbers count them.
bool IsLeapYear(int32_t year) {
    if (year < 1582) {
        return year % 4 == 0;
    }
    return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
}

bool IsValidDate(int32_t year, uint32_t month, uint32_t day) {
    static constexpr uint32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year == 0 || month < 1 || month > 12 || day < 1) {
        return false;
    }
    // The ten days the Gregorian reform skipped.
    if (year == 1582 && month == 10 && day > 4 && day < 15) {
        return false;
    }
    return day <= kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

// The instant of a date's midnight in GMT. GregorianCalendar is Julian
// before 15 October 1582 by default, like ours; without leniency a date it
// does not have fails.
std::optional<UDate> Instant(int32_t year, uint32_t month, uint32_t day) {
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar calendar(*icu::TimeZone::getGMT(), icu::Locale::getRoot(), status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    calendar.setLenient(false);
    calendar.clear();
    calendar.set(UCAL_ERA, year < 0 ? icu::GregorianCalendar::BC : icu::GregorianCalendar::AD);
    calendar.set(UCAL_YEAR, year < 0 ? -year : year);
    calendar.set(UCAL_MONTH, static_cast<int32_t>(month - 1));
    calendar.set(UCAL_DATE, static_cast<int32_t>(day));
    const UDate instant = calendar.getTime(status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    return instant;
}

std::u16string Text(const icu::UnicodeString& text) {
    return std::u16string(text.getBuffer(), static_cast<size_t>(text.length()));
}

}  // namespace

std::u16string FormatUserShortDate(int32_t year, uint32_t month, uint32_t day) {
    if (!IsValidDate(year, month, day)) {
        return {};
    }
    // ICU's leap years before the year 1 are 1 BC, 5 BC, ...; ours are 4 BC,
    // 8 BC, ... So our 29 February of such a year is written as that of 1 BC
    // with the year's own text put in its place.
    const bool earlyLeapDay = year < 0 && month == 2 && day == 29;
    const std::optional<UDate> instant = Instant(year, month, day);
    const std::optional<UDate> yearInstant = earlyLeapDay ? Instant(year, 2, 28) : instant;
    const std::optional<UDate> leapDayInstant = earlyLeapDay ? Instant(-1, 2, 29) : instant;
    if (!yearInstant || !leapDayInstant) {
        return {};
    }

    const std::string name = UserLocaleName();
    std::lock_guard<std::mutex> lock(gLock);
    const Formatters& formatters = FormattersFor(name);
    icu::SimpleDateFormat* format = year < 0 ? formatters.dateWithEra.get() : formatters.date.get();
    if (format == nullptr) {
        return {};
    }
    icu::UnicodeString text;
    if (!earlyLeapDay) {
        format->format(*instant, text);
        return Text(text);
    }
    icu::FieldPosition leapDayYear(UDAT_YEAR_FIELD);
    icu::FieldPosition ownYear(UDAT_YEAR_FIELD);
    icu::UnicodeString ownText;
    format->format(*leapDayInstant, text, leapDayYear);
    format->format(*yearInstant, ownText, ownYear);
    text.replace(leapDayYear.getBeginIndex(),
                 leapDayYear.getEndIndex() - leapDayYear.getBeginIndex(), ownText,
                 ownYear.getBeginIndex(), ownYear.getEndIndex() - ownYear.getBeginIndex());
    return Text(text);
}

std::u16string FormatUserTime(uint32_t hour, uint32_t minute, uint32_t second,
                              uint32_t milliseconds) {
    if (hour > 23 || minute > 59 || second > 59 || milliseconds > 999) {
        return {};
    }
    const UDate instant = ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + milliseconds;

    const std::string name = UserLocaleName();
    std::lock_guard<std::mutex> lock(gLock);
    const Formatters& formatters = FormattersFor(name);
    if (formatters.time == nullptr) {
        return {};
    }
    icu::UnicodeString text;
    formatters.time->format(instant, text);
    return Text(text);
}

}  // namespace platform
