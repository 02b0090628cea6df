// What the conversions report to the logging library.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "tests/support/AssertionCapture.h"
#include "values/ValueConversion.h"

using namespace testing_support;

namespace {

using Lines = std::vector<std::string>;

class ConversionAssertionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(capture_.active()); }
    AssertionCapture capture_;
};

TEST_F(ConversionAssertionTest, LargestUnsignedToNumber) {
    uint64_t most = UINT64_MAX, less = UINT64_MAX - 1;
    double out = 0;
    EXPECT_EQ(ConvertValue(&less, int64uValue, 0, &out, numberValue, 8), Status_Success);
    EXPECT_EQ(capture_.Reports(), Lines{});
    EXPECT_EQ(ConvertValue(&most, int64uValue, 0, &out, numberValue, 8), Status_Success);
    EXPECT_EQ(out, -1.0);
    EXPECT_EQ(capture_.Reports(), Lines{"dbconvert: *(Int64u *) srcBuffer < MaxInt64u"});
}

TEST_F(ConversionAssertionTest, RejectedArgumentsAndTypes) {
    int32_t number = 5;
    uint8_t out[16] = {};
    EXPECT_EQ(ConvertValue(nullptr, int32sValue, 0, out, int16sValue, 2), Status_InvalidArgument);
    EXPECT_EQ(ConvertValue(&number, int32sValue, 0, out, blobValue, 8), Status_InvalidArgument);
    EXPECT_EQ(capture_.Reports(), (Lines{"dbconvert: FALSE", "dbconvert: FALSE"}));

    // Code 12 is no type: the size query and the dispatch both say so.
    EXPECT_EQ(ConvertValue(&number, int32sValue, 0, out, 12, 16), Status_ConversionFailed);
    Lines reports = capture_.Reports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), "dbconvert: false");

    EXPECT_EQ(ConvertValue(&number, 12, 0, out, int32sValue, 4), Status_ConversionFailed);
    EXPECT_EQ(capture_.Reports(), Lines{"dbconvert: FALSE"});
}

TEST_F(ConversionAssertionTest, TextToTextThroughTheNumberPath) {
    // Only a direct call reaches it: text-to-text conversions copy.
    char16_t out[8];
    uint32_t size = 0;
    int32_t number = 1;
    EXPECT_EQ(GetConvertedSize(&number, int32sValue, 0, int8sValue, &size, false), Status_Success);
    EXPECT_EQ(capture_.Reports(), Lines{});
    EXPECT_EQ(ConvertValue(u"abc", stringValue, 0, out, memoValue, sizeof out), Status_Success);
    EXPECT_EQ(capture_.Reports(), Lines{});
}

TEST_F(ConversionAssertionTest, SameTypeCopyOfANonType) {
    uint8_t source[16] = {1, 2, 3}, out[16] = {};
    EXPECT_EQ(ConvertValue(source, 50, 0, out, 50, sizeof out), Status_Success);
    // The size checks and the copy each name the stranger; the copy does nothing.
    EXPECT_EQ(capture_.Reports(), (Lines{"dbdllcommon: FALSE", "dbconvert: false",
                                         "dbdllcommon: FALSE", "dbdllcommon: false"}));
    EXPECT_EQ(out[0], 0) << "nothing copied";
}

TEST_F(ConversionAssertionTest, SizeOfANonTextDestination) {
    int32_t number = 1;
    uint32_t size = 0;
    GetConvertedSize(&number, int32sValue, 0, 60, &size, false);
    Lines reports = capture_.Reports();
    EXPECT_NE(std::find(reports.begin(), reports.end(), "dbconvert: destType == stringValue"),
              reports.end());
}

}  // namespace
