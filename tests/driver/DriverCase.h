// A case with the driver library loaded afresh and started, as the engine
// starts it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"

class DriverCase : public ::testing::Test {
protected:
    void SetUp() override {
        driver_ = testing_support::OpenDriver();
        ASSERT_TRUE(driver_);
        api().DbInitialize();
    }
    void TearDown() override {
        if (driver_)
            api().DbTerminate();
    }

    const host::DriverEntryPoints& api() const { return driver_->api(); }

    std::unique_ptr<host::DriverLibrary> driver_;
};

// `text` against the golden file `name` (in tests/driver/golden), line
// ends aside.
inline void ExpectGolden(std::string text, const std::string& name) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    EXPECT_EQ(text, testing_support::ReadWholeFile(testing_support::SourceFolder() /
                                                   "tests/driver/golden" / name))
        << name;
}
