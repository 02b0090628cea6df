#include "formats/RegistryFile.h"

#include <algorithm>
#include <numeric>

#include "platform/CaseMapping.h"
#include "platform/TextEncoding.h"

namespace formats {
namespace {

// Offsets into the file's tables are 32-bit; a registry file this large is
// not a registry file, and everything it holds fits those offsets.
constexpr size_t kMaxFileSize = size_t{1} << 28;

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

char16_t AsciiUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
}

// Compares `text` with an ASCII keyword, ignoring ASCII case.
bool EqualsKeyword(std::u16string_view text, std::string_view keyword) {
    if (text.size() != keyword.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (AsciiUpper(text[i]) != char16_t(keyword[i]))
            return false;
    }
    return true;
}

bool StartsWithKeyword(std::u16string_view text, std::string_view keyword) {
    return text.size() >= keyword.size() && EqualsKeyword(text.substr(0, keyword.size()), keyword);
}

std::u16string_view SkipBlanks(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return text.substr(i);
}

// What may follow a complete value on its line: blanks, then an optional comment.
bool OnlyTrailer(std::u16string_view text) {
    text = SkipBlanks(text);
    return text.empty() || text[0] == u';';
}

// A key path as looked up: one trailing backslash does not count.
std::u16string_view WithoutTrailingBackslash(std::u16string_view path) {
    if (!path.empty() && path.back() == u'\\')
        path.remove_suffix(1);
    return path;
}

bool LessKey(RegistryRoot rootA, std::u16string_view pathA, RegistryRoot rootB,
             std::u16string_view pathB) {
    if (rootA != rootB)
        return static_cast<int>(rootA) < static_cast<int>(rootB);
    return pathA < pathB;
}

std::u16string Decode(const uint8_t* data, size_t size) {
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        std::u16string text((size - 2) / 2, u'\0');
        for (size_t i = 0; i < text.size(); ++i) {
            text[i] = char16_t(data[2 + 2 * i] | (data[3 + 2 * i] << 8));
        }
        return text;
    }
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
        data += 3;
        size -= 3;
    }
    return platform::Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
}

}  // namespace

// Builds a RegistryFile line by line. Names and data go straight into the
// file's two tables; a line that fails is rolled back to the marks taken
// before it. Keys and values are put in lookup order once every line is read.
class RegistryFileParser {
public:
    explicit RegistryFileParser(RegistryFile& out) : out_(out) {}

    void Parse(std::u16string_view text) {
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find(u'\n', start);
            if (end == std::u16string_view::npos)
                end = text.size();
            std::u16string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == u'\r')
                line.remove_suffix(1);
            ParseLine(line);
            start = end + 1;
        }
        FinishPending();
        Finish();
    }

