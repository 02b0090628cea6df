// The logon dialog's description and the answers to its check boxes, called
// through the host loader as the engine calls them. Each case loads the
// library afresh.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/logon/CollectionText.h"
#include "tests/logon/EngineCollection.h"
#include "tests/support/AssertionCapture.h"
#include "tests/support/TestSupport.h"
#include "tools/fsdata/DialogCommand.h"

using namespace testing_support;

namespace {

DbPropertyCollection* const kUntouchedAnswer = reinterpret_cast<DbPropertyCollection*>(0x5A5A);

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        driver_ = OpenDriver();
        ASSERT_TRUE(driver_);
        api().DbInitialize();
    }
    void TearDown() override {
        if (driver_)
            api().DbTerminate();
    }

    const host::DriverEntryPoints& api() const { return driver_->api(); }

    // The description for `properties`, as text; "status N" on failure.
    std::string Describe(const DbLogonInfo* in, const char16_t* tag = u"") {
        DbLogonInfo* out = reinterpret_cast<DbLogonInfo*>(0x1);  // cleared by the driver
        DbStatus status = api().DbFetchLogonUIInfo(nullptr, in, nullptr, tag, &out);
        if (status != Status_Success) {
            EXPECT_EQ(out, nullptr);
            return "status " + std::to_string(status);
        }
        EXPECT_EQ(out->structSize, 40u);
        EXPECT_EQ(out->ownsText, 1);
        EXPECT_EQ(out->text, nullptr);
        EXPECT_EQ(out->value, nullptr);
        std::string text = CollectionText(out->properties);
        EXPECT_EQ(api().DbFreeLogonInfo(out), Status_Success);
        return text;
    }
    std::string Describe(EngineCollection& properties, const char16_t* tag = u"") {
        DbLogonInfo in = EngineLogonInfo(properties.get());
        return Describe(&in, tag);
    }

    // The answer to request `number` as text, or "status N, answer ..." on failure.
    std::string Request(uint32_t number, DbPropertyCollection* properties) {
        DbPropertyCollection* answer = kUntouchedAnswer;
        DbStatus status = api().DbHandleUIPropertyRequest(nullptr, number, nullptr, nullptr,
                                                          nullptr, properties, &answer, nullptr);
        if (status != Status_Success) {
            return "status " + std::to_string(status) + ", answer " +
                   (answer == kUntouchedAnswer ? "untouched"
                    : answer == nullptr        ? "null"
                                               : "set");
        }
        std::string text = CollectionText(answer);
        EXPECT_EQ(api().DbFreePropertyCollection(answer), Status_Success);
        return text;
    }

    std::unique_ptr<host::DriverLibrary> driver_;
};

// The line of the property `name` in a description, "" when there is none.
std::string Line(const std::string& description, const std::string& name) {
    const size_t at = description.find("    " + name + " /");
    return at == std::string::npos
               ? ""
               : description.substr(at + 4, description.find('\n', at) - at - 4);
}

// An update of the answer to a request.
std::string Update(const std::string& name, int messageType, const std::string& argument) {
    return name +
           " / ~ / ~ : unknown = empty:unknown\n"
           "  PropInfo_UpdateMessageType / ~ / ~ : int32u = int32u:" +
           std::to_string(messageType) + "\n  PropInfo_UpdateToValue / ~ / ~ : " + argument + "\n";
}

const std::string kMask = "File Mask";
const std::string kLevels = "Max Number of Subdirectory Levels";

// `fsdata dialog`, in English and German, against its golden files.
TEST_F(DialogTest, AsFsdataPrintsItMatchesTheGoldenFiles) {
    for (const char* language : {"en", "de"}) {
        fsdata::CommandLine line;
        line.command = "dialog";
        line.options["--lang"] = language;
        testing::internal::CaptureStdout();
        fsdata::Output out(stdout);
        EXPECT_EQ(fsdata::RunDialog(*driver_, line, out), fsdata::kExitSuccess);
        EXPECT_TRUE(out.Flush());
        std::string printed = testing::internal::GetCapturedStdout();
        printed.erase(std::remove(printed.begin(), printed.end(), '\r'), printed.end());
        std::string root = FSDATA_SOURCE_DIR;
        if (IsWindowsBuild() && root[0] == '/')
            root = "Z:" + root;  // the tree is on Z: under Wine
        const std::string golden = std::string("dialog-") + language + ".txt";
        EXPECT_EQ(printed, ReadWholeFile(std::filesystem::path(root) / "tests" / "driver" /
                                         "golden" / golden))
            << golden;
    }
    // The engine may give no language, or one without texts of its own.
    EngineCollection empty;
    EXPECT_EQ(Describe(empty, nullptr), Describe(empty, u""));
    EXPECT_EQ(Describe(empty, u"en-GB"), Describe(empty, u""));
}

