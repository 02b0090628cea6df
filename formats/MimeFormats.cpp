#include "formats/MimeFormats.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/TextEncoding.h"

namespace formats {

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsXmlSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsXmlSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// ---- globs2 ----

bool ParseWeight(std::string_view text, int& weight) {
    // Nine digits at most, so that the value fits.
    if (text.empty() || text.size() > 9)
        return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    weight = value;
    return true;
}

// The extension of a glob "*.ext" without other wildcards; empty otherwise.
std::string_view SimpleExtension(std::string_view glob) {
    if (!StartsWith(glob, "*.") || glob.size() == 2)
        return {};
    const std::string_view extension = glob.substr(2);
    if (extension.find_first_of("*?[\\") != std::string_view::npos)
        return {};
    return extension;
}

bool HasFlag(std::string_view flags, std::string_view flag) {
    while (!flags.empty()) {
        const size_t comma = flags.find(',');
        if (flags.substr(0, comma) == flag)
            return true;
        if (comma == std::string_view::npos)
            break;
        flags.remove_prefix(comma + 1);
    }
    return false;
}

void ParseGlobLine(std::string_view line, MimeGlobs& out) {
    if (line.empty() || line.front() == '#')
        return;
    std::string_view fields[4];
    size_t count = 0;
    while (count < 4) {
        const size_t colon = line.find(':');
        fields[count++] = line.substr(0, colon);
        if (colon == std::string_view::npos)
            break;
        line.remove_prefix(colon + 1);
    }
    if (count < 3)
        return;
    int weight = 0;
    const std::string_view type = fields[1];
    if (!ParseWeight(fields[0], weight) || type.find('/') == std::string_view::npos)
        return;
    if (fields[2] == "__NOGLOBS__") {
        out.noGlobs.emplace_back(type);
        return;
    }
    const std::string_view extension = SimpleExtension(fields[2]);
    if (extension.empty())
        return;
    const bool caseSensitive = count > 3 && HasFlag(fields[3], "cs");
    out.globs.push_back(MimeGlob{weight, std::string(type), std::string(extension), caseSensitive});
}

// ---- XML ----

int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (hex && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Decodes the reference at the start of `text` (which starts with '&') into
// `out`; the number of bytes it took, or 0 when it is not one we know.
size_t DecodeReference(std::string_view text, std::string& out) {
    // Leading zeros make a character reference as long as it likes; 32 bytes
    // is plenty for any real one.
    const size_t semicolon = text.substr(0, 32).find(';');
    if (semicolon == std::string_view::npos)
        return 0;
    const std::string_view name = text.substr(1, semicolon - 1);
    static constexpr struct {
        std::string_view name;
        char character;
    } kNamed[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& named : kNamed) {
        if (name == named.name) {
            out += named.character;
            return semicolon + 1;
        }
    }
    if (name.size() < 2 || name[0] != '#')
        return 0;
    const bool hex = name[1] == 'x';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty())
        return 0;
    uint32_t codePoint = 0;
    for (char c : digits) {
        const int digit = DigitValue(c, hex);
        if (digit < 0)
            return 0;
        codePoint = codePoint * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
        if (codePoint > 0x10FFFF)
            return 0;
    }
    if (codePoint == 0 || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    platform::AppendUtf8(out, codePoint);
    return semicolon + 1;
}

// Character data or an attribute value, decoded. A '&' that starts no known
// reference stands for itself.
void AppendDecoded(std::string_view raw, std::string& out) {
    while (!raw.empty()) {
        const size_t amp = raw.find('&');
        out.append(raw.substr(0, amp));
        if (amp == std::string_view::npos)
            break;
        raw.remove_prefix(amp);
        const size_t used = DecodeReference(raw, out);
        if (used == 0) {
            out += '&';
            raw.remove_prefix(1);
        } else {
            raw.remove_prefix(used);
        }
    }
}

struct StartTag {
    std::string_view name;
    bool hasLanguage = false;
    std::string language;
    bool selfClosing = false;
};

size_t SkipSpace(std::string_view xml, size_t at) {
    while (at < xml.size() && IsXmlSpace(xml[at]))
        ++at;
    return at;
}

size_t NameEnd(std::string_view xml, size_t at, std::string_view stops) {
    while (at < xml.size() && !IsXmlSpace(xml[at]) && stops.find(xml[at]) == std::string_view::npos)
        ++at;
    return at;
}

// Reads the start tag at `at` (its '<'); the position after it, or kNone when
// it is malformed.
size_t ReadStartTag(std::string_view xml, size_t at, StartTag& tag) {
    size_t i = at + 1;
    const size_t nameEnd = NameEnd(xml, i, "/><");
    if (nameEnd == i)
        return kNone;
    tag.name = xml.substr(i, nameEnd - i);
    i = nameEnd;
    for (;;) {
        i = SkipSpace(xml, i);
        if (i >= xml.size())
            return kNone;
        if (xml[i] == '>')
            return i + 1;
        if (xml[i] == '/') {
            if (i + 1 >= xml.size() || xml[i + 1] != '>')
                return kNone;
            tag.selfClosing = true;
            return i + 2;
        }
        const size_t attributeEnd = NameEnd(xml, i, "=/><");
        if (attributeEnd == i)
            return kNone;
        const std::string_view attribute = xml.substr(i, attributeEnd - i);
        i = SkipSpace(xml, attributeEnd);
        if (i >= xml.size() || xml[i] != '=')
            return kNone;
        i = SkipSpace(xml, i + 1);
        if (i >= xml.size() || (xml[i] != '"' && xml[i] != '\''))
            return kNone;
        const size_t close = xml.find(xml[i], i + 1);
        if (close == std::string_view::npos)
            return kNone;
        if (attribute == "xml:lang") {
            tag.hasLanguage = true;
            tag.language.clear();
            AppendDecoded(xml.substr(i + 1, close - i - 1), tag.language);
        }
        i = close + 1;
    }
}

// Skips a declaration such as <!DOCTYPE ...>, internal subset included, from
// just after its "<!"; the position after it, or kNone.
size_t SkipDeclaration(std::string_view xml, size_t at) {
    char quote = 0;
    size_t brackets = 0;
    for (size_t i = at; i < xml.size(); ++i) {
        const char c = xml[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[') {
            ++brackets;
        } else if (c == ']') {
            if (brackets > 0)
                --brackets;
        } else if (c == '>' && brackets == 0) {
            return i + 1;
        }
    }
    return kNone;
}

std::string_view LocalName(std::string_view name) {
    const size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

char LanguageUnit(char c) {
    if (c >= 'A' && c <= 'Z')
        return static_cast<char>(c - 'A' + 'a');
    return c == '-' ? '_' : c;
}

// Language tags compare without regard to ASCII case, '-' and '_' alike.
bool SameLanguage(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LanguageUnit(a[i]) != LanguageUnit(b[i]))
            return false;
    }
    return true;
}

// 0 for the best language, languages.size() for the untranslated text, kNone
// for a language not asked for.
size_t RankOf(const StartTag& tag, const std::vector<std::string>& languages) {
    if (!tag.hasLanguage || tag.language.empty())
        return languages.size();
    for (size_t k = 0; k < languages.size(); ++k) {
        if (SameLanguage(tag.language, languages[k]))
            return k;
    }
    return kNone;
}

}  // namespace

MimeGlobs ParseMimeGlobs2(std::string_view text) {
    MimeGlobs out;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ParseGlobLine(line, out);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return out;
}

std::vector<std::string> MimeLanguages(std::string_view locale) {
    const size_t at = locale.find('@');
    const std::string_view modifier =
        at == std::string_view::npos ? std::string_view() : locale.substr(at + 1);
    std::string_view base = locale.substr(0, at);
    base = base.substr(0, base.find('.'));
    const size_t underscore = base.find('_');
    const std::string_view language = base.substr(0, underscore);
    const std::string_view territory =
        underscore == std::string_view::npos ? std::string_view() : base.substr(underscore + 1);

    std::vector<std::string> names;
    if (language.empty() || language == "C" || language == "POSIX")
        return names;
    const std::string withTerritory = std::string(language) + "_" + std::string(territory);
    const std::string withModifier = "@" + std::string(modifier);
    if (!territory.empty() && !modifier.empty())
        names.push_back(withTerritory + withModifier);
    if (!territory.empty())
        names.push_back(withTerritory);
    if (!modifier.empty())
        names.push_back(std::string(language) + withModifier);
    names.emplace_back(language);
    return names;
}

namespace {

// Reads a type's XML file for its best <comment>: the one whose language
// ranks first among those asked, else the untranslated one.
class CommentScanner {
public:
    CommentScanner(std::string_view xml, const std::vector<std::string>& languages)
        : xml_(xml), languages_(languages) {}

