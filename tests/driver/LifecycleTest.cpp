// The driver's life cycle, small entry points and sessions on many threads,
// called through the host loader as the engine calls them. Each case loads
// the library afresh.
#include <atomic>
#include <iterator>
#include <new>
#include <thread>
#include <vector>

#include "driver/FieldId.h"
#include "host/LogonProperties.h"
#include "tests/driver/DriverCase.h"

using namespace testing_support;

namespace {

class DriverTest : public DriverCase {
protected:
    DriverTest() {
        startDriver_ = false;
        RemoveLoggerKey();
    }

    // The database type name in `tag`, or "status N" when there is none.
    std::string DatabaseType(const char16_t* tag) {
        char16_t* name = reinterpret_cast<char16_t*>(this);  // must stay unless set
        if (const DbStatus status = api().DbFetchDatabaseType(tag, &name); status != 0) {
            EXPECT_EQ(name, reinterpret_cast<char16_t*>(this)) << "changed on failure";
            return "status " + std::to_string(status);
        }
        const std::string text = U8(name);
        api().DbFreeString(name);
        return text;
    }
};

TEST_F(DriverTest, ThreadSafetyAndTheInfoCodes) {
    EXPECT_EQ(api().IsThreadSafe(), 1u);  // before any DbInitialize
    for (int32_t code = -1; code <= 28; ++code) {
        const bool answered = (code >= 1 && code <= 13) || code == 16 || code == 17 || code == 21 ||
                              code == 24 || code == 26;
        uint32_t value = 0xDEADBEEF;
        EXPECT_EQ(api().DbGetInfo(nullptr, code, &value),
                  answered ? Status_Success : Status_InfoNotAvailable)
            << code;
        EXPECT_EQ(value, !answered ? 0xDEADBEEFu : code == 21 ? 134217728u : 0u) << code;
    }
    EXPECT_EQ(api().DbGetInfo(nullptr, INT32_MIN, nullptr), Status_InfoNotAvailable);
    EXPECT_EQ(api().DbGetInfo(nullptr, 1, nullptr), Status_InvalidArgument);
}

// The first use starts the resource texts and the last stops them; an
// unmatched DbTerminate is counted, not clamped.
TEST_F(DriverTest, UseCountAndTheDatabaseType) {
    EXPECT_EQ(api().DbInitialize(), Status_Success);
    EXPECT_EQ(api().DbInitialize(), Status_Success);
    EXPECT_EQ(api().DbTerminate(), Status_Success);
    for (const char16_t* tag : {u"", static_cast<const char16_t*>(nullptr), u"en-GB", u"xx"})
        EXPECT_EQ(DatabaseType(tag), "File System Data") << U8(tag);
    for (const char16_t* tag : {u"de", u"de-CH"})
        EXPECT_EQ(DatabaseType(tag), "Dateisystemdaten") << U8(tag);
    EXPECT_EQ(api().DbFetchDatabaseType(u"", nullptr), Status_InvalidArgument);
    EXPECT_EQ(api().DbTerminate(), Status_Success);
    EXPECT_EQ(DatabaseType(u""), "status 11");
    EXPECT_EQ(api().DbTerminate(), Status_Success);   // count -1
    EXPECT_EQ(api().DbInitialize(), Status_Success);  // count 0: no first-use work
    EXPECT_EQ(DatabaseType(u""), "status 11");
    EXPECT_EQ(api().DbInitialize(), Status_Success);  // starts again
    EXPECT_EQ(DatabaseType(u"de"), "Dateisystemdaten");
    api().DbTerminate();
}

// Every free entry point takes null; a table list without its count loses
// the array alone, and an error chain goes whole (the sanitizer build's leak
// check sees what is left).
TEST_F(DriverTest, FreeEntryPoints) {
    ErrorInfo* chain = nullptr;
    for (int i = 0; i < 3; ++i)
        chain = new (::operator new(sizeof(ErrorInfo)))
            ErrorInfo{chain, Status_LogonFailed, nullptr, 0};
    const DbStatus statuses[] = {api().DbFreeString(nullptr),
                                 api().DbFreeFieldValue(nullptr),
                                 api().DbFreeErrorInfo(nullptr),
                                 api().DbFreeTableList(nullptr, nullptr),
                                 api().DbFreeTableList(nullptr, static_cast<TableDescription**>(
                                                                    ::operator new(sizeof(void*)))),
                                 api().DbFreeTableInfo(nullptr),
                                 api().DbFreeFieldList(0, nullptr),
                                 api().DbFreeLogonInfo(nullptr),
                                 api().DbFreePropertyCollection(nullptr),
                                 api().DbLogoffServer(nullptr),
                                 api().DbFreeErrorInfo(chain)};
    for (size_t i = 0; i < std::size(statuses); ++i)
        EXPECT_EQ(statuses[i], Status_Success) << i;
}

// Engine sessions on many threads at once, each starting and stopping the
// driver around its own logon and rowset; the ThreadSanitizer build checks
// the locking.
TEST_F(DriverTest, SessionsStartAndStopTheDriverInParallel) {
    TempDir tree;
    for (const char* name : {"a.txt", "b.doc", "c"})
        tree.Write(name, "x");
    const host::DriverEntryPoints& api = this->api();
    const host::LogonProperties properties(tree.path().u16string(), u"*.*", -1, false);
    std::atomic<int> rowsRead{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 100; ++round) {
                api.DbInitialize();
                DbLogonRef logon = nullptr;
                DbLogonInfo* info = nullptr;
                DbRowsetRef rowset = nullptr;
                int table = 0;
                if (round % 10 == t) {  // a few fields, in German, on every row
                    api.DbLogonServer(properties.info(), &info, nullptr, nullptr, u"de", &logon,
                                      nullptr);
                    api.DbExecuteQuery(logon, QueryType_OpenTable, &table, nullptr, nullptr,
                                       nullptr, &rowset);
                    for (; api.DbReadRecord(rowset, ReadMode_Next, nullptr, nullptr) == 0;
                         ++rowsRead) {
                        char16_t buffer[64];
                        void* value = buffer;
                        uint16_t isNull;
                        uint32_t type, reserved;
                        for (FieldId id : {FieldId::Computer, FieldId::FileName, FieldId::FileType,
                                           FieldId::LastWritten, FieldId::AttributeString})
                            api.DbReadFieldValue(rowset, Ordinal(id), nullptr, nullptr, &value,
                                                 sizeof buffer, &isNull, &type, &reserved);
                    }
                }
                api.DbCloseRowset(rowset);
                api.DbLogoffServer(logon);
                api.DbFreeLogonInfo(info);
                api.DbTerminate();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(rowsRead.load(), 4 * 10 * 3);
    EXPECT_EQ(DatabaseType(u""), "status 11");  // balanced calls leave it stopped
}

}  // namespace
