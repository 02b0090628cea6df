#include "runtime/ResourceService.h"

#include <atomic>
#include <cstdlib>
#include <map>
#include <string>

#include "platform/FileContents.h"
#include "platform/TextEncoding.h"
#include "resources/TranslationLanguages.h"
#include "runtime/SLocale.h"

namespace {

struct StringEntry {
    uint32_t id;
    const char16_t* text;
};

constexpr StringEntry kStrings1033[] = {
#include "resources/StringTable1033.inc"
};

constexpr size_t kMaxTranslationBytes = 1 << 20;

// A primary language identifier: the low ten bits of an LCID, so 0x0407,
// 0x0807 and 0x0007 all name German.
uint32_t PrimaryLanguage(uint32_t lcid) {
    return lcid & 0x3FF;
}

std::u16string Unescape(std::string_view text) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            char next = text[++i];
            plain += next == 't' ? '\t' : next == 'n' ? '\n' : next;
        } else {
            plain += c;
        }
    }
    return platform::Utf8ToUtf16(plain);
}

// "id<TAB>text" lines; '#' starts a comment line; anything else malformed is
// skipped.
std::map<uint32_t, std::u16string> ParseTranslation(const std::string& bytes) {
    std::map<uint32_t, std::u16string> texts;
    size_t start = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        start = 3;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string_view line(bytes.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        size_t tab = line.find('\t');
        if (tab == 0 || tab == std::string_view::npos)
            continue;
        uint32_t id = 0;
        bool digits = true;
        for (char c : line.substr(0, tab)) {
            if (c < '0' || c > '9' || id > 100000)
                digits = false;
            id = id * 10 + static_cast<uint32_t>(c - '0');
        }
        if (digits)
            texts[id] = Unescape(line.substr(tab + 1));
    }
    return texts;
}

class StringCollection final : public SResCollection {
public:
    StringCollection(const char16_t* name, const SWCharString& directory) {
        for (const StringEntry& entry : kStrings1033)
            english_[entry.id] = entry.text;
        // Every translation is read now: afterwards the collection never
        // changes, so lookups from any thread need no lock.
        for (const char16_t* const* language = kTranslationLanguages; *language; ++language) {
            uint32_t lcid = SLocale::Rfc1766ToLcid(*language);
            if (lcid == 0)
                continue;
            std::u16string path = directory.str() + name + u"." + *language + u".txt";
            std::string bytes;
            if (platform::ReadFileBytes(path, bytes, kMaxTranslationBytes))
                translations_[PrimaryLanguage(lcid)] = ParseTranslation(bytes);
        }
    }

    uint32_t AddRef() override { return ++references_; }

    uint32_t Release() override {
        uint32_t left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    uint32_t Reserved() override { return 0; }

    void LoadString(SWCharString& result, uint32_t id, uint32_t lcid) override {
        auto language = translations_.find(PrimaryLanguage(lcid));
        if (language != translations_.end()) {
            auto text = language->second.find(id);
            if (text != language->second.end()) {
                result = text->second.c_str();
                return;
            }
        }
        auto text = english_.find(id);
        result = text != english_.end() ? text->second : u"";
    }

private:
    std::atomic<uint32_t> references_{1};
    std::map<uint32_t, const char16_t*> english_;
    std::map<uint32_t, std::map<uint32_t, std::u16string>> translations_;
};

std::atomic<bool> serviceStarted{false};

}  // namespace

void SResManager::Initialize() {
    serviceStarted = true;
}

void SResManager::Terminate() {
    serviceStarted = false;
}

SResCollection* SResManager::GetCollection(const char16_t* name, const SWCharString& directory,
                                           platform::ModuleHandle) {
    if (!serviceStarted || name == nullptr)
        return nullptr;
    return new StringCollection(name, directory);
}
