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

Payload I8(int8_t v) {
    return Make(int8sValue, v);
}
Payload U8v(uint8_t v) {
    return Make(int8uValue, v);
}
Payload I16(int16_t v) {
    return Make(int16sValue, v);
}
Payload U16v(uint16_t v) {
    return Make(int16uValue, v);
}
Payload I32(int32_t v) {
    return Make(int32sValue, v);
}
Payload U32(uint32_t v) {
    return Make(int32uValue, v);
}
Payload I64(int64_t v) {
    return Make(int64sValue, v);
}
Payload U64(uint64_t v) {
    return Make(int64uValue, v);
}
Payload Num(double v) {
    return Make(numberValue, v);
}
Payload Cy(int64_t v) {
    return Make(currencyValue, v);
}
Payload Bool(uint16_t v) {
    return Make(booleanValue, v);
}
Payload Date(int32_t d) {
    return Make(dateValue, DbDateTime{d, -1, 0});
}
Payload Time(int32_t t, uint32_t ns = 0) {
    return Make(timeValue, DbDateTime{-1, t, ns});
}
Payload Stamp(int32_t d, int32_t t, uint32_t ns) {
    return Make(dateTimeValue, DbDateTime{d, t, ns});
}
Payload Dec(uint64_t lo, uint8_t scale, bool negative) {
    return Make(decimalValue, platform::Decimal{0, scale, uint8_t(negative ? 0x80 : 0), 0, lo});
}

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

