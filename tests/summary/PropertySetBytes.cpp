#include "tests/summary/PropertySetBytes.h"

namespace testing_props {

std::string SummaryFormatId() {
    return std::string("\xE0\x85\x9F\xF2\xF9\x4F\x68\x10\xAB\x91\x08\x00\x2B\x27\xB3\xD9", 16);
}

std::string UserFormatId() {
    return std::string("\x05\xD5\xCD\xD5\x9C\x2E\x1B\x10\x93\x97\x08\x00\x2B\x2C\xF9\xAE", 16);
}

std::string U32Bytes(uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

std::string U64Bytes(uint64_t value) {
    return U32Bytes(static_cast<uint32_t>(value)) + U32Bytes(static_cast<uint32_t>(value >> 32));
}

std::string Typed(uint32_t type, const std::string& payload) {
    std::string bytes = U32Bytes(type) + payload;
    bytes.resize((bytes.size() + 3) / 4 * 4, '\0');
    return bytes;
}

std::string Lpstr(const std::string& text) {
    return Typed(30,
                 U32Bytes(static_cast<uint32_t>(text.size() + 1)) + text + std::string(1, '\0'));
}

std::string Lpwstr(const std::u16string& text) {
    std::string payload = U32Bytes(static_cast<uint32_t>(text.size() + 1));
    for (char16_t unit : text + u'\0') {
        payload += static_cast<char>(unit);
        payload += static_cast<char>(unit >> 8);
    }
    return Typed(31, payload);
}

std::string I4(int32_t value) {
    return Typed(3, U32Bytes(static_cast<uint32_t>(value)));
}

std::string FileTime64(uint64_t value) {
    return Typed(64, U64Bytes(value));
}

std::string Section(const std::vector<Property>& properties) {
    const uint32_t tableEnd = 8 + 8 * static_cast<uint32_t>(properties.size());
    std::string table, values;
    for (const Property& property : properties) {
        table += U32Bytes(property.identifier) +
                 U32Bytes(tableEnd + static_cast<uint32_t>(values.size()));
        values += property.value;
    }
    const uint32_t size = tableEnd + static_cast<uint32_t>(values.size());
    return U32Bytes(size) + U32Bytes(static_cast<uint32_t>(properties.size())) + table + values;
}

std::string Dictionary(const std::vector<std::pair<uint32_t, std::string>>& entries) {
    std::string bytes = U32Bytes(static_cast<uint32_t>(entries.size()));
    for (const auto& entry : entries)
        bytes += U32Bytes(entry.first) + U32Bytes(static_cast<uint32_t>(entry.second.size() + 1)) +
                 entry.second + std::string(1, '\0');
    bytes.resize((bytes.size() + 3) / 4 * 4, '\0');
    return bytes;
}

std::string PropertySet(const std::vector<std::pair<std::string, std::string>>& sections) {
    std::string header = std::string("\xFE\xFF\x00\x00\x05\x01\x02\x00", 8) +
                         std::string(16, '\0') + U32Bytes(static_cast<uint32_t>(sections.size()));
    uint32_t offset = static_cast<uint32_t>(header.size() + 20 * sections.size());
    std::string table, bodies;
    for (const auto& section : sections) {
        table += section.first + U32Bytes(offset + static_cast<uint32_t>(bodies.size()));
        bodies += section.second;
    }
    return header + table + bodies;
}

std::string SummaryStream(const std::vector<Property>& properties) {
    return PropertySet({{SummaryFormatId(), Section(properties)}});
}

}  // namespace testing_props