TEST_F(DialogTest, ValuesAsTheEngineGivesThem) {
    const struct {
        const char16_t* mask;
        int32_t levels;
        const char* shownMask;
        bool allFiles;
        bool allSubdirectories;
    } cases[] = {
        {u"*.txt", 2, "*.txt", false, false},
        {u"*", 0, "*", false, false},
        {u"*.*", -1, "*.*", true, true},
        {u"", -2, "*.*", true, false},  // an empty mask means every file
        {u"*.* ", 5, "*.* ", false, false},
    };
    auto flag = [](bool set) { return set ? std::string("boolean:true") : "boolean:false"; };
    for (const auto& c : cases) {
        SCOPED_TRACE(U8(c.mask));
        EngineCollection properties;
        properties.AddString(u"Starting Directory", nullptr, u"/no/such/directory");
        properties.AddString(u"File Mask", nullptr, c.mask);
        properties.AddInt32(u"Max Number of Subdirectory Levels", nullptr, c.levels);
        properties.AddBoolean(u"Include Empty Directories", nullptr, true);
        // A directory that does not exist is shown all the same.
        const std::string text = Describe(properties);
        EXPECT_EQ(Line(text, "Starting Directory"),
                  "Starting Directory / ~ / ~ : string = string:\"/no/such/directory\"");
        EXPECT_EQ(Line(text, kMask),
                  kMask + " / " + kMask + " / ~ : string = string:\"" + c.shownMask + "\"");
        EXPECT_EQ(Line(text, kLevels),
                  kLevels + " / " + kLevels + " / ~ : int32s = int32s:" + std::to_string(c.levels));
        EXPECT_EQ(Line(text, "Include All Files"),
                  "Include All Files / Include All Files / ~ : boolean = " + flag(c.allFiles));
        EXPECT_EQ(Line(text, "Include All Subdirectories"),
                  "Include All Subdirectories / Include All Subdirectories / ~ : boolean = " +
                      flag(c.allSubdirectories));
        EXPECT_EQ(Line(text, "Include Empty Directories"),
                  "Include Empty Directories / Include Empty Directories / ~ : boolean = "
                  "boolean:true");
    }
}

TEST_F(DialogTest, TheInputIsReadAsItStands) {
    EngineCollection empty, properties;
    properties.AddString(u"Starting Directory", nullptr, u"/data");
    DbLogonInfo in = EngineLogonInfo(properties.get());
    DbLogonInfo* dialog = nullptr;
    ASSERT_EQ(api().DbFetchLogonUIInfo(nullptr, &in, nullptr, u"", &dialog), Status_Success);
    // A description given back is not unpacked: its tab holds the values.
    EXPECT_EQ(Describe(dialog), Describe(empty));
    api().DbFreeLogonInfo(dialog);
}

TEST_F(DialogTest, NullInput) {
    EXPECT_EQ(Describe(nullptr), "status 12");
    DbLogonInfo noProperties = EngineLogonInfo(nullptr);
    EXPECT_EQ(Describe(&noProperties), "status 12");
}

