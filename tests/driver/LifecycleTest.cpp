// The driver's life cycle and small entry points, called through the host
// loader as the engine calls them. Each case loads the library afresh.
#include <gtest/gtest.h>

#include <iterator>
#include <new>

#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveLoggerKey();
        driver_ = OpenDriver();
        ASSERT_TRUE(driver_);
    }

    const host::DriverEntryPoints& api() const { return driver_->api(); }

    // The database type name in `tag`, or "status N" when there is none.
    std::string DatabaseType(const char16_t* tag) {
        char16_t* name = reinterpret_cast<char16_t*>(this);  // must stay unless set
        DbStatus status = api().DbFetchDatabaseType(tag, &name);
        if (status != Status_Success) {
            EXPECT_EQ(name, reinterpret_cast<char16_t*>(this)) << "changed on failure";
            return "status " + std::to_string(status);
        }
        std::string text = U8(name);
        EXPECT_EQ(api().DbFreeString(name), Status_Success);
        return text;
    }

    std::unique_ptr<host::DriverLibrary> driver_;
};

TEST_F(DriverTest, IsThreadSafeBeforeAnyInitialize) {
    EXPECT_EQ(api().IsThreadSafe(), 1u);
}

TEST_F(DriverTest, GetInfoAnswersItsTable) {
    for (int32_t code = -1; code <= 28; ++code) {
        bool answered = (code >= 1 && code <= 13) || code == 16 || code == 17 || code == 21 ||
                        code == 24 || code == 26;
        uint32_t value = 0xDEADBEEF;
        DbStatus status = api().DbGetInfo(nullptr, code, &value);
        if (answered) {
            EXPECT_EQ(status, Status_Success) << code;
            EXPECT_EQ(value, code == 21 ? 134217728u : 0u) << code;
        } else {
            EXPECT_EQ(status, Status_InfoNotAvailable) << code;
            EXPECT_EQ(value, 0xDEADBEEFu) << code;
        }
    }
    EXPECT_EQ(api().DbGetInfo(nullptr, INT32_MIN, nullptr), Status_InfoNotAvailable);
    EXPECT_EQ(api().DbGetInfo(nullptr, 1, nullptr), Status_InvalidArgument);
}

TEST_F(DriverTest, DatabaseTypeInTheCallersLanguage) {
    api().DbInitialize();
    EXPECT_EQ(DatabaseType(u""), "File System Data");
    EXPECT_EQ(DatabaseType(nullptr), "File System Data");
    EXPECT_EQ(DatabaseType(u"en-GB"), "File System Data");
    EXPECT_EQ(DatabaseType(u"de"), "Dateisystemdaten");
    EXPECT_EQ(DatabaseType(u"de-CH"), "Dateisystemdaten");
    EXPECT_EQ(DatabaseType(u"no-such-tag"), "File System Data");
    EXPECT_EQ(api().DbFetchDatabaseType(u"", nullptr), Status_InvalidArgument);
    api().DbTerminate();
}

TEST_F(DriverTest, UseCountStartsAndStopsResourcesOnce) {
    EXPECT_EQ(api().DbInitialize(), Status_Success);
    EXPECT_EQ(api().DbInitialize(), Status_Success);
    EXPECT_EQ(api().DbTerminate(), Status_Success);
    EXPECT_EQ(DatabaseType(u""), "File System Data");  // one user left
    EXPECT_EQ(api().DbTerminate(), Status_Success);
    EXPECT_EQ(DatabaseType(u""), "status 11");
    EXPECT_EQ(api().DbInitialize(), Status_Success);  // loads again
    EXPECT_EQ(DatabaseType(u"de"), "Dateisystemdaten");
    api().DbTerminate();
}

TEST_F(DriverTest, UnmatchedTerminateIsNotClamped) {
    EXPECT_EQ(api().DbTerminate(), Status_Success);   // count -1
    EXPECT_EQ(api().DbInitialize(), Status_Success);  // count 0: no first-use work
    EXPECT_EQ(DatabaseType(u""), "status 11");
    EXPECT_EQ(api().DbInitialize(), Status_Success);  // count 1: starts now
    EXPECT_EQ(DatabaseType(u""), "File System Data");
    api().DbTerminate();
    api().DbTerminate();
}

// Every free entry point takes null; a table list without its count
// releases the array alone.
TEST_F(DriverTest, FreeEntryPointsAcceptNull) {
    auto* tables = static_cast<TableDescription**>(::operator new(sizeof(TableDescription*)));
    const DbStatus statuses[] = {
        api().DbFreeString(nullptr),
        api().DbFreeFieldValue(nullptr),
        api().DbFreeErrorInfo(nullptr),
        api().DbFreeTableList(nullptr, nullptr),
        api().DbFreeTableList(nullptr, tables),
        api().DbFreeTableInfo(nullptr),
        api().DbFreeFieldList(0, nullptr),
        api().DbFreeLogonInfo(nullptr),
        api().DbFreePropertyCollection(nullptr),
        api().DbLogoffServer(nullptr),
    };
    for (size_t i = 0; i < std::size(statuses); ++i)
        EXPECT_EQ(statuses[i], Status_Success) << i;
}

// Blocks as the driver's heap makes them (the sanitizer build's leak check
// sees any that the driver does not release).
char16_t* HostText(const char16_t* text) {
    size_t units = std::char_traits<char16_t>::length(text) + 1;
    auto* copy = static_cast<char16_t*>(::operator new(units * sizeof(char16_t)));
    std::char_traits<char16_t>::copy(copy, text, units);
    return copy;
}

TEST_F(DriverTest, FreeErrorInfoReleasesAWholeChain) {
    ErrorInfo* chain = nullptr;
    for (const char16_t* message : {u"third", u"second", u"first"}) {
        auto* record = static_cast<ErrorInfo*>(::operator new(sizeof(ErrorInfo)));
        *record = ErrorInfo{chain, Status_LogonFailed, HostText(message), 0};
        chain = record;
    }
    ::operator delete(chain->next->message);
    chain->next->message = nullptr;  // a record without a message
    EXPECT_EQ(api().DbFreeErrorInfo(chain), Status_Success);
}

TEST_F(DriverTest, FreeStringAndFieldValueReleaseDriverBlocks) {
    api().DbInitialize();
    char16_t* name = nullptr;
    ASSERT_EQ(api().DbFetchDatabaseType(u"", &name), Status_Success);
    EXPECT_EQ(api().DbFreeFieldValue(name), Status_Success);
    EXPECT_EQ(api().DbFreeString(HostText(u"block")), Status_Success);
    api().DbTerminate();
}

}  // namespace
