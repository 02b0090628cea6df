// The driver's own reader of OLE property-set streams (source unit gprpset):
// the header, then each section with its typed properties and its
// dictionary, parsed through the stream's Read, Seek and Clone.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/StructuredStorage.h"
#include "runtime/SWCharString.h"

// A format or class identifier, in the byte order of the stream.
using FormatIdentifier = std::array<uint8_t, 16>;

// Bounds what one stream can make the reader do. Every byte measured,
// copied or converted, and every table entry, is taken from the allowance,
// and reading stops once it is spent. A sound stream, whose properties lie
// in bytes of their own, uses a fraction of four times its length; sections
// and tables that overlap on purpose would otherwise multiply both time and
// memory.
class ReadAllowance {
public:
    explicit ReadAllowance(uint64_t bytes) : left_(bytes) {}
    bool Take(uint64_t bytes);

private:
    uint64_t left_;
};

// The bytes of a value, as `ValueData` reports them.
struct ValueBytes {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

class PropertyItem {
public:
    explicit PropertyItem(uint32_t identifier) : identifier_(identifier) {}

    // Reads the value at the stream's position. On failure the item keeps
    // no data.
    bool ReadValue(platform::StorageStream& stream, ReadAllowance* allowance = nullptr);

    // Where the value's bytes are and how many; false for vectors, values
    // that could not be read, and types with no plain data.
    bool ValueData(ValueBytes& value) const;
    // The value as text for the text types; the empty text otherwise.
    SWCharString ValueAsText() const;

    uint32_t identifier() const { return identifier_; }
    // The type word as read, vector flag included.
    uint32_t storedType() const { return storedType_; }
    // Null until a value was read.
    const std::vector<uint8_t>* data() const { return data_.get(); }

private:
    uint32_t identifier_;
    uint32_t storedType_ = 0;
    std::unique_ptr<std::vector<uint8_t>> data_;
};

struct DictionaryEntry {
    SWCharString name;  // lower-cased
    uint32_t identifier = 0;
};

class PropertySection {
public:
    explicit PropertySection(const FormatIdentifier& formatId) : formatId_(formatId) {}

    // Reads the section at the stream's position; `base` is where the
    // property set starts.
    bool ReadSection(platform::StorageStream& stream, uint64_t base,
                     ReadAllowance* allowance = nullptr);
    // Reads a dictionary at the stream's position.
    bool ReadDictionary(platform::StorageStream& stream, ReadAllowance* allowance = nullptr);
    // Adds a name (lower-cased) unless the dictionary has it already.
    bool AddDictionaryEntry(uint32_t identifier, const SWCharString& name);

    const FormatIdentifier& formatId() const { return formatId_; }
    uint32_t sectionSize() const { return sectionSize_; }
    uint32_t propertyCount() const { return propertyCount_; }
    const std::vector<PropertyItem>& items() const { return items_; }
    const std::vector<DictionaryEntry>& dictionary() const { return dictionary_; }
    const SWCharString& name() const { return name_; }

private:
    FormatIdentifier formatId_;
    uint32_t sectionSize_ = 0;
    uint32_t propertyCount_ = 0;
    std::vector<PropertyItem> items_;
    std::vector<DictionaryEntry> dictionary_;
    SWCharString name_;
};

class PropertySetReader {
public:
    // Reads the property set that starts at the stream's position. False
    // when the header or the section table ends early; the sections read
    // before the break stay.
    bool ReadPropertySet(platform::StorageStream& stream);

    uint16_t byteOrder() const { return byteOrder_; }
    uint16_t format() const { return format_; }
    uint32_t osVersion() const { return osVersion_; }
    const FormatIdentifier& classId() const { return classId_; }
    uint32_t sectionCount() const { return sectionCount_; }
    const std::vector<PropertySection>& sections() const { return sections_; }

private:
    uint16_t byteOrder_ = 0;
    uint16_t format_ = 0;
    uint32_t osVersion_ = 0;
    FormatIdentifier classId_{};
    uint32_t sectionCount_ = 0;
    std::vector<PropertySection> sections_;
};

// The first section with that format identifier, in stream order; null
// when there is none.
const PropertySection* FindSection(const PropertySetReader& reader,
                                   const FormatIdentifier& formatId);
// The first property with that identifier in the section, in stream order;
// null when there is none (or no section).
const PropertyItem* FindItem(const PropertySection* section, uint32_t identifier);