    bool Scan(std::string& comment) {
        size_t i = StartsWith(xml_, "\xEF\xBB\xBF") ? 3 : 0;
        while (i != kNone && i < xml_.size() && bestRank_ != 0)
            i = xml_[i] == '<' ? Markup(i) : Text(i);
        if (bestRank_ == kNone)
            return false;
        comment = std::move(best_);
        return true;
    }

private:
    bool Collecting() const { return inComment_ && commentRank_ < bestRank_; }

    size_t Text(size_t i) {
        const size_t next = std::min(xml_.find('<', i), xml_.size());
        if (Collecting())
            AppendDecoded(xml_.substr(i, next - i), text_);
        return next;
    }

    // One construct starting at '<'; kNone where the file is malformed.
    size_t Markup(size_t i) {
        const std::string_view rest = xml_.substr(i);
        if (StartsWith(rest, "<!--"))
            return After(xml_.find("-->", i + 4), 3);
        if (StartsWith(rest, "<![CDATA[")) {
            const size_t end = xml_.find("]]>", i + 9);
            if (end != std::string_view::npos && Collecting())
                text_.append(xml_.substr(i + 9, end - i - 9));
            return After(end, 3);
        }
        if (StartsWith(rest, "<?"))
            return After(xml_.find("?>", i + 2), 2);
        if (StartsWith(rest, "<!"))
            return SkipDeclaration(xml_, i + 2);
        if (StartsWith(rest, "</"))
            return EndTag(i);
        return OpenTag(i);
    }

