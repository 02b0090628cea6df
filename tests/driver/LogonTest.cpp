// Logon, logon matching and the logon blocks, called through the host loader
// as the engine calls them. Each case loads the library afresh.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/logon/CollectionText.h"
#include "tests/logon/DeepHintChain.h"
#include "tests/logon/EngineCollection.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

// Stands for an out-parameter the driver must leave alone.
ErrorInfo* const kUntouchedError = reinterpret_cast<ErrorInfo*>(0x5A5A);

class LogonTest : public ::testing::Test {
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

    // One logon and everything it handed out, released with the case.
    struct Logon {
        const host::DriverEntryPoints* api = nullptr;
        DbStatus status = 0;
        DbLogonInfo* info = nullptr;
        DbLogonRef handle = nullptr;
        ErrorInfo* error = kUntouchedError;

        Logon() = default;
        Logon(const Logon&) = delete;
        ~Logon() {
            api->DbFreeLogonInfo(info);
            api->DbLogoffServer(handle);
            if (error != kUntouchedError)
                api->DbFreeErrorInfo(error);
        }
        std::string description() const { return info ? CollectionText(info->properties) : ""; }
        std::string serverName() const {
            char16_t* name = nullptr;
            EXPECT_EQ(api->DbFetchServerName(handle, &name), Status_Success);
            std::string text = U8(name);
            api->DbFreeString(name);
            return text;
        }
    };

    void LogOn(Logon& logon, const DbLogonInfo* in, const char16_t* tag = u"") {
        logon.api = &api();
        logon.info = reinterpret_cast<DbLogonInfo*>(0x1);  // cleared by the driver
        logon.handle = reinterpret_cast<DbLogonRef>(0x1);
        logon.status = api().DbLogonServer(in, &logon.info, nullptr, nullptr, tag, &logon.handle,
                                           &logon.error);
    }
    void LogOn(Logon& logon, EngineCollection& properties, const char16_t* tag = u"") {
        DbLogonInfo in = EngineLogonInfo(properties.get());
        LogOn(logon, &in, tag);
    }

    // The plain description a logon returns, for the values given.
    static std::string Plain(const std::string& directory, const std::string& mask, int levels,
                             bool flag) {
        return "Starting Directory / ~ / ~ : string = " +
               (directory.empty() ? "empty:unknown" : "string:\"" + directory + "\"") +
               "\nFile Mask / File Mask / ~ : string = " +
               (mask.empty() ? "empty:unknown" : "string:\"" + mask + "\"") +
               "\nMax Number of Subdirectory Levels / Max Number of Subdirectory Levels / ~ : "
               "int32s = int32s:" +
               std::to_string(levels) +
               "\nInclude Empty Directories / Include Empty Directories / ~ : boolean = "
               "boolean:" +
               (flag ? "true" : "false") + "\n";
    }

    // The matching verdict, or "status N".
    std::string Match(const DbLogonInfo* first, const DbLogonInfo* second, void* required,
                      const char16_t* tag = u"") {
        uint16_t match = 7;
        DbStatus status =
            api().DbMatchLogonInfo(first, second, nullptr, nullptr, tag, required, &match);
        if (status != Status_Success)
            return "status " + std::to_string(status) + ", match " + std::to_string(match);
        return match == 1   ? "match"
               : match == 0 ? "no match"
                            : "match flag " + std::to_string(match);
    }

    std::unique_ptr<host::DriverLibrary> driver_;
    TempDir folder_;
};

std::string Utf8Folder(const TempDir& folder) {
    return U8(folder.folderText());
}

TEST_F(LogonTest, OnlyAStartingDirectory) {
    EngineCollection properties;
    properties.AddString(u"Starting Directory", nullptr, folder_.folderText().c_str());
    Logon logon;
    LogOn(logon, properties);
    ASSERT_EQ(logon.status, Status_Success);
    EXPECT_NE(logon.handle, nullptr);
    EXPECT_EQ(logon.error, kUntouchedError);
    ASSERT_NE(logon.info, nullptr);
    EXPECT_EQ(logon.info->structSize, 40u);
    EXPECT_EQ(logon.info->ownsText, 1);
    EXPECT_EQ(logon.info->text, nullptr);
    EXPECT_EQ(logon.info->value, nullptr);
    EXPECT_EQ(logon.info->reserved, 0u);
    EXPECT_EQ(logon.description(), Plain(Utf8Folder(folder_), "*.*", -1, false));
    EXPECT_EQ(logon.serverName(), Utf8Folder(folder_));  // exactly as given
}