TEST(ConvertValue, Matrix) {
    const int64_t kMin64 = INT64_MIN;
    const Row rows[] = {
        // Integers, range-tested through a 64-bit intermediate.
        {"-1 to int8u", I32(-1), int8uValue, Status_ConversionFailed, {}},
        {"-1 to int64u", I32(-1), int64uValue, Status_ConversionFailed, {}},
        {"-1 to int8s", I32(-1), int8sValue, 0, I8(-1)},
        {"-1 to boolean", I32(-1), booleanValue, 0, Bool(1)},
        {"0 to boolean", I32(0), booleanValue, 0, Bool(0)},
        {"300 to int8s", I32(300), int8sValue, Status_ConversionFailed, {}},
        {"255 to int8u", I32(255), int8uValue, 0, U8v(255)},
        {"-32768 to int16s", I32(-32768), int16sValue, 0, I16(-32768)},
        {"65536 to int16u", I32(65536), int16uValue, Status_ConversionFailed, {}},
        {"2^31 to int32s", U32(0x80000000u), int32sValue, Status_ConversionFailed, {}},
        {"-1 to int32u", I64(-1), int32uValue, Status_ConversionFailed, {}},
        {"2^63 to int64s", U64(0x8000000000000000ull), int64sValue, 0, I64(kMin64)},
        {"int8u to int64u", U8v(200), int64uValue, 0, U64(200)},
        {"2.9 to int32s", Num(2.9), int32sValue, 0, I32(2)},
        {"-2.9 to int32s", Num(-2.9), int32sValue, 0, I32(-2)},
        {"0.5 to boolean", Num(0.5), booleanValue, 0, Bool(0)},
        {"currency 1.5 to int16s", Cy(15000), int16sValue, 0, I16(1)},
        {"currency 0.5 to boolean", Cy(5000), booleanValue, 0, Bool(0)},
        {"boolean to int32s", Bool(7), int32sValue, 0, I32(1)},
        {"date to int32s", Date(2451544), int32sValue, 0, I32(2451544)},
        {"time to int16u", Time(3600), int16uValue, 0, U16v(3600)},
        {"text to int32s", Text(u"42"), int32sValue, 0, I32(42)},
        {"negative text", Text(u"-17"), int64sValue, 0, I64(-17)},
        {"word to int32s", Text(u"many"), int32sValue, Status_ConversionFailed, {}},
        {"empty to int32s", Text(u""), int32sValue, Status_ConversionFailed, {}},
        {"leftovers to int32s", Text(u"12abc"), int32sValue, Status_ConversionFailed, {}},
        {"memo to int16s", Text(u"12", memoValue), int16sValue, 0, I16(12)},
        {"decimal 1.5 to int32s", Dec(15, 1, false), int32sValue, 0, I32(1)},
        {"decimal 2^64 to int64s", Make(decimalValue, platform::Decimal{0, 0, 0, 1, 0}),
         int64sValue, 0, I64(0)},
        {"blob to int32s", Make(blobValue, uint64_t{0}), int32sValue, Status_ConversionFailed, {}},
        // Doubles.
        {"int32s to number", I32(-7), numberValue, 0, Num(-7)},
        {"boolean to number", Bool(1), numberValue, 0, Num(1)},
        {"currency to number", Cy(15000), numberValue, 0, Num(1.5)},
        {"int64u to number", U64(1ull << 63), numberValue, 0, Num(-9223372036854775808.0)},
        {"text to number", Text(u"1.5"), numberValue, 0, Num(1.5)},
        {"blanks then number", Text(u"  -2e3"), numberValue, 0, Num(-2000)},
        {"word to number", Text(u"word"), numberValue, Status_ConversionFailed, {}},
        {"empty to number", Text(u""), numberValue, Status_ConversionFailed, {}},
        {"leftovers to number", Text(u"1.5 "), numberValue, Status_ConversionFailed, {}},
        {"decimal to number", Dec(25, 1, true), numberValue, 0, Num(-2.5)},
        {"date to number", Date(731000), numberValue, 0, Num(731000)},
        // Currency: ten-thousandths, halves upward.
        {"2.5 to currency", Num(2.5), currencyValue, 0, Cy(25000)},
        {"0.00125 to currency", Num(0.00125), currencyValue, 0, Cy(13)},
        {"-0.00125 to currency", Num(-0.00125), currencyValue, 0, Cy(-12)},
        {"int16s to currency", I16(-3), currencyValue, 0, Cy(-30000)},
        {"boolean to currency", Bool(1), currencyValue, 0, Cy(10000)},
        {"text to currency", Text(u"12.5"), currencyValue, 0, Cy(125000)},
        {"word to currency", Text(u"dozen"), currencyValue, 0, Cy(0)},
        {"decimal to currency", Dec(123456, 2, false), currencyValue, 0, Cy(12345600)},
        // Dates and times: one field set, the other -1.
        {"int32u to date", U32(731000), dateValue, 0, Date(731000)},
        {"int8s to time", I8(-5), timeValue, 0, Time(-5)},
        {"number to date", Num(2451544.9), dateTimeValue, 0, Stamp(2451544, -1, 0)},
        {"currency to time", Cy(36000000), timeValue, 0, Time(3600)},
        {"stamp to time", Stamp(100, 3600, 5), timeValue, 0, Stamp(-1, 3600, 5)},
        {"date to time", Date(100), timeValue, 0, Stamp(-1, 0, 0)},
        {"stamp to date", Stamp(100, 3600, 5), dateValue, 0, Date(100)},
        {"time to stamp", Time(42, 7), dateTimeValue, 0, Stamp(-1, 42, 7)},
        {"boolean to date", Bool(1), dateValue, Status_ConversionFailed, {}},
        {"text to date", Text(u"2000-01-01"), dateValue, Status_ConversionFailed, {}},
        {"text to time", Text(u"12:00"), timeValue, Status_ConversionFailed, {}},
        {"opaque to date",
         Make(opaque64Value, uint64_t{1}),
         dateValue,
         Status_ConversionFailed,
         {}},
        // Decimals.
        {"int16s to decimal", I16(-5), decimalValue, 0,
         Make(decimalValue, platform::Decimal{14, 0, 0x80, 0, 5})},
        {"int64s min to decimal", I64(kMin64), decimalValue, 0,
         Make(decimalValue, platform::Decimal{14, 0, 0x80, 0, 1ull << 63})},
        {"currency to decimal", Cy(-15000), decimalValue, 0,
         Make(decimalValue, platform::Decimal{14, 4, 0x80, 0, 15000})},
        {"int64u to decimal", U64(~0ull), decimalValue, 0,
         Make(decimalValue, platform::Decimal{14, 0, 0, 0, ~0ull})},
        {"word to decimal", Text(u"lots"), decimalValue, 0,
         Make(decimalValue, platform::Decimal{14, 0, 0, 0, 0})},
        // Nothing becomes a blob or an unknown; opaque and interface only from themselves.
        {"to blob", I32(1), blobValue, Status_InvalidArgument, {}},
        {"to unknown", I32(1), unknownValue, Status_InvalidArgument, {}},
        {"to interface", I64(1), interfaceValue, Status_ConversionFailed, {}},
        {"to opaque", I64(1), opaque64Value, Status_ConversionFailed, {}},
        {"opaque to itself", Make(opaque64Value, uint64_t{77}), opaque64Value, 0,
         Make(opaque64Value, uint64_t{77})},
        {"int32s to itself", I32(5), int32sValue, 0, I32(5)},
    };
    for (const Row& row : rows) {
        DbStatus status;
        std::vector<uint8_t> out = Convert(row.source, row.destinationType, status);
        EXPECT_EQ(status, row.status) << row.what;
        if (row.status == Status_Success && status == Status_Success) {
            out.resize(row.expected.bytes.size());
            EXPECT_EQ(out, row.expected.bytes) << row.what;
        } else if (status != Status_Success) {
            EXPECT_EQ(out, std::vector<uint8_t>(out.size(), 0xCC)) << row.what << " wrote";
        }
    }
}

