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
        log_ = folder_.path() / "vllogger.log";
        SetEnvironment("VLLOGGER_FILE", log_.string());
        SetEnvironment("VLLOGGER_ASSERTIONS", "1");
        UnsetEnvironment("VLLOGGER_LEVEL");
    }
    void TearDown() override {
        UnloadLogger();
        RemoveLoggerKey();
    }

    std::string Log() const { return ReadWholeFile(log_); }

    static std::u16string VariantFolder(const char* name) {
        return ProgramFolder() + u"loggers" + platform::kPathSeparator + U16(name) +
               platform::kPathSeparator;
    }

    // A folder whose library must not be used: nothing is logged.
    void ExpectUnavailable(const std::u16string& folder) {
        SetLoggerFolder(folder);
        LoadLogger(-1, 0);
        EXPECT_FALSE(IsLoggerActive());
        EXPECT_FALSE(diagnostics::AssertionsEnabled());
        EXPECT_FALSE(IsLogLevelEnabled(0));
        VL_ASSERT(false);
        TraceNarrow("unit", 1, "nothing", 0);
        EXPECT_EQ(Log(), "");
    }

    TempDir folder_;
    std::filesystem::path log_;
};

TEST_F(LoggerTest, AssertionsReachTheLogWithUnitLineAndText) {
    SetLoggerFolder(ProgramFolder());
    LoadLogger(-1, 0);
    ASSERT_TRUE(IsLoggerActive());
    ASSERT_TRUE(diagnostics::AssertionsEnabled());

    int line = __LINE__ + 1;
    VL_ASSERT_TEXT(1 + 1 == 3, "destType == stringValue");
    VL_ASSERT(2 + 2 == 4);
    VL_ASSERT_UNREACHABLE("FALSE");
    EXPECT_EQ(Log(), "ASSERT diagtest(" + std::to_string(line) +
                         "): destType == stringValue\n"
                         "ASSERT diagtest(" +
                         std::to_string(line + 2) + "): FALSE\n");
}

// The start-up path does not search again, even once the key exists.
TEST_F(LoggerTest, NoKeyMeansSilenceForTheRestOfTheProcess) {
    RemoveLoggerKey();
    LoadLogger(-1, 0);
    EXPECT_FALSE(IsLoggerActive());
    UnloadLogger();
    ExpectUnavailable(ProgramFolder());
}

TEST_F(LoggerTest, FolderWithoutTrailingSeparatorIsNotFound) {
    std::u16string folder = ProgramFolder();
    folder.pop_back();
    ExpectUnavailable(folder);
}

TEST_F(LoggerTest, LibraryWithoutInitializeLoggerIsUnavailable) {
    ExpectUnavailable(VariantFolder("without-initialize"));
}

TEST_F(LoggerTest, LibraryThatLeavesTheFlagClearIsLoadedButNeverAsked) {
    UnsetEnvironment("VLLOGGER_ASSERTIONS");
    SetLoggerFolder(ProgramFolder());
    LoadLogger(-1, 0);
    EXPECT_TRUE(IsLoggerActive());
    EXPECT_FALSE(diagnostics::AssertionsEnabled());

    int evaluated = 0;
    VL_ASSERT((++evaluated, false));
    EXPECT_EQ(evaluated, 0);
    EXPECT_EQ(Log(), "");
}

TEST_F(LoggerTest, UnloadSilencesAssertionsAndTheNextLoadLoadsAgain) {
    SetLoggerFolder(ProgramFolder());
    LoadLogger(-1, 0);
    ASSERT_TRUE(IsLoggerActive());
    UnloadLogger();
    EXPECT_FALSE(IsLoggerActive());
    EXPECT_FALSE(diagnostics::AssertionsEnabled());
    ReportAssertion("diagtest", 7, "after unload");
    VL_ASSERT(false);
    EXPECT_EQ(Log(), "");

    LoadLogger(-1, 0);
    EXPECT_TRUE(IsLoggerActive());
    ReportAssertion("diagtest", 8, "reloaded");
    EXPECT_EQ(Log(), "ASSERT diagtest(8): reloaded\n");
}

TEST_F(LoggerTest, LevelIsCappedAndGatesTraces) {
    SetEnvironment("VLLOGGER_LEVEL", "40");
    SetLoggerFolder(ProgramFolder());
    LoadLogger(-1, 0);
    EXPECT_EQ(GetLogLevel(), 31);
    EXPECT_TRUE(IsLogLevelEnabled(31));
    EXPECT_FALSE(IsLogLevelEnabled(32));

    TraceNarrow("unit", 12, "kept", 31);
    TraceNarrow("unit", 13, "dropped", 32);
    TraceWide(u"wide", 14, u"caf\u00e9", 3);
    const unsigned char bytes[] = {0x00, 0xAB, 0xFF};
    TraceBinary("bin", 15, bytes, sizeof bytes, 1);
    TraceFormat("fmt", 16, "%d files in %s", 2, 42, "dir");
    EXPECT_EQ(Log(),
              "TRACE 31 unit(12): kept\n"
              "TRACE 3 wide(14): caf\xC3\xA9\n"
              "TRACE 1 bin(15): 00abff\n"
              "TRACE 2 fmt(16): 42 files in dir\n");
}

TEST_F(LoggerTest, WithoutGetLoggingLevelOnlyLevelZeroPasses) {
    SetEnvironment("VLLOGGER_LEVEL", "20");
    SetLoggerFolder(VariantFolder("without-level"));
    LoadLogger(-1, 0);
    ASSERT_TRUE(IsLoggerActive());
    EXPECT_EQ(GetLogLevel(), 0);
    EXPECT_TRUE(IsLogLevelEnabled(0));
    EXPECT_TRUE(IsLogLevelEnabled(-3));
    EXPECT_FALSE(IsLogLevelEnabled(1));
}

TEST(LoggerIdle, NothingHappensBeforeALoad) {
    EXPECT_FALSE(IsLoggerActive());
    EXPECT_EQ(GetLogLevel(), 0);
    EXPECT_FALSE(IsLogLevelEnabled(0));
    ReportAssertion("diagtest", 1, "nobody listens");
}

}  // namespace
