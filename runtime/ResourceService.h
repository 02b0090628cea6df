// The resource service of the base utility library: collections of localised
// string tables, found by name beside the module that owns them.
#pragma once

#include <cstdint>

#include "platform/ModuleInfo.h"
#include "runtime/SWCharString.h"

class SResCollection {
public:
    // Slot order of the collection object: add a reference, release a
    // reference, one operation the driver does not call, load string.
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
    virtual uint32_t Reserved() = 0;
    // The text of string `id` in `lcid`; the 1033 text when the language has
    // no entry; empty when no language has one.
    virtual void LoadString(SWCharString& result, uint32_t id, uint32_t lcid) = 0;

protected:
    virtual ~SResCollection() = default;
};

class SResManager {
public:
    static void Initialize();
    static void Terminate();
    // A new reference to the collection `name`, with its translations read
    // from `directory` (which ends with a separator, or is empty).
    static SResCollection* GetCollection(const char16_t* name, const SWCharString& directory,
                                         platform::ModuleHandle module);
};
