#include "formats/PropertySetReader.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "formats/LittleEndian.h"
#include "platform/Multibyte.h"
#include "runtime/Diagnostics.h"
#include "runtime/StringFunctions.h"

using formats::U32At;

namespace {

constexpr const char* kSourceUnit = "gprpset";

constexpr uint32_t kVectorFlag = 0x1000;
constexpr size_t kHeaderBytes = 28;
constexpr size_t kSectionRecordBytes = 20;
// Converted texts keep at most this many characters.
constexpr size_t kMaxValueCharacters = 1024;
constexpr size_t kMaxNameCharacters = 256;
// Large values are read in pieces, so a claimed length never allocates more
// than the stream actually delivers.
constexpr uint32_t kReadChunk = 64 * 1024;

enum class Layout {
    kNone,      // no bytes
    kFixed,     // `size` bytes
    kBytes,     // a 4-byte length L, then L bytes
    kUnits,     // a 4-byte count N, then N UTF-16 units
    kRejected,  // not readable
};

struct ElementKind {
    Layout layout;
    uint32_t size;
};

ElementKind KindOf(uint32_t type) {
    switch (type) {
        case 0:
        case 12:
            return {Layout::kNone, 0};
        case 2:
        case 11:
            return {Layout::kFixed, 2};
        case 3:
        case 4:
            return {Layout::kFixed, 4};
        case 5:
        case 6:
        case 7:
        case 20:
        case 64:
            return {Layout::kFixed, 8};
        case 72:
            return {Layout::kFixed, 16};
        case 8:
        case 30:
        case 65:
        case 66:
        case 67:
        case 68:
        case 69:
        case 70:
        case 71:
        case 73:
        case 74:
        case 75:
            return {Layout::kBytes, 0};
        case 31:
            return {Layout::kUnits, 0};
        default:
            return {Layout::kRejected, 0};
    }
}

// Types kept as multibyte bytes in the stream but held converted to UTF-16.
bool IsConvertedText(uint32_t type) {
    switch (type) {
        case 8:
        case 66:
        case 67:
        case 68:
        case 69:
        case 73:
        case 74:
            return true;
        default:
            return false;
    }
}

void AppendU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

bool ReadExact(platform::StorageStream& stream, void* buffer, uint32_t count) {
    uint32_t got = 0;
    return stream.Read(buffer, count, got) && got == count;
}

bool ReadU32(platform::StorageStream& stream, uint32_t& value) {
    uint8_t bytes[4];
    if (!ReadExact(stream, bytes, 4))
        return false;
    value = U32At(bytes);
    return true;
}

// Appends `count` bytes from the stream to `out`; false when fewer came.
bool ReadBlock(platform::StorageStream& stream, uint64_t count, std::vector<uint8_t>& out) {
    while (count > 0) {
        const uint32_t piece = static_cast<uint32_t>(std::min<uint64_t>(count, kReadChunk));
        const size_t start = out.size();
        out.resize(start + piece);
        uint32_t got = 0;
        const bool read = stream.Read(out.data() + start, piece, got);
        out.resize(start + (read ? got : 0));
        if (!read || got < piece)
            return false;
        count -= piece;
    }
    return true;
}

bool Seek(platform::StorageStream& stream, uint64_t position) {
    if (position > static_cast<uint64_t>(INT64_MAX))
        return false;
    uint64_t now = 0;
    return stream.Seek(static_cast<int64_t>(position), platform::SeekOrigin::Begin, now);
}

// Multibyte text in the process's code page, up to its first NUL, cut to
// `limit` characters (never between the halves of a surrogate pair).
std::u16string ConvertMultibyte(const uint8_t* bytes, size_t length, size_t limit) {
    const uint8_t* end = std::find(bytes, bytes + length, 0);
    std::u16string text = platform::AnsiToUtf16(
        std::string_view(reinterpret_cast<const char*>(bytes), static_cast<size_t>(end - bytes)));
    if (text.size() > limit) {
        size_t cut = limit;
        if (cut > 0 && text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF)
            --cut;
        text.resize(cut);
    }
    return text;
}

bool Take(ReadAllowance* allowance, uint64_t bytes) {
    return allowance == nullptr || allowance->Take(bytes);
}

}  // namespace

