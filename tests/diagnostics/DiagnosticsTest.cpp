// The logging library as the driver finds, loads and uses it. Each case needs
// a fresh process: a logger that was found missing stays missing.
#include <gtest/gtest.h>

#include "platform/PathSplit.h"
#include "runtime/Diagnostics.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

constexpr const char* kSourceUnit = "diagtest";

class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveLoggerKey();
        SetEnvironment("VLLOGGER_FILE", log_.string());
        UnsetEnvironment("VLLOGGER_ASSERTIONS");
        SetEnvironment("VLLOGGER_LEVEL", "40");
    }
    void TearDown() override {
        UnloadLogger();
        RemoveLoggerKey();
    }

    static std::u16string Variant(const char16_t* name) {
        return ProgramFolder() + u"loggers" + platform::kPathSeparator + name +
               platform::kPathSeparator;
    }

    TempDir folder_;
    const std::filesystem::path log_ = folder_.path() / "vllogger.log";
};

// Never asked while its flag is clear; then logs assertions and traces up to
// the capped level, until unloaded.
TEST_F(LoggerTest, AssertionsAndTracesReachTheLogWhileLoaded) {
    SetLoggerFolder(ProgramFolder());
    LoadLogger(-1, 0);
    EXPECT_TRUE(IsLoggerActive());
    int evaluated = 0;
    VL_ASSERT((++evaluated, false));
    EXPECT_EQ(evaluated, 0);
    UnloadLogger();

    SetEnvironment("VLLOGGER_ASSERTIONS", "1");
    LoadLogger(-1, 0);
    ASSERT_TRUE(diagnostics::AssertionsEnabled());
    EXPECT_EQ(GetLogLevel(), 31);
    const int line = __LINE__ + 1;
    VL_ASSERT_TEXT(1 + 1 == 3, "destType == stringValue");
    TraceNarrow("unit", 12, "kept", 31);
    TraceNarrow("unit", 13, "dropped", 32);
    TraceWide(u"wide", 14, u"caf\u00e9", 3);
    const unsigned char bytes[] = {0x00, 0xAB, 0xFF};
    TraceBinary("bin", 15, bytes, sizeof bytes, 1);
    TraceFormat("fmt", 16, "%d files in %s", 2, 42, "dir");
    UnloadLogger();
    EXPECT_FALSE(diagnostics::AssertionsEnabled());
    ReportAssertion("diagtest", 7, "after unload");
    LoadLogger(-1, 0);
    ReportAssertion("diagtest", 8, "reloaded");
    // Each load is a line of its own, so that a set-up can be checked.
    const std::string start = "START assertions on, level 40\n";
    EXPECT_EQ(ReadWholeFile(log_),
              "START assertions off, level 40\n" + start + "ASSERT diagtest(" +
                  std::to_string(line) + "): destType == stringValue\n" +
                  "TRACE 31 unit(12): kept\nTRACE 3 wide(14): caf\xC3\xA9\n"
                  "TRACE 1 bin(15): 00abff\nTRACE 2 fmt(16): 42 files in dir\n" +
                  start + "ASSERT diagtest(8): reloaded\n");
}

TEST_F(LoggerTest, WithoutGetLoggingLevelOnlyLevelZeroPasses) {
    SetLoggerFolder(Variant(u"without-level"));
    LoadLogger(-1, 0);
    EXPECT_EQ(GetLogLevel(), 0);
    EXPECT_TRUE(IsLogLevelEnabled(-3));
    EXPECT_FALSE(IsLogLevelEnabled(1));
}

// None named at start-up (not searched again once named), a folder without
// its trailing separator, a library without InitializeLogger: none is used.
class UnavailableLoggerTest : public LoggerTest, public ::testing::WithParamInterface<int> {};

TEST_P(UnavailableLoggerTest, NothingIsLogged) {
    SetEnvironment("VLLOGGER_ASSERTIONS", "1");
    if (GetParam() == 0)
        LoadLogger(-1, 0);
    const std::u16string folder =
        GetParam() == 2 ? Variant(u"without-initialize") : ProgramFolder();
    SetLoggerFolder(GetParam() == 1 ? folder.substr(0, folder.size() - 1) : folder);
    LoadLogger(-1, 0);
    EXPECT_FALSE(IsLoggerActive());
    EXPECT_FALSE(diagnostics::AssertionsEnabled());
    EXPECT_FALSE(IsLogLevelEnabled(0));
    VL_ASSERT(false);
    TraceNarrow("unit", 1, "nothing", 0);
    EXPECT_EQ(ReadWholeFile(log_), "");
}

INSTANTIATE_TEST_SUITE_P(Loggers, UnavailableLoggerTest, ::testing::Values(0, 1, 2));

}  // namespace