private:
    static constexpr uint32_t kNoSection = UINT32_MAX;

    // One [key] line. The same key may have several.
    struct Section {
        RegistryRoot root;
        uint32_t path;
        uint32_t pathLength;
    };

    struct RawValue {
        RegistryFile::Value value;
        uint32_t section;
        bool deleted;  // "name"=-
    };

    enum class HexResult { Failed, Done, Continued };

    std::u16string_view Names(uint32_t offset, uint32_t length) const {
        return std::u16string_view(out_.names_).substr(offset, length);
    }

    uint32_t NamesSize() const { return static_cast<uint32_t>(out_.names_.size()); }
    uint32_t BytesSize() const { return static_cast<uint32_t>(out_.bytes_.size()); }

    void AppendFolded(std::u16string_view text) {
        for (char16_t c : text)
            out_.names_.push_back(platform::UpperCaseUnit(c));
    }

    void ParseLine(std::u16string_view line) {
        line = SkipBlanks(line);
        if (pending_) {
            if (!line.empty() && line[0] != u';' && ContinueHex(line))
                return;
            FinishPending();
        }
        if (line.empty() || line[0] == u';')
            return;
        if (line[0] == u'[') {
            ParseKeyLine(line);
        } else if ((line[0] == u'"' || line[0] == u'@') && section_ != kNoSection) {
            ParseValueLine(line);
        }
        // Anything else (the header line among them) is not a key or a value.
    }

    void ParseKeyLine(std::u16string_view line) {
        section_ = kNoSection;
        size_t close = line.rfind(u']');
        if (close == std::u16string_view::npos || close == 0)
            return;
        std::u16string_view name = line.substr(1, close - 1);
        if (!name.empty() && name[0] == u'-')
            return;  // deletion: nothing to read
        size_t slash = name.find(u'\\');
        std::u16string_view rootName = name.substr(0, slash);
        RegistryRoot root;
        if (EqualsKeyword(rootName, "HKEY_LOCAL_MACHINE") || EqualsKeyword(rootName, "HKLM")) {
            root = RegistryRoot::LocalMachine;
        } else if (EqualsKeyword(rootName, "HKEY_CLASSES_ROOT") ||
                   EqualsKeyword(rootName, "HKCR")) {
            root = RegistryRoot::ClassesRoot;
        } else {
            return;  // other roots are not read
        }
        std::u16string_view path =
            slash == std::u16string_view::npos ? std::u16string_view() : name.substr(slash + 1);
        path = WithoutTrailingBackslash(path);
        Section section{root, NamesSize(), static_cast<uint32_t>(path.size())};
        AppendFolded(path);
        section_ = static_cast<uint32_t>(sections_.size());
        sections_.push_back(section);
    }

    // A quoted text after its opening quote, with \\ and \" unescaped; other
    // backslashes stand for themselves. `rest` is left after the closing quote.
    static bool ReadQuoted(std::u16string_view& rest, std::u16string& text) {
        size_t i = 0;
        while (i < rest.size()) {
            char16_t c = rest[i++];
            if (c == u'"') {
                rest.remove_prefix(i);
                return true;
            }
            if (c == u'\\' && i < rest.size() && (rest[i] == u'\\' || rest[i] == u'"')) {
                c = rest[i++];
            }
            text.push_back(c);
        }
        return false;
    }

    void ParseValueLine(std::u16string_view line) {
        const uint32_t namesMark = NamesSize();
        const uint32_t bytesMark = BytesSize();
        if (!ParseValue(line)) {
            out_.names_.resize(namesMark);
            out_.bytes_.resize(bytesMark);
        }
    }

    bool ParseValue(std::u16string_view line) {
        RawValue raw{};
        raw.section = section_;
        std::u16string_view rest = line.substr(1);
        raw.value.name = NamesSize();
        if (line[0] == u'"') {
            std::u16string name;
            if (!ReadQuoted(rest, name))
                return false;
            AppendFolded(name);
        }
        raw.value.nameLength = NamesSize() - raw.value.name;
        rest = SkipBlanks(rest);
        if (rest.empty() || rest[0] != u'=')
            return false;
        rest = SkipBlanks(rest.substr(1));
        raw.value.data = BytesSize();

        bool ok = false;
        if (!rest.empty() && rest[0] == u'"') {
            ok = ParseString(rest.substr(1), raw);
        } else if (!rest.empty() && rest[0] == u'-') {
            ok = OnlyTrailer(rest.substr(1));
            raw.deleted = true;
        } else if (StartsWithKeyword(rest, "DWORD:")) {
            ok = ParseDword(SkipBlanks(rest.substr(6)), raw);
        } else if (StartsWithKeyword(rest, "HEX")) {
            ok = ParseHex(rest.substr(3), raw);
            if (ok && pending_)
                return true;  // its bytes go on on the next line
        }
        if (!ok)
            return false;
        raw.value.dataLength = BytesSize() - raw.value.data;
        values_.push_back(raw);
        return true;
    }

    // "text": UTF-16LE with its NUL.
    bool ParseString(std::u16string_view rest, RawValue& raw) {
        std::u16string text;
        if (!ReadQuoted(rest, text) || !OnlyTrailer(rest))
            return false;
        for (char16_t c : text) {
            out_.bytes_.push_back(uint8_t(c & 0xFF));
            out_.bytes_.push_back(uint8_t(c >> 8));
        }
        out_.bytes_.push_back(0);
        out_.bytes_.push_back(0);
        raw.value.type = platform::RegistryType_String;
        return true;
    }

    // dword:XXXXXXXX, at most eight hex digits, little-endian.
    bool ParseDword(std::u16string_view rest, RawValue& raw) {
        uint32_t number = 0;
        size_t digits = 0;
        while (digits < rest.size() && HexDigit(rest[digits]) >= 0) {
            number = number << 4 | uint32_t(HexDigit(rest[digits]));
            ++digits;
        }
        if (digits == 0 || digits > 8 || !OnlyTrailer(rest.substr(digits)))
            return false;
        for (int shift = 0; shift < 32; shift += 8)
            out_.bytes_.push_back(uint8_t(number >> shift));
        raw.value.type = platform::RegistryType_Dword;
        return true;
    }

    // hex:bytes or hex(type):bytes, the rest after "hex". A list that goes on
    // on the next line leaves the value pending.
    bool ParseHex(std::u16string_view rest, RawValue& raw) {
        raw.value.type = platform::RegistryType_Binary;
        if (!rest.empty() && rest[0] == u'(') {
            size_t digits = 1;
            uint32_t type = 0;
            while (digits < rest.size() && HexDigit(rest[digits]) >= 0) {
                type = type << 4 | uint32_t(HexDigit(rest[digits]));
                ++digits;
            }
            if (digits == 1 || digits > 9 || digits >= rest.size() || rest[digits] != u')')
                return false;
            raw.value.type = type;
            rest.remove_prefix(digits + 1);
        }
        if (rest.empty() || rest[0] != u':')
            return false;
        const HexResult result = ParseHexList(rest.substr(1));
        if (result == HexResult::Continued) {
            pending_ = true;
            pendingValue_ = raw;
        }
        return result != HexResult::Failed;
    }

    // Comma-separated bytes of one or two hex digits; a backslash at the end
    // of the line continues the list on the next one.
    HexResult ParseHexList(std::u16string_view rest) {
        rest = SkipBlanks(rest);
        for (;;) {
            if (rest.empty() || rest[0] == u';')
                return HexResult::Done;
            if (rest[0] == u'\\') {
                return OnlyTrailer(rest.substr(1)) ? HexResult::Continued : HexResult::Failed;
            }
            int high = HexDigit(rest[0]);
            if (high < 0)
                return HexResult::Failed;
            int byte = high;
            rest.remove_prefix(1);
            if (!rest.empty() && HexDigit(rest[0]) >= 0) {
                byte = high << 4 | HexDigit(rest[0]);
                rest.remove_prefix(1);
            }
            out_.bytes_.push_back(uint8_t(byte));
            rest = SkipBlanks(rest);
            if (rest.empty() || rest[0] == u';')
                return HexResult::Done;
            if (rest[0] == u'\\')
                continue;
            if (rest[0] != u',')
                return HexResult::Failed;
            rest = SkipBlanks(rest.substr(1));
        }
    }

    // A line after one that ended in a backslash: more bytes of the same
    // value, or (when it is not a list of bytes) the end of that value.
    bool ContinueHex(std::u16string_view line) {
        const uint32_t bytesMark = BytesSize();
        HexResult result = ParseHexList(line);
        if (result == HexResult::Failed) {
            out_.bytes_.resize(bytesMark);
            return false;
        }
        if (result == HexResult::Done)
            FinishPending();
        return true;
    }

    void FinishPending() {
        if (!pending_)
            return;
        pending_ = false;
        pendingValue_.value.dataLength = BytesSize() - pendingValue_.value.data;
        values_.push_back(pendingValue_);
    }

    // Merges the sections of each key and keeps the last setting of each value.
    void Finish() {
        std::vector<uint32_t> order(sections_.size());
        std::iota(order.begin(), order.end(), 0u);
        auto sectionPath = [&](uint32_t i) {
            return Names(sections_[i].path, sections_[i].pathLength);
        };
        std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
            return LessKey(sections_[a].root, sectionPath(a), sections_[b].root, sectionPath(b));
        });
        std::vector<uint32_t> keyOfSection(sections_.size());
        for (uint32_t i : order) {
            const Section& s = sections_[i];
            std::vector<RegistryFile::Key>& keys = out_.keys_;
            if (keys.empty() || keys.back().root != s.root ||
                Names(keys.back().path, keys.back().pathLength) != sectionPath(i)) {
                keys.push_back(RegistryFile::Key{s.root, s.path, s.pathLength, 0, 0});
            }
            keyOfSection[i] = static_cast<uint32_t>(keys.size() - 1);
        }
        sections_ = std::vector<Section>();
        order = std::vector<uint32_t>();

        for (RawValue& raw : values_)
            raw.section = keyOfSection[raw.section];
        std::stable_sort(values_.begin(), values_.end(), [&](const RawValue& a, const RawValue& b) {
            if (a.section != b.section)
                return a.section < b.section;
            return Names(a.value.name, a.value.nameLength) <
                   Names(b.value.name, b.value.nameLength);
        });
        for (size_t i = 0; i < values_.size(); ++i) {
            const RawValue& raw = values_[i];
            bool last = i + 1 == values_.size() || values_[i + 1].section != raw.section ||
                        Names(values_[i + 1].value.name, values_[i + 1].value.nameLength) !=
                            Names(raw.value.name, raw.value.nameLength);
            if (!last || raw.deleted)
                continue;
            RegistryFile::Key& key = out_.keys_[raw.section];
            if (key.valueCount == 0)
                key.firstValue = static_cast<uint32_t>(out_.values_.size());
            ++key.valueCount;
            out_.values_.push_back(raw.value);
        }
        values_ = std::vector<RawValue>();
        out_.names_.shrink_to_fit();
        out_.bytes_.shrink_to_fit();
    }

    RegistryFile& out_;
    std::vector<Section> sections_;
    std::vector<RawValue> values_;
    uint32_t section_ = kNoSection;
    bool pending_ = false;
    RawValue pendingValue_{};
};