bool ReadAllowance::Take(uint64_t bytes) {
    if (bytes > left_) {
        left_ = 0;
        return false;
    }
    left_ -= bytes;
    return true;
}

// ---------------------------------------------------------------- items

namespace {

// Adds the bytes of `count` elements after the stream's position to
// `measured`, reading their lengths through a cursor of the stream's own so
// that the stream stays at the first element.
bool MeasureElements(platform::StorageStream& stream, ElementKind kind, uint32_t count,
                     ReadAllowance* allowance, uint64_t& measured) {
    std::unique_ptr<platform::StorageStream> pIStrItem = stream.Clone();
    VL_ASSERT_TEXT(pIStrItem != nullptr, "pIStrItem != NULL");
    if (pIStrItem == nullptr || kind.layout == Layout::kRejected)
        return false;
    if (kind.layout == Layout::kNone)
        return true;
    if (kind.layout == Layout::kFixed) {
        measured += static_cast<uint64_t>(count) * kind.size;
        return Take(allowance, measured);
    }
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t length = 0;
        if (!ReadU32(*pIStrItem, length))
            return false;
        uint64_t bytes = kind.layout == Layout::kUnits ? 2ull * length : length;
        // Strings of UTF-16 units in a vector are padded to four bytes.
        if (kind.layout == Layout::kUnits && i + 1 < count)
            bytes = (bytes + 3) & ~3ull;
        if (!Take(allowance, 4 + bytes))
            return false;
        measured += 4 + bytes;
        uint64_t position = 0;
        if (bytes > static_cast<uint64_t>(INT64_MAX) ||
            !pIStrItem->Seek(static_cast<int64_t>(bytes), platform::SeekOrigin::Current, position))
            return false;
    }
    return true;
}

// The multibyte texts of `data` (a count first when `vector`), each as its
// length in UTF-16 units and the units; null when the bytes run short.
std::unique_ptr<std::vector<uint8_t>> ConvertTexts(const std::vector<uint8_t>& data, bool vector,
                                                   uint32_t count, ReadAllowance* allowance) {
    auto converted = std::make_unique<std::vector<uint8_t>>();
    size_t at = 0;
    if (vector) {
        AppendU32(*converted, count);
        at = 4;
    }
    for (uint32_t i = 0; i < count; ++i) {
        // The bytes are those just measured; checked all the same.
        if (data.size() - at < 4)
            return nullptr;
        const uint32_t length = U32At(data.data() + at);
        at += 4;
        if (data.size() - at < length)
            return nullptr;
        const std::u16string text = ConvertMultibyte(data.data() + at, length, kMaxValueCharacters);
        at += length;
        if (!Take(allowance, 4 + 2 * text.size()))
            return nullptr;
        AppendU32(*converted, static_cast<uint32_t>(text.size()));
        for (char16_t unit : text) {
            converted->push_back(static_cast<uint8_t>(unit));
            converted->push_back(static_cast<uint8_t>(unit >> 8));
        }
    }
    return converted;
}

}  // namespace

bool PropertyItem::ReadValue(platform::StorageStream& stream, ReadAllowance* allowance) {
    data_.reset();
    uint32_t type = 0;
    if (!ReadU32(stream, type))
        return false;
    storedType_ = type;
    if (!Take(allowance, 4))
        return false;

    const bool vector = (type & kVectorFlag) != 0;
    uint32_t count = 1;
    uint64_t measured = 0;
    uint32_t elementType = type;
    if (vector) {
        if (!ReadU32(stream, count))
            return false;
        measured = 4;
        elementType = type & ~kVectorFlag;
    }
    if (!MeasureElements(stream, KindOf(elementType), count, allowance, measured))
        return false;

    auto data = std::make_unique<std::vector<uint8_t>>();
    if (vector)
        AppendU32(*data, count);
    if (!ReadBlock(stream, measured - (vector ? 4 : 0), *data))
        return false;
    if (IsConvertedText(elementType)) {
        data = ConvertTexts(*data, vector, count, allowance);
        if (!data)
            return false;
    }
    data_ = std::move(data);
    return true;
}

