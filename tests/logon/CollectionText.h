// A property collection written out as text, one line per property and its
// hints indented below it, so that tests can compare whole trees:
//   name / displayName / description : type = value
// "~" stands for a null text or a missing value record; values read
// "empty:<type of the value record>" or "<type>:<payload>".
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "tests/support/TestSupport.h"
#include "vldb/dbdriver.h"

namespace testing_support {

inline std::string ValueTypeName(DbValueType type) {
    switch (type) {
        case int32sValue:
            return "int32s";
        case int32uValue:
            return "int32u";
        case booleanValue:
            return "boolean";
        case stringValue:
            return "string";
        case unknownValue:
            return "unknown";
        default:
            return "type" + std::to_string(type);
    }
}

inline std::string ValueText(const DbValue* value) {
    if (value == nullptr)
        return "~";
    std::string text;
    if (value->structSize != sizeof(DbValue))
        text += "(value size " + std::to_string(value->structSize) + ") ";
    const std::string type = ValueTypeName(value->valueType);
    if (value->kind == emptyKind)
        return text + "empty:" + type + (value->data != nullptr ? " with data" : "");
    if (value->kind != singleKind)
        return text + "kind" + std::to_string(value->kind) + ":" + type;
    if (value->data == nullptr)
        return text + type + ":no data";
    const void* data = value->data;
    switch (value->valueType) {
        case stringValue:
            return text + type + ":\"" + U8(static_cast<const char16_t*>(data)) + "\"";
        case booleanValue: {
            uint16_t flag;
            std::memcpy(&flag, data, sizeof flag);
            return text + type + (flag == 0 ? ":false" : flag == 1 ? ":true" : ":flag?");
        }
        case int32sValue: {
            int32_t number;
            std::memcpy(&number, data, sizeof number);
            return text + type + ":" + std::to_string(number);
        }
        case int32uValue: {
            uint32_t number;
            std::memcpy(&number, data, sizeof number);
            return text + type + ":" + std::to_string(number);
        }
        default:
            return text + type + ":?";
    }
}

inline std::string NullableText(const char16_t* text) {
    return text == nullptr ? "~" : U8(text);
}

inline void AppendCollectionText(std::string& out, const DbPropertyCollection* collection,
                                 const std::string& indent) {
    if (collection->structSize != sizeof(DbPropertyCollection))
        out += indent + "(collection size " + std::to_string(collection->structSize) + ")\n";
    if (collection->count != 0 && collection->items == nullptr) {
        out += indent + "(no items)\n";
        return;
    }
    for (uint32_t i = 0; i < collection->count; ++i) {
        const DbProperty* property = collection->items[i];
        if (property == nullptr) {
            out += indent + "(null)\n";
            continue;
        }
        out += indent + NullableText(property->name) + " / " + NullableText(property->displayName) +
               " / " + NullableText(property->description) + " : " +
               ValueTypeName(property->valueType) + " = " + ValueText(property->value);
        if (property->structSize != sizeof(DbProperty))
            out += " (size " + std::to_string(property->structSize) + ")";
        if (property->options != 0)
            out += " (options " + std::to_string(property->options) + ")";
        out += "\n";
        if (property->uiInfo != nullptr) {
            if (property->uiInfo->count == 0)
                out += indent + "  (no hints)\n";
            AppendCollectionText(out, property->uiInfo, indent + "  ");
        }
    }
}

inline std::string CollectionText(const DbPropertyCollection* collection) {
    if (collection == nullptr)
        return "(null collection)\n";
    std::string out;
    AppendCollectionText(out, collection, "");
    return out;
}

}  // namespace testing_support
