// Integers and doubles to text (against std::to_chars and std::from_chars),
// the locale-neutral integer reader, and dates and times in the user's locale:
// ICU's texts on Linux, Windows's own under Wine (whose default user locale is
// en-US; Linux names en_US).
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

// Written into a heap destination of exactly its capacity, so that the
// address sanitizer sees any write past it.
template <typename Integer>
std::u16string IntegerText(Integer value, int radix) {
    auto destination = std::make_unique<char16_t[]>(64);
    StringConvFromInteger(destination.get(), value, radix);
    return std::u16string(destination.get());
}

TEST(IntegerText, EveryTypeAndRadixAgainstToChars) {
    std::mt19937_64 random(20240601);
    for (int i = 0; i < 2000; ++i) {
        const uint64_t bits = i < 2 ? ~0ull << (i * 63) : random() >> (random() % 64);
        const int radix = i < 2 ? 2 : 2 + static_cast<int>(random() % 35);
        const auto check = [&](auto value) {
            char text[80];
            const auto end = std::to_chars(text, text + sizeof text, value, radix).ptr;
            const std::u16string expected(text, end);  // empty where it outgrows 64 units
            ASSERT_EQ(IntegerText(value, radix), expected.size() < 64 ? expected : u"");
        };
        std::apply(
            [&](auto... value) { (check(value), ...); },
            std::make_tuple(static_cast<int>(static_cast<uint32_t>(bits)),
                            static_cast<unsigned>(bits), static_cast<long>(bits),
                            static_cast<unsigned long>(bits), static_cast<long long>(bits), bits));
    }
    // 63 digits and the NUL fill the destination.
    EXPECT_EQ(IntegerText(~0ull >> 1, 2), std::u16string(63, u'1'));
    EXPECT_EQ(IntegerText(42, 37), u"");
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
            ASSERT_LE(text.size(), 24u);
            ASSERT_EQ(read.ptr, narrow.data() + narrow.size()) << narrow;
            ASSERT_EQ(std::memcmp(&back, &value, sizeof value), 0) << narrow;
        }
    }
}

TEST(NeutralNumber, WholeAsciiTextsOnly) {
    const auto table = ReferenceTable::LoadCases("numbers/neutral.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        int64_t value = 0;
        const bool ok = table.Field(row, "ok") == "1";
        const std::u16string text = UnescapeField16(row.fields[0]);
        EXPECT_EQ(NeutralString::ToNumber(SWCharString(text), value), ok);
        EXPECT_EQ(ok ? std::stoll(table.Field(row, "value")) : value, value);
    }
}

TEST(DateTimeText, RowsOfTheTable) {
    const ReferenceTable table = ReferenceTable::LoadCases("numbers/datetime.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        bool english = true;
        for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
            const std::string value = table.Field(row, name);
            value == "-" ? UnsetEnvironment(name) : SetEnvironment(name, value);
            english = english && (value == "-" || value == "en_US.UTF-8");
        }
        if (IsWindowsBuild() && !english)
            continue;
        int f[4] = {};
        const bool time = std::sscanf(table.Field(row, "date_or_time").c_str(), "%d%*c%d%*c%d%*c%d",
                                      &f[0], &f[1], &f[2], &f[3]) == 4;
        const auto u8 = [&](int i) { return static_cast<uint8_t>(f[i]); };
        const STime clock(u8(0), u8(1), u8(2), static_cast<uint16_t>(f[3]));
        const std::u16string text =
            time ? SLocale::FormatTime(kUserDefaultLcid, clock, STimeZone::TZ_Local).str()
                 : SLocale::FormatDate(kUserDefaultLcid, SDate(int16_t(f[0]), u8(1), u8(2))).str();
        // The zone argument does not move the fields: they are local already.
        EXPECT_EQ(
            time ? SLocale::FormatTime(kUserDefaultLcid, clock, STimeZone::TZ_UTC).str() : text,
            text);
        EXPECT_EQ(U8(text), table.Field(row, IsWindowsBuild() ? "windows" : "posix"));
    }
}

}  // namespace