TEST_F(LogonTest, AMissingDirectoryIsRefusedWithWhatWasRead) {
    const std::u16string missing = folder_.folderText() + u"missing";
    EngineCollection properties;
    properties.AddString(u"Starting Directory", nullptr, missing.c_str());
    properties.AddString(u"File Mask", nullptr, u"*.txt");
    properties.AddString(u"Max Number of Subdirectory Levels", nullptr, u"3");
    properties.AddBoolean(u"Include Empty Directories", nullptr, true);
    Logon logon;
    LogOn(logon, properties);
    EXPECT_EQ(logon.status, Status_LogonFailed);
    EXPECT_EQ(logon.handle, nullptr);
    ASSERT_NE(logon.error, kUntouchedError);
    ASSERT_NE(logon.error, nullptr);
    EXPECT_EQ(logon.error->next, nullptr);
    EXPECT_EQ(logon.error->code, 202u);
    EXPECT_EQ(logon.error->reserved, 0u);
    EXPECT_EQ(U8(logon.error->message), "Invalid starting directory.");
    EXPECT_EQ(logon.description(), Plain(U8(missing), "*.txt", 3, true));

    Logon german;
    LogOn(german, properties, u"de-DE");
    EXPECT_EQ(german.status, Status_LogonFailed);
    EXPECT_EQ(U8(german.error->message), "Ungültiges Startverzeichnis.");
}

TEST_F(LogonTest, NoStartingDirectoryIsRefused) {
    EngineCollection empty;
    Logon logon;
    LogOn(logon, empty);
    EXPECT_EQ(logon.status, Status_LogonFailed);
    EXPECT_EQ(logon.description(), Plain("", "*.*", -1, false));

    // A record without a collection reads as an empty one.
    DbLogonInfo noProperties = EngineLogonInfo(nullptr);
    Logon bare;
    LogOn(bare, &noProperties);
    EXPECT_EQ(bare.status, Status_LogonFailed);
    EXPECT_EQ(bare.description(), Plain("", "*.*", -1, false));

    // A file is no directory to search.
    const std::filesystem::path file = folder_.Write("file.txt", "text");
    EngineCollection onAFile;
    onAFile.AddString(u"Starting Directory", nullptr, U16(file.u8string()).c_str());
    Logon refused;
    LogOn(refused, onAFile);
    EXPECT_EQ(refused.status, Status_LogonFailed);
}

TEST_F(LogonTest, NullLogonInformation) {
    Logon logon;
    LogOn(logon, nullptr);
    EXPECT_EQ(logon.status, Status_InvalidArgument);
    EXPECT_EQ(logon.info, nullptr);
    EXPECT_EQ(logon.handle, nullptr);
    EXPECT_EQ(logon.error, kUntouchedError);
}

TEST_F(LogonTest, TheDialogsDescriptionIsUnpacked) {
    for (const char16_t* tag : {u"", u"de"}) {
        EngineCollection properties;
        properties.AddString(u"Starting Directory", nullptr, folder_.folderText().c_str());
        properties.AddString(u"File Mask", nullptr, u"*.csv");
        properties.AddInt32(u"Max Number of Subdirectory Levels", nullptr, 4);
        properties.AddBoolean(u"Include Empty Directories", nullptr, true);
        DbLogonInfo in = EngineLogonInfo(properties.get());
        DbLogonInfo* dialog = nullptr;
        ASSERT_EQ(api().DbFetchLogonUIInfo(nullptr, &in, nullptr, tag, &dialog), Status_Success);

        Logon logon;
        LogOn(logon, dialog, tag);
        EXPECT_EQ(logon.status, Status_Success) << U8(tag);
        EXPECT_EQ(logon.serverName(), Utf8Folder(folder_));
        // What came back is what the description held.
        Logon again;
        LogOn(again, logon.info, tag);
        EXPECT_EQ(again.status, Status_Success);
        EXPECT_EQ(Match(dialog, logon.info, this, tag), "no match");  // tabs are not unpacked
        EXPECT_EQ(Match(logon.info, again.info, this, tag), "match");
        api().DbFreeLogonInfo(dialog);
    }
    Logon english;
    EngineCollection properties;
    properties.AddString(u"Starting Directory", nullptr, folder_.folderText().c_str());
    properties.AddString(u"File Mask", nullptr, u"*.csv");
    LogOn(english, properties);
    EXPECT_EQ(english.description(), Plain(Utf8Folder(folder_), "*.csv", -1, false));
}

