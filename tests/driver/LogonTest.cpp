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
    struct Logon {
        DbStatus status;
        DbLogonInfo* info;
        DbLogonRef handle;
        ErrorInfo* error;
    };

    // A logon; what it hands out is released with the case.
    Logon LogOn(const DbLogonInfo* in, const char16_t* tag = u"") {
        Logon logon{0, reinterpret_cast<DbLogonInfo*>(0x1), reinterpret_cast<DbLogonRef>(0x1),
                    kUntouchedError};  // the first two cleared by the driver
        logon.status = api().DbLogonServer(in, &logon.info, nullptr, nullptr, tag, &logon.handle,
                                           &logon.error);
        logons_.push_back(logon);
        return logon;
    }
    Logon LogOn(EngineCollection& properties, const char16_t* tag = u"") {
        const DbLogonInfo in = EngineLogonInfo(properties.get());
        return LogOn(&in, tag);
    }
    void TearDown() override {
        for (const Logon& logon : logons_) {
            api().DbFreeLogonInfo(logon.info);
            api().DbLogoffServer(logon.handle);
            if (logon.error != kUntouchedError)
                api().DbFreeErrorInfo(logon.error);
        }
        DriverCase::TearDown();
    }

    std::string ServerName(DbLogonRef handle) {
        char16_t* name = nullptr;
        EXPECT_EQ(api().DbFetchServerName(handle, &name), Status_Success);
        const std::string text = U8(name);
        api().DbFreeString(name);
        return text;
    }

    // The description a logon gives back, for the values given.
    static std::string Plain(const std::string& directory, const std::string& mask, int levels,
                             bool flag) {
        const std::string kLevels = "Max Number of Subdirectory Levels";
        return "Starting Directory / ~ / ~ : string = " +
               (directory.empty() ? "empty:unknown" : "string:\"" + directory + "\"") +
               "\nFile Mask / File Mask / ~ : string = string:\"" + mask + "\"\n" + kLevels +
               " / " + kLevels + " / ~ : int32s = int32s:" + std::to_string(levels) +
               "\nInclude Empty Directories / Include Empty Directories / ~ : "
               "boolean = boolean:" +
               (flag ? "true" : "false") + "\n";
    }

    // The matching verdict, or "status N, match M".
    std::string Match(const DbLogonInfo* first, const DbLogonInfo* second, void* required,
                      const char16_t* tag = u"") {
        uint16_t match = 7;
        DbStatus status =
            api().DbMatchLogonInfo(first, second, nullptr, nullptr, tag, required, &match);
        if (status != Status_Success)
            return "status " + std::to_string(status) + ", match " + std::to_string(match);
        return match == 1 ? "match" : match == 0 ? "no match" : "flag " + std::to_string(match);
    }

    std::vector<Logon> logons_;
    TempDir folder_;
    const std::string folderText_ = U8(folder_.folderText());
};

// Each logon keeps its own directory, exactly as given.
TEST_F(LogonTest, LogonsNameTheirDirectories) {
    TempDir other;
    EngineCollection first, second;
    first.AddString(u"Starting Directory", nullptr, folder_.folderText().c_str());
    second.AddString(u"Starting Directory", nullptr, other.folderText().c_str());
    const Logon one = LogOn(first), two = LogOn(second);
    ASSERT_EQ(one.status, Status_Success);
    ASSERT_EQ(two.status, Status_Success);
    EXPECT_EQ(one.error, kUntouchedError);
    EXPECT_EQ(CollectionText(one.info->properties), Plain(folderText_, "*.*", -1, false));
    EXPECT_EQ(ServerName(one.handle), folderText_);
    EXPECT_EQ(ServerName(two.handle), U8(other.folderText()));
    char16_t* name = reinterpret_cast<char16_t*>(this);
    EXPECT_EQ(api().DbFetchServerName(nullptr, &name), Status_InvalidArgument);
    EXPECT_EQ(name, reinterpret_cast<char16_t*>(this));
}

