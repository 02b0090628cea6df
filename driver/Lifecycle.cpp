// DbInitialize and DbTerminate: the first use starts the logging library and
// the resource texts, the last use stops them.
#include "driver/DriverState.h"
#include "driver/EntryPoints.h"
#include "platform/ModuleInfo.h"
#include "runtime/Diagnostics.h"
#include "runtime/ResourceTexts.h"

namespace {

constexpr char16_t kCollectionName[] = u"vldb_filesystem";

void StartFirstUse() {
    LoadLogger(-1, 0);
    ResourceManagerObject* resources = CurrentResourceManager();
    if (resources == nullptr) {
        resources = new ResourceManagerObject();
        SetCurrentResourceManager(resources);
    }
    InitializeResources(resources, kCollectionName, platform::AttachedModuleHandle());
}

void StopLastUse() {
    if (ResourceManagerObject* resources = CurrentResourceManager()) {
        TerminateResources(resources);
        SetCurrentResourceManager(nullptr);
        delete resources;
    }
    UnloadLogger();
}

}  // namespace

DbStatus DbInitialize() {
    GuardEntry([] {
        std::lock_guard<std::mutex> guard(DriverLock);
        if (DriverUseCount++ == 0)
            StartFirstUse();
        return Status_Success;
    });
    return Status_Success;
}

DbStatus DbTerminate() {
    GuardEntry([] {
        std::lock_guard<std::mutex> guard(DriverLock);
        // Not clamped: an unmatched DbTerminate takes the count below 0.
        if (--DriverUseCount == 0)
            StopLastUse();
        return Status_Success;
    });
    return Status_Success;
}
