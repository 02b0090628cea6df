// Currency and decimal conversions, every row of oleaut.tsv, through two
// implementations in one process: the platform's (oleaut32 on the Windows
// build, which the tests run under Wine) and the portable arithmetic of
// formats/ (which the Linux platform layer uses). The table is Wine's: the
// Windows build's platform calls must give it exactly; everything else must
// give the documented result, which departs from Wine in the rows of
// kDocumented.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "formats/OleDecimal.h"
#include "platform/OleAutomation.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"

namespace platform {
namespace {

using testing_support::ReferenceTable;

// The conversions of one implementation, with the platform's signatures.
struct Implementation {
    const char* name;
    bool system;  // the platform's own calls: Wine's results on the Windows build
    HResult (*CurrencyFromText)(const char16_t*, uint32_t, uint32_t, Currency*);
    HResult (*CurrencyFromDecimal)(const Decimal*, Currency*);
    HResult (*DecimalFromText)(const char16_t*, uint32_t, uint32_t, Decimal*);
    HResult (*DecimalFromDouble)(double, Decimal*);
    HResult (*DoubleFromDecimal)(const Decimal*, double*);
    HResult (*TextFromCurrency)(Currency, uint32_t, uint32_t, std::u16string*);
    HResult (*TextFromDecimal)(const Decimal*, uint32_t, uint32_t, std::u16string*);
    HResult (*DecimalIntegerPart)(const Decimal*, Decimal*);
};

const Implementation kPlatform = {"Platform",        true,
                                  CurrencyFromText,  CurrencyFromDecimal,
                                  DecimalFromText,   DecimalFromDouble,
                                  DoubleFromDecimal, TextFromCurrency,
                                  TextFromDecimal,   DecimalIntegerPart};

// The portable arithmetic reads and writes the English forms whatever the
// locale.
const Implementation kPortable = {
    "Portable",
    false,
    [](const char16_t* t, uint32_t, uint32_t, Currency* o) {
        return formats::CurrencyFromText(t, o);
    },
    formats::CurrencyFromDecimal,
    [](const char16_t* t, uint32_t, uint32_t, Decimal* o) {
        return formats::DecimalFromText(t, o);
    },
    formats::DecimalFromDouble,
    formats::DoubleFromDecimal,
    [](Currency v, uint32_t, uint32_t, std::u16string* o) {
        return formats::TextFromCurrency(v, o);
    },
    [](const Decimal* v, uint32_t, uint32_t, std::u16string* o) {
        return formats::TextFromDecimal(v, o);
    },
    formats::DecimalIntegerPart,
};

// A result as the table writes it: the HRESULT column and the result column.
struct Departure {
    const char* api;
    const char* input;  // the input column, or its part before a space
    const char* hresult;
    const char* result;
};

// Where Wine departs from documented Windows (README, oleaut.tsv): the
// documented result, which the portable arithmetic and the Linux build give.
const Departure kDocumented[] = {
    // Currency text is parsed exactly, halves go to the even neighbour, and
    // &H/&O forms are numbers; Wine goes through a double.
    {"VarCyFromStr", "\"922337203685477.5807\"", "0x0", "9223372036854775807"},
    {"VarCyFromStr", "\"-922337203685477.5808\"", "0x0", "-9223372036854775808"},
    {"VarCyFromStr", "\"0.00005\"", "0x0", "0"},
    {"VarCyFromStr", "\"-0.00005\"", "0x0", "0"},
    {"VarCyFromStr", "\"0.00015\"", "0x0", "2"},
    {"VarCyFromStr", "\"0.00025\"", "0x0", "2"},
    {"VarCyFromStr", "\"-0.00015\"", "0x0", "-2"},
    {"VarCyFromStr", "\"-0.00025\"", "0x0", "-2"},
    {"VarCyFromStr", "\"&H10\"", "0x0", "160000"},
    {"VarCyFromStr", "\"&O17\"", "0x0", "150000"},
    // No DECIMAL has scale 29: the 29th decimal rounds off.
    {"VarDecFromStr", "\"0.00000000000000000000000000001\"", "0x0", "scale=0 lo32=0x0"},
    {"VarDecFromStr", "\"0.00000000000000000000000000005\"", "0x0", "scale=0 lo32=0x0"},
    {"VarBstrFromDec", "VarDecFromStr(\"0.00000000000000000000000000001\")", "0x80070057", ""},
    {"VarBstrFromDec", "VarDecFromStr(\"0.00000000000000000000000000005\")", "0x80070057", ""},
    {"VarBstrFromDec", "hand(lo=15,scale=29 invalid)", "0x80070057", ""},
    // Only sign 0x80 is negative, and a malformed sign is printed as given.
    {"VarBstrFromDec", "hand(sign=0x01 invalid)", "0x0", "\"1\""},
    // A double keeps 15 significant digits, whatever its size.
    {"VarDecFromR8", "1.0/3", "0x0", "scale=15 lo64=333333333333333"},
    {"VarDecFromR8", "2.0/3", "0x0", "scale=15 lo64=666666666666667"},
    {"VarDecFromR8", "123456789.123456789", "0x0", "scale=6 lo64=123456789123457"},
    {"VarDecFromR8", "1e28", "0x0", "hi32=0x204FCE5E lo64=0x3E25026110000000"},
    {"VarDecFromR8", "7.9228162514264337e28", "0x0", "hi32=0xFFFFFFFF lo64=0xFFFFDDCF122AC000"},
    {"VarDecFromR8", "9007199254740993.0", "0x0", "lo64=9007199254740990"},
    // The nearest double, where Wine misses it by an ulp.
    {"VarR8FromDec", "VarDecFromStr(\"7.9228162514264337593543950335\")", "0x0",
     "bits=0x401FB0F6BE506019"},
    {"VarR8FromDec", "VarDecFromStr(\"0.0000000000000000000000000001\")", "0x0",
     "bits=0x3A1FB0F6BE506019"},
    {"VarR8FromDec", "VarDecFromR8(1e-28)", "0x0", "bits=0x3A1FB0F6BE506019"},
    // Currency rounds to the nearest, halves to even; an overflow leaves the
    // output alone. Wine rounds up whatever is left and writes -2^63.
    {"VarCyFromDec", "VarDecFromStr(\"7.9228162514264337593543950335\")", "0x0", "79228"},
    {"VarCyFromDec", "hand(lo=15,scale=28)", "0x0", "0"},
    {"VarCyFromDec", "VarDecFromR8(1.0/3)", "0x0", "3333"},
    {"VarCyFromDec", "hand(-0.00025)", "0x0", "-2"},
    {"VarCyFromDec", "VarDecFromR8(9007199254740993.0)", "0x8002000A", "<unchanged>"},
    {"VarCyFromDec", "VarDecFromR8(1e15+0.3)", "0x8002000A", "<unchanged>"},
    // VarDecInt: the first integer at or below the value, however large.
    {"VarDecInt", "VarDecFromR8(-123.456)", "0x0", "sign=0x80 lo32=0x7C"},
    {"VarDecInt", "VarDecFromStr(\"-0.000001\")", "0x0", "sign=0x80 lo32=0x1"},
    {"VarDecInt", "hand(-0.00025)", "0x0", "sign=0x80 lo32=0x1"},
    {"VarDecInt", "VarDecFromStr(\"123456789012345678901234567.89\")", "0x0",
     "hi32=0x00661EFD lo64=0xF158F2A82C9F4B87"},
    {"VarDecInt", "hand(max,scale=4)", "0x0", "hi32=0x00068DB8 lo64=0xBAC710CB295E9E1B"},
};

bool Departs(const Departure& d, const std::string& api, const std::string& input) {
    if (api != d.api) {
        return false;
    }
    const size_t n = std::strlen(d.input);
    return input.compare(0, n, d.input) == 0 && (input.size() == n || input[n] == ' ');
}

// What an output holds before the call: a failing call must leave it so.
constexpr int64_t kUntouchedCurrency = 0x5A5A5A5A5A5A5A5A;
constexpr uint64_t kUntouchedDoubleBits = 0x5A5A5A5A5A5A5A5Au;
constexpr Decimal kUntouchedDecimal{0x5A5A, 0x5A, 0x5A, 0x5A5A5A5A, 0x5A5A5A5A5A5A5A5Au};
const std::u16string kUntouchedText = u"untouched";

// The number after `key` in `text`, 0 when there is none.
uint64_t After(const std::string& text, const std::string& key, int base) {
    const size_t at = text.find(key);
    return at == std::string::npos ? 0
                                   : std::strtoull(text.c_str() + at + key.size(), nullptr, base);
}

Decimal DecimalOf(const std::string& result) {
    Decimal d{};
    d.scale = static_cast<uint8_t>(After(result, "scale=", 10));
    d.sign = static_cast<uint8_t>(After(result, "sign=", 16));
    d.hi32 = static_cast<uint32_t>(After(result, "hi32=", 16));
    d.lo64 = (After(result, "mid32=", 16) << 32) + After(result, "lo32=", 16) +
             After(result, "lo64=", 0);  // kDocumented's shorthand
    return d;
}

// The input of a from-decimal row: "... -> -123.456 [scale 3]".
Decimal InputDecimal(const std::string& input) {
    std::string digits = input.substr(input.find(" -> ") + 4);
    digits = digits.substr(0, digits.find(' '));
    Decimal d{};
    d.scale = static_cast<uint8_t>(After(input, "[scale ", 10));
    d.sign = input.find("sign=0x01") != std::string::npos ? 0x01 : digits[0] == '-' ? 0x80 : 0;
    unsigned __int128 value = 0;
    for (char c : digits) {
        if (c >= '0' && c <= '9') {
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
    }
    d.hi32 = static_cast<uint32_t>(value >> 64);
    d.lo64 = static_cast<uint64_t>(value);
    return d;
}

bool SameValueFields(const Decimal& a, const Decimal& b) {
    return a.scale == b.scale && a.sign == b.sign && a.hi32 == b.hi32 && a.lo64 == b.lo64;
}

std::string Show(const Decimal& d) {
    return "{scale " + std::to_string(d.scale) + " sign " + std::to_string(d.sign) + " hi32 " +
           std::to_string(d.hi32) + " lo64 " + std::to_string(d.lo64) + "}";
}

void ExpectDecimal(HResult hr, const std::string& result, const Decimal& got) {
    if (hr == kSOk) {
        EXPECT_TRUE(SameValueFields(DecimalOf(result), got))
            << "expected " << result << ", got " << Show(got);
    } else {
        EXPECT_EQ(0, std::memcmp(&kUntouchedDecimal, &got, sizeof got)) << Show(got);
    }
}

std::string Narrow(const std::u16string& s) {
    std::string r;
    for (char16_t c : s) {
        r += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return r;
}

class OleAutomationTest : public ::testing::TestWithParam<const Implementation*> {};

// Each row calls its function and compares the outputs; a failed call must
// leave its output as it was.
TEST_P(OleAutomationTest, EveryReferenceRow) {
    const Implementation& impl = *GetParam();
    const bool wine = impl.system && testing_support::IsWindowsBuild();
    const ReferenceTable table = ReferenceTable::Load("oleaut.tsv");
    ASSERT_GT(table.rows().size(), 300u);
    int departures = 0;
    for (const ReferenceTable::Row& row : table.rows()) {
        SCOPED_TRACE(row.name);
        const std::string api = table.Field(row, "api");
        const std::string input = table.Field(row, "input");
        const std::string lcidField = table.Field(row, "lcid");
        const uint32_t lcid =
            lcidField == "-" ? 0 : static_cast<uint32_t>(std::stoul(lcidField, nullptr, 16));
        if (!wine && lcid != 0 && lcid != 0x0409) {  // ours knows the English forms only
            continue;
        }
        HResult hr = static_cast<HResult>(std::stoul(table.Field(row, "hresult"), nullptr, 16));
        std::string result = table.Field(row, "result");
        for (const Departure& d : kDocumented) {
            if (!wine && Departs(d, api, input)) {
                hr = static_cast<HResult>(std::stoul(d.hresult, nullptr, 16));
                result = d.result;
                ++departures;
            }
        }
        const std::u16string text =
            testing_support::UnescapeField16(testing_support::Unquoted(input));
        if (api == "VarCyFromStr" || api == "VarCyFromDec") {
            Currency out{kUntouchedCurrency};
            const Decimal in = api == "VarCyFromDec" ? InputDecimal(input) : Decimal{};
            EXPECT_EQ(hr, api == "VarCyFromStr" ? impl.CurrencyFromText(text.c_str(), lcid, 0, &out)
                                                : impl.CurrencyFromDecimal(&in, &out));
            EXPECT_EQ(result == "<unchanged>" ? kUntouchedCurrency : std::stoll(result), out.int64);
        } else if (api == "VarBstrFromCy" || api == "VarBstrFromDec") {
            std::u16string out = kUntouchedText;
            const Decimal in = api == "VarBstrFromDec" ? InputDecimal(input) : Decimal{};
            EXPECT_EQ(hr, api == "VarBstrFromCy"
                              ? impl.TextFromCurrency(Currency{std::stoll(input)}, lcid, 0, &out)
                              : impl.TextFromDecimal(&in, lcid, 0, &out));
            EXPECT_EQ(hr == kSOk ? testing_support::Unquoted(result) : Narrow(kUntouchedText),
                      Narrow(out));
        } else if (api == "VarDecFromStr" || api == "VarDecFromR8" || api == "VarDecInt") {
            Decimal out = kUntouchedDecimal;
            if (api == "VarDecFromStr") {
                EXPECT_EQ(hr, impl.DecimalFromText(text.c_str(), lcid, 0, &out));
            } else if (api == "VarDecFromR8") {
                const uint64_t bits = After(input, "bits=0x", 16);
                double value = 0;
                std::memcpy(&value, &bits, sizeof value);
                EXPECT_EQ(hr, impl.DecimalFromDouble(value, &out));
            } else {
                const Decimal in = InputDecimal(input);
                EXPECT_EQ(hr, impl.DecimalIntegerPart(&in, &out));
            }
            ExpectDecimal(hr, result, out);
        } else if (api == "VarR8FromDec") {
            const Decimal in = InputDecimal(input);
            double out = 0;
            std::memcpy(&out, &kUntouchedDoubleBits, sizeof out);
            EXPECT_EQ(hr, impl.DoubleFromDecimal(&in, &out));
            uint64_t bits = 0;
            std::memcpy(&bits, &out, sizeof bits);
            EXPECT_EQ(hr == kSOk ? After(result, "bits=0x", 16) : kUntouchedDoubleBits, bits);
        } else {
            EXPECT_EQ("VarDecFix", api);  // the platform offers no VarDecFix
        }
    }
    // Every documented departure met its row.
    EXPECT_EQ(wine ? 0 : static_cast<int>(std::size(kDocumented)), departures);
}

// Corners the table leaves out, for the documented arithmetic only: exact
// limits and halves, carries across the words, more digits than 96 bits hold.
TEST_P(OleAutomationTest, OwnCorners) {
    const Implementation& impl = *GetParam();
    if (impl.system && testing_support::IsWindowsBuild()) {
        GTEST_SKIP() << "Wine's results here are not documented behaviour";
    }
    Currency cy{kUntouchedCurrency};
    EXPECT_EQ(kSOk, impl.CurrencyFromText(u"922337203685477.58074", 0, 0, &cy));
    EXPECT_EQ(INT64_MAX, cy.int64);
    EXPECT_EQ(kDispOverflow, impl.CurrencyFromText(u"922337203685477.58075", 0, 0, &cy));
    EXPECT_EQ(kSOk, impl.CurrencyFromText(u"12345678901234567890123456789012345678901234567890e-40",
                                          0, 0, &cy));
    EXPECT_EQ(12345678901235, cy.int64);
    EXPECT_EQ(kSOk, impl.CurrencyFromText(u"-$1,234,567.891", 0, 0, &cy));
    EXPECT_EQ(-12345678910, cy.int64);
    const Decimal half{0, 5, 0, 0, 123445};
    EXPECT_EQ(kSOk, impl.CurrencyFromDecimal(&half, &cy));
    EXPECT_EQ(12344, cy.int64);
    const struct {
        const char16_t* text;
        Decimal value;
    } decimal[] = {
        {u"0.00000000184467440737095516155", {0, 28, 0, 1, 0}},
        {u"0.1234567890123456789012345678901234567890123456789012345",
         {0, 28, 0, 0x03FD35EB, 0x6D797A91BE38F34Fu}},
        {u"7.92281625142643375935439503355",
         {0, 27, 0, 0x19999999, 0x999999999999999Au}},  // one decimal fewer
        {u"79228162514264337593543950335.4", {0, 0, 0, 0xFFFFFFFF, UINT64_MAX}},
    };
    for (const auto& row : decimal) {
        Decimal out = kUntouchedDecimal;
        EXPECT_EQ(kSOk, impl.DecimalFromText(row.text, 0, 0, &out)) << Narrow(row.text);
        EXPECT_TRUE(SameValueFields(row.value, out)) << Narrow(row.text) << " " << Show(out);
    }
    Decimal out = kUntouchedDecimal;
    EXPECT_EQ(kSOk, impl.DecimalFromDouble(1234567890123455.0, &out));  // the 15th digit's half
    EXPECT_EQ(1234567890123460u, out.lo64);
    const Decimal big{0, 1, 0x80, 1, 5};  // -1844674407370955162.1
    EXPECT_EQ(kSOk, impl.DecimalIntegerPart(&big, &out));
    EXPECT_TRUE(SameValueFields(Decimal{0, 0, 0x80, 0, 1844674407370955163}, out)) << Show(out);
}

INSTANTIATE_TEST_SUITE_P(Both, OleAutomationTest, ::testing::Values(&kPlatform, &kPortable),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
}  // namespace platform
