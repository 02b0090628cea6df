// Reading the four logon values from the engine's properties, in-process
// with the driver's resource texts (German beside the test program).
#include <gtest/gtest.h>

#include <string>

#include "logon/LogonParameters.h"
#include "logon/PropertyById.h"
#include "tests/logon/EngineCollection.h"
#include "tests/support/ScopedResources.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

class LogonParametersTest : public ::testing::Test {
protected:
    // "directory|mask|levels|flag" as read with `tag`.
    static std::string Read(EngineCollection& engine, const char16_t* tag = u"") {
        LogonParameters parameters;
        parameters.startingDirectory = u"stale";
        EXPECT_EQ(ReadLogonParameters(engine.get(), tag, parameters), Status_Success);
        return U8(parameters.startingDirectory.str()) + "|" + U8(parameters.fileMask.str()) + "|" +
               std::to_string(parameters.maxSubDirLevels) + "|" +
               (parameters.includeEmptyDirectories ? "true" : "false");
    }

    ScopedResources resources_;
};

TEST_F(LogonParametersTest, DefaultsBesideAStartingDirectory) {
    EngineCollection engine;
    engine.AddString(u"Starting Directory", nullptr, u"/data");
    EXPECT_EQ(Read(engine), "/data|*.*|-1|false");

    EngineCollection none;
    EXPECT_EQ(Read(none), "|*.*|-1|false");
    LogonParameters parameters;
    ReadLogonParameters(nullptr, u"", parameters);
    EXPECT_EQ(U8(parameters.fileMask.str()), "*.*");
}

TEST_F(LogonParametersTest, EveryValueAndItsTypes) {
    EngineCollection engine;
    engine.AddString(u"starting directory", nullptr, u"/data");
    engine.AddString(u"File Mask", nullptr, u"*.TXT");
    engine.AddInt32(u"Max Number of Subdirectory Levels", nullptr, 4);
    engine.AddBoolean(u"Include Empty Directories", nullptr, true);
    // Read nowhere, whatever they hold.
    engine.AddString(u"Server", nullptr, u"elsewhere");
    engine.AddString(u"Include All Files", nullptr, u"1");
    engine.AddString(u"PreQEServerType", nullptr, u"x");
    EXPECT_EQ(Read(engine), "/data|*.TXT|4|true");
}

TEST_F(LogonParametersTest, ValuesOfOtherTypesReadThroughTheirTexts) {
    const struct {
        const char16_t* levels;  // as a string value
        const char16_t* flag;    // as a string value
        const char* expected;
    } cases[] = {
        {u"3", u"1", "/d|*.*|3|true"},
        {u"-1", u"0", "/d|*.*|-1|false"},
        {u"three", u"yes", "/d|*.*|-1|false"},  // not numbers: the defaults
        {u"", u"", "/d|*.*|-1|false"},
        {u"99999999999", u"2", "/d|*.*|-1|true"},  // does not fit
    };
    for (const auto& c : cases) {
        EngineCollection engine;
        engine.AddString(u"Starting Directory", nullptr, u"/d");
        engine.AddString(u"Max Number of Subdirectory Levels", nullptr, c.levels);
        engine.AddString(u"Include Empty Directories", nullptr, c.flag);
        EXPECT_EQ(Read(engine), c.expected) << U8(c.levels) << " " << U8(c.flag);
    }

    EngineCollection numbers;
    numbers.AddInt32(u"Starting Directory", nullptr, 17);
    numbers.AddBoolean(u"File Mask", nullptr, true);
    const int64_t levels = 6;
    numbers.AddPayload(u"Max Number of Subdirectory Levels", nullptr, int64sValue, &levels,
                       sizeof levels);
    EXPECT_EQ(Read(numbers), "17|1|6|false");
}

TEST_F(LogonParametersTest, ValuesThatHoldNothingReadAsDefaults) {
    EngineCollection engine;
    engine.AddString(u"Starting Directory", nullptr, u"/d");
    engine.AddString(u"File Mask", nullptr, u"");  // an empty mask means every file
    DbProperty& levels = engine.AddBare(u"Max Number of Subdirectory Levels", nullptr,
                                        int32sValue);  // no value record
    (void)levels;
    int32_t low = 1, high = 2;
    DbRangeValue range{sizeof(DbRangeValue), engine.Value(singleKind, int32sValue, &low), 0,
                       engine.Value(singleKind, int32sValue, &high), 0};
    engine.AddValue(u"Include Empty Directories", nullptr, booleanValue,
                    engine.Value(rangeKind, int32sValue, &range));
    EXPECT_EQ(Read(engine), "/d|*.*|-1|false");

    EngineCollection ranged;
    ranged.AddValue(u"Max Number of Subdirectory Levels", nullptr, int32sValue,
                    ranged.Value(rangeKind, int32sValue, &range));
    ranged.AddValue(u"Starting Directory", nullptr, stringValue,
                    ranged.Value(emptyKind, stringValue, nullptr));
    EXPECT_EQ(Read(ranged), "|*.*|-1|false");
}

