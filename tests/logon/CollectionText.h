// A property collection written out as text, one line per property and its
// hints indented below it, so that tests can compare whole trees:
//   name / displayName / description : type = value
// "~" stands for a null text or a missing value record; values read
// "empty:<type of the value record>" or "<type>:<payload>".
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "tests/support/TestSupport.h"
#include "vldb/dbdriver.h"

namespace testing_support {

inline const std::pair<DbValueType, const char*> kValueTypeNames[] = {
    {int32sValue, "int32s"}, {int32uValue, "int32u"},   {booleanValue, "boolean"},
    {stringValue, "string"}, {unknownValue, "unknown"}, {int64sValue, "int64s"}};

inline std::string ValueTypeName(DbValueType type) {
    for (const auto& [known, name] : kValueTypeNames)
        if (known == type)
            return name;
    return "type" + std::to_string(type);
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
    if (value->valueType == stringValue)
        return text + type + ":\"" + U8(static_cast<const char16_t*>(value->data)) + "\"";
    const bool flag = value->valueType == booleanValue;
    if (!flag && value->valueType != int32sValue && value->valueType != int32uValue)
        return text + type + ":?";
    int32_t number = 0;
    std::memcpy(&number, value->data, flag ? sizeof(uint16_t) : sizeof number);
    if (flag)
        return text + type + (number == 0 ? ":false" : number == 1 ? ":true" : ":flag?");
    return text + type + ":" +
           (value->valueType == int32sValue ? std::to_string(number)
                                            : std::to_string(static_cast<uint32_t>(number)));
}

inline void AppendCollectionText(std::string& out, const DbPropertyCollection* collection,
                                 const std::string& indent) {
    if (collection->structSize != sizeof(DbPropertyCollection))
        out += indent + "(collection size " + std::to_string(collection->structSize) + ")\n";
    if (collection->count != 0 && collection->items == nullptr)
        return void(out += indent + "(no items)\n");
    auto text = [](const char16_t* text) { return text == nullptr ? "~" : U8(text); };
    for (uint32_t i = 0; i < collection->count; ++i) {
        const DbProperty* property = collection->items[i];
        if (property == nullptr) {
            out += indent + "(null)\n";
            continue;
        }
        out += indent + text(property->name) + " / " + text(property->displayName) + " / " +
               text(property->description) + " : " + ValueTypeName(property->valueType) + " = " +
               ValueText(property->value);
        if (property->structSize != sizeof(DbProperty))
            out += " (size " + std::to_string(property->structSize) + ")";
        if (property->options != 0)
            out += " (options " + std::to_string(property->options) + ")";
        out += property->uiInfo != nullptr && property->uiInfo->count == 0
                   ? "\n" + indent + "  (no hints)\n"
                   : "\n";
        if (property->uiInfo != nullptr)
            AppendCollectionText(out, property->uiInfo, indent + "  ");
    }
}

inline std::string CollectionText(const DbPropertyCollection* collection) {
    std::string out;
    return collection == nullptr ? "(null collection)\n"
                                 : (AppendCollectionText(out, collection, ""), out);
}

}  // namespace testing_support
