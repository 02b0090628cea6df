// Integers and doubles to text (against std::to_chars and std::from_chars),
// the locale-neutral integer reader, and dates and times in the user's locale.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <tuple>

#include "runtime/DateTime.h"
#include "runtime/NumberText.h"
#include "runtime/SLocale.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

TEST(IntegerText, EveryTypeAndRadixAgainstToChars) {
    std::mt19937_64 random(20240601);
    for (int i = 0; i < 2000; ++i) {
        // First the longest texts: 64, 63 (with the NUL, the whole destination) and 65 digits.
        const uint64_t bits =
            i < 3 ? ~0ull >> (i % 2) << (i / 2 * 63) : random() >> (random() % 64);
        const int radix = i < 3 ? 2 : 2 + static_cast<int>(random() % 35);
        const auto check = [&](auto value) {
            char t[80];
            const std::u16string expected(t, std::to_chars(t, t + 80, value, radix).ptr);
            auto out = std::make_unique<char16_t[]>(64);  // of its size: ASan sees an overrun
            StringConvFromInteger(out.get(), value, radix);
            ASSERT_EQ(std::u16string(out.get()), expected.size() < 64 ? expected : u"");  // not cut
        };
        std::apply(
            [&](auto... value) { (check(value), ...); },
            std::make_tuple(static_cast<int>(static_cast<uint32_t>(bits)),
                            static_cast<unsigned>(bits), static_cast<long>(bits),
                            static_cast<unsigned long>(bits), static_cast<long long>(bits), bits));
    }
    char16_t out[64] = {u'#'};
    StringConvFromInteger(out, 42, 37);
    EXPECT_EQ(out[0], u'\0');
    StringConvFromInteger(nullptr, 12345, 10);
}

std::u16string DoubleText(double value, int mode = 2) {
    auto destination = std::make_unique<char16_t[]>(SWCharStringConv::kCapacity);
    SWCharStringConv::ToString(destination.get(), value, mode);
    return std::u16string(destination.get());
}

TEST(DoubleText, ShortestTextsThatReadBack) {
    EXPECT_EQ(DoubleText(-0.0), u"-0");
    EXPECT_EQ(DoubleText(1e21), u"1e+21");
    EXPECT_EQ(DoubleText(123456789012345678.0), u"123456789012345680");
    EXPECT_EQ(DoubleText(1.0 / 3.0, 0), u"0.3333333333333333");  // every mode alike
    EXPECT_EQ(DoubleText(-std::nan("")), u"NaN");
    EXPECT_EQ(DoubleText(-HUGE_VAL), u"-Infinity");
    SWCharStringConv::ToString(nullptr, 1.5, 2);
    // Any finite double reads back exactly, in at most 24 units.
    std::mt19937_64 random(19700101);
    for (int i = 0; i < 20000; ++i) {
        const uint64_t bits = i == 0 ? 0x7FEFFFFFFFFFFFFFu : random();  // DBL_MAX first
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) {
            const std::u16string text = DoubleText(value);
            const std::string narrow(text.begin(), text.end());
            double back = 0;  // from_chars: Wine's msvcrt strtod is not exact to the last bit
            const auto read = std::from_chars(narrow.data(), narrow.data() + narrow.size(), back);
            ASSERT_TRUE(text.size() <= 24 && read.ptr == narrow.data() + narrow.size() &&
                        std::memcmp(&back, &value, sizeof value) == 0)
                << narrow;
        }
    }
}

TEST(NeutralNumber, WholeAsciiTextsOnly) {
    const auto table = ReferenceTable::LoadCases("numbers/neutral.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        int64_t value = 0;
        const bool ok = table.Field(row, "ok") == "1";
        EXPECT_EQ(NeutralString::ToNumber(SWCharString(UnescapeField16(row.fields[0])), value), ok);
        EXPECT_EQ(ok ? std::stoll(table.Field(row, "value")) : value, value);
    }
}

TEST(DateTimeText, RowsOfTheTable) {
    const ReferenceTable table = ReferenceTable::LoadCases("numbers/datetime.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        const std::string expected = table.Field(row, IsWindowsBuild() ? "windows" : "posix");
        if (expected == "-")
            continue;
        for (const char* name : {"LC_ALL", "LC_TIME", "LANG"})
            table.Field(row, name) == "-" ? UnsetEnvironment(name)
                                          : SetEnvironment(name, table.Field(row, name));
        int f[4] = {};
        const bool time = std::sscanf(table.Field(row, "date_or_time").c_str(), "%d%*c%d%*c%d%*c%d",
                                      &f[0], &f[1], &f[2], &f[3]) == 4;
        const STime clock{uint8_t(f[0]), uint8_t(f[1]), uint8_t(f[2]), uint16_t(f[3])};
        const SDate date{int16_t(f[0]), uint8_t(f[1]), uint8_t(f[2])};
        const std::u16string text =
            time ? SLocale::FormatTime(kUserDefaultLcid, clock, STimeZone::TZ_Local).str()
                 : SLocale::FormatDate(kUserDefaultLcid, date).str();
        const auto utc = SLocale::FormatTime(kUserDefaultLcid, clock, STimeZone::TZ_UTC).str();
        EXPECT_EQ(time ? utc : text, text);  // the zone does not move fields already local
        EXPECT_EQ(U8(text), expected);
    }
}

}  // namespace
