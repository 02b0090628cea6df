#include "tests/support/ScopedResources.h"

#include "runtime/ResourceService.h"

namespace testing_support {

ScopedResources::ScopedResources(const std::u16string& folder) {
    SResManager::Initialize();
    object_.collection = SResManager::GetCollection(u"vldb_filesystem", folder, nullptr);
    object_.initialised = 1;
    SetCurrentResourceManager(&object_);
}

ScopedResources::~ScopedResources() {
    SetCurrentResourceManager(nullptr);
    TerminateResources(&object_);
}

}  // namespace testing_support
