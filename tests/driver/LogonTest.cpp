// Logon, logon matching and the logon blocks, called through the host loader
// as the engine calls them. Each case loads the library afresh.
#include <string>
#include <vector>

#include "tests/driver/DriverCase.h"
#include "tests/logon/CollectionText.h"
#include "tests/logon/DeepHintChain.h"
#include "tests/logon/EngineCollection.h"

using namespace testing_support;

namespace {

// Stands for an out-parameter the driver must leave alone.
ErrorInfo* const kUntouchedError = reinterpret_cast<ErrorInfo*>(0x5A5A);

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
    // only, with names in the caller's language.
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
    EngineCollection german, empty;
    german.AddString(u"Startverzeichnis", nullptr, sub.c_str());
    german.AddString(u"Dateimaske", nullptr, u"*.ONE");
    german.AddInt32(u"Maximale Anzahl Unterverzeichnisebenen", nullptr, 4);
    const DbLogonInfo a = EngineLogonInfo(german.get()), e = EngineLogonInfo(empty.get());
    Match("German names", &a, &in, this);
    Match("German names", &a, &in, this, u"de");
    Match("no collection and an empty one", &noCollection, &e, this);
    Match("nothing required", &a, &in, nullptr);
    Match("no first", nullptr, &in, this);
    Match("no second", &a, nullptr, this);

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

// Blocks as the driver's heap makes them.
template <typename T>
T* HostBlock(size_t bytes = sizeof(T)) {
    return static_cast<T*>(::operator new(bytes));
}

// The text goes with the record only when the record owns it (the leak
// check sees it otherwise; a wrong free, the sanitizer).
TEST_F(LogonTest, FreeLogonInfoReleasesTheTextOnlyWhenItOwnsIt) {
    EngineCollection empty;
    const DbLogonInfo in = EngineLogonInfo(empty.get());
    DbLogonInfo *owned = nullptr, *borrowed = nullptr;
    ASSERT_EQ(api().DbFetchLogonUIInfo(nullptr, &in, nullptr, u"", &owned), Status_Success);
    ASSERT_EQ(api().DbFetchLogonUIInfo(nullptr, &in, nullptr, u"", &borrowed), Status_Success);
    owned->text = HostBlock<char16_t>(8);
    owned->text[0] = u'\0';
    owned->value = HostBlock<DbValue>();
    *owned->value = DbValue{sizeof(DbValue), singleKind, int32sValue, 0, HostBlock<int32_t>()};
    EXPECT_EQ(api().DbFreeLogonInfo(owned), Status_Success);
    char16_t callersText[] = u"keep";
    borrowed->ownsText = 0;
    borrowed->text = callersText;
    EXPECT_EQ(api().DbFreeLogonInfo(borrowed), Status_Success);
    EXPECT_EQ(U8(callersText), "keep");
}

}  // namespace
