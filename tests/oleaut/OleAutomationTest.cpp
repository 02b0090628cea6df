// Currency and decimal conversions, every row of oleaut.tsv, through two
// implementations in one process: the platform's (oleaut32 on the Windows
// build, which the tests run under Wine) and the portable arithmetic of
// formats/ (which the Linux platform layer uses, and which reads and writes
// the English forms whatever the locale). The table is Wine's: the Windows
// build's platform calls must give it exactly; everything else must give the
// documented result where Wine departs, and the corners of documented.tsv.
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

using namespace testing_support;

// What an output holds before the call: a failing call must leave it so.
constexpr uint64_t kUntouched = 0x5A5A5A5A5A5A5A5Au;
constexpr Decimal kUntouchedDecimal{0x5A5A, 0x5A, 0x5A, 0x5A5A5A5A, kUntouched};

// The number after `key` in `text`, 0 when there is none.
uint64_t After(const std::string& text, const std::string& key, int base) {
    const size_t at = text.find(key);
    return at == std::string::npos ? 0 : std::strtoull(&text[at + key.size()], nullptr, base);
}

// A decimal as the table writes a result: "scale=1 sign=0x00 hi32=... mid32=...
// lo32=...", or documented.tsv's shorthand lo64=.
Decimal DecimalOf(const std::string& result) {
    return Decimal{0, static_cast<uint8_t>(After(result, "scale=", 10)),
                   static_cast<uint8_t>(After(result, "sign=", 16)),
                   static_cast<uint32_t>(After(result, "hi32=", 16)),
                   (After(result, "mid32=", 16) << 32) + After(result, "lo32=", 16) +
                       After(result, "lo64=", 0)};
}

// The input of a from-decimal row: "... -> -123.456 [scale 3]".
Decimal InputDecimal(const std::string& input) {
    const size_t arrow = input.find(" -> ");
    const std::string digits = arrow == std::string::npos ? "" : input.substr(arrow + 4);
    unsigned __int128 value = 0;
    for (size_t i = 0; i < digits.size() && digits[i] != ' '; ++i)
        value = digits[i] >= '0' && digits[i] <= '9' ? value * 10 + (digits[i] - '0') : value;
    const uint8_t sign = input.find("sign=0x01") != std::string::npos ? 0x01
                         : digits[0] == '-'                           ? 0x80
                                                                      : 0;
    return Decimal{0, static_cast<uint8_t>(After(input, "[scale ", 10)), sign,
                   static_cast<uint32_t>(value >> 64), static_cast<uint64_t>(value)};
}

std::string Show(const Decimal& d) {
    return "scale " + std::to_string(d.scale) + " sign " + std::to_string(d.sign) + " hi32 " +
           std::to_string(d.hi32) + " lo64 " + std::to_string(d.lo64);
}

