// The logon dialog's description and the answers to its check boxes, called
// through the host loader as the engine calls them, against golden files.
// Each case loads the library afresh.
#include <string>
#include <vector>

#include "tests/driver/DriverCase.h"
#include "tests/logon/CollectionText.h"
#include "tests/logon/EngineCollection.h"
#include "tests/support/AssertionCapture.h"
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
                                               : "null") +
                   "\n";
        }
        std::string text = CollectionText(answer);
        EXPECT_EQ(api().DbFreePropertyCollection(answer), Status_Success);
        return text;
    }
};

// `fsdata dialog`, in English and German, against its golden files.
TEST_F(DialogTest, AsFsdataPrintsIt) {
    for (const char* language : {"en", "de"}) {
        fsdata::CommandLine line;
        line.command = "dialog";
        line.options["--lang"] = language;
        testing::internal::CaptureStdout();
        fsdata::Output out(stdout);
        EXPECT_EQ(fsdata::RunDialog(*driver_, line, out), fsdata::kExitSuccess);
        EXPECT_TRUE(out.Flush());
        ExpectGolden(testing::internal::GetCapturedStdout(),
                     std::string("dialog-") + language + ".txt");
    }
    // The engine may give no language, or one without texts of its own.
    EngineCollection empty;
    EXPECT_EQ(Describe(empty, nullptr), Describe(empty, u""));
    EXPECT_EQ(Describe(empty, u"en-GB"), Describe(empty, u""));
}

// The description of values as the engine gives them (the directory need
// not exist), and the answers to the check boxes as the user left them.
TEST_F(DialogTest, DescriptionsAndAnswers) {
    std::string transcript;
    const std::pair<const char16_t*, int32_t> values[] = {
        {u"*.txt", 2}, {u"*", 0}, {u"*.*", -1}, {u"", -2}, {u"*.* ", 5}};
    for (const auto& [mask, levels] : values) {
        EngineCollection properties;
        properties.AddString(u"Starting Directory", nullptr, u"/no/such/directory");
        properties.AddString(u"File Mask", nullptr, mask);
        properties.AddInt32(u"Max Number of Subdirectory Levels", nullptr, levels);
        transcript += "== mask \"" + U8(mask) + "\", levels " + std::to_string(levels) + "\n" +
                      Describe(properties);
    }
    // A description given back is not unpacked: its tab holds the values.
    EngineCollection empty, given;
    given.AddString(u"Starting Directory", nullptr, u"/data");
    DbLogonInfo in = EngineLogonInfo(given.get()), noCollection = EngineLogonInfo(nullptr);
    DbLogonInfo* dialog = nullptr;
    ASSERT_EQ(api().DbFetchLogonUIInfo(nullptr, &in, nullptr, u"de", &dialog), Status_Success);
    EXPECT_EQ(Describe(dialog), Describe(empty));
    EXPECT_EQ(Describe(nullptr), "status 12");
    EXPECT_EQ(Describe(&noCollection), "status 12");

    DbPropertyCollection* members = dialog->properties->items[1]->uiInfo->items[1]->uiInfo;
    for (uint32_t request : {1, 2}) {
        for (uint16_t checked : {1, 0}) {
            *static_cast<uint16_t*>(members->items[2 * request - 1]->value->data) = checked;
            transcript += "== request " + std::to_string(request) + ", box " +
                          std::to_string(checked) + "\n" + Request(request, dialog->properties);
        }
    }
    api().DbFreeLogonInfo(dialog);
    EngineCollection flat;  // a flat list serves as well
    flat.AddString(u"File Mask", nullptr, u"*.txt");
    flat.AddBoolean(u"include all files", nullptr, true);
    transcript += "== request 1, a flat list\n" + Request(1, flat.get());
    ExpectGolden(transcript, "dialog-answers.txt");
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
        EXPECT_EQ(Request(1, properties->get()), "status 11, answer null\n");
        EXPECT_EQ(capture.Reports(), std::vector<std::string>{"fslogon: false"});
    }
    EXPECT_EQ(Request(2, text.get()), "status 11, answer null\n");
    EXPECT_EQ(Request(1, nullptr), "status 11, answer null\n");
    EXPECT_EQ(capture.Reports(), (std::vector<std::string>{"fslogon: false", "fslogon: false"}));
    for (uint32_t request : {0u, 3u, 0xFFFFFFFFu}) {
        EXPECT_EQ(Request(request, text.get()), "status 12, answer untouched\n") << request;
        EXPECT_EQ(capture.Reports(), std::vector<std::string>{"FileSystem: false"}) << request;
    }
}

}  // namespace
