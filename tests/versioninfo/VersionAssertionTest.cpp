// What loading version information reports to the logging library.
#include <gtest/gtest.h>

#include "fileinfo/FileRecord.h"
#include "tests/support/AssertionCapture.h"
#include "tests/versioninfo/VersionFixtures.h"

using namespace testing_support;
using namespace version_testing;
using Lines = std::vector<std::string>;

namespace {

class VersionAssertionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(capture_.active()); }
    AssertionCapture capture_;
    FileRecord record_{u""};
};

TEST_F(VersionAssertionTest, AWrongSignatureIsReportedAndTheValuesTaken) {
    const VersionRow row = LoadVersionRow(record_, FixtureFolder(), u"badsignature.dll");
    EXPECT_EQ(capture_.Reports(), Lines{"fileinfo: ffi->dwSignature == 0xFEEF04BD"});
    EXPECT_EQ(row.texts[kVersionBinaryFileVersion], "2.3.4.5");
    EXPECT_EQ(row.texts[kVersionBinaryProductVersion], "6.7.8.9");
    EXPECT_EQ(row.flags, (std::vector<int>{1, 0, 0, 0, 0}));

    // Loaded for the row: reading another field reports nothing more.
    record_.Version();
    EXPECT_EQ(capture_.Reports(), Lines{});
}

TEST_F(VersionAssertionTest, TheRightSignatureIsNotReported) {
    const VersionRow row = LoadVersionRow(record_, FixtureFolder(), u"full64.dll");
    EXPECT_EQ(row.texts[kVersionBinaryFileVersion], "6.1.7601.0");
    EXPECT_EQ(capture_.Reports(), Lines{});
}

}  // namespace
