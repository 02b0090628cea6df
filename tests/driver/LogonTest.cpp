// Logon, logon matching, the logon dialog and its check boxes, and the logon
// blocks, called through the host loader as the engine calls them, against
// golden files. Each case loads the library afresh.
#include <new>
#include <string>
#include <vector>

#include "tests/driver/DriverCase.h"
#include "tests/logon/CollectionText.h"
#include "tests/logon/DeepHintChain.h"
#include "tests/logon/EngineCollection.h"
#include "tests/support/AssertionCapture.h"

using namespace testing_support;

namespace {

// Stands for an out-parameter the driver must leave alone.
ErrorInfo* const kUntouchedError = reinterpret_cast<ErrorInfo*>(0x5A5A);
DbPropertyCollection* const kUntouchedAnswer = reinterpret_cast<DbPropertyCollection*>(0x5A5A);

class LogonTest : public DriverCase {
protected:
    void TearDown() override {
        for (DbLogonInfo* info : infos_)
            api().DbFreeLogonInfo(info);
        for (DbLogonRef handle : handles_)
            api().DbLogoffServer(handle);
        DriverCase::TearDown();
    }

    // Logs on and writes what came back to the transcript, the folder shown
    // as <dir>; the logon's description is kept for the case.
    DbLogonInfo* LogOn(const std::string& label, const DbLogonInfo* in, const char16_t* tag = u"") {
        DbLogonInfo* info = reinterpret_cast<DbLogonInfo*>(0x1);  // cleared by the driver
        DbLogonRef handle = reinterpret_cast<DbLogonRef>(0x1);
        ErrorInfo* error = kUntouchedError;
        const DbStatus status =
            api().DbLogonServer(in, &info, nullptr, nullptr, tag, &handle, &error);
        std::string text = "== " + label + " [" + U8(tag) + "]: status " + std::to_string(status);
        if (handle != nullptr) {
            text += ", server " + ServerName(handle);
            handles_.push_back(handle);
        }
        if (error != kUntouchedError) {
            text += error == nullptr
                        ? ", no error"
                        : ", error " + std::to_string(error->code) + " \"" + U8(error->message) +
                              "\"" + (error->next ? " and more" : "");
            api().DbFreeErrorInfo(error);
        }
        transcript_ += text + "\n" + (info ? CollectionText(info->properties) : "no description\n");
        infos_.push_back(info);
        return info;
    }
    DbLogonInfo* LogOn(const std::string& label, EngineCollection& properties,
                       const char16_t* tag = u"") {
        const DbLogonInfo in = EngineLogonInfo(properties.get());
        return LogOn(label, &in, tag);
    }

    std::string ServerName(DbLogonRef handle) {
        char16_t* name = nullptr;
        EXPECT_EQ(api().DbFetchServerName(handle, &name), Status_Success);
        const std::string text = "\"" + U8(name) + "\"";
        api().DbFreeString(name);
        return text;
    }

    // The matching verdict, written to the transcript.
    void Match(const std::string& label, const DbLogonInfo* first, const DbLogonInfo* second,
               void* required, const char16_t* tag = u"") {
        uint16_t match = 7;
        const DbStatus status =
            api().DbMatchLogonInfo(first, second, nullptr, nullptr, tag, required, &match);
        transcript_ += "== match " + label + " [" + U8(tag) + "]: status " +
                       std::to_string(status) + ", match " + std::to_string(match) + "\n";
    }

    // Each handle still names its own directory once all are made.
    void ExpectTheGoldenTranscript() {
        for (DbLogonRef handle : handles_)
            transcript_ += "== still logged on: " + ServerName(handle) + "\n";
        std::string text = transcript_;
        const std::string folder = U8(folder_.folderText());
        for (size_t at; (at = text.find(folder)) != std::string::npos;)
            text.replace(at, folder.size(), "<dir>/");
        ExpectGolden(text, "logon.txt");
    }

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
        const char* left = answer == kUntouchedAnswer ? "untouched" : answer ? "set" : "null";
        if (status != Status_Success)
            return "status " + std::to_string(status) + ", answer " + left + "\n";
        std::string text = CollectionText(answer);
        EXPECT_EQ(api().DbFreePropertyCollection(answer), Status_Success);
        return text;
    }
    std::vector<DbLogonInfo*> infos_;
    std::vector<DbLogonRef> handles_;
    std::string transcript_;
    TempDir folder_;
};