RegistryFile ParseRegistryFile(const uint8_t* data, size_t size) {
    RegistryFile file;
    if (data == nullptr || size == 0 || size > kMaxFileSize)
        return file;
    std::u16string text = Decode(data, size);
    RegistryFileParser(file).Parse(text);
    return file;
}

bool RegistryFile::FindKey(RegistryRoot root, std::u16string_view path, const Key*& key) const {
    key = nullptr;
    const std::u16string folded = platform::FoldName(WithoutTrailingBackslash(path));
    auto below = [&](std::u16string_view wanted) {
        return std::lower_bound(
            keys_.begin(), keys_.end(), wanted,
            [&](const Key& k, std::u16string_view p) { return LessKey(k.root, Path(k), root, p); });
    };
    auto it = below(folded);
    if (it != keys_.end() && it->root == root && Path(*it) == folded) {
        key = &*it;
        return true;
    }
    // The root itself, or a parent of a key that the file names.
    if (folded.empty())
        return it != keys_.end() && it->root == root;
    const std::u16string prefix = folded + u'\\';
    it = below(prefix);
    return it != keys_.end() && it->root == root && Path(*it).substr(0, prefix.size()) == prefix;
}

const RegistryFile::Value* RegistryFile::FindValue(const Key& key, std::u16string_view name) const {
    const std::u16string folded = platform::FoldName(name);
    auto first = values_.begin() + key.firstValue;
    auto last = first + key.valueCount;
    auto it = std::lower_bound(first, last, folded,
                               [&](const Value& v, std::u16string_view n) { return Name(v) < n; });
    return it != last && Name(*it) == folded ? &*it : nullptr;
}

}  // namespace formats
