#include "logon/Property.h"

#include <cstring>

#include "logon/PropertyCollection.h"
#include "runtime/Diagnostics.h"
#include "runtime/HostMemory.h"
#include "values/ValueBuffer.h"
#include "values/ValueConversion.h"
#include "values/ValueRecord.h"

namespace {

constexpr const char* kSourceUnit = "dbproperty";

// The value record a store goes into; one is made for a property without.
DbValue* ValueToStoreInto(DbProperty* property) {
    if (property->value == nullptr) {
        VL_ASSERT_UNREACHABLE("FALSE");
        property->value = NewValue(property->valueType);
    }
    return property->value;
}

}  // namespace

void InitProperty(DbProperty* property) {
    std::memset(property, 0, sizeof *property);
    property->structSize = kPropertySize;
    property->valueType = unknownValue;
    property->value = NewValue(unknownValue);
}

void DestroyProperty(DbProperty* property) {
    ReleasePropertyMembers(property);
    DeleteCollection(property->uiInfo);
    property->uiInfo = nullptr;
}

DbProperty* NewProperty() {
    auto* property = static_cast<DbProperty*>(AllocateHostBlock(sizeof(DbProperty)));
    try {
        InitProperty(property);
    } catch (...) {
        FreeHostBlock(property);
        throw;
    }
    return property;
}

DbProperty* CopyProperty(const DbProperty* source) {
    DbProperty* copy = NewProperty();
    if (source == nullptr)
        return copy;
    try {
        CopyPropertyMembers(copy, source);
        if (source->uiInfo != nullptr)
            copy->uiInfo = CopyCollection(source->uiInfo);
    } catch (...) {
        DeleteProperty(copy);
        throw;
    }
    return copy;
}

void DeleteProperty(DbProperty* property) {
    if (property == nullptr)
        return;
    DestroyProperty(property);
    FreeHostBlock(property);
}

void CopyPropertyMembers(DbProperty* copy, const DbProperty* source) {
    copy->name = DuplicateWideString(source->name);
    copy->displayName = DuplicateWideString(source->displayName);
    copy->description = DuplicateWideString(source->description);
    copy->valueType = source->valueType;
    copy->options = source->options;
    if (source->value != nullptr)
        AssignValue(copy->value, source->value);
    VL_ASSERT_TEXT(copy->value != nullptr, "value != NULL");
}

void ReleasePropertyMembers(DbProperty* property) {
    FreeHostBlock(property->name);
    FreeHostBlock(property->displayName);
    FreeHostBlock(property->description);
    DeleteValue(property->value);
    property->name = nullptr;
    property->displayName = nullptr;
    property->description = nullptr;
    property->value = nullptr;
}

uint32_t AddUiInfo(DbProperty* property, const DbProperty* hint) {
    if (hint == nullptr)
        return 0;
    if (property->uiInfo == nullptr)
        property->uiInfo = NewCollection();
    AddPropertyCopy(property->uiInfo, hint);
    return 0;
}

DbStatus SetPropertyValue(DbProperty* property, void* buffer, uint16_t copy) {
    SetSingleValue(ValueToStoreInto(property), property->valueType, buffer, copy);
    return Status_Success;
}

DbStatus SetPropertyString(DbProperty* property, const char16_t* text) {
    if (property->valueType != stringValue) {
        VL_ASSERT_UNREACHABLE("false");
        return Status_NotSupported;
    }
    SetSingleValue(ValueToStoreInto(property), stringValue, const_cast<char16_t*>(text), 1);
    return Status_Success;
}

bool GetPropertyBoolean(const DbProperty* property, bool defaultValue) {
    if (property->value == nullptr)
        return defaultValue;
    return GetValueAsBoolean(property->value, defaultValue);
}

SWCharString GetPropertyString(const DbProperty* property) {
    if (property->value == nullptr)
        return {};
    return GetValueAsString(property->value);
}
