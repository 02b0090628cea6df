// The driver's resource texts, started as DbInitialize starts them, for the
// life of the object.
#pragma once

#include "runtime/ResourceTexts.h"
#include "tests/support/TestSupport.h"

namespace testing_support {

class ScopedResources {
public:
    // Translations are read from `folder` (default: beside the test program).
    explicit ScopedResources(const std::u16string& folder = ProgramFolder());
    ~ScopedResources();

private:
    ResourceManagerObject object_;
};

}  // namespace testing_support
