// A case with the driver library loaded afresh and started, as the engine
// starts it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"
#include "tools/fsdata/DialogCommand.h"
#include "tools/fsdata/FieldsCommand.h"
#include "tools/fsdata/QueryCommand.h"

// `text` against the golden file `name` (in tests/driver/golden), line
// ends aside.
inline void ExpectGolden(std::string text, const std::string& name) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    EXPECT_EQ(text, testing_support::ReadWholeFile(testing_support::SourceFolder() /
                                                   "tests/driver/golden" / name))
        << name;
}

class DriverCase : public ::testing::Test {
protected:
    void SetUp() override {
        driver_ = testing_support::OpenDriver();
        ASSERT_TRUE(driver_);
        if (startDriver_)
            api().DbInitialize();
    }
    void TearDown() override {
        if (driver_ && startDriver_)
            api().DbTerminate();
    }

    const host::DriverEntryPoints& api() const { return driver_->api(); }

    // What `fsdata WORDS` prints through this driver, against a golden file.
    void ExpectPrinted(const std::vector<std::string>& words, const std::string& golden) {
        fsdata::CommandLine line;
        std::string error;
        ASSERT_TRUE(fsdata::ParseCommandLine(words, line, error)) << error;
        const auto run = line.command == "dialog"   ? fsdata::RunDialog
                         : line.command == "fields" ? fsdata::RunFields
                                                    : fsdata::RunQuery;
        testing::internal::CaptureStdout();
        fsdata::Output out(stdout);
        EXPECT_EQ(run(*driver_, line, out), fsdata::kExitSuccess);
        EXPECT_TRUE(out.Flush());
        ExpectGolden(testing::internal::GetCapturedStdout(), golden);
    }

    bool startDriver_ = true;  // DbInitialize before the case, DbTerminate after
    std::unique_ptr<host::DriverLibrary> driver_;
};
