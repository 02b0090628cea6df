// Currency and decimal conversions, held to the same vectors on both builds,
// through two implementations in one process: the platform's (oleaut32 on
// the Windows build, which the tests run under Wine) and the portable
// arithmetic of formats/ (which the Linux platform layer uses).
// Where Wine departs from the documented behaviour (it parses currency through
// a double, rounds some halves away from zero, lets scale 29 through, ...),
// a row states both results: the documented one, which the Linux build gives,
// and Wine's, which the Windows build gets under Wine.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "formats/OleDecimal.h"
#include "platform/OleAutomation.h"

namespace platform {
namespace {

bool IsWindowsBuild() {
#ifdef _WIN32
    return true;
#else
    return false;
#endif
}

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

const Implementation kPlatform = {
    "Platform",        true,
    CurrencyFromText,  CurrencyFromDecimal,
    DecimalFromText,   DecimalFromDouble,
    DoubleFromDecimal, TextFromCurrency,
    TextFromDecimal,   DecimalIntegerPart,
};

// The portable arithmetic reads and writes the English forms whatever the
// locale: the platform's locale and flags arguments are dropped.
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

// The implementation the running case tests.
const Implementation* current = &kPlatform;

const Implementation& Api() {
    return *current;
}

// Whether the running case calls Wine rather than our own arithmetic.
bool CallsWine() {
    return IsWindowsBuild() && Api().system;
}

class OleAutomationTest : public ::testing::TestWithParam<const Implementation*> {
protected:
    void SetUp() override { current = GetParam(); }
};

constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();
constexpr int64_t kInt64Min = std::numeric_limits<int64_t>::min();

// What an output holds before the call: a failing call must leave it so.
constexpr int64_t kUntouchedCurrency = 0x5A5A5A5A5A5A5A5A;
constexpr uint64_t kUntouchedDoubleBits = 0x5A5A5A5A5A5A5A5Au;
const std::u16string kUntouchedText = u"untouched";

constexpr Decimal Dec(uint8_t scale, uint8_t sign, uint32_t hi32, uint64_t lo64) {
    return Decimal{0, scale, sign, hi32, lo64};
}
constexpr Decimal kUntouchedDecimal{0x5A5A, 0x5A, 0x5A, 0x5A5A5A5A, 0x5A5A5A5A5A5A5A5Au};
constexpr Decimal kZero = Dec(0, 0, 0, 0);
constexpr uint32_t kAll32 = 0xFFFFFFFFu;
constexpr uint64_t kAll64 = 0xFFFFFFFFFFFFFFFFu;

std::string Narrow(const std::u16string& s) {
    std::string r;
    for (char16_t c : s) {
        if (c >= 0x20 && c < 0x7F) {
            r += static_cast<char>(c);
        } else {
            char buf[12];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
            r += buf;
        }
    }
    return r;
}

std::string Show(const Decimal& d) {
    char buf[96];
    std::snprintf(buf, sizeof buf,
                  "{scale %u sign 0x%02x hi32 0x%08" PRIx32 " lo64 0x%016" PRIx64 "}", d.scale,
                  d.sign, d.hi32, d.lo64);
    return buf;
}

std::string Show(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g (0x%016" PRIx64 ")", v, bits);
    return buf;
}

uint64_t Bits(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

double FromBits(uint64_t bits) {
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// The value's fields, without the reserved word (a VARIANT's type when the
// DECIMAL sits in one: some calls set it, some leave it).
bool SameValueFields(const Decimal& a, const Decimal& b) {
    return a.scale == b.scale && a.sign == b.sign && a.hi32 == b.hi32 && a.lo64 == b.lo64;
}

bool SameBytes(const Decimal& a, const Decimal& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// One row's expectation: the documented result, and Wine's where it departs.
template <typename T>
struct Expectation {
    T documented;
    T wine;
    const T& Get() const { return CallsWine() ? wine : documented; }
};

template <typename T>
Expectation<T> Both(T same) {
    return {same, same};
}

template <typename T>
Expectation<T> Departs(T documented, T wine) {
    return {documented, wine};
}

struct CurrencyResult {
    HResult hr;
    int64_t value;  // the output after the call
};
struct DecimalResult {
    HResult hr;
    Decimal value;
};
struct TextResult {
    HResult hr;
    std::u16string text;
};
struct DoubleResult {
    HResult hr;
    uint64_t bits;
};

CurrencyResult Cy(int64_t value) {
    return {kSOk, value};
}
CurrencyResult CyFails(HResult hr) {
    return {hr, kUntouchedCurrency};
}
// Fails, yet writes this to the output.
CurrencyResult CyFailsWriting(HResult hr, int64_t written) {
    return {hr, written};
}
DecimalResult Ok(Decimal value) {
    return {kSOk, value};
}
DecimalResult DecFails(HResult hr) {
    return {hr, kUntouchedDecimal};
}
TextResult Text(const char16_t* text) {
    return {kSOk, text};
}
TextResult TextFails(HResult hr) {
    return {hr, kUntouchedText};
}
DoubleResult Double(uint64_t bits) {
    return {kSOk, bits};
}
DoubleResult DoubleFails(HResult hr) {
    return {hr, kUntouchedDoubleBits};
}

void ExpectDecimal(const DecimalResult& expected, HResult hr, const Decimal& got) {
    EXPECT_EQ(expected.hr, hr);
    if (expected.hr == kSOk) {
        EXPECT_TRUE(SameValueFields(expected.value, got))
            << "expected " << Show(expected.value) << ", got " << Show(got);
    } else {
        EXPECT_TRUE(SameBytes(expected.value, got))
            << "expected " << Show(expected.value) << ", got " << Show(got);
    }
}

// ---------------------------------------------------------------------------
// Text to currency

struct CurrencyTextRow {
    const char16_t* text;
    Expectation<CurrencyResult> expected;
};

CurrencyTextRow Row(const char16_t* text, CurrencyResult same) {
    return {text, Both(same)};
}
CurrencyTextRow Row(const char16_t* text, CurrencyResult documented, CurrencyResult wine) {
    return {text, {documented, wine}};
}

const CurrencyTextRow kCurrencyFromText[] = {
    Row(u"12.3456", Cy(123456)),
    Row(u"1,234.5", Cy(12345000)),
    Row(u" 7 ", Cy(70000)),
    Row(u"1e3", Cy(10000000)),
    Row(u"1E+3", Cy(10000000)),
    Row(u"1e-5", Cy(0)),
    Row(u"1e14", Cy(1000000000000000000)),
    Row(u"+3", Cy(30000)),
    Row(u".5", Cy(5000)),
    Row(u"5.", Cy(50000)),
    Row(u"1,2,3", Cy(1230000)),
    Row(u"12,34", Cy(12340000)),
    Row(u"$5", Cy(50000)),
    Row(u"(5)", Cy(-50000)),
    Row(u"5-", Cy(-50000)),
    Row(u"\t5", Cy(50000)),
    Row(u"5\n", Cy(50000)),
    Row(u"12.34565", Cy(123456)),  // a half after an even digit stays
    Row(u"12.34575", Cy(123458)),  // a half after an odd digit goes up
    Row(u"0.000049999", Cy(0)),
    Row(u"abc", CyFails(kDispTypeMismatch)),
    Row(u"", CyFails(kDispTypeMismatch)),
    Row(u" ", CyFails(kDispTypeMismatch)),
    Row(u"-", CyFails(kDispTypeMismatch)),
    Row(u"1.2.3", CyFails(kDispTypeMismatch)),
    Row(u"1 234", CyFails(kDispTypeMismatch)),
    Row(u"-5-", CyFails(kDispTypeMismatch)),
    Row(u"0x10", CyFails(kDispTypeMismatch)),
    Row(u"1d3", CyFails(kDispTypeMismatch)),
    Row(u"1.5e", CyFails(kDispTypeMismatch)),
    Row(u"1.#INF", CyFails(kDispTypeMismatch)),
    Row(u"NaN", CyFails(kDispTypeMismatch)),
    Row(u"Infinity", CyFails(kDispTypeMismatch)),
    Row(u"\u0663", CyFails(kDispTypeMismatch)),  // Arabic-Indic three
    Row(u"\uFF15", CyFails(kDispTypeMismatch)),  // full-width five
    Row(u"1e15", CyFails(kDispOverflow)),
    Row(u"922337203685477.5808", CyFails(kDispOverflow)),
    Row(u"-922337203685477.5809", CyFails(kDispOverflow)),
    // Wine parses through a double, which cannot hold the extremes exactly
    // and rounds the binary neighbour of a half.
    Row(u"922337203685477.5807", Cy(kInt64Max), CyFails(kDispOverflow)),
    Row(u"-922337203685477.5808", Cy(kInt64Min), CyFails(kDispOverflow)),
    Row(u"0.00005", Cy(0), Cy(1)),
    Row(u"-0.00005", Cy(0), Cy(-1)),
    Row(u"0.00015", Cy(2), Cy(1)),
    Row(u"0.00025", Cy(2), Cy(3)),
    Row(u"-0.00015", Cy(-2), Cy(-1)),
    Row(u"-0.00025", Cy(-2), Cy(-3)),
    // Hexadecimal and octal forms are part of the standard parse; Wine
    // refuses them for currency.
    Row(u"&H10", Cy(160000), CyFails(kDispOverflow)),
    Row(u"&O17", Cy(150000), CyFails(kDispOverflow)),
    // Own corners.
    Row(u"922337203685477.58074", Cy(kInt64Max), CyFails(kDispOverflow)),
    Row(u"922337203685477.58075", CyFails(kDispOverflow)),
    Row(u"-922337203685477.58085", Cy(kInt64Min), CyFails(kDispOverflow)),
    Row(u"1.00005", Cy(10000), Cy(10001)),
    Row(u"-1.00015", Cy(-10002)),
    Row(u"0.000150000000000000000000000001", Cy(2), Cy(1)),
    Row(u"00000000000000000000000000000000000000000000000000000000000012.5", Cy(125000)),
    Row(u"12345678901234567890123456789012345678901234567890e-40", Cy(12345678901235)),
    Row(u"0.0000000000000000000000000000000000000000000000000000000000000009", Cy(0)),
    Row(u"100000000000000000000000000000000000000000", CyFails(kDispOverflow)),
    Row(u"1e-99999", Cy(0)),
    Row(u"1e99999", CyFails(kDispOverflow)),
    Row(u"0e99999", Cy(0)),
    Row(u"-$1,234,567.891", Cy(-12345678910)),
    Row(u"(5", CyFails(kDispTypeMismatch)),
    Row(u"5)", CyFails(kDispTypeMismatch)),
    Row(u"5 5", CyFails(kDispTypeMismatch)),
    Row(u".", CyFails(kDispTypeMismatch)),
    Row(u"e5", CyFails(kDispTypeMismatch)),
};

TEST_P(OleAutomationTest, CurrencyFromText) {
    for (const CurrencyTextRow& row : kCurrencyFromText) {
        SCOPED_TRACE(Narrow(row.text));
        const CurrencyResult& e = row.expected.Get();
        Currency out{kUntouchedCurrency};
        EXPECT_EQ(e.hr, Api().CurrencyFromText(row.text, 0, 0, &out));
        EXPECT_EQ(e.value, out.int64);
    }
}

// English (United States) named outright reads the same as the default.
TEST_P(OleAutomationTest, CurrencyFromTextInUnitedStatesEnglish) {
    const struct {
        const char16_t* text;
        int64_t value;
    } rows[] = {
        {u"1,234.5", 12345000},
        {u"12,3456", 1234560000},
        {u"12.3456", 123456},
        {u"1.234,5", 12345},  // separators after the point are passed over
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Narrow(row.text));
        Currency out{kUntouchedCurrency};
        EXPECT_EQ(kSOk, Api().CurrencyFromText(row.text, 0x0409, 0, &out));
        EXPECT_EQ(row.value, out.int64);
    }
}

// ---------------------------------------------------------------------------
// Currency to text

TEST_P(OleAutomationTest, TextFromCurrency) {
    const struct {
        int64_t count;
        const char16_t* text;
    } rows[] = {
        {0, u"0"},
        {1, u"0.0001"},
        {10000, u"1"},
        {123456, u"12.3456"},
        {-5, u"-0.0005"},
        {-123456789, u"-12345.6789"},
        {kInt64Max, u"922337203685477.5807"},
        {kInt64Min, u"-922337203685477.5808"},
        {5000, u"0.5"},
        {100, u"0.01"},
        {12345678900000, u"1234567890"},
        {-10000, u"-1"},
        {-1000, u"-0.1"},
        {10, u"0.001"},
        {100000000, u"10000"},
        {1234567, u"123.4567"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.count);
        std::u16string out = kUntouchedText;
        EXPECT_EQ(kSOk, Api().TextFromCurrency(Currency{row.count}, 0, 0, &out));
        EXPECT_EQ(Narrow(row.text), Narrow(out));
    }
}

// ---------------------------------------------------------------------------
// Text to decimal

struct DecimalTextRow {
    const char16_t* text;
    Expectation<DecimalResult> expected;
};

DecimalTextRow Row(const char16_t* text, DecimalResult same) {
    return {text, Both(same)};
}
DecimalTextRow Row(const char16_t* text, DecimalResult documented, DecimalResult wine) {
    return {text, {documented, wine}};
}

const DecimalTextRow kDecimalFromText[] = {
    Row(u"1.5", Ok(Dec(1, 0, 0, 15))),
    Row(u"-0.000001", Ok(Dec(6, 0x80, 0, 1))),
    Row(u"79228162514264337593543950335", Ok(Dec(0, 0, kAll32, kAll64))),
    Row(u"-79228162514264337593543950335", Ok(Dec(0, 0x80, kAll32, kAll64))),
    Row(u"79228162514264337593543950336", DecFails(kDispOverflow)),
    Row(u"7.9228162514264337593543950335", Ok(Dec(28, 0, kAll32, kAll64))),
    Row(u"0.0000000000000000000000000001", Ok(Dec(28, 0, 0, 1))),
    Row(u"1e-3", Ok(Dec(3, 0, 0, 1))),
    Row(u"1.00", Ok(Dec(0, 0, 0, 1))),  // trailing zeros are not kept
    Row(u"-0", Ok(kZero)),
    Row(u"2.5", Ok(Dec(1, 0, 0, 25))),
    Row(u"-2.5", Ok(Dec(1, 0x80, 0, 25))),
    Row(u"-1.5", Ok(Dec(1, 0x80, 0, 15))),
    Row(u"0.9999", Ok(Dec(4, 0, 0, 9999))),
    Row(u"1,000", Ok(Dec(0, 0, 0, 1000))),
    Row(u"1E28", Ok(Dec(0, 0, 0x204FCE5E, 0x3E25026110000000))),
    Row(u"1E29", DecFails(kDispOverflow)),
    Row(u" 42 ", Ok(Dec(0, 0, 0, 42))),
    Row(u"123456789012345678901234567.89", Ok(Dec(2, 0, 0x27E41B32, 0x46BEC9B16E398115))),
    Row(u"abc", DecFails(kDispTypeMismatch)),
    Row(u"", DecFails(kDispTypeMismatch)),
    // Wine keeps a 29th decimal and returns scale 29, which no DECIMAL may
    // have; the value rounds to 28 decimals.
    Row(u"0.00000000000000000000000000001", Ok(kZero), Ok(Dec(29, 0, 0, 1))),
    Row(u"0.00000000000000000000000000005", Ok(kZero), Ok(Dec(29, 0, 0, 5))),
    Row(u"0.00000000000000000000000000015", Ok(Dec(28, 0, 0, 2)), Ok(Dec(29, 0, 0, 15))),
    Row(u"0.00000000000000000000000000025", Ok(Dec(28, 0, 0, 2)), Ok(Dec(29, 0, 0, 25))),
    // The round-up at the 28th decimal carries from the low 64 bits into the high 32.
    Row(u"0.00000000184467440737095516155", Ok(Dec(28, 0, 1, 0)),
        Ok(Dec(29, 0, 9, 0xFFFFFFFFFFFFFFFBu))),
    // Own corners.
    Row(u"0.12345678901234567890123456785", Ok(Dec(28, 0, 0x03FD35EB, 0x6D797A91BE38F34Eu)),
        Ok(Dec(29, 0, 0x27E41B32, 0x46BEC9B16E398111u))),
    // Digits beyond what 96 bits hold are rounded off, not an overflow (the
    // parse only loses precision); Wine reports an overflow.
    Row(u"0.1234567890123456789012345678901234567890123456789012345",
        Ok(Dec(28, 0, 0x03FD35EB, 0x6D797A91BE38F34Fu)), DecFails(kDispOverflow)),
    Row(u"7.92281625142643375935439503354", Ok(Dec(28, 0, kAll32, kAll64)),
        DecFails(kDispOverflow)),
    // Rounding at 28 decimals overflows 96 bits: one decimal fewer.
    Row(u"7.92281625142643375935439503355", Ok(Dec(27, 0, 0x19999999, 0x999999999999999Au)),
        DecFails(kDispOverflow)),
    Row(u"79228162514264337593543950335.4", Ok(Dec(0, 0, kAll32, kAll64)), DecFails(kDispOverflow)),
    Row(u"79228162514264337593543950335.5", DecFails(kDispOverflow)),
    Row(u"12345678901234567890123456789.5", Ok(Dec(0, 0, 0x27E41B32, 0x46BEC9B16E398116u)),
        DecFails(kDispOverflow)),
    Row(u"1234567890123456789012345678.9", Ok(Dec(1, 0, 0x27E41B32, 0x46BEC9B16E398115u))),
    Row(u"18446744073709551616", Ok(Dec(0, 0, 1, 0))),
    Row(u"-18446744073709551615", Ok(Dec(0, 0x80, 0, kAll64))),
    Row(u"4294967296", Ok(Dec(0, 0, 0, 0x100000000u))),
    Row(u"1e-40", Ok(kZero), Ok(Dec(40, 0, 0, 1))),
    Row(u"-1e-40", Ok(kZero), Ok(Dec(40, 0x80, 0, 1))),
    Row(u"1e99999", DecFails(kDispOverflow)),
    Row(u"$1,234.5", Ok(Dec(1, 0, 0, 12345))),
    Row(u"(1.5)", Ok(Dec(1, 0x80, 0, 15))),
    Row(u"1.5-", Ok(Dec(1, 0x80, 0, 15))),
    Row(u"1 5", DecFails(kDispTypeMismatch)),
};

TEST_P(OleAutomationTest, DecimalFromText) {
    for (const DecimalTextRow& row : kDecimalFromText) {
        SCOPED_TRACE(Narrow(row.text));
        Decimal out = kUntouchedDecimal;
        const HResult hr = Api().DecimalFromText(row.text, 0, 0, &out);
        ExpectDecimal(row.expected.Get(), hr, out);
    }
}

// ---------------------------------------------------------------------------
// Double to decimal

struct DecimalDoubleRow {
    const char* name;
    double value;
    Expectation<DecimalResult> expected;
};

DecimalDoubleRow Row(const char* name, double value, DecimalResult same) {
    return {name, value, Both(same)};
}
DecimalDoubleRow Row(const char* name, double value, DecimalResult documented, DecimalResult wine) {
    return {name, value, {documented, wine}};
}

const DecimalDoubleRow kDecimalFromDouble[] = {
    Row("0.1", 0.1, Ok(Dec(1, 0, 0, 1))),
    Row("1e20", 1e20, Ok(Dec(0, 0, 5, 0x6BC75E2D63100000))),
    Row("-2.5", -2.5, Ok(Dec(1, 0x80, 0, 25))),
    Row("2.5", 2.5, Ok(Dec(1, 0, 0, 25))),
    Row("0.5", 0.5, Ok(Dec(1, 0, 0, 5))),
    Row("1.5", 1.5, Ok(Dec(1, 0, 0, 15))),
    Row("0.0", 0.0, Ok(kZero)),
    Row("-0.0", -0.0, Ok(kZero)),
    Row("0.1+0.2", 0.1 + 0.2, Ok(Dec(1, 0, 0, 3))),
    Row("1e15+0.3", 1e15 + 0.3, Ok(Dec(0, 0, 0, 1000000000000000))),
    Row("-123.456", -123.456, Ok(Dec(3, 0x80, 0, 123456))),
    Row("1e-28", 1e-28, Ok(Dec(28, 0, 0, 1))),
    Row("5e-29", 5e-29, Ok(kZero)),
    Row("1e-29", 1e-29, Ok(kZero)),
    Row("1e-30", 1e-30, Ok(kZero)),
    Row("denorm_min", std::numeric_limits<double>::denorm_min(), Ok(kZero)),
    Row("8e28", 8e28, DecFails(kDispOverflow)),
    Row("+Inf", std::numeric_limits<double>::infinity(), DecFails(kDispOverflow)),
    Row("-Inf", -std::numeric_limits<double>::infinity(), DecFails(kDispOverflow)),
    Row("NaN", std::numeric_limits<double>::quiet_NaN(), DecFails(kDispBadVarType)),
    // Windows keeps 15 significant digits; Wine keeps up to 16, or every
    // digit of a large double.
    Row("1.0/3", 1.0 / 3, Ok(Dec(15, 0, 0, 333333333333333)), Ok(Dec(16, 0, 0, 3333333333333333))),
    Row("2.0/3", 2.0 / 3, Ok(Dec(15, 0, 0, 666666666666667)), Ok(Dec(16, 0, 0, 6666666666666666))),
    Row("123456789.123456789", 123456789.123456789, Ok(Dec(6, 0, 0, 123456789123457)),
        Ok(Dec(7, 0, 0, 1234567891234568))),
    Row("1e28", 1e28, Ok(Dec(0, 0, 0x204FCE5E, 0x3E25026110000000)),
        Ok(Dec(0, 0, 0x204FCE5E, 0x3E25020000000000))),
    Row("2^96", 7.9228162514264337e28, Ok(Dec(0, 0, kAll32, 0xFFFFDDCF122AC000u)),
        Ok(Dec(0, 0, kAll32, 0xFFFFFFFFFFFFFFFAu))),
    Row("2^53+1", 9007199254740993.0, Ok(Dec(0, 0, 0, 9007199254740990)),
        Ok(Dec(0, 0, 0, 9007199254740992))),
    // Own corners: a half at the 15th digit goes to the even neighbour.
    Row("1234567890123455", 1234567890123455.0, Ok(Dec(0, 0, 0, 1234567890123460)),
        Ok(Dec(0, 0, 0, 1234567890123455))),
    Row("1234567890123465", 1234567890123465.0, Ok(Dec(0, 0, 0, 1234567890123460)),
        Ok(Dec(0, 0, 0, 1234567890123465))),
    Row("999999999999999.875", 999999999999999.875, Ok(Dec(0, 0, 0, 1000000000000000))),
    Row("0.000123456789012345678", 0.000123456789012345678, Ok(Dec(18, 0, 0, 123456789012346)),
        Ok(Dec(19, 0, 0, 1234567890123457))),
    Row("-1e-5", -1e-5, Ok(Dec(5, 0x80, 0, 1))),
    // Small values round once, at the 28th decimal: the double nearest
    // 2.5e-28 lies above the half.
    Row("2.5e-28", 2.5e-28, Ok(Dec(28, 0, 0, 3))),
    Row("1.5e-28", 1.5e-28, Ok(Dec(28, 0, 0, 2))),
};

TEST_P(OleAutomationTest, DecimalFromDouble) {
    for (const DecimalDoubleRow& row : kDecimalFromDouble) {
        SCOPED_TRACE(row.name);
        Decimal out = kUntouchedDecimal;
        const HResult hr = Api().DecimalFromDouble(row.value, &out);
        ExpectDecimal(row.expected.Get(), hr, out);
    }
}

// ---------------------------------------------------------------------------
// Conversions from a decimal

struct FromDecimalRow {
    const char* name;
    Decimal in;
    Expectation<TextResult> text;
    Expectation<DoubleResult> number;
    Expectation<CurrencyResult> currency;
    Expectation<DecimalResult> integer;  // VarDecInt: toward negative infinity
};

constexpr Decimal kMax = Dec(0, 0, kAll32, kAll64);

const FromDecimalRow kFromDecimal[] = {
    {"1.5", Dec(1, 0, 0, 15), Both(Text(u"1.5")), Both(Double(0x3FF8000000000000)), Both(Cy(15000)),
     Both(Ok(Dec(0, 0, 0, 1)))},
    {"2.5", Dec(1, 0, 0, 25), Both(Text(u"2.5")), Both(Double(0x4004000000000000)), Both(Cy(25000)),
     Both(Ok(Dec(0, 0, 0, 2)))},
    {"-2.5", Dec(1, 0x80, 0, 25), Both(Text(u"-2.5")), Both(Double(0xC004000000000000)),
     Both(Cy(-25000)), Both(Ok(Dec(0, 0x80, 0, 3)))},
    {"-1.5", Dec(1, 0x80, 0, 15), Both(Text(u"-1.5")), Both(Double(0xBFF8000000000000)),
     Both(Cy(-15000)), Both(Ok(Dec(0, 0x80, 0, 2)))},
    {"0.9999", Dec(4, 0, 0, 9999), Both(Text(u"0.9999")), Both(Double(0x3FEFFF2E48E8A71E)),
     Both(Cy(9999)), Both(Ok(kZero))},
    {"1", Dec(0, 0, 0, 1), Both(Text(u"1")), Both(Double(0x3FF0000000000000)), Both(Cy(10000)),
     Both(Ok(Dec(0, 0, 0, 1)))},
    {"0.001", Dec(3, 0, 0, 1), Both(Text(u"0.001")), Both(Double(0x3F50624DD2F1A9FC)), Both(Cy(10)),
     Both(Ok(kZero))},
    {"1000", Dec(0, 0, 0, 1000), Both(Text(u"1000")), Both(Double(0x408F400000000000)),
     Both(Cy(10000000)), Both(Ok(Dec(0, 0, 0, 1000)))},
    {"0.3", Dec(1, 0, 0, 3), Both(Text(u"0.3")), Both(Double(0x3FD3333333333333)), Both(Cy(3000)),
     Both(Ok(kZero))},
    {"0.6666666666666666", Dec(16, 0, 0, 6666666666666666), Both(Text(u"0.6666666666666666")),
     Both(Double(0x3FE5555555555555)), Both(Cy(6667)), Both(Ok(kZero))},
    {"123456789.1234568", Dec(7, 0, 0, 1234567891234568), Both(Text(u"123456789.1234568")),
     Both(Double(0x419D6F34547E6B76)), Both(Cy(1234567891235)), Both(Ok(Dec(0, 0, 0, 123456789)))},
    {"-123.456", Dec(3, 0x80, 0, 123456), Both(Text(u"-123.456")), Both(Double(0xC05EDD2F1A9FBE77)),
     Both(Cy(-1234560)),
     Departs(Ok(Dec(0, 0x80, 0, 124)), Ok(Dec(0, 0x80, 0, 123)))},  // Wine truncates here
    {"0.00015", Dec(5, 0, 0, 15), Both(Text(u"0.00015")), Both(Double(0x3F23A92A30553261)),
     Both(Cy(2)), Both(Ok(kZero))},
    {"max", kMax, Both(Text(u"79228162514264337593543950335")), Both(Double(0x45F0000000000000)),
     Both(CyFails(kDispOverflow)), Both(Ok(kMax))},
    {"-max", Dec(0, 0x80, kAll32, kAll64), Both(Text(u"-79228162514264337593543950335")),
     Both(Double(0xC5F0000000000000)), Both(CyFails(kDispOverflow)),
     Both(Ok(Dec(0, 0x80, kAll32, kAll64)))},
    {"1E28", Dec(0, 0, 0x204FCE5E, 0x3E25026110000000),
     Both(Text(u"10000000000000000000000000000")), Both(Double(0x45C027E72F1F1281)),
     Both(CyFails(kDispOverflow)), Both(Ok(Dec(0, 0, 0x204FCE5E, 0x3E25026110000000)))},
    {"9999999999999999583119736832", Dec(0, 0, 0x204FCE5E, 0x3E25020000000000),
     Both(Text(u"9999999999999999583119736832")), Both(Double(0x45C027E72F1F1281)),
     Both(CyFails(kDispOverflow)), Both(Ok(Dec(0, 0, 0x204FCE5E, 0x3E25020000000000)))},
    {"negative zero", Dec(0, 0x80, 0, 0), Both(Text(u"0")), Both(Double(0)), Both(Cy(0)),
     Both(Ok(Dec(0, 0x80, 0, 0)))},
    {"7.9228162514264337593543950335 max scale 28", Dec(28, 0, kAll32, kAll64),
     Both(Text(u"7.9228162514264337593543950335")),
     // Wine computes in doubles and misses the nearest one by an ulp.
     Departs(Double(0x401FB0F6BE506019), Double(0x401FB0F6BE50601A)),
     // Wine rounds up whenever anything is left beyond 4 decimals.
     Departs(Cy(79228), Cy(79229)), Both(Ok(Dec(0, 0, 0, 7)))},
    {"-7.9228162514264337593543950335", Dec(28, 0x80, kAll32, kAll64),
     Both(Text(u"-7.9228162514264337593543950335")),
     Departs(Double(0xC01FB0F6BE506019), Double(0xC01FB0F6BE50601A)),
     Departs(Cy(-79228), Cy(-79229)), Both(Ok(Dec(0, 0x80, 0, 8)))},
    {"1e-28", Dec(28, 0, 0, 1), Both(Text(u"0.0000000000000000000000000001")),
     Departs(Double(0x3A1FB0F6BE506019), Double(0x3A1FB0F6BE50601A)), Both(Cy(0)), Both(Ok(kZero))},
    {"1.5e-27", Dec(28, 0, 0, 15), Both(Text(u"0.0000000000000000000000000015")),
     Both(Double(0x3A5DB5E7526B5A18)), Departs(Cy(0), Cy(1)), Both(Ok(kZero))},
    {"0.3333333333333333", Dec(16, 0, 0, 3333333333333333), Both(Text(u"0.3333333333333333")),
     Both(Double(0x3FD5555555555555)), Departs(Cy(3333), Cy(3334)), Both(Ok(kZero))},
    // Floor of a small negative value is -1; Wine gives 0.
    {"-0.000001", Dec(6, 0x80, 0, 1), Both(Text(u"-0.000001")), Both(Double(0xBEB0C6F7A0B5ED8D)),
     Both(Cy(0)), Departs(Ok(Dec(0, 0x80, 0, 1)), Ok(kZero))},
    {"-0.00025", Dec(5, 0x80, 0, 25), Both(Text(u"-0.00025")), Both(Double(0xBF30624DD2F1A9FC)),
     Departs(Cy(-2), Cy(-3)), Departs(Ok(Dec(0, 0x80, 0, 1)), Ok(kZero))},
    // Wine's integer part of a fraction of 2^63 or more is -2^63.
    {"123456789012345678901234567.89", Dec(2, 0, 0x27E41B32, 0x46BEC9B16E398115),
     Both(Text(u"123456789012345678901234567.89")), Both(Double(0x455987BF7C563CAA)),
     Both(CyFails(kDispOverflow)),
     Departs(Ok(Dec(0, 0, 0x00661EFD, 0xF158F2A82C9F4B87)),
             Ok(Dec(0, 0x80, 0, 0x8000000000000000)))},
    {"max at scale 4", Dec(4, 0, kAll32, kAll64), Both(Text(u"7922816251426433759354395.0335")),
     Both(Double(0x451A36E2EB1C432D)), Both(CyFails(kDispOverflow)),
     Departs(Ok(Dec(0, 0, 0x00068DB8, 0xBAC710CB295E9E1B)),
             Ok(Dec(0, 0x80, 0, 0x8000000000000000)))},
    // On overflow Wine writes -2^63 to the output.
    {"2^53", Dec(0, 0, 0, 9007199254740992), Both(Text(u"9007199254740992")),
     Both(Double(0x4340000000000000)),
     Departs(CyFails(kDispOverflow), CyFailsWriting(kDispOverflow, kInt64Min)),
     Both(Ok(Dec(0, 0, 0, 9007199254740992)))},
    {"1e15", Dec(0, 0, 0, 1000000000000000), Both(Text(u"1000000000000000")),
     Both(Double(0x430C6BF526340000)),
     Departs(CyFails(kDispOverflow), CyFailsWriting(kDispOverflow, kInt64Min)),
     Both(Ok(Dec(0, 0, 0, 1000000000000000)))},
    // Invalid: scale 29. Wine still prints it.
    {"scale 29", Dec(29, 0, 0, 15),
     Departs(TextFails(kInvalidArgument), Text(u"0.00000000000000000000000000015")),
     Both(DoubleFails(kInvalidArgument)), Both(CyFails(kInvalidArgument)),
     Both(DecFails(kInvalidArgument))},
    // Invalid: a sign byte other than 0x80. Only 0x80 means negative; Wine's
    // text takes any non-zero byte for a minus.
    {"sign 0x01", Dec(0, 0x01, 0, 1), Departs(Text(u"1"), Text(u"-1")),
     Both(DoubleFails(kInvalidArgument)), Both(CyFails(kInvalidArgument)),
     Both(DecFails(kInvalidArgument))},
    // Own corners: halves at the 4th decimal go to the even neighbour.
    {"1.23445", Dec(5, 0, 0, 123445), Both(Text(u"1.23445")), Both(Double(0x3FF3C04EA4A8C155)),
     Departs(Cy(12344), Cy(12345)), Both(Ok(Dec(0, 0, 0, 1)))},
    {"-1.23455", Dec(5, 0x80, 0, 123455), Both(Text(u"-1.23455")), Both(Double(0xBFF3C0B780346DC6)),
     Both(Cy(-12346)), Departs(Ok(Dec(0, 0x80, 0, 2)), Ok(Dec(0, 0x80, 0, 1)))},
    // Wine converts through a double, which cannot hold the extremes, and
    // writes -2^63 to the output on overflow.
    {"currency max", Dec(4, 0, 0, 0x7FFFFFFFFFFFFFFF), Both(Text(u"922337203685477.5807")),
     Both(Double(0x430A36E2EB1C432D)),
     Departs(Cy(kInt64Max), CyFailsWriting(kDispOverflow, kInt64Min)),
     Both(Ok(Dec(0, 0, 0, 922337203685477)))},
    {"currency min", Dec(4, 0x80, 0, 0x8000000000000000), Both(Text(u"-922337203685477.5808")),
     Both(Double(0xC30A36E2EB1C432D)),
     Departs(Cy(kInt64Min), CyFailsWriting(kDispOverflow, kInt64Min)),
     Both(Ok(Dec(0, 0x80, 0, 922337203685478)))},
    {"currency max + 1", Dec(4, 0, 0, 0x8000000000000000), Both(Text(u"922337203685477.5808")),
     Both(Double(0x430A36E2EB1C432D)),
     Departs(CyFails(kDispOverflow), CyFailsWriting(kDispOverflow, kInt64Min)),
     Both(Ok(Dec(0, 0, 0, 922337203685477)))},
    // 922337203685477.58075 spans both words; its half rounds up past the
    // maximum. Wine succeeds here with a value of its own.
    {"922337203685477.58075", Dec(5, 0, 4, 0xFFFFFFFFFFFFFFFB),
     Both(Text(u"922337203685477.58075")), Both(Double(0x430A36E2EB1C432D)),
     Departs(CyFails(kDispOverflow), Cy(9223372032559808750)),
     Both(Ok(Dec(0, 0, 0, 922337203685477)))},
    {"922337203685477.58074", Dec(5, 0, 4, 0xFFFFFFFFFFFFFFFA),
     Both(Text(u"922337203685477.58074")), Both(Double(0x430A36E2EB1C432D)),
     Departs(Cy(kInt64Max), CyFailsWriting(kDispOverflow, kInt64Min)),
     Both(Ok(Dec(0, 0, 0, 922337203685477)))},
    // Halves at the 53rd bit go to the even neighbour.
    {"2^53+1", Dec(0, 0, 0, 9007199254740993), Both(Text(u"9007199254740993")),
     Both(Double(0x4340000000000000)),
     Departs(CyFails(kDispOverflow), CyFailsWriting(kDispOverflow, kInt64Min)),
     Both(Ok(Dec(0, 0, 0, 9007199254740993)))},
    {"2^53+3", Dec(0, 0, 0, 9007199254740995), Both(Text(u"9007199254740995")),
     Both(Double(0x4340000000000002)),
     Departs(CyFails(kDispOverflow), CyFailsWriting(kDispOverflow, kInt64Min)),
     Both(Ok(Dec(0, 0, 0, 9007199254740995)))},
    {"-1844674407370955162.1", Dec(1, 0x80, 1, 5), Both(Text(u"-1844674407370955162.1")),
     Both(Double(0xC3B999999999999A)), Both(CyFails(kDispOverflow)),
     // Wine's integer part goes through a double here.
     Departs(Ok(Dec(0, 0x80, 0, 1844674407370955163)), Ok(Dec(0, 0x80, 0, 0x1999999999999A00)))},
    {"-1e-28", Dec(28, 0x80, 0, 1), Both(Text(u"-0.0000000000000000000000000001")),
     Departs(Double(0xBA1FB0F6BE506019), Double(0xBA1FB0F6BE50601A)), Both(Cy(0)),
     Departs(Ok(Dec(0, 0x80, 0, 1)), Ok(kZero))},
    {"1.5000000000", Dec(10, 0, 0, 15000000000), Both(Text(u"1.5")),
     Both(Double(0x3FF8000000000000)), Both(Cy(15000)), Both(Ok(Dec(0, 0, 0, 1)))},
    {"zero at scale 3", Dec(3, 0, 0, 0), Both(Text(u"0")), Both(Double(0)), Both(Cy(0)),
     Both(Ok(kZero))},
};

TEST_P(OleAutomationTest, TextFromDecimal) {
    for (const FromDecimalRow& row : kFromDecimal) {
        SCOPED_TRACE(row.name);
        const TextResult& e = row.text.Get();
        std::u16string out = kUntouchedText;
        EXPECT_EQ(e.hr, Api().TextFromDecimal(&row.in, 0, 0, &out));
        EXPECT_EQ(Narrow(e.text), Narrow(out));
    }
}

TEST_P(OleAutomationTest, DoubleFromDecimal) {
    for (const FromDecimalRow& row : kFromDecimal) {
        SCOPED_TRACE(row.name);
        const DoubleResult& e = row.number.Get();
        double out = FromBits(kUntouchedDoubleBits);
        EXPECT_EQ(e.hr, Api().DoubleFromDecimal(&row.in, &out));
        EXPECT_EQ(e.bits, Bits(out))
            << "expected " << Show(FromBits(e.bits)) << ", got " << Show(out);
    }
}

TEST_P(OleAutomationTest, CurrencyFromDecimal) {
    for (const FromDecimalRow& row : kFromDecimal) {
        SCOPED_TRACE(row.name);
        const CurrencyResult& e = row.currency.Get();
        Currency out{kUntouchedCurrency};
        EXPECT_EQ(e.hr, Api().CurrencyFromDecimal(&row.in, &out));
        EXPECT_EQ(e.value, out.int64);
    }
}

TEST_P(OleAutomationTest, DecimalIntegerPart) {
    for (const FromDecimalRow& row : kFromDecimal) {
        SCOPED_TRACE(row.name);
        Decimal out = kUntouchedDecimal;
        const HResult hr = Api().DecimalIntegerPart(&row.in, &out);
        ExpectDecimal(row.integer.Get(), hr, out);
    }
}

// ---------------------------------------------------------------------------
// Properties over many values

// A decimal text in its plain form reads back to the same text.
TEST_P(OleAutomationTest, DecimalTextRoundTrips) {
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 2000; ++i) {
        const int digits = 1 + static_cast<int>(random() % 28);
        const int scale = static_cast<int>(random() % (digits + 1));
        std::u16string text;
        for (int d = 0; d < digits; ++d) {
            text += static_cast<char16_t>(u'0' + (d == 0 ? 1 + random() % 9 : random() % 10));
        }
        if (scale > 0) {
            while (text.back() == u'0') {
                text.back() = u'7';
            }
            text.insert(text.size() - static_cast<size_t>(scale), 1, u'.');
            if (text[0] == u'.') {
                text.insert(0, 1, u'0');
            }
        }
        if (random() % 2 != 0) {
            text.insert(0, 1, u'-');
        }
        SCOPED_TRACE(Narrow(text));
        Decimal d = kUntouchedDecimal;
        ASSERT_EQ(kSOk, Api().DecimalFromText(text.c_str(), 0, 0, &d));
        std::u16string back;
        ASSERT_EQ(kSOk, Api().TextFromDecimal(&d, 0, 0, &back));
        EXPECT_EQ(Narrow(text), Narrow(back));
    }
}

// A currency with at most 15 significant digits reads back from its text.
TEST_P(OleAutomationTest, CurrencyTextRoundTrips) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 2000; ++i) {
        const int64_t magnitude = static_cast<int64_t>(random() % 1000000000000000u);
        const int64_t count = random() % 2 != 0 ? -magnitude : magnitude;
        SCOPED_TRACE(count);
        std::u16string text;
        ASSERT_EQ(kSOk, Api().TextFromCurrency(Currency{count}, 0, 0, &text));
        Currency back{kUntouchedCurrency};
        ASSERT_EQ(kSOk, Api().CurrencyFromText(text.c_str(), 0, 0, &back));
        EXPECT_EQ(count, back.int64);
    }
}

// The nearest double, against the C library's correctly rounded reading of
// the same text.
TEST_P(OleAutomationTest, DoubleFromDecimalIsNearest) {
    if (CallsWine()) {
        GTEST_SKIP() << "Wine's VarR8FromDec divides in doubles and may miss by an ulp";
    }
    std::mt19937_64 random(99);
    for (int i = 0; i < 5000; ++i) {
        Decimal d =
            Dec(static_cast<uint8_t>(random() % 29), random() % 2 != 0 ? 0x80 : 0,
                static_cast<uint32_t>(random() >> (random() % 64)), random() >> (random() % 64));
        std::u16string text;
        ASSERT_EQ(kSOk, Api().TextFromDecimal(&d, 0, 0, &text));
        const std::string narrow = Narrow(text);
        SCOPED_TRACE(narrow);
        double got = 0;
        ASSERT_EQ(kSOk, Api().DoubleFromDecimal(&d, &got));
        const double nearest = std::strtod(narrow.c_str(), nullptr);
        EXPECT_EQ(Bits(nearest == 0 ? 0.0 : nearest), Bits(got));
    }
}

// Fifteen significant digits, against the C library's correctly rounded
// printing of the double.
TEST_P(OleAutomationTest, DecimalFromDoubleKeepsFifteenDigits) {
    if (CallsWine()) {
        GTEST_SKIP() << "Wine keeps up to 16 digits, or all of a large double's";
    }
    std::mt19937_64 random(5);
    for (int i = 0; i < 5000; ++i) {
        // Magnitudes from 1e-13 to 1e28: the 15th digit is within 28 decimals.
        const double exponent = -13.0 + static_cast<double>(random() % 41000) / 1000.0;
        const double value = (random() % 2 != 0 ? -1 : 1) * std::pow(10.0, exponent);
        char printed[64];
        std::snprintf(printed, sizeof printed, "%.14e", value);
        SCOPED_TRACE(printed);
        std::u16string text(printed, printed + std::strlen(printed));
        Decimal expected = kUntouchedDecimal;
        ASSERT_EQ(kSOk, Api().DecimalFromText(text.c_str(), 0, 0, &expected));
        Decimal got = kUntouchedDecimal;
        ASSERT_EQ(kSOk, Api().DecimalFromDouble(value, &got));
        EXPECT_TRUE(SameValueFields(expected, got))
            << "expected " << Show(expected) << ", got " << Show(got);
    }
}

INSTANTIATE_TEST_SUITE_P(Implementations, OleAutomationTest,
                         ::testing::Values(&kPlatform, &kPortable),
                         [](const ::testing::TestParamInfo<const Implementation*>& info) {
                             return std::string(info.param->name);
                         });

}  // namespace
}  // namespace platform