// Calls the row's function and compares the outputs.
void Check(bool portable, const std::string& api, const std::string& input, uint32_t lcid,
           HResult hr, const std::string& result) {
    const std::u16string text = UnescapeField16(Unquoted(input));
    const Decimal in = InputDecimal(input);
    const uint64_t bits = After(input, "bits=0x", 16);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    if (api == "VarCyFromStr" || api == "VarCyFromDec") {
        Currency out{static_cast<int64_t>(kUntouched)};
        EXPECT_EQ(hr, api == "VarCyFromDec" ? (portable ? formats::CurrencyFromDecimal(&in, &out)
                                                        : CurrencyFromDecimal(&in, &out))
                      : portable            ? formats::CurrencyFromText(text.c_str(), &out)
                                            : CurrencyFromText(text.c_str(), lcid, 0, &out));
        EXPECT_EQ(result == "<unchanged>" ? kUntouched : std::stoll(result), uint64_t(out.int64));
    } else if (api == "VarBstrFromCy" || api == "VarBstrFromDec") {
        std::u16string out = u"untouched";
        const Currency currency{api == "VarBstrFromCy" ? std::stoll(input) : 0};
        EXPECT_EQ(hr, api == "VarBstrFromCy"
                          ? (portable ? formats::TextFromCurrency(currency, &out)
                                      : TextFromCurrency(currency, lcid, 0, &out))
                      : portable ? formats::TextFromDecimal(&in, &out)
                                 : TextFromDecimal(&in, lcid, 0, &out));
        EXPECT_EQ(hr == kSOk ? Unquoted(result) : "untouched", U8(out));
    } else if (api == "VarDecFromStr" || api == "VarDecFromR8" || api == "VarDecInt") {
        Decimal out = kUntouchedDecimal;
        EXPECT_EQ(hr, api == "VarDecFromStr"
                          ? (portable ? formats::DecimalFromText(text.c_str(), &out)
                                      : DecimalFromText(text.c_str(), lcid, 0, &out))
                      : api == "VarDecFromR8" ? (portable ? formats::DecimalFromDouble(value, &out)
                                                          : DecimalFromDouble(value, &out))
                      : portable              ? formats::DecimalIntegerPart(&in, &out)
                                              : DecimalIntegerPart(&in, &out));
        EXPECT_EQ(Show(hr == kSOk ? DecimalOf(result) : kUntouchedDecimal), Show(out)) << result;
    } else if (api == "VarR8FromDec") {
        double out = 0;
        std::memcpy(&out, &kUntouched, sizeof out);
        EXPECT_EQ(hr,
                  portable ? formats::DoubleFromDecimal(&in, &out) : DoubleFromDecimal(&in, &out));
        uint64_t got = 0;
        std::memcpy(&got, &out, sizeof out);
        EXPECT_EQ(hr == kSOk ? After(result, "bits=0x", 16) : kUntouched, got);
    } else {
        EXPECT_EQ("VarDecFix", api);  // the platform offers no VarDecFix
    }
}

class OleAutomationTest : public ::testing::TestWithParam<bool> {};  // portable or not

TEST_P(OleAutomationTest, EveryReferenceRow) {
    const bool portable = GetParam(), wine = !portable && IsWindowsBuild();
    const ReferenceTable documented = ReferenceTable::LoadCases("oleaut/documented.tsv");
    const ReferenceTable table = ReferenceTable::Load("oleaut.tsv");
    ASSERT_GT(table.rows().size(), 300u);
    size_t departures = 0, departing = 0;
    for (const ReferenceTable* t : {&table, &documented}) {
        for (const ReferenceTable::Row& row : t->rows()) {
            SCOPED_TRACE(row.name);
            const std::string api = t->Field(row, "api"), input = t->Field(row, "input");
            const uint32_t lcid =
                std::strtoul(t->Field(row, "lcid").c_str(), nullptr, 16);  // "-": 0
            HResult hr = std::stoul(t->Field(row, "hresult"), nullptr, 16);
            std::string result = t->Field(row, "result");
            const bool departs = t == &documented && documented.Field(row, "row") == "departs";
            departing += departs;
            if ((t == &documented && (wine || departs)) || (!wine && lcid != 0 && lcid != 0x0409))
                continue;  // ours knows the English forms only
            for (const ReferenceTable::Row& d : documented.rows()) {
                if (t == &table && !wine && documented.Field(d, "row") == "departs" &&
                    documented.Field(d, "api") == api &&
                    (input + " ").rfind(documented.Field(d, "input") + " ", 0) == 0) {
                    hr = std::stoul(documented.Field(d, "hresult"), nullptr, 16);
                    result = documented.Field(d, "result");
                    ++departures;
                }
            }
            Check(portable, api, input, lcid, hr, result);
        }
    }
    EXPECT_EQ(wine ? 0 : departing, departures);  // every departure met its row
}

INSTANTIATE_TEST_SUITE_P(Both, OleAutomationTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Portable" : "Platform"; });

}  // namespace
}  // namespace platform
