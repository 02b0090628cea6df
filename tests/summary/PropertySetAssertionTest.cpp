// What the property-set reader reports: a name met twice in a dictionary.
#include <gtest/gtest.h>

#include "fileinfo/SummaryInfoReader.h"
#include "formats/PropertySetReader.h"
#include "platform/StructuredStorage.h"
#include "tests/summary/PropertySetBytes.h"
#include "tests/support/AssertionCapture.h"

using namespace testing_props;
using testing_support::AssertionCapture;

namespace {

TEST(PropertySetAssertion, DuplicateDictionaryName) {
    AssertionCapture capture;
    ASSERT_TRUE(capture.active());
    auto stream = platform::OpenMemoryStream(
        SummaryStream({{0, Dictionary({{2, "Name"}, {3, "NAME"}, {4, "other"}})}, {2, I4(1)}}));
    PropertySetReader reader;
    ASSERT_TRUE(reader.ReadPropertySet(*stream));
    EXPECT_EQ(reader.sections().at(0).dictionary().size(), 2u);
    EXPECT_EQ(capture.Reports(), std::vector<std::string>{"gprpset: !bNameExists"});
}

TEST(PropertySetAssertion, SoundStreamReportsNothing) {
    AssertionCapture capture;
    ASSERT_TRUE(capture.active());
    auto stream = platform::OpenMemoryStream(SummaryStream(
        {{0, Dictionary({{2, "a"}, {3, "b"}})}, {2, Lpstr("t")}, {3, Typed(0x101E, U32Bytes(0))}}));
    PropertySetReader reader;
    ASSERT_TRUE(reader.ReadPropertySet(*stream));
    EXPECT_TRUE(capture.Reports().empty());
}

}  // namespace
