// The reader of registry files in the Windows .reg text format.
//
// It is handed the file's bytes and never touches the file system, so it can
// be fuzzed. Key paths and value names are kept folded (platform::FoldName),
// which makes every lookup case-insensitive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace formats {

using platform::RegistryRoot;

class RegistryFile {
public:
    struct Value {
        uint32_t name;  // into names_ (upper-cased); length 0 for the default value
        uint32_t nameLength;
        uint32_t data;  // into bytes_
        uint32_t dataLength;
        uint32_t type;
    };

    // A key named in the file. Its values are values_[firstValue, firstValue + valueCount),
    // sorted by name with no duplicates.
    struct Key {
        RegistryRoot root;
        uint32_t path;  // into names_ (upper-cased, below the root, no trailing backslash)
        uint32_t pathLength;
        uint32_t firstValue;
        uint32_t valueCount;
    };

    // Whether the key exists: named in the file, or the parent of one that is
    // (importing a .reg file creates every key on the way). `key` is set to
    // the key's own entry, or null when it has no values of its own.
    bool FindKey(RegistryRoot root, std::u16string_view path, const Key*& key) const;

    // The value of `key` named `name` ("" is the default value); null when absent.
    const Value* FindValue(const Key& key, std::u16string_view name) const;

    const uint8_t* Data(const Value& value) const { return bytes_.data() + value.data; }

    bool Empty() const { return keys_.empty(); }
    const std::vector<Key>& Keys() const { return keys_; }
    const std::vector<Value>& Values() const { return values_; }
    std::u16string_view Path(const Key& key) const {
        return std::u16string_view(names_).substr(key.path, key.pathLength);
    }
    std::u16string_view Name(const Value& value) const {
        return std::u16string_view(names_).substr(value.name, value.nameLength);
    }

private:
    friend class RegistryFileParser;

    std::u16string names_;
    std::vector<uint8_t> bytes_;
    std::vector<Key> keys_;  // sorted by root, then path; no duplicates
    std::vector<Value> values_;
};

// Reads a .reg file: "Windows Registry Editor Version 5.00" or "REGEDIT4"
// (the header line is optional), UTF-8 with or without its byte-order mark or
// UTF-16LE with its mark, CRLF or LF. Only HKEY_LOCAL_MACHINE (HKLM) and
// HKEY_CLASSES_ROOT (HKCR) are kept. Lines that cannot be read are skipped.
RegistryFile ParseRegistryFile(const uint8_t* data, size_t size);

}  // namespace formats