    static size_t After(size_t end, size_t length) {
        return end == std::string_view::npos ? kNone : end + length;
    }

    size_t EndTag(size_t i) {
        const size_t end = xml_.find('>', i + 2);
        if (end == std::string_view::npos || depth_ == 0)
            return kNone;
        --depth_;
        if (inComment_ && depth_ == commentDepth_) {
            if (Trimmed(xml_.substr(i + 2, end - i - 2)) != commentName_)
                return kNone;  // not the comment's own end tag
            inComment_ = false;
            const std::string_view found = Trimmed(text_);
            if (commentRank_ < bestRank_ && !found.empty()) {
                best_.assign(found);
                bestRank_ = commentRank_;
            }
        }
        return end + 1;
    }

    size_t OpenTag(size_t i) {
        StartTag tag;
        i = ReadStartTag(xml_, i, tag);
        if (i == kNone)
            return kNone;
        // Only the root's own children: <comment> may mean something else
        // deeper down.
        if (!inComment_ && depth_ == 1 && !tag.selfClosing && LocalName(tag.name) == "comment") {
            inComment_ = true;
            commentName_ = tag.name;
            commentDepth_ = depth_;
            commentRank_ = RankOf(tag, languages_);
            text_.clear();
        }
        if (!tag.selfClosing)
            ++depth_;
        return i;
    }

    std::string_view xml_;
    const std::vector<std::string>& languages_;
    size_t bestRank_ = kNone;
    std::string best_;
    size_t depth_ = 0;  // elements open
    bool inComment_ = false;
    std::string_view commentName_;
    size_t commentDepth_ = 0;
    size_t commentRank_ = kNone;
    std::string text_;
};

}  // namespace

bool ReadMimeComment(std::string_view xml, const std::vector<std::string>& languages,
                     std::string& comment) {
    return CommentScanner(xml, languages).Scan(comment);
}

}  // namespace formats