TEST_F(LogonTest, PropertiesBesideTheTabAreNotRead) {
    // A tab whose members list the directory; a top-level property names
    // another one, and is ignored.
    EngineCollection properties;
    properties.AddString(u"File Mask", nullptr, u"*.ignored");
    DbProperty& tab = properties.AddBare(u"Connection");
    EngineCollection& hints = properties.Hints(tab);
    EngineCollection& members = hints.Hints(hints.AddBare(u"PropInfo_TabProperties"));
    members.AddString(u"Starting Directory", nullptr, folder_.folderText().c_str());
    members.AddString(u"File Mask", nullptr, u"*.one");
    members.AddString(u"file mask", nullptr, u"*.two");  // later duplicates win
    Logon logon;
    LogOn(logon, properties);
    ASSERT_EQ(logon.status, Status_Success);
    EXPECT_EQ(logon.description(), Plain(Utf8Folder(folder_), "*.two", -1, false));
}

TEST_F(LogonTest, BadEngineCollections) {
    EngineCollection properties;
    properties.AddNull();
    properties.AddString(nullptr, nullptr, u"no names");
    properties.AddString(nullptr, u"Starting Directory", folder_.folderText().c_str());
    properties.AddString(u"Starting Directory", nullptr, u"");  // a name beats a label
    properties.AddString(u"File Mask", nullptr, u"*.first");
    properties.AddString(u"File Mask", nullptr, u"*.second");
    int32_t low = 0, high = 5;
    DbRangeValue range{sizeof(DbRangeValue), properties.Value(singleKind, int32sValue, &low), 0,
                       properties.Value(singleKind, int32sValue, &high), 0};
    properties.AddValue(u"Max Number of Subdirectory Levels", nullptr, int32sValue,
                        properties.Value(rangeKind, int32sValue, &range));
    DbValue* members[] = {properties.Value(singleKind, int32sValue, &high)};
    DbValueList list{sizeof(DbValueList), 1, members};
    properties.AddValue(u"Include Empty Directories", nullptr, booleanValue,
                        properties.Value(multipleKind, booleanValue, &list));
    properties.AddValue(u"odd", nullptr, int32sValue, properties.Value(77, int32sValue, &low));
    properties.AddValue(u"odd type", nullptr, 12, properties.Value(singleKind, 12, &low));
    DbProperty& hinted = properties.AddBoolean(u"hinted", nullptr, true);
    properties.Hints(hinted).AddNull();

    Logon logon;
    LogOn(logon, properties);
    EXPECT_EQ(logon.status, Status_LogonFailed);  // the name's empty directory
    EXPECT_EQ(logon.description(), Plain("", "*.first", -1, false));

    uint16_t match = 9;
    DbLogonInfo in = EngineLogonInfo(properties.get());
    EXPECT_EQ(api().DbMatchLogonInfo(&in, &in, nullptr, nullptr, u"", this, &match),
              Status_Success);
    EXPECT_EQ(match, 1);
}

TEST_F(LogonTest, DeepHintTreesInTheInput) {
    DeepHintChain chain(100000, u"Starting Directory");
    EngineCollection properties;
    properties.AddString(u"Starting Directory", nullptr, folder_.folderText().c_str());
    DbProperty& deep = properties.AddBare(u"deep");
    deep.uiInfo = chain.get();
    Logon logon;
    LogOn(logon, properties);  // copies and releases the tree
    EXPECT_EQ(logon.status, Status_Success);

    // The same tree behind a tab is searched for the members' key.
    EngineCollection tabbed;
    DbProperty& tab = tabbed.AddBare(u"Connection");
    tab.uiInfo = chain.get();
    Logon refused;
    LogOn(refused, tabbed);
    EXPECT_EQ(refused.status, Status_LogonFailed);
}

