#include "platform/posix/MimeDatabase.h"

#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "formats/MimeFormats.h"
#include "platform/CaseMapping.h"
#include "platform/TextEncoding.h"
#include "platform/posix/FileSource.h"

namespace platform {

using formats::MimeGlob;
using formats::MimeGlobs;

namespace {

// Larger files are not read: each is held in memory while it is parsed. The
// system's globs2 is some 50 KB, a type's XML file a few KB.
constexpr size_t kMaxGlobsFileSize = size_t{16} << 20;
constexpr size_t kMaxTypeFileSize = size_t{1} << 20;

// Descriptions cached per database; beyond this (names no database knows,
// asked for in many locales) they are looked up each time.
constexpr size_t kMaxDescriptions = 8192;

// How often the globs2 files are checked for a change.
constexpr time_t kRecheckSeconds = 5;

// RFC 6838: each part of a type name is at most 127 characters.
constexpr size_t kMaxTypePart = 127;
constexpr size_t kMaxLocale = 200;

// Extensions this long or shorter are folded without allocating.
constexpr size_t kShortExtension = 64;

// A registry text from UTF-8; bytes that are not UTF-8 show as U+FFFD.
MimeValue ToValue(std::string_view utf8) {
    std::u16string units = Utf8ToUtf16(utf8);
    if (!IsValidUtf8(utf8)) {
        // Every lone low surrogate is an escaped byte: valid UTF-8 has none.
        for (size_t i = 0; i < units.size(); ++i) {
            const bool paired = i > 0 && units[i - 1] >= 0xD800 && units[i - 1] <= 0xDBFF;
            if (units[i] >= 0xDC00 && units[i] <= 0xDFFF && !paired)
                units[i] = 0xFFFD;
        }
    }
    auto bytes = std::make_shared<std::vector<uint8_t>>();
    bytes->reserve(units.size() * 2 + 2);
    for (char16_t unit : units) {
        bytes->push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes->push_back(static_cast<uint8_t>(unit >> 8));
    }
    bytes->push_back(0);
    bytes->push_back(0);
    return bytes;
}

bool IsTypeCharacter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'!' || c == u'#' || c == u'$' || c == u'&' || c == u'-' || c == u'^' ||
           c == u'_' || c == u'.' || c == u'+';
}

bool IsAlphanumeric(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// A type name as RFC 6838 allows it, "media/subtype", into `out` (ASCII). It
// becomes part of a path, so nothing else passes: no "..", no more slashes.
bool TypeName(std::u16string_view type, char* out, size_t& length) {
    const size_t slash = type.find(u'/');
    if (slash == std::u16string_view::npos)
        return false;
    const std::u16string_view parts[2] = {type.substr(0, slash), type.substr(slash + 1)};
    for (const std::u16string_view part : parts) {
        if (part.empty() || part.size() > kMaxTypePart || !IsAlphanumeric(part[0]))
            return false;
        for (char16_t c : part) {
            if (!IsTypeCharacter(c))
                return false;
        }
    }
    for (size_t i = 0; i < type.size(); ++i)
        out[i] = static_cast<char>(type[i]);
    length = type.size();
    return true;
}

std::vector<std::string> DataDirectories(const char* dataHome, const char* home,
                                         const char* dataDirs) {
    // Relative entries are ignored, as the base directory rules ask.
    std::vector<std::string> directories;
    auto add = [&directories](std::string_view directory) {
        if (directory.empty() || directory.front() != '/')
            return;
        std::string path(directory);
        if (std::find(directories.begin(), directories.end(), path) == directories.end())
            directories.push_back(std::move(path));
    };
    if (dataHome != nullptr && dataHome[0] == '/')
        add(dataHome);
    else if (home != nullptr && home[0] == '/')
        add(std::string(home) + "/.local/share");
    std::string_view list = dataDirs != nullptr && dataDirs[0] != '\0'
                                ? std::string_view(dataDirs)
                                : std::string_view("/usr/local/share:/usr/share");
    while (!list.empty()) {
        const size_t colon = list.find(':');
        add(list.substr(0, colon));
        if (colon == std::string_view::npos)
            break;
        list.remove_prefix(colon + 1);
    }
    return directories;
}

std::string GlobsPath(const std::string& directory) {
    return directory + "/mime/globs2";
}

time_t MonotonicSeconds() {
    struct timespec now {};
#ifdef CLOCK_MONOTONIC_COARSE
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
#else
    ::clock_gettime(CLOCK_MONOTONIC, &now);
#endif
    return now.tv_sec;
}

// The environment a database was built for, kept so that a lookup can tell
// without allocating whether it still holds.
struct EnvironmentValue {
    bool set = false;
    std::string value;

    bool Same(const char* now) const { return now == nullptr ? !set : set && value == now; }
    void Take(const char* now) {
        set = now != nullptr;
        value = set ? now : "";
    }
};

struct CurrentDatabase {
    std::mutex mutex;
    bool built = false;
    EnvironmentValue dataHome, home, dataDirs;
    time_t checked = 0;
    std::shared_ptr<const MimeDatabase> database;
};

// Destroyed with the library, so that unloading the driver frees it.
CurrentDatabase& ProcessDatabase() {
    static CurrentDatabase current;
    return current;
}

}  // namespace

MimeDatabase::MimeDatabase(std::vector<std::string> directories)
    : directories_(std::move(directories)) {
    globsFiles_.resize(directories_.size());
    std::vector<std::string> voided;  // __NOGLOBS__ of more important directories
    std::unordered_map<std::string, MimeValue> types;
    std::unordered_map<std::u16string, size_t> indexes;
    std::string bytes;
    for (size_t d = 0; d < directories_.size(); ++d) {
        struct stat info {};
        if (ReadWholeFile(GlobsPath(directories_[d]), kMaxGlobsFileSize, bytes, &info) !=
            FileState::Read)
            continue;
        hasGlobs_ = true;
        GlobsFile& file = globsFiles_[d];
        file.present = true;
        file.device = info.st_dev;
        file.inode = info.st_ino;
        file.size = info.st_size;
        file.mtime = info.st_mtim;

        MimeGlobs globs = formats::ParseMimeGlobs2(bytes);
        for (MimeGlob& glob : globs.globs) {
            if (std::find(voided.begin(), voided.end(), glob.type) != voided.end())
                continue;
            MimeValue& type = types[glob.type];
            if (!type)
                type = ToValue(glob.type);
            std::u16string extension = Utf8ToUtf16(glob.extension);
            std::u16string folded = FoldName(extension);
            auto [where, added] = indexes.emplace(folded, extensions_.size());
            if (added)
                extensions_.push_back(Extension{std::move(folded), {}});
            extensions_[where->second].candidates.push_back(
                Candidate{static_cast<uint32_t>(d), glob.weight, glob.caseSensitive,
                          std::move(extension), type});
        }
        voided.insert(voided.end(), globs.noGlobs.begin(), globs.noGlobs.end());
    }

    // Globs were added in directory and file order, so a stable sort keeps
    // the first listed ahead among equals.
    for (Extension& extension : extensions_) {
        std::stable_sort(extension.candidates.begin(), extension.candidates.end(),
                         [](const Candidate& a, const Candidate& b) {
                             return a.directory != b.directory ? a.directory < b.directory
                                                               : a.weight > b.weight;
                         });
    }

    size_t slotCount = 16;
    while (slotCount < extensions_.size() * 2)
        slotCount *= 2;
    slots_.assign(slotCount, 0);
    for (size_t i = 0; i < extensions_.size(); ++i) {
        size_t slot = std::hash<std::u16string_view>()(extensions_[i].folded) & (slotCount - 1);
        while (slots_[slot] != 0)
            slot = (slot + 1) & (slotCount - 1);
        slots_[slot] = static_cast<uint32_t>(i + 1);
    }
}

const MimeDatabase::Extension* MimeDatabase::FindExtension(std::u16string_view folded) const {
    const size_t mask = slots_.size() - 1;
    for (size_t slot = std::hash<std::u16string_view>()(folded) & mask;; slot = (slot + 1) & mask) {
        const uint32_t index = slots_[slot];
        if (index == 0)
            return nullptr;
        if (extensions_[index - 1].folded == folded)
            return &extensions_[index - 1];
    }
}

MimeValue MimeDatabase::TypeOfExtension(std::u16string_view extension) const {
    if (extension.empty())
        return nullptr;
    char16_t buffer[kShortExtension];
    std::u16string heap;
    std::u16string_view folded;
    if (extension.size() <= kShortExtension) {
        std::copy(extension.begin(), extension.end(), buffer);
        FoldNameInPlace(buffer, extension.size());
        folded = std::u16string_view(buffer, extension.size());
    } else {
        heap = FoldName(extension);
        folded = heap;
    }
    const Extension* found = FindExtension(folded);
    if (found == nullptr)
        return nullptr;
    for (const Candidate& candidate : found->candidates) {
        if (!candidate.caseSensitive || candidate.extension == extension)
            return candidate.type;
    }
    return nullptr;
}

void MimeDatabase::Describe(std::string_view typeName, std::string_view locale, bool& exists,
                            MimeValue& comment) const {
    exists = false;
    comment = nullptr;
    const std::vector<std::string> languages = formats::MimeLanguages(locale);
    // Type names compare without regard to case, and the database writes
    // them in lower case, mostly: the name as given first.
    const std::string type(typeName);
    std::string lower = type;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    std::string bytes;
    std::string text;
    const std::string* const names[] = {&type, &lower};
    for (const std::string* name : names) {
        if (name == &lower && lower == type)
            break;
        for (const std::string& directory : directories_) {
            const FileState state =
                ReadWholeFile(directory + "/mime/" + *name + ".xml", kMaxTypeFileSize, bytes);
            if (state == FileState::Missing)
                continue;
            exists = true;
            if (state == FileState::Read && formats::ReadMimeComment(bytes, languages, text)) {
                comment = ToValue(text);
                return;
            }
        }
        if (exists)
            return;
    }
}

bool MimeDatabase::DescribeType(std::u16string_view type, std::string_view locale,
                                MimeValue& comment) const {
    // The cache key, type '\n' locale, is built on the stack.
    char key[2 * kMaxTypePart + 1 + 1 + kMaxLocale];
    size_t typeLength = 0;
    if (!TypeName(type, key, typeLength))
        return false;
    const std::string_view typeName(key, typeLength);
    if (locale.size() > kMaxLocale) {
        bool exists = false;
        Describe(typeName, locale, exists, comment);
        return exists;
    }
    key[typeLength] = '\n';
    std::copy(locale.begin(), locale.end(), key + typeLength + 1);
    const std::string_view keyText(key, typeLength + 1 + locale.size());
    const size_t hash = std::hash<std::string_view>()(keyText);
    {
        std::lock_guard<std::mutex> lock(descriptionsMutex_);
        auto [first, last] = descriptions_.equal_range(hash);
        for (auto it = first; it != last; ++it) {
            if (it->second.key == keyText) {
                comment = it->second.comment;
                return it->second.exists;
            }
        }
    }
    bool exists = false;
    Describe(typeName, locale, exists, comment);
    std::lock_guard<std::mutex> lock(descriptionsMutex_);
    if (descriptions_.size() < kMaxDescriptions) {
        // Another thread may have added the same key meanwhile: harmless,
        // the first one found wins.
        descriptions_.emplace(hash, Description{std::string(keyText), exists, comment});
    }
    return exists;
}

bool MimeDatabase::GlobsUnchanged() const {
    for (size_t d = 0; d < directories_.size(); ++d) {
        const GlobsFile& file = globsFiles_[d];
        struct stat st;
        const bool present = ::stat(GlobsPath(directories_[d]).c_str(), &st) == 0;
        if (present != file.present)
            return false;
        if (present &&
            (st.st_dev != file.device || st.st_ino != file.inode || st.st_size != file.size ||
             st.st_mtim.tv_sec != file.mtime.tv_sec || st.st_mtim.tv_nsec != file.mtime.tv_nsec))
            return false;
    }
    return true;
}

std::shared_ptr<const MimeDatabase> MimeDatabase::Current() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    CurrentDatabase& current = ProcessDatabase();
    std::lock_guard<std::mutex> lock(current.mutex);
    const time_t now = MonotonicSeconds();
    if (current.built && current.dataHome.Same(dataHome) && current.home.Same(home) &&
        current.dataDirs.Same(dataDirs)) {
        bool same = now - current.checked < kRecheckSeconds;
        if (!same) {
            current.checked = now;
            same = current.database->GlobsUnchanged();
        }
        if (same)
            return current.database->HasGlobs() ? current.database : nullptr;
    }
    auto database = std::make_shared<const MimeDatabase>(DataDirectories(dataHome, home, dataDirs));
    current.built = true;
    current.dataHome.Take(dataHome);
    current.home.Take(home);
    current.dataDirs.Take(dataDirs);
    current.checked = now;
    current.database = database;
    return database->HasGlobs() ? database : nullptr;
}

}  // namespace platform
