// The real logging library loaded with assertion reports on, and what it was
// sent. For one-process-per-case programs: a logger found missing stays so.
#pragma once

#include <filesystem>
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
