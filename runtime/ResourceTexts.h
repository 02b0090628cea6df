// The driver's localised resource texts (source unit resdllmgr).
#pragma once

#include <cstdint>

#include "platform/ModuleInfo.h"
#include "runtime/SWCharString.h"

class SResCollection;

// Process-wide; created zero-filled by the first DbInitialize.
struct ResourceManagerObject {
    SResCollection* collection = nullptr;
    uint8_t initialised = 0;

    ~ResourceManagerObject();  // releases the collection reference
};

// The object in use between the first DbInitialize and the last DbTerminate,
// or null.
ResourceManagerObject* CurrentResourceManager();
void SetCurrentResourceManager(ResourceManagerObject* object);

void InitializeResources(ResourceManagerObject* object, const char16_t* collectionName,
                         platform::ModuleHandle module);
void TerminateResources(ResourceManagerObject* object);

// The text of resource `id` in the language of `languageTag` (empty or null:
// 1033). Empty when there is no resource manager.
SWCharString& LoadResourceText(ResourceManagerObject* object, SWCharString& result, uint32_t id,
                               const char16_t* languageTag);
// The same with the current resource manager.
SWCharString LoadResourceText(uint32_t id, const char16_t* languageTag);

// The drive and directory of the module's file, ending in a separator.
// 0 on success, 0x8000FFFF when the path cannot be read.
uint32_t GetModuleDirectory(platform::ModuleHandle module, SWCharString& result);