TEST_F(LogonTest, MatchingLogons) {
    auto plain = [](EngineCollection& to, const char16_t* directory, int32_t levels) {
        to.AddString(u"Starting Directory", nullptr, directory);
        to.AddString(u"File Mask", nullptr, u"*.TXT");
        to.AddInt32(u"Max Number of Subdirectory Levels", nullptr, levels);
    };
    EngineCollection upper, lower, deeper, trailing, german;
    plain(upper, u"C:\\DATA\\Reports", -1);
    plain(lower, u"c:\\data\\reports", -1);
    plain(deeper, u"C:\\DATA\\Reports", 5);
    plain(trailing, u"C:\\DATA\\Reports\\", -1);
    lower.AddString(u"File Mask", nullptr, u"*.txt");  // the first one counts
    german.AddString(u"Startverzeichnis", nullptr, u"C:\\data\\reports");
    german.AddString(u"Dateimaske", nullptr, u"*.txt");
    DbLogonInfo a = EngineLogonInfo(upper.get()), b = EngineLogonInfo(lower.get()),
                c = EngineLogonInfo(deeper.get()), d = EngineLogonInfo(trailing.get()),
                e = EngineLogonInfo(german.get()), none = EngineLogonInfo(nullptr);
    EngineCollection empty;
    DbLogonInfo f = EngineLogonInfo(empty.get());

    EXPECT_EQ(Match(&a, &b, this), "match");     // directories and masks differ in case only
    EXPECT_EQ(Match(&a, &c, this), "no match");  // -1 against 5
    EXPECT_EQ(Match(&a, &d, this), "no match");  // texts, not paths
    EXPECT_EQ(Match(&a, &e, this), "no match");
    EXPECT_EQ(Match(&a, &e, this, u"de"), "match");
    EXPECT_EQ(Match(&none, &f, this), "match");  // both the defaults
    EXPECT_EQ(Match(&a, &b, nullptr), "status 12, match 0");
    EXPECT_EQ(Match(nullptr, &b, this), "status 12, match 0");
    EXPECT_EQ(Match(&a, nullptr, this), "status 12, match 0");
}

TEST_F(LogonTest, ServerNameNeedsAHandle) {
    char16_t* name = reinterpret_cast<char16_t*>(this);
    EXPECT_EQ(api().DbFetchServerName(nullptr, &name), Status_InvalidArgument);
    EXPECT_EQ(name, reinterpret_cast<char16_t*>(this));
}

// Blocks as the driver's heap makes them.
template <typename T>
T* HostBlock(size_t bytes = sizeof(T)) {
    return static_cast<T*>(::operator new(bytes));
}

TEST_F(LogonTest, FreeLogonInfoReleasesTheTextOnlyWhenItOwnsIt) {
    EngineCollection empty;
    DbLogonInfo in = EngineLogonInfo(empty.get());

    // Owned: the text and the value go with the record (the leak check sees
    // them otherwise).
    DbLogonInfo* owned = nullptr;
    ASSERT_EQ(api().DbFetchLogonUIInfo(nullptr, &in, nullptr, u"", &owned), Status_Success);
    owned->text = HostBlock<char16_t>(8);
    owned->text[0] = u'\0';
    owned->value = HostBlock<DbValue>();
    *owned->value = DbValue{sizeof(DbValue), singleKind, int32sValue, 0, HostBlock<int32_t>()};
    EXPECT_EQ(api().DbFreeLogonInfo(owned), Status_Success);

    // Not owned: the text is the caller's (freeing it would be a wrong free).
    char16_t callersText[] = u"keep";
    DbLogonInfo* borrowed = nullptr;
    ASSERT_EQ(api().DbFetchLogonUIInfo(nullptr, &in, nullptr, u"", &borrowed), Status_Success);
    borrowed->ownsText = 0;
    borrowed->text = callersText;
    EXPECT_EQ(api().DbFreeLogonInfo(borrowed), Status_Success);
    EXPECT_EQ(U8(callersText), "keep");
}

TEST_F(LogonTest, HandlesOutliveLaterLogons) {
    TempDir other;
    EngineCollection first, second;
    first.AddString(u"Starting Directory", nullptr, folder_.folderText().c_str());
    second.AddString(u"Starting Directory", nullptr, other.folderText().c_str());
    Logon one, two;
    LogOn(one, first);
    LogOn(two, second);
    ASSERT_EQ(one.status, Status_Success);
    ASSERT_EQ(two.status, Status_Success);
    EXPECT_NE(one.handle, two.handle);
    EXPECT_EQ(one.serverName(), Utf8Folder(folder_));
    EXPECT_EQ(two.serverName(), U8(other.folderText()));
}

}  // namespace