TEST(ConvertValue, Texts) {
    const struct {
        const char* what;
        Payload source;
        const char* text;
    } rows[] = {
        {"int8s", I8(-128), "-128"},
        {"int8u", U8v(255), "255"},
        {"int16s", I16(-32768), "-32768"},
        {"int16u", U16v(65535), "65535"},
        {"int32s", I32(INT32_MIN), "-2147483648"},
        {"int32u", U32(4294967295u), "4294967295"},
        {"int64s", I64(INT64_MIN), "-9223372036854775808"},
        {"int64u", U64(~0ull), "18446744073709551615"},
        {"opaque", Make(opaque64Value, ~0ull), "18446744073709551615"},
        {"boolean", Bool(9), "1"},
        {"false", Bool(0), "0"},
        {"double", Num(1.5), "1.5"},
        {"zero", Num(0.0), "0"},
        {"currency", Cy(123456), "12.3456"},
        {"whole currency", Cy(70000), "7"},
        {"decimal", Dec(12345, 3, true), "-12.345"},
    };
    for (const auto& row : rows) {
        DbStatus status;
        std::vector<uint8_t> out = Convert(row.source, stringValue, status);
        EXPECT_EQ(status, Status_Success) << row.what;
        EXPECT_EQ(TextOf(out), row.text) << row.what;
    }
}

// Dates and times in the user's locale, English here: ICU's texts on Linux
// (with a narrow no-break space before PM), Windows's own under Wine.
TEST(ConvertValue, DateAndTimeTexts) {
    SetEnvironment("LC_ALL", "en_US.UTF-8");
    const std::string pm = IsWindowsBuild() ? " PM" : "\u202FPM";
    const struct {
        Payload source;
        std::string text;
    } rows[] = {
        {Date(2440587), "1/1/1970"},
        {Time(46923, 5000000), "1:02:03" + pm},
        {Stamp(2451544, 46923, 0), "1/1/2000 1:02:03" + pm},
    };
    for (const auto& row : rows) {
        DbStatus status;
        std::vector<uint8_t> out = Convert(row.source, stringValue, status);
        EXPECT_EQ(status, Status_Success);
        EXPECT_EQ(TextOf(out), row.text);
    }
    DbStatus status;
    std::vector<uint8_t> out = Convert(Date(2440587), stringValue, status, 10);
    EXPECT_EQ(TextOf(out), "1/1/");  // date texts are cut like any other
}

TEST(ConvertValue, NumbersOutsideTheTextRangeFail) {
    for (double x : {1e-80, -1e-80, 1e76, -1e76}) {
        DbStatus status;
        Convert(Num(x), stringValue, status);
        EXPECT_EQ(status, Status_ConversionFailed) << x;
    }
    for (double x : {1e-75, 1e75, 0.0, -0.0}) {
        DbStatus status;
        Convert(Num(x), stringValue, status);
        EXPECT_EQ(status, Status_Success) << x;
    }
}

TEST(ConvertValue, TextIsCutToTheDestination) {
    DbStatus status;
    std::vector<uint8_t> out = Convert(Text(u"abcdef"), stringValue, status, 8);
    EXPECT_EQ(status, Status_Success);
    EXPECT_EQ(TextOf(out), "abc");
    out = Convert(I32(123456), stringValue, status, 8);
    EXPECT_EQ(TextOf(out), "123");
    out = Convert(Text(u"abc"), stringValue, status, 1);
    EXPECT_EQ(out, std::vector<uint8_t>{0xCC}) << "no room for a NUL: nothing written";
    EXPECT_EQ(ConvertValue(Text(u"x").data(), stringValue, 0, nullptr, stringValue, 64),
              Status_Success);
}

TEST(ConvertValue, FixedDestinationThatIsTooSmall) {
    DbStatus status;
    std::vector<uint8_t> out = Convert(I32(1), numberValue, status, 4);
    EXPECT_EQ(status, Status_BufferTooSmall);
    EXPECT_EQ(out, std::vector<uint8_t>(4, 0xCC));
}

TEST(ConvertValue, NullSourceAndNullDestination) {
    uint32_t out = 0;
    EXPECT_EQ(ConvertValue(nullptr, int32sValue, 0, &out, int32uValue, 4), Status_InvalidArgument);
    int32_t one = 1;
    EXPECT_EQ(ConvertValue(&one, int32sValue, 0, nullptr, numberValue, 8), Status_InvalidArgument);
}