// The one text form stands in for a missing directory only.
TEST_F(LogonParametersTest, TheOneTextFormStandsInForAMissingDirectory) {
    EngineCollection engine;
    engine.AddString(u"File Mask", nullptr, u"*.doc");
    engine.AddBoolean(u"Include Empty Directories", nullptr, true);
    engine.AddString(u"preqedatabasename", nullptr, u"</data||2>");
    EXPECT_EQ(Read(engine), "/data|*.*|2|true");  // an empty mask means every file

    EngineCollection both;
    both.AddString(u"PreQEDatabaseName", nullptr, u"</other|*.x|1>");
    both.AddString(u"Starting Directory", nullptr, u"/data");
    EXPECT_EQ(Read(both), "/data|*.*|-1|false");
}

TEST_F(LogonParametersTest, NamesInTheCallersLanguage) {
    EngineCollection german;
    german.AddString(u"Startverzeichnis", nullptr, u"/daten");
    german.AddString(u"dateimaske", nullptr, u"*.csv");
    german.AddInt32(u"x", u"Maximale Anzahl Unterverzeichnisebenen", 2);
    german.AddBoolean(u"y", u"Leere Verzeichnisse einschließen", true);
    EXPECT_EQ(Read(german, u"de"), "/daten|*.csv|2|true");
    EXPECT_EQ(Read(german, u"de-AT"), "/daten|*.csv|2|true");
    EXPECT_EQ(Read(german, u""), "|*.*|-1|false");

    // English names are read whatever the caller's language.
    EngineCollection english;
    english.AddString(u"Starting Directory", nullptr, u"/data");
    english.AddInt32(u"Max Number of Subdirectory Levels", nullptr, 1);
    EXPECT_EQ(Read(english, u"de"), "/data|*.*|1|false");
}

TEST_F(LogonParametersTest, TypedReadsByResourceId) {
    EngineCollection engine;
    engine.AddString(u"File Mask", nullptr, u"*.txt");
    engine.AddBoolean(u"Include Empty Directories", nullptr, true);
    EXPECT_EQ(U8(GetStringPropertyById(engine.get(), 2, u"").str()), "*.txt");
    EXPECT_EQ(U8(GetStringPropertyById(engine.get(), 1, u"").str()), "");
    EXPECT_TRUE(GetBooleanPropertyById(engine.get(), 136, u"de", false));
    EXPECT_TRUE(GetBooleanPropertyById(engine.get(), 150, u"", true));
    EXPECT_EQ(GetIntegerPropertyById(engine.get(), 2, u"", 42), 42);  // "*.txt" is no number
    EXPECT_EQ(GetIntegerPropertyById(engine.get(), 136, u"", 42), 1);
    EXPECT_EQ(GetIntegerPropertyById(engine.get(), 3, u"", -5), -5);
}

TEST(LogonParametersMatch, EveryValueCounts) {
    auto make = [](const char16_t* directory, const char16_t* mask, int32_t levels, bool flag) {
        LogonParameters parameters;
        parameters.startingDirectory = directory;
        parameters.fileMask = mask;
        parameters.maxSubDirLevels = levels;
        parameters.includeEmptyDirectories = flag;
        return parameters;
    };
    const LogonParameters base = make(u"C:\\Data", u"*.txt", -1, false);
    EXPECT_TRUE(LogonParametersMatch(base, base));
    EXPECT_TRUE(LogonParametersMatch(base, make(u"c:\\DATA", u"*.TXT", -1, false)));
    EXPECT_FALSE(LogonParametersMatch(base, make(u"C:\\Data\\", u"*.txt", -1, false)));
    EXPECT_FALSE(LogonParametersMatch(base, make(u"C:/Data", u"*.txt", -1, false)));
    EXPECT_FALSE(LogonParametersMatch(base, make(u"C:\\Data", u"*.*", -1, false)));
    EXPECT_FALSE(LogonParametersMatch(base, make(u"C:\\Data", u"*.txt", 5, false)));
    EXPECT_FALSE(LogonParametersMatch(base, make(u"C:\\Data", u"*.txt", -1, true)));
}

}  // namespace