// A refused logon gives back what was read, and an error in the language.
TEST_F(LogonTest, RefusedLogons) {
    const std::u16string missing = folder_.folderText() + u"missing";
    EngineCollection absent, none;
    absent.AddString(u"Starting Directory", nullptr, missing.c_str());
    absent.AddString(u"File Mask", nullptr, u"*.txt");
    absent.AddString(u"Max Number of Subdirectory Levels", nullptr, u"3");
    absent.AddBoolean(u"Include Empty Directories", nullptr, true);
    for (const char16_t* tag : {u"", u"de-DE"}) {
        const Logon logon = LogOn(absent, tag);
        EXPECT_EQ(logon.status, Status_LogonFailed);
        EXPECT_EQ(logon.handle, nullptr);
        if (*tag == 0) {  // the description is in the caller's language
            EXPECT_EQ(CollectionText(logon.info->properties), Plain(U8(missing), "*.txt", 3, true));
        }
        ASSERT_NE(logon.error, kUntouchedError);
        ASSERT_NE(logon.error, nullptr);
        EXPECT_EQ(logon.error->next, nullptr);
        EXPECT_EQ(logon.error->code, 202u);
        EXPECT_EQ(U8(logon.error->message),
                  *tag ? "Ungültiges Startverzeichnis." : "Invalid starting directory.");
    }
    const DbLogonInfo noCollection = EngineLogonInfo(nullptr);
    EXPECT_EQ(LogOn(none).status, Status_LogonFailed);
    const Logon bare = LogOn(&noCollection);
    EXPECT_EQ(bare.status, Status_LogonFailed);
    EXPECT_EQ(CollectionText(bare.info->properties), Plain("", "*.*", -1, false));
    const Logon nothing = LogOn(nullptr);
    EXPECT_EQ(nothing.status, Status_InvalidArgument);
    EXPECT_EQ(nothing.info, nullptr);
    EXPECT_EQ(nothing.handle, nullptr);
    EXPECT_EQ(nothing.error, kUntouchedError);
}

// Given a dialog description, a logon reads the members of its tab and
// nothing beside it; matching reads the top level only, in the caller's
// language.
TEST_F(LogonTest, TheDialogsTabAndMatching) {
    EngineCollection properties;
    properties.AddString(u"File Mask", nullptr, u"*.ignored");
    EngineCollection& hints = properties.Hints(properties.AddBare(u"Connection"));
    EngineCollection& members = hints.Hints(hints.AddBare(u"PropInfo_TabProperties"));
    members.AddString(u"Starting Directory", nullptr, folder_.folderText().c_str());
    members.AddString(u"File Mask", nullptr, u"*.one");
    EXPECT_EQ(CollectionText(LogOn(properties).info->properties),
              Plain(folderText_, "*.one", -1, false));

    // The driver's own description, in either language, round trip.
    members.AddInt32(u"Max Number of Subdirectory Levels", nullptr, 4);
    const DbLogonInfo in = EngineLogonInfo(members.get());
    for (const char16_t* tag : {u"", u"de"}) {
        DbLogonInfo* dialog = nullptr;
        ASSERT_EQ(api().DbFetchLogonUIInfo(nullptr, &in, nullptr, tag, &dialog), Status_Success);
        const Logon first = LogOn(dialog, tag), again = LogOn(first.info, tag);
        EXPECT_EQ(again.status, Status_Success) << U8(tag);
        if (*tag == 0) {
            EXPECT_EQ(CollectionText(first.info->properties),
                      Plain(folderText_, "*.one", 4, false));
        }
        EXPECT_EQ(Match(dialog, first.info, this, tag), "no match");
        EXPECT_EQ(Match(first.info, again.info, this, tag), "match");
        api().DbFreeLogonInfo(dialog);
    }

    EngineCollection german, empty;
    german.AddString(u"Startverzeichnis", nullptr, folder_.folderText().c_str());
    german.AddString(u"Dateimaske", nullptr, u"*.ONE");
    german.AddInt32(u"Maximale Anzahl Unterverzeichnisebenen", nullptr, 4);
    const DbLogonInfo a = EngineLogonInfo(german.get()), none = EngineLogonInfo(nullptr),
                      e = EngineLogonInfo(empty.get());
    EXPECT_EQ(Match(&a, &in, this), "no match");
    EXPECT_EQ(Match(&a, &in, this, u"de"), "match");
    EXPECT_EQ(Match(&none, &e, this), "match");  // both the defaults
    EXPECT_EQ(Match(&a, &in, nullptr), "status 12, match 0");
    EXPECT_EQ(Match(nullptr, &in, this), "status 12, match 0");
    EXPECT_EQ(Match(&a, nullptr, this), "status 12, match 0");
}

// A tree of hints deeper than any stack is copied and searched in a loop.
TEST_F(LogonTest, DeepHintTreesInTheInput) {
    DeepHintChain chain(100000, u"Starting Directory");
    EngineCollection properties, tabbed;
    properties.AddString(u"Starting Directory", nullptr, folder_.folderText().c_str());
    properties.AddBare(u"deep").uiInfo = chain.get();
    tabbed.AddBare(u"Connection").uiInfo = chain.get();
    EXPECT_EQ(LogOn(properties).status, Status_Success);
    EXPECT_EQ(LogOn(tabbed).status, Status_LogonFailed);
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
