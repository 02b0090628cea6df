// DbProperty records: a named, typed value with optional hints (source unit
// dbproperty). A property owns its texts, its value and its hint collection.
#pragma once

#include <cstdint>

#include "runtime/SWCharString.h"
#include "vldb/dbdriver.h"

constexpr uint32_t kPropertySize = 64;

// A fresh property: null texts, unknownValue, a new empty value, no hints.
void InitProperty(DbProperty* property);
// Releases the texts, the value and the hints; the record itself stays.
void DestroyProperty(DbProperty* property);

// Records on the host heap.
DbProperty* NewProperty();
// A deep copy of `source` (a fresh property for null).
DbProperty* CopyProperty(const DbProperty* source);
// DestroyProperty, then release the record; null does nothing.
void DeleteProperty(DbProperty* property);

// Appends a copy of `hint` to the property's hints (made when missing); a
// null hint does nothing. Returns 0.
uint32_t AddUiInfo(DbProperty* property, const DbProperty* hint);

// Stores one buffer of the property's own type (copied when `copy` is
// non-zero, adopted otherwise). Returns 0.
DbStatus SetPropertyValue(DbProperty* property, void* buffer, uint16_t copy);
// Stores a copy of `text`; Status_NotSupported without change unless the
// property is a stringValue.
DbStatus SetPropertyString(DbProperty* property, const char16_t* text);

bool GetPropertyBoolean(const DbProperty* property, bool defaultValue);
SWCharString GetPropertyString(const DbProperty* property);

// For the walks over whole hint trees, which handle `uiInfo` themselves:
// copies the texts, type, options and value of `source` into the fresh
// property `copy` (the value whenever the source has one) ...
void CopyPropertyMembers(DbProperty* copy, const DbProperty* source);
// ... and releases the texts and the value, leaving `uiInfo` alone.
void ReleasePropertyMembers(DbProperty* property);

// A property that lives for a scope, for building records that are then
// copied where they belong.
class LocalProperty {
public:
    LocalProperty() { InitProperty(&property_); }
    ~LocalProperty() { DestroyProperty(&property_); }
    LocalProperty(const LocalProperty&) = delete;
    LocalProperty& operator=(const LocalProperty&) = delete;

    DbProperty* get() { return &property_; }
    const DbProperty* get() const { return &property_; }
    DbProperty* operator->() { return &property_; }

private:
    DbProperty property_;
};