// Accepted and refused logons, in both languages, what each gives back,
// and how their descriptions match.
TEST_F(LogonTest, LogonsAgainstTheirTranscript) {
    const std::u16string folder = folder_.folderText(), missing = folder + u"missing";
    EngineCollection only, absent, none;
    only.AddString(u"Starting Directory", nullptr, folder.c_str());
    LogOn("a starting directory", only);
    absent.AddString(u"Starting Directory", nullptr, missing.c_str());
    absent.AddString(u"File Mask", nullptr, u"*.txt");
    absent.AddString(u"Max Number of Subdirectory Levels", nullptr, u"3");
    absent.AddBoolean(u"Include Empty Directories", nullptr, true);
    LogOn("a missing directory", absent);
    LogOn("a missing directory", absent, u"de-DE");
    LogOn("no properties", none);
    const DbLogonInfo noCollection = EngineLogonInfo(nullptr);
    LogOn("no collection", &noCollection);
    LogOn("no logon information", nullptr);

    // A dialog description's tab is read, and nothing beside it.
    EngineCollection tabbed;
    tabbed.AddString(u"File Mask", nullptr, u"*.ignored");
    EngineCollection& hints = tabbed.Hints(tabbed.AddBare(u"Connection"));
    EngineCollection& members = hints.Hints(hints.AddBare(u"PropInfo_TabProperties"));
    const std::u16string sub = folder + u"sub";
    std::filesystem::create_directory(folder_.path() / "sub");
    members.AddString(u"Starting Directory", nullptr, sub.c_str());
    members.AddString(u"File Mask", nullptr, u"*.one");
    LogOn("a tab", tabbed);

    // The driver's own description, round trip; matching reads the top level
    // only.
    members.AddInt32(u"Max Number of Subdirectory Levels", nullptr, 4);
    const DbLogonInfo in = EngineLogonInfo(members.get());
    for (const char16_t* tag : {u"", u"de"}) {
        DbLogonInfo* dialog = nullptr;
        ASSERT_EQ(api().DbFetchLogonUIInfo(nullptr, &in, nullptr, tag, &dialog), Status_Success);
        DbLogonInfo* first = LogOn("the dialog's description", dialog, tag);
        DbLogonInfo* again = LogOn("what that logon gave back", first, tag);
        Match("description and logon", dialog, first, this, tag);
        Match("the two logons", first, again, this, tag);
        api().DbFreeLogonInfo(dialog);
    }
    Match("nothing required", &in, &in, nullptr);
    Match("no first", nullptr, &in, this);
    Match("no second", &in, nullptr, this);

    // A tree of hints deeper than any stack is copied and searched in a loop.
    DeepHintChain chain(100000, u"Starting Directory");
    EngineCollection deep, deepTab;
    deep.AddString(u"Starting Directory", nullptr, folder.c_str());
    deep.AddBare(u"deep").uiInfo = chain.get();
    deepTab.AddBare(u"Connection").uiInfo = chain.get();
    LogOn("deep hints", deep);
    LogOn("deep hints behind a tab", deepTab);
    ExpectTheGoldenTranscript();

    char16_t* name = reinterpret_cast<char16_t*>(this);
    EXPECT_EQ(api().DbFetchServerName(nullptr, &name), Status_InvalidArgument);
    EXPECT_EQ(name, reinterpret_cast<char16_t*>(this));
}

// The text goes with the record only when the record owns it (the leak
// check sees it otherwise; a wrong free, the sanitizer).
TEST_F(LogonTest, FreeLogonInfoReleasesTheTextOnlyWhenItOwnsIt) {
    EngineCollection empty;
    const DbLogonInfo in = EngineLogonInfo(empty.get());
    DbLogonInfo *owned = nullptr, *borrowed = nullptr;
    ASSERT_EQ(api().DbFetchLogonUIInfo(nullptr, &in, nullptr, u"", &owned), Status_Success);
    ASSERT_EQ(api().DbFetchLogonUIInfo(nullptr, &in, nullptr, u"", &borrowed), Status_Success);
    // Blocks as the driver's heap makes them.
    owned->text = new (::operator new(sizeof(char16_t))) char16_t(u'\0');
    owned->value = new (::operator new(sizeof(DbValue)))
        DbValue{sizeof(DbValue), singleKind, int32sValue, 0, ::operator new(sizeof(int32_t))};
    EXPECT_EQ(api().DbFreeLogonInfo(owned), Status_Success);
    char16_t callersText[] = u"keep";
    borrowed->ownsText = 0;
    borrowed->text = callersText;
    EXPECT_EQ(api().DbFreeLogonInfo(borrowed), Status_Success);
    EXPECT_EQ(U8(callersText), "keep");
}

// `fsdata dialog`, in English and German, against its golden files. The
// engine may give no language, or one without texts of its own.
TEST_F(LogonTest, DialogAsFsdataPrintsIt) {
    for (const std::string language : {"en", "de"})
        ExpectPrinted({"dialog", "--lang", language}, "dialog-" + language + ".txt");
    EngineCollection empty;
    EXPECT_EQ(Describe(empty, nullptr), Describe(empty, u""));
    EXPECT_EQ(Describe(empty, u"en-GB"), Describe(empty, u""));
}

// The description of values as the engine gives them (the directory need
// not exist), and the answers to the check boxes as the user left them.
TEST_F(LogonTest, DialogDescriptionsAndAnswers) {
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
class DialogReportTest : public LogonTest {
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
    const std::pair<uint32_t, DbPropertyCollection*> malformed[] = {
        {1, text.get()},   {1, missing.get()}, {1, empty.get()},
        {1, listed.get()}, {2, text.get()},    {1, nullptr}};
    for (const auto& [request, properties] : malformed) {
        EXPECT_EQ(Request(request, properties), "status 11, answer null\n");
        EXPECT_EQ(capture.Reports(), std::vector<std::string>{"fslogon: false"});
    }
    for (uint32_t request : {0u, 3u, 0xFFFFFFFFu}) {
        EXPECT_EQ(Request(request, text.get()), "status 12, answer untouched\n") << request;
        EXPECT_EQ(capture.Reports(), std::vector<std::string>{"FileSystem: false"}) << request;
    }
}

}  // namespace
