// Property collections as the engine builds them, in memory the driver only
// reads; each builder owns everything in it, nested hints included.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "vldb/dbdriver.h"

namespace testing_support {

class EngineCollection {
public:
    EngineCollection() { Refresh(); }
    EngineCollection(const EngineCollection&) = delete;
    EngineCollection& operator=(const EngineCollection&) = delete;

    DbPropertyCollection* get() { return &collection_; }

    // A property without a value record; null texts stay null.
    DbProperty& AddBare(const char16_t* name, const char16_t* displayName = nullptr,
                        DbValueType type = unknownValue) {
        DbProperty& property = properties_.emplace_back();
        property.structSize = sizeof(DbProperty);
        property.name = Text(name);
        property.displayName = Text(displayName);
        property.valueType = type;
        items_.push_back(&property);
        Refresh();
        return property;
    }
    // A property with a value record of the test's making (kinds, ranges, lists).
    DbProperty& AddValue(const char16_t* name, const char16_t* displayName, DbValueType type,
                         DbValue* value) {
        DbProperty& property = AddBare(name, displayName, type);
        property.value = value;
        return property;
    }
    // A property whose value record holds `bytes` as one payload of `type`.
    DbProperty& AddPayload(const char16_t* name, const char16_t* displayName, DbValueType type,
                           const void* bytes, size_t size) {
        auto* begin = static_cast<const uint8_t*>(bytes);
        void* data = payloads_.emplace_back(begin, begin + size).data();
        return AddValue(name, displayName, type, Value(singleKind, type, data));
    }
    DbProperty& AddString(const char16_t* name, const char16_t* displayName, const char16_t* text) {
        const size_t units = std::char_traits<char16_t>::length(text) + 1;
        return AddPayload(name, displayName, stringValue, text, units * sizeof(char16_t));
    }
    DbProperty& AddInt32(const char16_t* name, const char16_t* displayName, int32_t number) {
        return AddPayload(name, displayName, int32sValue, &number, sizeof number);
    }
    DbProperty& AddBoolean(const char16_t* name, const char16_t* displayName, bool flag) {
        const uint16_t value = flag ? 1 : 0;
        return AddPayload(name, displayName, booleanValue, &value, sizeof value);
    }
    void AddNull() {
        items_.push_back(nullptr);
        Refresh();
    }
    // The hint collection of `property` (one of this builder's), made on first use.
    EngineCollection& Hints(DbProperty& property) {
        property.uiInfo = nested_.emplace_back(std::make_unique<EngineCollection>())->get();
        return *nested_.back();
    }
    DbValue* Value(DbValueKind kind, DbValueType type, void* data) {
        return &values_.emplace_back(DbValue{sizeof(DbValue), kind, type, 0, data});
    }

private:
    char16_t* Text(const char16_t* text) {
        return text == nullptr ? nullptr : texts_.emplace_back(text).data();
    }
    void Refresh() {
        collection_.structSize = sizeof(DbPropertyCollection);
        collection_.count = static_cast<uint32_t>(items_.size());
        collection_.items = items_.empty() ? nullptr : items_.data();
    }

    std::deque<std::u16string> texts_;
    std::deque<std::vector<uint8_t>> payloads_;
    std::deque<DbValue> values_;
    std::deque<DbProperty> properties_;
    std::vector<DbProperty*> items_;
    std::vector<std::unique_ptr<EngineCollection>> nested_;
    DbPropertyCollection collection_{};
};

// A logon-information record around an engine collection.
inline DbLogonInfo EngineLogonInfo(DbPropertyCollection* properties) {
    DbLogonInfo info{};
    info.properties = properties;
    info.structSize = sizeof(DbLogonInfo);
    return info;
}

}  // namespace testing_support
