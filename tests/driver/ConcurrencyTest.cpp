// Many threads starting and stopping the driver at once, as engine sessions
// do; the ThreadSanitizer build checks the locking.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "tests/support/TestSupport.h"

using namespace testing_support;

TEST(DriverConcurrency, InitializeAndTerminateFromManyThreads) {
    SetLoggerFolder(ProgramFolder());  // the logger is loaded and unloaded too
    auto driver = OpenDriver();
    ASSERT_TRUE(driver);
    const host::DriverEntryPoints& api = driver->api();

    // One user throughout keeps the texts readable while the others come and go.
    api.DbInitialize();
    constexpr int kThreads = 8;
    constexpr int kRounds = 200;
    std::atomic<int> wrongNames{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&api, &wrongNames, t] {
            for (int round = 0; round < kRounds; ++round) {
                api.DbInitialize();
                char16_t* name = nullptr;
                const char16_t* tag = (round + t) % 2 ? u"de" : u"";
                if (api.DbFetchDatabaseType(tag, &name) != Status_Success)
                    ++wrongNames;
                api.DbFreeString(name);
                api.DbTerminate();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrongNames.load(), 0);

    api.DbTerminate();
    char16_t* name = nullptr;
    EXPECT_EQ(api.DbFetchDatabaseType(u"", &name), Status_NotSupported);
    RemoveLoggerKey();
}

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
