// What the value units report to the logging library: the unit, a line and
// the exact text of each distinct assertion, once per unit. AssertionCapture
// takes a report only with a line above 0.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "runtime/HostMemory.h"
#include "tests/support/AssertionCapture.h"
#include "values/ValueBuffer.h"
#include "values/ValueConversion.h"
#include "values/ValueRecord.h"

using namespace testing_support;

namespace {

using Lines = std::vector<std::string>;

struct Case {
    const char* what;
    std::function<void()> trigger;
    Lines reports;
};

class ValueAssertionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(capture_.active()); }
    void Run(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            c.trigger();
            EXPECT_EQ(capture_.Reports(), c.reports);
        }
    }
    AssertionCapture capture_;
};

TEST_F(ValueAssertionTest, ValueBuffer) {
    unsigned char payload[16] = {};
    Run({
        {"ordinary copy",
         [&] { FreeValueBuffer(DuplicateValueBuffer(payload, int32sValue), int32sValue); },
         {}},
        {"fixedness of a non-type",
         [] { EXPECT_TRUE(IsFixedSizeValue(12)); },
         {"dbdllcommon: FALSE"}},
        {"size of a text",
         [] { EXPECT_EQ(ValueBufferSize(memoValue), 0u); },
         {"dbdllcommon: false"}},
        {"copy of a non-type",
         [&] { EXPECT_EQ(DuplicateValueBuffer(payload, 19), nullptr); },
         {"dbdllcommon: false"}},
        // An opaque cell is reported, then released all the same.
        {"opaque cell",
         [] { FreeValueBuffer(AllocateHostBlock(8), opaque64Value); },
         {"dbdllcommon: false"}},
    });
}

TEST_F(ValueAssertionTest, ValueRecord) {
    const std::string start =
        "dbvalue: startValue != NULL && !startValue->hasRangeValue () && "
        "!startValue->hasMultipleValues ()";
    const std::string end =
        "dbvalue: endValue != NULL && !endValue->hasRangeValue () && "
        "!endValue->hasMultipleValues ()";
    DbValue list;  // a list, if one without members
    InitValue(&list, int32sValue);
    list.kind = multipleKind;
    DbValue* plain = NewValue(int32sValue);
    DbRangeValue range{};
    const auto remake = [&](DbValue* start, DbValue* end) {
        DeleteValue(range.start);
        DeleteValue(range.end);
        MakeRange(&range, int32sValue, start, 0, end, 0);
    };
    int32_t notOwned = 3;
    DbValue value;
    InitValue(&value, int32sValue);
    Run({
        {"plain bounds", [&] { remake(plain, nullptr); }, {}},
        // A bad bound is reported and kept.
        {"list as start",
         [&] {
             remake(&list, plain);
             EXPECT_EQ(range.start->kind, multipleKind);
         },
         {start}},
        {"list as end", [&] { remake(plain, &list); }, {end}},
        {"clear of foreign data",
         [&] {
             value.data = &notOwned;
             ClearValue(&value);
         },
         {"dbvalue: value == NULL"}},
        {"clear of an unknown kind",
         [&] {
             value.kind = 8;
             value.data = &notOwned;
             ClearValue(&value);
             EXPECT_EQ(value.data, nullptr);
         },
         {"dbvalue: FALSE"}},
    });
    DeleteValue(range.start);
    DeleteValue(range.end);
    DeleteValue(plain);
    ClearValue(&list);
}

TEST_F(ValueAssertionTest, ValueConversion) {
    int32_t number = 5;
    uint8_t out[16] = {};
    Run({
        {"largest unsigned to number",
         [&] {
             uint64_t most = UINT64_MAX;
             double result = 0;
             EXPECT_EQ(ConvertValue(&most, int64uValue, 0, &result, numberValue, 8),
                       Status_Success);
             EXPECT_EQ(result, -1.0);
         },
         {"dbconvert: *(Int64u *) srcBuffer < MaxInt64u"}},
        {"missing source",
         [&] {
             EXPECT_EQ(ConvertValue(nullptr, int32sValue, 0, out, int16sValue, 2),
                       Status_InvalidArgument);
         },
         {"dbconvert: FALSE"}},
        {"text size of a non-text",
         [&] {
             uint32_t size = 0;
             GetConvertedSize(&number, int32sValue, 0, 60, &size, false);
         },
         {"dbconvert: false", "dbconvert: destType == stringValue"}},
    });
}

}  // namespace
