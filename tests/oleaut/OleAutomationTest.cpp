// Currency and decimal conversions, every row of oleaut.tsv, through two
// implementations in one process: the platform's (oleaut32 on the Windows
// build, which the tests run under Wine) and the portable arithmetic of
// formats/ (which the Linux platform layer uses). The table is Wine's: the
// Windows build's platform calls must give it exactly; everything else must
// give the documented result where Wine departs (documented.tsv).

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
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
             After(result, "lo64=", 0);  // documented.tsv's shorthand
    return d;
}

// The input of a from-decimal row: "... -> -123.456 [scale 3]".
Decimal InputDecimal(const std::string& input) {
    const size_t arrow = input.find(" -> ");
    if (arrow == std::string::npos)
        return Decimal{};
    std::string digits = input.substr(arrow + 4);
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

std::string Narrow(const std::u16string& s) {
    std::string r;
    for (char16_t c : s) {
        r += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return r;
}

class OleAutomationTest : public ::testing::TestWithParam<const Implementation*> {};

// Calls the row's function and compares the outputs; a failed call must
// leave its output as it was.
void Check(const Implementation& impl, const std::string& api, const std::string& input,
           uint32_t lcid, HResult hr, const std::string& result) {
    const std::u16string text = testing_support::UnescapeField16(testing_support::Unquoted(input));
    if (api == "VarCyFromStr" || api == "VarCyFromDec") {
        Currency out{kUntouchedCurrency};
        const Decimal in = InputDecimal(input);
        EXPECT_EQ(hr, api == "VarCyFromStr" ? impl.CurrencyFromText(text.c_str(), lcid, 0, &out)
                                            : impl.CurrencyFromDecimal(&in, &out));
        EXPECT_EQ(result == "<unchanged>" ? kUntouchedCurrency : std::stoll(result), out.int64);
    } else if (api == "VarBstrFromCy" || api == "VarBstrFromDec") {
        std::u16string out = kUntouchedText;
        const Decimal in = InputDecimal(input);
        EXPECT_EQ(hr, api == "VarBstrFromCy"
                          ? impl.TextFromCurrency(Currency{std::stoll(input)}, lcid, 0, &out)
                          : impl.TextFromDecimal(&in, lcid, 0, &out));
        EXPECT_EQ(hr == kSOk ? testing_support::Unquoted(result) : Narrow(kUntouchedText),
                  Narrow(out));
    } else if (api == "VarDecFromStr" || api == "VarDecFromR8" || api == "VarDecInt") {
        Decimal out = kUntouchedDecimal;
        const uint64_t bits = After(input, "bits=0x", 16);
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        const Decimal in = InputDecimal(input);
        EXPECT_EQ(hr, api == "VarDecFromStr"  ? impl.DecimalFromText(text.c_str(), lcid, 0, &out)
                      : api == "VarDecFromR8" ? impl.DecimalFromDouble(value, &out)
                                              : impl.DecimalIntegerPart(&in, &out));
        if (hr == kSOk) {
            EXPECT_TRUE(SameValueFields(DecimalOf(result), out))
                << "expected " << result << ", got " << Show(out);
        } else {
            EXPECT_EQ(0, std::memcmp(&kUntouchedDecimal, &out, sizeof out)) << Show(out);
        }
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

// Every row of oleaut.tsv, then the corners of documented.tsv. The Windows
// build's platform calls must give Wine's table exactly; everything else
// gives the documented results of documented.tsv where Wine departs.
TEST_P(OleAutomationTest, EveryReferenceRow) {
    const Implementation& impl = *GetParam();
    const bool wine = impl.system && testing_support::IsWindowsBuild();
    const ReferenceTable documented = ReferenceTable::LoadCases("oleaut/documented.tsv");
    const ReferenceTable table = ReferenceTable::Load("oleaut.tsv");
    ASSERT_GT(table.rows().size(), 300u);
    size_t departures = 0, departing = 0;
    for (const ReferenceTable* t : {&table, &documented}) {
        for (const ReferenceTable::Row& row : t->rows()) {
            SCOPED_TRACE(row.name);
            const std::string api = t->Field(row, "api");
            const std::string input = t->Field(row, "input");
            const std::string lcidField = t->Field(row, "lcid");
            const uint32_t lcid =
                lcidField == "-" ? 0 : static_cast<uint32_t>(std::stoul(lcidField, nullptr, 16));
            HResult hr = static_cast<HResult>(std::stoul(t->Field(row, "hresult"), nullptr, 16));
            std::string result = t->Field(row, "result");
            if (t == &documented) {
                departing += documented.Field(row, "row") == "departs";
                if (wine || documented.Field(row, "row") == "departs")
                    continue;
            } else if (!wine && lcid != 0 && lcid != 0x0409) {
                continue;  // ours knows the English forms only
            }
            for (const ReferenceTable::Row& d : documented.rows()) {
                const std::string prefix = documented.Field(d, "input") + " ";
                if (t == &table && !wine && documented.Field(d, "row") == "departs" &&
                    documented.Field(d, "api") == api && (input + " ").rfind(prefix, 0) == 0) {
                    hr = static_cast<HResult>(
                        std::stoul(documented.Field(d, "hresult"), nullptr, 16));
                    result = documented.Field(d, "result");
                    ++departures;
                }
            }
            Check(impl, api, input, lcid, hr, result);
        }
    }
    // Every documented departure met its row.
    EXPECT_EQ(wine ? 0 : departing, departures);
}

INSTANTIATE_TEST_SUITE_P(Both, OleAutomationTest, ::testing::Values(&kPlatform, &kPortable),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
}  // namespace platform
