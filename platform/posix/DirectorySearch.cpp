// Directory search over getdents64, returning entries as FindFirstFileW and
// FindNextFileW do on NTFS: "." and ".." first, then by name compared after
// simple upper-casing. Each directory is read whole, so that it can be
// sorted, and once: a second search of it with another mask filters the same
// listing. Each entry returned costs one statx, made when it is returned.

#include "platform/DirectorySearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "formats/Wildcard.h"
#include "platform/CaseMapping.h"
#include "platform/PathSplit.h"
#include "platform/TextEncoding.h"
#include "platform/posix/AllocatedBytes.h"
#include "platform/posix/QuietOpen.h"

namespace platform {

const SearchHandle kInvalidSearch = reinterpret_cast<SearchHandle>(~uintptr_t{0});

namespace {

// 100-nanosecond ticks between 1601-01-01 and 1970-01-01.
constexpr uint64_t kUnixEpochTicks = 116444736000000000ULL;
constexpr uint64_t kTicksPerSecond = 10000000ULL;

// The UTF-16 name is made when the entry is returned, and the key dropped
// once the entries are sorted: a search stays open while the walk is below
// its directory, so what it holds per entry is held along the whole chain.
struct Entry {
    std::string bytes;   // the name as the file system holds it
    std::u16string key;  // the UTF-16 name upper-cased, for the order
    unsigned char type;  // d_type; DT_UNKNOWN when readdir does not say
};

// A name as the directory listing gave it.
struct Listed {
    std::string bytes;
    unsigned char type;  // d_type; DT_UNKNOWN when the file system does not say
};

struct Search {
    int directory = -1;           // where the entries' names are looked up
    std::string path;             // the directory as the file specification named it
    std::vector<Listed> listing;  // every name but "." and ".."
    std::vector<Entry> entries;   // those this search returns, in order
    size_t next = 0;
    SearchScope scope = SearchScope::AllEntries;
    bool hasIdentity = false;  // of the entry last returned
    DirectoryIdentity identity;

