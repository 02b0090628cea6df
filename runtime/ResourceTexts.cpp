#include "runtime/ResourceTexts.h"

#include <atomic>

#include "platform/PathSplit.h"
#include "runtime/Diagnostics.h"
#include "runtime/ResourceService.h"
#include "runtime/SLocale.h"

namespace {

constexpr const char* kSourceUnit = "resdllmgr";
constexpr uint32_t kUnexpectedFailure = 0x8000FFFF;
constexpr uint32_t kMaxPath = 260;

std::atomic<ResourceManagerObject*> currentManager{nullptr};

}  // namespace

ResourceManagerObject::~ResourceManagerObject() {
    if (collection != nullptr)
        collection->Release();
}

ResourceManagerObject* CurrentResourceManager() {
    return currentManager.load();
}

void SetCurrentResourceManager(ResourceManagerObject* object) {
    currentManager.store(object);
}

uint32_t GetModuleDirectory(platform::ModuleHandle module, SWCharString& result) {
    result = u"";
    char16_t path[kMaxPath];
    if (platform::GetModuleFilePath(module, path, kMaxPath) == 0)
        return kUnexpectedFailure;
    platform::PathParts parts = platform::SplitPath(path);
    result = parts.drive + parts.directory;
    return 0;
}

void InitializeResources(ResourceManagerObject* object, const char16_t* collectionName,
                         platform::ModuleHandle module) {
    SResManager::Initialize();
    SWCharString directory;
    uint32_t hr = GetModuleDirectory(module, directory);
    VL_ASSERT_TEXT(hr == 0, "SUCCEEDED(hr)");
    SResCollection* collection = SResManager::GetCollection(collectionName, directory, module);
    if (object->collection != nullptr)
        object->collection->Release();
    object->collection = collection;
    object->initialised = 1;
}

void TerminateResources(ResourceManagerObject* object) {
    if (object->initialised) {
        object->initialised = 0;
        SResManager::Terminate();
    }
}

SWCharString& LoadResourceText(ResourceManagerObject* object, SWCharString& result, uint32_t id,
                               const char16_t* languageTag) {
    uint32_t lcid = languageTag != nullptr && *languageTag != 0
                        ? SLocale::Rfc1766ToLcid(languageTag)
                        : kDefaultLcid;
    if (object != nullptr && object->collection != nullptr)
        object->collection->LoadString(result, id, lcid);
    else
        result = u"";
    return result;
}

SWCharString LoadResourceText(uint32_t id, const char16_t* languageTag) {
    SWCharString text;
    LoadResourceText(CurrentResourceManager(), text, id, languageTag);
    return text;
}