TEST(ConvertValue, NarrowTextIsWidenedFirst) {
    const char narrow[] = "caf\xE9";  // Windows-1252, not UTF-8
    char16_t wide[16];
    ASSERT_EQ(
        ConvertValue(narrow, stringValue, kConvertNarrowSource, wide, stringValue, sizeof wide),
        Status_Success);
    EXPECT_EQ(std::u16string(wide), u"caf\u00e9");
    int32_t number = 0;
    ASSERT_EQ(ConvertValue("31", memoValue, kConvertNarrowSource, &number, int32sValue, 4),
              Status_Success);
    EXPECT_EQ(number, 31);
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
    EXPECT_EQ(
        GetConvertedSize("h\xC3\xA9", stringValue, kConvertNarrowSource, stringValue, &size, false),
        Status_Success);
    // UTF-8 on Linux; the ANSI code page 1252 on Windows reads three characters.
    EXPECT_EQ(size, IsWindowsBuild() ? 8u : 6u);
    EXPECT_EQ(GetConvertedSize(&x, numberValue, 0, dateTimeValue, &size, false), Status_Success);
    EXPECT_EQ(size, 12u);
    double tiny = 1e-80;
    EXPECT_EQ(GetConvertedSize(&tiny, numberValue, 0, stringValue, &size, true),
              Status_ConversionFailed);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(GetConvertedSize(&x, numberValue, 0, blobValue, &size, false),
              Status_InvalidArgument);
    EXPECT_EQ(GetConvertedSize(nullptr, numberValue, 0, stringValue, &size, false),
              Status_InvalidArgument);
}

TEST(ConvertToNewBuffer, TextsAndNumbers) {
    void* buffer = nullptr;
    ASSERT_EQ(ConvertToNewBuffer(u"same", memoValue, 0, &buffer, stringValue), Status_Success);
    EXPECT_EQ(std::u16string(static_cast<char16_t*>(buffer)), u"same");
    FreeValueBuffer(buffer, stringValue);

    double x = -0.25;
    ASSERT_EQ(ConvertToNewBuffer(&x, numberValue, 0, &buffer, stringValue), Status_Success);
    EXPECT_EQ(std::u16string(static_cast<char16_t*>(buffer)), u"-0.25");
    FreeValueBuffer(buffer, stringValue);

    ASSERT_EQ(ConvertToNewBuffer(u"12", stringValue, 0, &buffer, int16uValue), Status_Success);
    EXPECT_EQ(*static_cast<uint16_t*>(buffer), 12);
    FreeValueBuffer(buffer, int16uValue);

    buffer = &x;
    EXPECT_EQ(ConvertToNewBuffer(u"twelve", stringValue, 0, &buffer, int16uValue),
              Status_ConversionFailed);
    EXPECT_EQ(buffer, nullptr);
}

// The value readers, on values as properties hold them.
class ValueReaders : public ::testing::Test {
protected:
    template <class T>
    DbValue* Single(DbValueType type, T payload) {
        DbValue* value = NewValue(type);
        SetSingleValue(value, type, &payload, 1);
        values_.push_back(value);
        return value;
    }
    DbValue* SingleText(const char16_t* text) {
        DbValue* value = NewValue(stringValue);
        SetSingleValue(value, stringValue, const_cast<char16_t*>(text), 1);
        values_.push_back(value);
        return value;
    }
    void TearDown() override {
        for (DbValue* value : values_)
            DeleteValue(value);
    }
    std::vector<DbValue*> values_;
};

TEST_F(ValueReaders, Boolean) {
    EXPECT_TRUE(GetValueAsBoolean(SingleText(u"maybe"), true));
    EXPECT_FALSE(GetValueAsBoolean(SingleText(u"maybe"), false));
    EXPECT_TRUE(GetValueAsBoolean(SingleText(u"3"), false));
    EXPECT_FALSE(GetValueAsBoolean(Single(int32sValue, int32_t{0}), true));
    EXPECT_TRUE(GetValueAsBoolean(Single(int32sValue, int32_t{7}), false));
    EXPECT_TRUE(GetValueAsBoolean(Single(booleanValue, uint16_t{2}), false));
    EXPECT_TRUE(GetValueAsBoolean(Single(dateValue, DbDateTime{1, -1, 0}), false));
    DbValue* empty = NewValue(booleanValue);
    values_.push_back(empty);
    EXPECT_TRUE(GetValueAsBoolean(empty, true));
    EXPECT_FALSE(GetValueAsBoolean(nullptr, false));
}

TEST_F(ValueReaders, String) {
    EXPECT_EQ(U8(GetValueAsString(SingleText(u"C:\\Data")).str()), "C:\\Data");
    EXPECT_EQ(U8(GetValueAsString(Single(int32sValue, int32_t{-3})).str()), "-3");
    EXPECT_EQ(U8(GetValueAsString(Single(booleanValue, uint16_t{1})).str()), "1");
    EXPECT_EQ(U8(GetValueAsString(Single(numberValue, 1e-90)).str()), "");
    DbValue* empty = NewValue(stringValue);
    values_.push_back(empty);
    EXPECT_TRUE(GetValueAsString(empty).isEmpty());
}

}  // namespace
