// Conversions between value types, row by row, and the value readers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/OleAutomation.h"
#include "tests/support/TestSupport.h"
#include "values/ValueBuffer.h"
#include "values/ValueConversion.h"
#include "values/ValueRecord.h"

using namespace testing_support;

namespace {

// A payload and its type.
struct Payload {
    DbValueType type;
    std::vector<uint8_t> bytes;

    const void* data() const { return bytes.data(); }
};

template <class T>
Payload Make(DbValueType type, T value) {
    Payload payload{type, std::vector<uint8_t>(sizeof value)};
    std::memcpy(payload.bytes.data(), &value, sizeof value);
    return payload;
}

Payload Text(const char16_t* text, DbValueType type = stringValue) {
    size_t bytes = (std::char_traits<char16_t>::length(text) + 1) * 2;
    Payload payload{type, std::vector<uint8_t>(bytes)};
    std::memcpy(payload.bytes.data(), text, bytes);
    return payload;
}

const auto I16 = [](int16_t v) { return Make(int16sValue, v); };
const auto U16v = [](uint16_t v) { return Make(int16uValue, v); };
const auto I32 = [](int32_t v) { return Make(int32sValue, v); };
const auto U32 = [](uint32_t v) { return Make(int32uValue, v); };
const auto I64 = [](int64_t v) { return Make(int64sValue, v); };
const auto U64 = [](uint64_t v) { return Make(int64uValue, v); };
const auto Num = [](double v) { return Make(numberValue, v); };
const auto Cy = [](int64_t v) { return Make(currencyValue, v); };
const auto Bool = [](uint16_t v) { return Make(booleanValue, v); };
const auto Date = [](int32_t d) { return Make(dateValue, DbDateTime{d, -1, 0}); };
const auto Time = [](int32_t t, uint32_t ns = 0) { return Make(timeValue, DbDateTime{-1, t, ns}); };
const auto Stamp = [](int32_t d, int32_t t, uint32_t ns) {
    return Make(dateTimeValue, DbDateTime{d, t, ns});
};
const auto Dec = [](uint64_t lo, uint8_t scale, bool negative) {
    return Make(decimalValue, platform::Decimal{0, scale, uint8_t(negative ? 0x80 : 0), 0, lo});
};

struct Row {
    const char* what;
    Payload source;
    DbValueType destinationType;
    DbStatus status;
    Payload expected;  // compared when the status is 0
};

// Converts into a buffer of the destination's fixed size filled with 0xCC.
std::vector<uint8_t> Convert(const Payload& source, DbValueType type, DbStatus& status,
                             uint32_t bytes = 0) {
    if (bytes == 0)
        bytes = FixedValueSize(type) ? FixedValueSize(type) : 256;
    std::vector<uint8_t> out(bytes, 0xCC);
    status = ConvertValue(source.data(), source.type, 0, out.data(), type, bytes);
    return out;
}

std::string TextOf(const std::vector<uint8_t>& bytes) {
    return U8(reinterpret_cast<const char16_t*>(bytes.data()));
}

// Each row converts into a buffer of the destination's size filled with 0xCC;
// a failed conversion writes nothing.
TEST(ConvertValue, Matrix) {
    const int64_t kMin64 = INT64_MIN;
    const Row rows[] = {
        // Integers, range-tested through a 64-bit intermediate.
        {"-1 to int8u", I32(-1), int8uValue, Status_ConversionFailed, {}},
        {"-1 to boolean", I32(-1), booleanValue, 0, Bool(1)},
        {"300 to int8s", I32(300), int8sValue, Status_ConversionFailed, {}},
        {"2^31 to int32s", U32(0x80000000u), int32sValue, Status_ConversionFailed, {}},
        {"2^63 to int64s", U64(0x8000000000000000ull), int64sValue, 0, I64(kMin64)},
        {"-2.9 to int32s", Num(-2.9), int32sValue, 0, I32(-2)},
        {"currency 1.5 to int16s", Cy(15000), int16sValue, 0, I16(1)},
        {"time to int16u", Time(3600), int16uValue, 0, U16v(3600)},
        {"leftovers to int32s", Text(u"12abc"), int32sValue, Status_ConversionFailed, {}},
        {"memo to int16s", Text(u"12", memoValue), int16sValue, 0, I16(12)},
        {"decimal 2^64 to int64s", Make(decimalValue, platform::Decimal{0, 0, 0, 1, 0}),
         int64sValue, 0, I64(0)},
        {"blob to int32s", Make(blobValue, uint64_t{0}), int32sValue, Status_ConversionFailed, {}},
        // Doubles.
        {"int64u to number", U64(1ull << 63), numberValue, 0, Num(-9223372036854775808.0)},
        {"leftovers to number", Text(u"1.5 "), numberValue, Status_ConversionFailed, {}},
        {"decimal to number", Dec(25, 1, true), numberValue, 0, Num(-2.5)},
        // Currency: ten-thousandths, halves upward; a word is zero.
        {"0.00125 to currency", Num(0.00125), currencyValue, 0, Cy(13)},
        {"-0.00125 to currency", Num(-0.00125), currencyValue, 0, Cy(-12)},
        {"word to currency", Text(u"dozen"), currencyValue, 0, Cy(0)},
        {"decimal to currency", Dec(123456, 2, false), currencyValue, 0, Cy(12345600)},
        // Dates and times: one field set, the other -1.
        {"number to date", Num(2451544.9), dateTimeValue, 0, Stamp(2451544, -1, 0)},
        {"currency to time", Cy(36000000), timeValue, 0, Time(3600)},
        {"stamp to time", Stamp(100, 3600, 5), timeValue, 0, Stamp(-1, 3600, 5)},
        {"boolean to date", Bool(1), dateValue, Status_ConversionFailed, {}},
        {"text to date", Text(u"2000-01-01"), dateValue, Status_ConversionFailed, {}},
        // Decimals.
        {"int64s min to decimal", I64(kMin64), decimalValue, 0,
         Make(decimalValue, platform::Decimal{14, 0, 0x80, 0, 1ull << 63})},
        {"currency to decimal", Cy(-15000), decimalValue, 0,
         Make(decimalValue, platform::Decimal{14, 4, 0x80, 0, 15000})},
        {"word to decimal", Text(u"lots"), decimalValue, 0,
         Make(decimalValue, platform::Decimal{14, 0, 0, 0, 0})},
        // Nothing becomes a blob or an unknown; opaque and interface only from themselves.
        {"to blob", I32(1), blobValue, Status_InvalidArgument, {}},
        {"to interface", I64(1), interfaceValue, Status_ConversionFailed, {}},
        {"opaque to itself", Make(opaque64Value, uint64_t{77}), opaque64Value, 0,
         Make(opaque64Value, uint64_t{77})},
        // Texts.
        {"int64s text", I64(kMin64), stringValue, 0, Text(u"-9223372036854775808")},
        {"opaque text", Make(opaque64Value, ~0ull), stringValue, 0, Text(u"18446744073709551615")},
        {"currency text", Cy(70000), stringValue, 0, Text(u"7")},
        {"decimal text", Dec(12345, 3, true), stringValue, 0, Text(u"-12.345")},
        {"tiny number text", Num(1e-80), stringValue, Status_ConversionFailed, {}},
        {"huge number text", Num(-1e76), stringValue, Status_ConversionFailed, {}},
        {"largest number text", Num(1e75), stringValue, 0, Text(u"1e+75")},
    };
    for (const Row& row : rows) {
        DbStatus status;
        std::vector<uint8_t> out = Convert(row.source, row.destinationType, status);
        EXPECT_EQ(status, row.status) << row.what;
        if (status == Status_Success) {
            out.resize(row.expected.bytes.size());
            EXPECT_EQ(out, row.expected.bytes) << row.what;
        } else {
            EXPECT_EQ(out, std::vector<uint8_t>(out.size(), 0xCC)) << row.what << " wrote";
        }
    }
}

// Dates and times in the user's locale, English here: ICU's texts on Linux
// (with a narrow no-break space before PM), Windows's own under Wine. Texts
// are cut to the destination like any other.
TEST(ConvertValue, TextsInTheDestination) {
    SetEnvironment("LC_ALL", "en_US.UTF-8");
    DbStatus status;
    std::vector<uint8_t> out = Convert(Stamp(2451544, 46923, 0), stringValue, status);
    EXPECT_EQ(TextOf(out), IsWindowsBuild() ? "1/1/2000 1:02:03 PM" : "1/1/2000 1:02:03\u202FPM");
    EXPECT_EQ(TextOf(Convert(Date(2440587), stringValue, status, 10)), "1/1/");
    EXPECT_EQ(TextOf(Convert(I32(123456), stringValue, status, 8)), "123");
    EXPECT_EQ(Convert(Text(u"abc"), stringValue, status, 1), std::vector<uint8_t>{0xCC});
    EXPECT_EQ(Convert(I32(1), numberValue, status, 4), std::vector<uint8_t>(4, 0xCC));
    EXPECT_EQ(status, Status_BufferTooSmall);
    int32_t one = 1;
    EXPECT_EQ(ConvertValue(&one, int32sValue, 0, nullptr, numberValue, 8), Status_InvalidArgument);
    // Narrow text is widened first, from the ANSI code page (1252 here).
    char16_t wide[16];
    ASSERT_EQ(
        ConvertValue("caf\xE9", stringValue, kConvertNarrowSource, wide, stringValue, sizeof wide),
        Status_Success);
    EXPECT_EQ(std::u16string(wide), u"caf\u00e9");
}

TEST(ConvertedSize, FixedTextAndExact) {
    uint32_t size = 99;
    double x = 1.5;
    EXPECT_EQ(GetConvertedSize(&x, numberValue, 0, stringValue, &size, false), Status_Success);
    EXPECT_EQ(size, 128u);
    EXPECT_EQ(GetConvertedSize(&x, numberValue, 0, stringValue, &size, true), Status_Success);
    EXPECT_EQ(size, 8u);  // "1.5" and its NUL
    EXPECT_EQ(GetConvertedSize(u"hello", stringValue, 0, memoValue, &size, false), Status_Success);
    EXPECT_EQ(size, 12u);
    // UTF-8 on Linux; the ANSI code page 1252 on Windows reads three characters.
    EXPECT_EQ(
        GetConvertedSize("h\xC3\xA9", stringValue, kConvertNarrowSource, stringValue, &size, false),
        Status_Success);
    EXPECT_EQ(size, IsWindowsBuild() ? 8u : 6u);
    double tiny = 1e-80;
    EXPECT_EQ(GetConvertedSize(&tiny, numberValue, 0, stringValue, &size, true),
              Status_ConversionFailed);
    EXPECT_EQ(size, 0u);

    void* buffer = &x;
    EXPECT_EQ(ConvertToNewBuffer(u"twelve", stringValue, 0, &buffer, int16uValue),
              Status_ConversionFailed);
    EXPECT_EQ(buffer, nullptr);
}

// The value readers, on values as properties hold them.
TEST(ValueReaders, BooleanAndString) {
    std::vector<DbValue*> values;
    const auto single = [&](DbValueType type, const void* payload) {
        values.push_back(NewValue(type));
        SetSingleValue(values.back(), type, const_cast<void*>(payload), 1);
        return values.back();
    };
    const int32_t zero = 0, seven = 7;
    const double tiny = 1e-90;
    EXPECT_TRUE(GetValueAsBoolean(single(stringValue, u"maybe"), true));
    EXPECT_FALSE(GetValueAsBoolean(single(stringValue, u"maybe"), false));
    EXPECT_TRUE(GetValueAsBoolean(single(stringValue, u"3"), false));
    EXPECT_FALSE(GetValueAsBoolean(single(int32sValue, &zero), true));
    EXPECT_TRUE(GetValueAsBoolean(single(int32sValue, &seven), false));
    EXPECT_TRUE(GetValueAsBoolean(single(booleanValue, nullptr), true));
    EXPECT_EQ(U8(GetValueAsString(single(int32sValue, &seven)).str()), "7");
    EXPECT_EQ(U8(GetValueAsString(single(numberValue, &tiny)).str()), "");
    EXPECT_TRUE(GetValueAsString(single(stringValue, nullptr)).isEmpty());
    for (DbValue* value : values)
        DeleteValue(value);
}

}  // namespace
