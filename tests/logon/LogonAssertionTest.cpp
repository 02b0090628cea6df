// A failed check of the logon code reports through the logging library,
// loaded afresh in a process of its own; ordinary work reports nothing.
#include <gtest/gtest.h>

#include "logon/PreQEDatabaseName.h"
#include "logon/PropertyCollection.h"
#include "tests/logon/EngineCollection.h"
#include "tests/support/AssertionCapture.h"

using namespace testing_support;

TEST(LogonAssertion, FailedChecksReportAndOrdinaryWorkDoesNot) {
    AssertionCapture capture;
    ASSERT_TRUE(capture.active());
    EngineCollection engine;
    engine.AddNull();
    engine.AddString(u"File Mask", nullptr, u"*.*");
    EXPECT_EQ(FindPropertyIndex(engine.get(), u"File Mask"), 1);
    EXPECT_EQ(capture.Reports(), std::vector<std::string>{"propcoll: prop != NULL"});
    SWCharString directory, mask;
    int32_t levels = 0;
    EXPECT_TRUE(ParsePreQEDatabaseName(u"</d|*|1>", directory, mask, levels));
    EXPECT_FALSE(ParsePreQEDatabaseName(u"</data|3>", directory, mask, levels));
    EXPECT_EQ(capture.Reports(), std::vector<std::string>{});
}