bool PropertyItem::ValueData(ValueBytes& value) const {
    if (!data_ || (storedType_ & kVectorFlag) != 0)
        return false;
    const std::vector<uint8_t>& bytes = *data_;
    const ElementKind kind = KindOf(storedType_);
    size_t offset = 0, size = kind.size;
    if (kind.layout == Layout::kRejected)
        return false;
    if (kind.layout == Layout::kBytes || kind.layout == Layout::kUnits) {
        if (bytes.size() < 4)
            return false;
        const size_t count = U32At(bytes.data());
        if (kind.layout == Layout::kUnits || IsConvertedText(storedType_)) {
            offset = 4;  // held as UTF-16 units
            size = 2 * count;
        } else if (storedType_ == 30 || storedType_ == 71) {
            offset = 4;
            size = count;
        } else {
            size = count;  // the size is the count, but the bytes start at the count itself
        }
    }
    if (offset > bytes.size() || size > bytes.size() - offset)
        return false;
    value.data = bytes.data() + offset;
    value.size = size;
    return true;
}

SWCharString PropertyItem::ValueAsText() const {
    if (!data_ || data_->size() < 4)
        return SWCharString();
    const std::vector<uint8_t>& bytes = *data_;
    const uint32_t count = U32At(bytes.data());
    switch (storedType_) {
        case 8:
        case 31:
        case 66:
        case 67:
        case 68:
        case 69:
        case 73:
        case 74: {
            const size_t units = std::min<size_t>(count, (bytes.size() - 4) / 2);
            std::u16string text;
            for (size_t i = 0; i < units; ++i) {
                const char16_t unit =
                    static_cast<char16_t>(bytes[4 + 2 * i] | bytes[5 + 2 * i] << 8);
                if (unit == 0)
                    break;
                text += unit;
            }
            return SWCharString(std::move(text));
        }
        case 30:
        case 71: {
            const size_t length = std::min<size_t>(count, bytes.size() - 4);
            const uint8_t* start = bytes.data() + 4;
            const uint8_t* end = std::find(start, start + length, 0);
            return SWCharString(platform::AnsiToUtf16(std::string_view(
                reinterpret_cast<const char*>(start), static_cast<size_t>(end - start))));
        }
        default:
            return SWCharString();
    }
}

// ------------------------------------------------------------- sections

bool PropertySection::ReadSection(platform::StorageStream& stream, uint64_t base,
                                  ReadAllowance* allowance) {
    items_.clear();
    uint64_t position = 0;
    if (!stream.Seek(0, platform::SeekOrigin::Current, position) || position < base)
        return false;
    // Where the section starts, counted from the property set's start.
    const uint64_t start = position - base;
    uint8_t head[8];
    if (!ReadExact(stream, head, sizeof head))
        return false;
    sectionSize_ = U32At(head);
    propertyCount_ = U32At(head + 4);

    std::unique_ptr<platform::StorageStream> table = stream.Clone();
    if (table == nullptr)
        return false;
    for (uint32_t i = 0; i < propertyCount_; ++i) {
        uint8_t entry[8];
        if (!Take(allowance, sizeof entry) || !ReadExact(*table, entry, sizeof entry))
            return false;
        const uint32_t identifier = U32At(entry);
        const bool positioned = Seek(stream, base + start + U32At(entry + 4));
        if (identifier == 0) {
            if (positioned)
                ReadDictionary(stream, allowance);
            continue;
        }
        PropertyItem item(identifier);
        if (positioned)
            item.ReadValue(stream, allowance);
        items_.push_back(std::move(item));
    }
    return true;
}

