// Loads the real logging library in this process with assertion reports on,
// and reads back what it was sent. Use it in a program whose cases each run
// in a process of their own (a logger found missing stays missing).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace testing_support {

class AssertionCapture {
public:
    AssertionCapture();
    ~AssertionCapture();

    bool active() const;
    // The reports since the last call, as "unit: expression".
    std::vector<std::string> Reports();

private:
    TempDir folder_;
    std::filesystem::path log_;
    size_t consumed_ = 0;
};

}  // namespace testing_support
