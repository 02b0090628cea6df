// Engine sessions on many threads at once, each starting and stopping the
// driver around its own logon and rowset; the ThreadSanitizer build checks
// the locking.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "driver/FieldId.h"
#include "host/LogonProperties.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

TEST(DriverConcurrency, SessionsStartAndStopTheDriverInParallel) {
    TempDir tree;
    for (const char* name : {"a.txt", "b.doc", "c"})
        tree.Write(name, "x");
    auto driver = OpenDriver();
    ASSERT_TRUE(driver);
    const host::DriverEntryPoints& api = driver->api();
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
    // Balanced calls leave the driver stopped, ready to start again.
    char16_t* name = nullptr;
    EXPECT_EQ(api.DbFetchDatabaseType(u"", &name), Status_NotSupported);
    api.DbInitialize();
    EXPECT_EQ(api.DbFetchDatabaseType(u"", &name), Status_Success);
    api.DbFreeString(name);
    api.DbTerminate();
}
