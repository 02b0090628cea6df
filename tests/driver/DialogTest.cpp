// The logon dialog's description and the answers to its check boxes, called
// through the host loader as the engine calls them. Each case loads the
// library afresh.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/driver/DriverCase.h"
#include "tests/logon/CollectionText.h"
#include "tests/logon/EngineCollection.h"
#include "tests/support/AssertionCapture.h"
#include "tests/support/ReferenceTable.h"
#include "tools/fsdata/DialogCommand.h"

using namespace testing_support;

namespace {

DbPropertyCollection* const kUntouchedAnswer = reinterpret_cast<DbPropertyCollection*>(0x5A5A);

class DialogTest : public DriverCase {
protected:
    // The description for `in` as text; "status N" on failure.
    std::string Describe(const DbLogonInfo* in, const char16_t* tag = u"") {
        DbLogonInfo* out = reinterpret_cast<DbLogonInfo*>(0x1);  // cleared by the driver
        DbStatus status = api().DbFetchLogonUIInfo(nullptr, in, nullptr, tag, &out);
        if (status != Status_Success) {
            EXPECT_EQ(out, nullptr);
            return "status " + std::to_string(status);
        }
        const std::string text = CollectionText(out->properties);
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
                    : answer                   ? "set"
                                               : "null");
        }
        std::string text = CollectionText(answer);
        EXPECT_EQ(api().DbFreePropertyCollection(answer), Status_Success);
        return text;
    }
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
        EXPECT_EQ(fsdata::RunDialog(*driver_, line), fsdata::kExitSuccess);
        std::string printed = testing::internal::GetCapturedStdout();
        printed.erase(std::remove(printed.begin(), printed.end(), '\r'), printed.end());
        const std::string golden = std::string("dialog-") + language + ".txt";
        EXPECT_EQ(printed, ReadWholeFile(SourceFolder() / "tests/driver/golden" / golden))
            << golden;
    }
    // The engine may give no language, or one without texts of its own.
    EngineCollection empty;
    EXPECT_EQ(Describe(empty, nullptr), Describe(empty, u""));
    EXPECT_EQ(Describe(empty, u"en-GB"), Describe(empty, u""));
}

TEST_F(DialogTest, ValuesAsTheEngineGivesThem) {
    const ReferenceTable table = ReferenceTable::LoadCases("driver/dialog-values.tsv");
    auto box = [](const std::string& name, const std::string& flag) {
        return name + " / " + name + " / ~ : boolean = boolean:" + flag;
    };
    for (const ReferenceTable::Row& row : table.rows()) {
        SCOPED_TRACE(row.name);
        EngineCollection properties;
        // A directory that does not exist is shown all the same.
        properties.AddString(u"Starting Directory", nullptr, u"/no/such/directory");
        properties.AddString(u"File Mask", nullptr, U16(table.Field(row, "mask")).c_str());
        properties.AddInt32(u"Max Number of Subdirectory Levels", nullptr,
                            std::stoi(table.Field(row, "levels")));
        const std::string text = Describe(properties);
        EXPECT_EQ(Line(text, "Starting Directory"),
                  "Starting Directory / ~ / ~ : string = string:\"/no/such/directory\"");
        EXPECT_EQ(Line(text, kMask), kMask + " / " + kMask + " / ~ : string = string:\"" +
                                         table.Field(row, "shown mask") + "\"");
        EXPECT_EQ(Line(text, "Include All Files"),
                  box("Include All Files", table.Field(row, "all files")));
        EXPECT_EQ(Line(text, "Include All Subdirectories"),
                  box("Include All Subdirectories", table.Field(row, "all subdirectories")));
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
    EXPECT_EQ(Describe(nullptr), "status 12");
    DbLogonInfo noProperties = EngineLogonInfo(nullptr);
    EXPECT_EQ(Describe(&noProperties), "status 12");
}

// Each check box, as the user left it, sets or frees its edit field.
TEST_F(DialogTest, CheckBoxRequests) {
    EngineCollection empty;
    DbLogonInfo in = EngineLogonInfo(empty.get());
    DbLogonInfo* dialog = nullptr;
    ASSERT_EQ(api().DbFetchLogonUIInfo(nullptr, &in, nullptr, u"de", &dialog), Status_Success);
    DbPropertyCollection* members = dialog->properties->items[1]->uiInfo->items[1]->uiInfo;
    const std::string kSetAll = "string = string:\"*.*\"", kAllLevels = "string = string:\"-1\"";
    const std::string kLock = "boolean = boolean:false", kFree = "boolean = boolean:true";
    const struct {
        uint32_t request, box;
        uint16_t checked;
        std::string answer;
    } cases[] = {
        {1, 1, 1, Update(kMask, 5, kSetAll) + Update(kMask, 2, kLock)},
        {1, 1, 0, Update(kMask, 2, kFree)},
        {2, 3, 1, Update(kLevels, 5, kAllLevels) + Update(kLevels, 2, kLock)},
        {2, 3, 0, Update(kLevels, 5, "string = string:\"0\"") + Update(kLevels, 2, kFree)},
    };
    for (const auto& c : cases) {
        *static_cast<uint16_t*>(members->items[c.box]->value->data) = c.checked;
        EXPECT_EQ(Request(c.request, dialog->properties), c.answer) << c.request << c.checked;
    }
    api().DbFreeLogonInfo(dialog);
    // A flat list serves as well.
    EngineCollection flat;
    flat.AddString(u"File Mask", nullptr, u"*.txt");
    flat.AddBoolean(u"include all files", nullptr, true);
    EXPECT_EQ(Request(1, flat.get()), Update(kMask, 5, kSetAll) + Update(kMask, 2, kLock));
}

// With the logging library in place before the driver starts.
class DialogReportTest : public DialogTest {
protected:
    AssertionCapture capture;
};

TEST_F(DialogReportTest, CheckBoxesThatHoldNoBooleanAndUnknownRequests) {
    ASSERT_TRUE(capture.active());
    EngineCollection text, missing, empty, listed;
    text.AddString(u"Include All Files", nullptr, u"1");
    text.AddString(u"Include All Subdirectories", nullptr, u"true");
    missing.AddBoolean(u"File Mask", nullptr, true);
    empty.AddValue(u"Include All Files", nullptr, booleanValue,
                   empty.Value(emptyKind, booleanValue, nullptr));
    uint16_t set = 1;
    DbValue* members[] = {empty.Value(singleKind, booleanValue, &set)};
    DbValueList list{sizeof(DbValueList), 1, members};
    listed.AddValue(u"Include All Files", nullptr, booleanValue,
                    listed.Value(multipleKind, booleanValue, &list));
    for (EngineCollection* properties : {&text, &missing, &empty, &listed}) {
        EXPECT_EQ(Request(1, properties->get()), "status 11, answer null");
        EXPECT_EQ(capture.Reports(), std::vector<std::string>{"fslogon: false"});
    }
    EXPECT_EQ(Request(2, text.get()), "status 11, answer null");
    EXPECT_EQ(Request(1, nullptr), "status 11, answer null");
    EXPECT_EQ(capture.Reports(), (std::vector<std::string>{"fslogon: false", "fslogon: false"}));

    for (uint32_t request : {0u, 3u, 0xFFFFFFFFu}) {
        EXPECT_EQ(Request(request, text.get()), "status 12, answer untouched") << request;
        EXPECT_EQ(capture.Reports(), std::vector<std::string>{"FileSystem: false"}) << request;
    }
}

}  // namespace