TEST_F(DialogTest, IncludeAllFiles) {
    EngineCollection empty;
    DbLogonInfo in = EngineLogonInfo(empty.get());
    DbLogonInfo* dialog = nullptr;
    ASSERT_EQ(api().DbFetchLogonUIInfo(nullptr, &in, nullptr, u"de", &dialog), Status_Success);
    // The check box inside the tab's hints, as the user left it.
    DbPropertyCollection* members = dialog->properties->items[1]->uiInfo->items[1]->uiInfo;
    uint16_t* box = static_cast<uint16_t*>(members->items[1]->value->data);

    *box = 1;
    EXPECT_EQ(Request(1, dialog->properties), Update(kMask, 5, "string = string:\"*.*\"") +
                                                  Update(kMask, 2, "boolean = boolean:false"));
    *box = 0;
    EXPECT_EQ(Request(1, dialog->properties), Update(kMask, 2, "boolean = boolean:true"));

    // A flat list serves as well.
    EngineCollection flat;
    flat.AddString(u"File Mask", nullptr, u"*.txt");
    flat.AddBoolean(u"include all files", nullptr, true);
    EXPECT_EQ(Request(1, flat.get()), Update(kMask, 5, "string = string:\"*.*\"") +
                                          Update(kMask, 2, "boolean = boolean:false"));
    api().DbFreeLogonInfo(dialog);
}

TEST_F(DialogTest, IncludeAllSubdirectories) {
    EngineCollection empty;
    DbLogonInfo in = EngineLogonInfo(empty.get());
    DbLogonInfo* dialog = nullptr;
    ASSERT_EQ(api().DbFetchLogonUIInfo(nullptr, &in, nullptr, u"", &dialog), Status_Success);
    DbPropertyCollection* members = dialog->properties->items[1]->uiInfo->items[1]->uiInfo;
    uint16_t* box = static_cast<uint16_t*>(members->items[3]->value->data);

    *box = 1;
    EXPECT_EQ(Request(2, dialog->properties), Update(kLevels, 5, "string = string:\"-1\"") +
                                                  Update(kLevels, 2, "boolean = boolean:false"));
    *box = 0;
    EXPECT_EQ(Request(2, dialog->properties), Update(kLevels, 5, "string = string:\"0\"") +
                                                  Update(kLevels, 2, "boolean = boolean:true"));
    api().DbFreeLogonInfo(dialog);
}

// With the logging library in place before the driver starts.
class DialogReportTest : public DialogTest {
protected:
    AssertionCapture capture;
};

TEST_F(DialogReportTest, CheckBoxesThatHoldNoBoolean) {
    ASSERT_TRUE(capture.active());
    EngineCollection text;
    text.AddString(u"Include All Files", nullptr, u"1");
    text.AddString(u"Include All Subdirectories", nullptr, u"true");
    EngineCollection missing;
    missing.AddBoolean(u"File Mask", nullptr, true);
    EngineCollection number;
    number.AddInt32(u"Include All Files", nullptr, 1);
    EngineCollection empty;
    empty.AddValue(u"Include All Files", nullptr, booleanValue,
                   empty.Value(emptyKind, booleanValue, nullptr));
    uint16_t set = 1;
    DbValue* members[] = {empty.Value(singleKind, booleanValue, &set)};
    DbValueList list{sizeof(DbValueList), 1, members};
    EngineCollection listed;
    listed.AddValue(u"Include All Files", nullptr, booleanValue,
                    listed.Value(multipleKind, booleanValue, &list));

    for (EngineCollection* properties : {&text, &missing, &number, &empty, &listed}) {
        EXPECT_EQ(Request(1, properties->get()), "status 11, answer null");
        EXPECT_EQ(capture.Reports(), std::vector<std::string>{"fslogon: false"});
    }
    EXPECT_EQ(Request(2, text.get()), "status 11, answer null");
    EXPECT_EQ(Request(1, nullptr), "status 11, answer null");
    EXPECT_EQ(capture.Reports(), (std::vector<std::string>{"fslogon: false", "fslogon: false"}));
}

TEST_F(DialogReportTest, UnknownRequests) {
    ASSERT_TRUE(capture.active());
    EngineCollection properties;
    properties.AddBoolean(u"Include All Files", nullptr, true);
    for (uint32_t number : {0u, 3u, 12u, 0xFFFFFFFFu}) {
        EXPECT_EQ(Request(number, properties.get()), "status 12, answer untouched") << number;
        EXPECT_EQ(capture.Reports(), std::vector<std::string>{"FileSystem: false"}) << number;
    }
}

}  // namespace