    ~Search() {
        if (directory >= 0) {
            close(directory);
        }
    }
};

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Whether the caller's scope lets this entry go unseen, judged by d_type
// alone; links and unknown types are kept for statx to decide.
bool SkippedByScope(unsigned char type, SearchScope scope) {
    switch (scope) {
        case SearchScope::DirectoriesOnly:
            return type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN;
        case SearchScope::NonDirectoriesOnly:
            return type == DT_DIR;
        case SearchScope::AllEntries:
            break;
    }
    return false;
}

// Unit by unit after upper-casing; names equal that way by their exact units.
bool InNtfsOrder(const Entry& a, const Entry& b) {
    if (a.key != b.key) {
        return a.key < b.key;
    }
    return Utf8ToUtf16(a.bytes) < Utf8ToUtf16(b.bytes);
}

// The entry's name as cFileName holds it, cut to fit.
void CopyName(const Entry& entry, FindData* data) {
    const std::u16string name = Utf8ToUtf16(entry.bytes);
    const size_t length = std::min(name.size(), std::size(data->cFileName) - 1);
    std::copy_n(name.data(), length, data->cFileName);
}

FileTime ToFileTime(int64_t seconds, uint32_t nanoseconds) {
    const int64_t kEarliest = -static_cast<int64_t>(kUnixEpochTicks / kTicksPerSecond);
    const int64_t kLatest =
        static_cast<int64_t>((UINT64_MAX - kUnixEpochTicks) / kTicksPerSecond) - 1;
    uint64_t ticks = 0;
    if (seconds >= kEarliest) {
        if (seconds > kLatest) {
            seconds = kLatest;
        }
        ticks =
            static_cast<uint64_t>(seconds + kUnixEpochTicks / kTicksPerSecond) * kTicksPerSecond +
            nanoseconds / 100;
    }
    return FileTime{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
}

FileTime ToFileTime(const struct statx_timestamp& time) {
    return ToFileTime(time.tv_sec, time.tv_nsec);
}

bool IsZero(const struct statx_timestamp& time) {
    return time.tv_sec == 0 && time.tv_nsec == 0;
}

constexpr unsigned kWanted = STATX_BASIC_STATS | STATX_BTIME;

// statx where the kernel has it; fstatat (no birth time) where it does not.
int StatAt(int directory, const char* name, int flags, struct statx* info) {
    if (statx(directory, name, flags | AT_STATX_SYNC_AS_STAT, kWanted, info) == 0) {
        return 0;
    }
    if (errno != ENOSYS) {
        return -1;
    }
    struct stat st;
    if (fstatat(directory, name, &st, flags) != 0) {
        return -1;
    }
    std::memset(info, 0, sizeof *info);
    info->stx_mask = STATX_BASIC_STATS;
    info->stx_mode = static_cast<uint16_t>(st.st_mode);
    info->stx_size = static_cast<uint64_t>(st.st_size);
    info->stx_blocks = static_cast<uint64_t>(st.st_blocks);
    info->stx_atime = {st.st_atim.tv_sec, static_cast<uint32_t>(st.st_atim.tv_nsec), 0};
    info->stx_mtime = {st.st_mtim.tv_sec, static_cast<uint32_t>(st.st_mtim.tv_nsec), 0};
    info->stx_ctime = {st.st_ctim.tv_sec, static_cast<uint32_t>(st.st_ctim.tv_nsec), 0};
    return 0;
}

// "." and ".." for a caller that skips them: a directory, described without
// asking the file system.
void DescribeDots(const Entry& entry, FindData* data) {
    std::memset(data, 0, sizeof *data);
    data->dwFileAttributes = kAttributeDirectory;
    CopyName(entry, data);
}

// The status of what the entry names, following a link; a dangling link or
// a loop gives the link itself. False when the entry is gone.
bool StatEntry(int directory, const Entry& entry, struct statx& info, bool& isLink) {
    isLink = entry.type == DT_LNK;
    if (entry.type == DT_UNKNOWN) {
        if (StatAt(directory, entry.bytes.c_str(), AT_SYMLINK_NOFOLLOW, &info) != 0) {
            return false;
        }
        isLink = S_ISLNK(info.stx_mode);
    }
    if (entry.type != DT_UNKNOWN || isLink) {
        if (StatAt(directory, entry.bytes.c_str(), 0, &info) != 0) {
            if (!isLink ||
                StatAt(directory, entry.bytes.c_str(), AT_SYMLINK_NOFOLLOW, &info) != 0) {
                return false;
            }
        }
    }
    return true;
}

// The attribute bits that Windows would show for the entry.
uint32_t Attributes(const Entry& entry, const struct statx& info, bool isLink) {
    const mode_t mode = info.stx_mode;
    uint32_t attributes = 0;
    if (S_ISDIR(mode)) {
        attributes |= kAttributeDirectory;
    }
    if ((mode & S_IWUSR) == 0) {
        attributes |= kAttributeReadOnly;
    }
    // "." and ".." are never hidden on Windows.
    if (entry.bytes[0] == '.' && !IsDotOrDotDot(entry.bytes.c_str())) {
        attributes |= kAttributeHidden;
    }
    if (S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode) || S_ISSOCK(mode)) {
        attributes |= kAttributeSystem;
    }
    if (S_ISREG(mode)) {
        attributes |= kAttributeArchive;
    }
    if (isLink) {
        attributes |= kAttributeReparsePoint;
    }
    if (info.stx_attributes & STATX_ATTR_COMPRESSED) {
        attributes |= kAttributeCompressed;
    }
    if (attributes == 0) {
        attributes = kAttributeNormal;
    }
    return attributes;
}

// An entry of a directory that may be listed but not searched (read
// permission without execute): what the listing knows, its name and its kind.
void DescribeFromListing(const Entry& entry, FindData* data) {
    std::memset(data, 0, sizeof *data);
    struct statx kind {};
    kind.stx_mode = (entry.type == DT_DIR ? S_IFDIR : entry.type == DT_REG ? S_IFREG : 0) | S_IWUSR;
    data->dwFileAttributes = Attributes(entry, kind, entry.type == DT_LNK);
    CopyName(entry, data);
}

// Describes one entry; false when it is gone.
bool Describe(Search& search, const Entry& entry, FindData* data) {
    struct statx info;
    bool isLink = false;
    if (!StatEntry(search.directory, entry, info, isLink)) {
        if (errno != EACCES) {
            return false;
        }
        DescribeFromListing(entry, data);
        return true;
    }

    search.hasIdentity = true;
    search.identity.volume = makedev(info.stx_dev_major, info.stx_dev_minor);
    search.identity.index = info.stx_ino;

    std::memset(data, 0, sizeof *data);
    data->dwFileAttributes = Attributes(entry, info, isLink);
    const bool hasBirth = (info.stx_mask & STATX_BTIME) != 0 && !IsZero(info.stx_btime);
    data->ftCreationTime = ToFileTime(hasBirth ? info.stx_btime : info.stx_ctime);
    data->ftLastAccessTime = ToFileTime(info.stx_atime);
    data->ftLastWriteTime = ToFileTime(info.stx_mtime);
    data->nFileSizeHigh = static_cast<uint32_t>(info.stx_size >> 32);
    data->nFileSizeLow = static_cast<uint32_t>(info.stx_size);
    SetAllocatedBytes(*data, info.stx_blocks * 512);
    CopyName(entry, data);
    return true;
}

// Fills `data` from the next entry that still exists.
bool Advance(Search& search, SearchScope scope, FindData* data) {
    search.hasIdentity = false;
    while (search.next < search.entries.size()) {
        const Entry& entry = search.entries[search.next++];
        if (scope == SearchScope::DirectoriesOnly && IsDotOrDotDot(entry.bytes.c_str())) {
            DescribeDots(entry, data);
            return true;
        }
        if (Describe(search, entry, data)) {
            return true;
        }
    }
    return false;
}

// Reads every name of the directory.
bool ReadListing(Search& search) {
    // getdents64 straight into a buffer: opendir would add an fstat and an
    // allocation per directory.
    alignas(dirent64) char buffer[32768];
    for (;;) {
        const ssize_t bytes = getdents64(search.directory, buffer, sizeof buffer);
        if (bytes < 0) {
            return false;
        }
        if (bytes == 0) {
            break;
        }
        for (ssize_t offset = 0; offset < bytes;) {
            const auto* item = reinterpret_cast<const dirent64*>(buffer + offset);
            offset += item->d_reclen;
            if (!IsDotOrDotDot(item->d_name))
                search.listing.push_back({item->d_name, item->d_type});
        }
    }
    return true;
}

// The entries of the listing that the mask and the scope let through, in the
// order they are to be returned.
void SelectEntries(Search& search, std::u16string_view mask, SearchScope scope) {
    search.entries.clear();
    search.next = 0;
    search.scope = scope;
    for (const char* dots : {".", ".."}) {
        if (!SkippedByScope(DT_DIR, scope) && formats::MatchesWildcard(mask, Utf8ToUtf16(dots))) {
            search.entries.push_back(Entry{dots, {}, DT_DIR});
        }
    }
    const size_t first = search.entries.size();
    search.entries.reserve(first + search.listing.size());
    for (const Listed& listed : search.listing) {
        if (SkippedByScope(listed.type, scope))
            continue;
        std::u16string name = Utf8ToUtf16(listed.bytes);
        if (!formats::MatchesWildcard(mask, name))
            continue;
        UpperCaseInPlace(name.data(), name.size());
        search.entries.push_back(Entry{listed.bytes, std::move(name), listed.type});
    }
    std::sort(search.entries.begin() + static_cast<std::ptrdiff_t>(first), search.entries.end(),
              InNtfsOrder);
    for (Entry& entry : search.entries) {
        std::u16string().swap(entry.key);
    }
}

// The directory and the mask of a file specification; false when it names
// no search.
bool SplitFileSpec(std::u16string_view fileSpec, std::string& directory,
                   std::u16string_view& mask) {
    size_t separator = fileSpec.size();
    while (separator > 0 && !IsPathSeparator(fileSpec[separator - 1])) {
        --separator;
    }
    mask = fileSpec.substr(separator);
    if (mask.empty() || mask.find(u'\0') != std::u16string_view::npos) {
        return false;
    }
    directory = separator > 0 ? Utf16ToUtf8(fileSpec.substr(0, separator)) : ".";
    return directory.find('\0') == std::string::npos;
}

}  // namespace

SearchHandle FindFirstEntry(std::u16string_view fileSpec, FindData* data, SearchScope scope) {
    std::string directory;
    std::u16string_view mask;
    if (!SplitFileSpec(fileSpec, directory, mask)) {
        return kInvalidSearch;
    }
    auto search = std::make_unique<Search>();
    search->directory = OpenQuietly(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (search->directory < 0 || !ReadListing(*search)) {
        return kInvalidSearch;
    }
    search->path = std::move(directory);
    SelectEntries(*search, mask, scope);
    if (!Advance(*search, scope, data)) {
        return kInvalidSearch;
    }
    return search.release();
}

SearchHandle FindFirstEntryAgain(SearchHandle handle, std::u16string_view fileSpec, FindData* data,
                                 SearchScope scope) {
    std::string directory;
    std::u16string_view mask;
    if (handle == nullptr || handle == kInvalidSearch ||
        !SplitFileSpec(fileSpec, directory, mask) ||
        static_cast<Search*>(handle)->path != directory) {
        FindCloseSearch(handle);
        return FindFirstEntry(fileSpec, data, scope);
    }
    std::unique_ptr<Search> search(static_cast<Search*>(handle));
    SelectEntries(*search, mask, scope);
    if (!Advance(*search, scope, data)) {
        return kInvalidSearch;
    }
    return search.release();
}

bool FindNextEntry(SearchHandle handle, FindData* data) {
    if (handle == nullptr || handle == kInvalidSearch) {
        return false;
    }
    Search& search = *static_cast<Search*>(handle);
    return Advance(search, search.scope, data);
}

bool CurrentEntryIdentity(SearchHandle handle, DirectoryIdentity& identity) {
    if (handle == nullptr || handle == kInvalidSearch) {
        return false;
    }
    const Search& search = *static_cast<const Search*>(handle);
    if (search.hasIdentity) {
        identity = search.identity;
    }
    return search.hasIdentity;
}

bool FindCloseSearch(SearchHandle handle) {
    if (handle == nullptr || handle == kInvalidSearch) {
        return false;
    }
    delete static_cast<Search*>(handle);
    return true;
}

bool GetDirectoryIdentity(std::u16string_view path, DirectoryIdentity& identity) {
    const std::string bytes = Utf16ToUtf8(path);
    struct stat st;
    if (bytes.find('\0') != std::string::npos || stat(bytes.c_str(), &st) != 0) {
        return false;
    }
    identity.volume = static_cast<uint64_t>(st.st_dev);
    identity.index = static_cast<uint64_t>(st.st_ino);
    return true;
}

}  // namespace platform
