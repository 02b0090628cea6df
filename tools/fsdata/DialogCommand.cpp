#include "tools/fsdata/DialogCommand.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/TextEncoding.h"

namespace fsdata {
namespace {

constexpr int kIndentStep = 4;

std::string Text(const char16_t* text) {
    return platform::Utf16ToUtf8(text);
}

std::string Quoted(const char16_t* text) {
    return "\"" + Text(text) + "\"";
}

std::string TypeName(DbValueType type) {
    switch (type) {
        case int8sValue:
            return "int8s";
        case int8uValue:
            return "int8u";
        case int16sValue:
            return "int16s";
        case int16uValue:
            return "int16u";
        case int32sValue:
            return "int32s";
        case int32uValue:
            return "int32u";
        case numberValue:
            return "number";
        case currencyValue:
            return "currency";
        case booleanValue:
            return "boolean";
        case dateValue:
            return "date";
        case timeValue:
            return "time";
        case stringValue:
            return "string";
        case memoValue:
            return "memo";
        case blobValue:
            return "blob";
        case dateTimeValue:
            return "dateTime";
        case decimalValue:
            return "decimal";
        case int64sValue:
            return "int64s";
        case int64uValue:
            return "int64u";
        case unknownValue:
            return "unknown";
        default:
            return "type " + std::to_string(type);
    }
}

template <typename T>
T Load(const void* data) {
    T number;
    std::memcpy(&number, data, sizeof number);
    return number;
}

// " = value", or ", no value".
std::string ValueText(const DbValue* value) {
    if (value == nullptr || value->kind == emptyKind || value->data == nullptr)
        return ", no value";
    if (value->kind != singleKind)
        return " = (a value of kind " + std::to_string(value->kind) + ")";
    const void* data = value->data;
    switch (value->valueType) {
        case stringValue:
        case memoValue:
            return " = " + Quoted(static_cast<const char16_t*>(data));
        case booleanValue:
            return Load<uint16_t>(data) != 0 ? " = true" : " = false";
        case int32sValue:
            return " = " + std::to_string(Load<int32_t>(data));
        case int32uValue:
            return " = " + std::to_string(Load<uint32_t>(data));
        default:
            return " = (a " + TypeName(value->valueType) + " value)";
    }
}

void PrintCollection(const DbPropertyCollection* collection, int depth, Output& out) {
    if (collection == nullptr || collection->items == nullptr)
        return;
    const std::string indent(depth * kIndentStep, ' ');
    for (uint32_t i = 0; i < collection->count; ++i) {
        const DbProperty* property = collection->items[i];
        if (property == nullptr) {
            out.Write(indent + "(missing)\n");
            continue;
        }
        std::string line = indent + (property->name ? Text(property->name) : "(no name)");
        if (property->displayName != nullptr)
            line += " (shown as " + Quoted(property->displayName) + ")";
        line += ": " + TypeName(property->valueType) + ValueText(property->value);
        if (property->description != nullptr)
            line += "; description " + Quoted(property->description);
        out.Write(line + "\n");
        PrintCollection(property->uiInfo, depth + 1, out);
    }
}

}  // namespace

int RunDialog(const host::DriverLibrary& driver, const CommandLine& line, Output& out) {
    const host::DriverEntryPoints& api = driver.api();
    if (!api.DbInitialize || !api.DbTerminate || !api.DbFetchLogonUIInfo || !api.DbFreeLogonInfo) {
        std::fprintf(stderr, "fsdata: %s lacks the driver's entry points\n",
                     platform::Utf16ToUtf8(driver.path()).c_str());
        return kExitFailure;
    }
    std::u16string language = platform::Utf8ToUtf16(line.Get("--lang"));

    // No logon properties yet: the dialog shows the defaults.
    DbPropertyCollection properties{sizeof(DbPropertyCollection), 0, nullptr};
    DbLogonInfo logonIn{};
    logonIn.properties = &properties;
    logonIn.structSize = sizeof(DbLogonInfo);

    api.DbInitialize();
    DbLogonInfo* description = nullptr;
    DbStatus status =
        api.DbFetchLogonUIInfo(nullptr, &logonIn, nullptr, language.c_str(), &description);
    if (status == Status_Success && description != nullptr)
        PrintCollection(description->properties, 0, out);
    else
        std::fprintf(stderr, "fsdata: DbFetchLogonUIInfo returned %u\n", status);
    api.DbFreeLogonInfo(description);
    api.DbTerminate();
    return status == Status_Success ? kExitSuccess : kExitFailure;
}

}  // namespace fsdata
