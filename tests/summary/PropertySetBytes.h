// Builds property-set streams byte by byte for the tests.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testing_props {

// The summary format identifier in stream byte order, and another one.
std::string SummaryFormatId();
std::string UserFormatId();

std::string U32Bytes(uint32_t value);
std::string U64Bytes(uint64_t value);

// A typed value: the 4-byte type word and `payload`, padded to 4 bytes.
std::string Typed(uint32_t type, const std::string& payload);
// Type 30: length (text and its NUL), the bytes, the NUL.
std::string Lpstr(const std::string& text);
// Type 31: character count (with the NUL), the UTF-16 units, the NUL.
std::string Lpwstr(const std::u16string& text);
std::string I4(int32_t value);
std::string FileTime64(uint64_t value);

struct Property {
    uint32_t identifier;
    std::string value;  // from the type word on (or a dictionary, for 0)
};

// A section: size, count, the identifier/offset table, then the values in
// the order given.
std::string Section(const std::vector<Property>& properties);

// A dictionary (the value of identifier 0): count, then per entry the
// identifier, the name's length with its NUL, the name and the NUL.
std::string Dictionary(const std::vector<std::pair<uint32_t, std::string>>& entries);

// Header, section table and sections, each section after the one before.
std::string PropertySet(const std::vector<std::pair<std::string, std::string>>& sections);

// A summary stream holding one section of these properties.
std::string SummaryStream(const std::vector<Property>& properties);

}  // namespace testing_props
