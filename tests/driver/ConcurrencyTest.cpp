// Many threads starting and stopping the driver at once, as engine sessions
// do; the ThreadSanitizer build checks the locking.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>
#include <vector>

#include "driver/FieldId.h"
#include "host/LogonProperties.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

TEST(DriverConcurrency, FirstAndLastUseRaceWithoutAStandingUser) {
    auto driver = OpenDriver();
    ASSERT_TRUE(driver);
    const host::DriverEntryPoints& api = driver->api();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&api] {
            for (int round = 0; round < 300; ++round) {
                api.DbInitialize();
                api.DbTerminate();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    // Balanced calls leave the driver stopped, ready to start again.
    char16_t* name = nullptr;
    EXPECT_EQ(api.DbFetchDatabaseType(u"", &name), Status_NotSupported);
    api.DbInitialize();
    EXPECT_EQ(api.DbFetchDatabaseType(u"", &name), Status_Success);
    api.DbFreeString(name);
    api.DbTerminate();
}

namespace {

// A few fields of the current row, as a report reads them.
void ReadSomeFields(const host::DriverEntryPoints& api, DbRowsetRef rowset) {
    char16_t buffer[64];
    void* value = buffer;
    uint16_t isNull;
    uint32_t type, reserved;
    for (FieldId id : {FieldId::Computer, FieldId::FileName, FieldId::FileType, FieldId::FileSize,
                       FieldId::LastWritten, FieldId::AttributeString})
        api.DbReadFieldValue(rowset, Ordinal(id), nullptr, nullptr, &value, sizeof buffer, &isNull,
                             &type, &reserved);
}

}  // namespace

// Eight engine threads, each with its own logons and two rowsets read to
// the end, over and over.
TEST(DriverConcurrency, RowsetsOfManyLogonsInParallel) {
    TempDir tree;
    for (int d = 0; d < 4; ++d) {
        std::filesystem::create_directories(tree.path() / ("d" + std::to_string(d)));
        for (int f = 0; f < 5; ++f)
            std::ofstream(tree.path() / ("d" + std::to_string(d)) / ("f" + std::to_string(f)))
                << "x";
    }
    auto driver = OpenDriver();
    ASSERT_TRUE(driver);
    const host::DriverEntryPoints& api = driver->api();
    api.DbInitialize();
    const std::u16string start = tree.path().u16string();
    std::atomic<int> wrongCounts{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int round = 0; round < 5; ++round) {
                host::LogonProperties properties(start, u"*.*", -1, false);
                DbLogonRef logon = nullptr;
                DbLogonInfo* info = nullptr;
                ErrorInfo* error = nullptr;
                if (api.DbLogonServer(properties.info(), &info, nullptr, nullptr, u"de", &logon,
                                      &error) != Status_Success) {
                    ++wrongCounts;
                    continue;
                }
                int table = 0;
                DbRowsetRef rowsets[2] = {nullptr, nullptr};
                int rows[2] = {0, 0};
                for (DbRowsetRef& rowset : rowsets)
                    api.DbExecuteQuery(logon, QueryType_OpenTable, &table, nullptr, nullptr,
                                       nullptr, &rowset);
                for (bool more = true; more;) {
                    more = false;
                    for (int r = 0; r < 2; ++r) {
                        if (api.DbReadRecord(rowsets[r], ReadMode_Next, nullptr, nullptr) != 0)
                            continue;
                        more = true;
                        ++rows[r];
                        ReadSomeFields(api, rowsets[r]);
                    }
                }
                if (rows[0] != 20 || rows[1] != 20)
                    ++wrongCounts;
                for (DbRowsetRef rowset : rowsets)
                    api.DbCloseRowset(rowset);
                api.DbLogoffServer(logon);
                api.DbFreeLogonInfo(info);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrongCounts.load(), 0);
    api.DbTerminate();
}