bool PropertySection::ReadDictionary(platform::StorageStream& stream, ReadAllowance* allowance) {
    uint32_t count = 0;
    if (!ReadU32(stream, count))
        return false;
    std::vector<uint8_t> name;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t head[8];
        if (!ReadExact(stream, head, sizeof head))
            return false;
        const uint32_t identifier = U32At(head);
        const uint32_t length = U32At(head + 4);
        name.clear();
        if (!Take(allowance, sizeof head + static_cast<uint64_t>(length)) ||
            !ReadBlock(stream, length, name))
            return false;
        SWCharString text(ConvertMultibyte(name.data(), name.size(), kMaxNameCharacters));
        if (i == 0 && identifier == 0)
            name_ = text;
        else
            AddDictionaryEntry(identifier, text);
    }
    return true;
}

bool PropertySection::AddDictionaryEntry(uint32_t identifier, const SWCharString& name) {
    std::u16string lower = name.str();
    MakeLowerCase(lower.data(), lower.size());
    bool bNameExists = false;
    for (const DictionaryEntry& entry : dictionary_) {
        if (entry.name.str() == lower) {
            bNameExists = true;
            break;
        }
    }
    VL_ASSERT_TEXT(!bNameExists, "!bNameExists");
    if (bNameExists)
        return false;
    dictionary_.push_back(DictionaryEntry{SWCharString(std::move(lower)), identifier});
    return true;
}

// ---------------------------------------------------------- property set

bool PropertySetReader::ReadPropertySet(platform::StorageStream& stream) {
    uint64_t base = 0;
    if (!stream.Seek(0, platform::SeekOrigin::Current, base))
        base = 0;
    sections_.clear();

    // The allowance follows the stream's length; a stream that cannot tell
    // it gets a generous one.
    uint64_t length = UINT64_MAX / 8, end = 0;
    if (stream.Seek(0, platform::SeekOrigin::End, end)) {
        length = end > base ? end - base : 0;
        if (!Seek(stream, base))
            return false;
    }
    ReadAllowance allowance(4 * length + 4096);

    uint8_t header[kHeaderBytes];
    if (!ReadExact(stream, header, sizeof header))
        return false;
    byteOrder_ = static_cast<uint16_t>(header[0] | header[1] << 8);
    format_ = static_cast<uint16_t>(header[2] | header[3] << 8);
    osVersion_ = U32At(header + 4);
    std::memcpy(classId_.data(), header + 8, classId_.size());
    sectionCount_ = U32At(header + 24);

    // The clone walks the section table; the stream visits the sections.
    std::unique_ptr<platform::StorageStream> table = stream.Clone();
    if (table == nullptr)
        return false;
    for (uint32_t i = 0; i < sectionCount_; ++i) {
        uint8_t record[kSectionRecordBytes];
        if (!ReadExact(*table, record, sizeof record))
            return false;
        FormatIdentifier formatId;
        std::memcpy(formatId.data(), record, formatId.size());
        const int32_t offset = static_cast<int32_t>(U32At(record + 16));
        PropertySection section(formatId);
        const int64_t position = static_cast<int64_t>(base) + offset;
        if (position >= 0 && Seek(stream, static_cast<uint64_t>(position)))
            section.ReadSection(stream, base, &allowance);
        sections_.push_back(std::move(section));
    }
    return true;
}

const PropertySection* FindSection(const PropertySetReader& reader,
                                   const FormatIdentifier& formatId) {
    for (const PropertySection& section : reader.sections())
        if (section.formatId() == formatId)
            return &section;
    return nullptr;
}

const PropertyItem* FindItem(const PropertySection* section, uint32_t identifier) {
    if (section == nullptr)
        return nullptr;
    for (const PropertyItem& item : section->items())
        if (item.identifier() == identifier)
            return &item;
    return nullptr;
}
