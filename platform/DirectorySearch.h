// Directory search, as FindFirstFileW, FindNextFileW and FindClose do it.
//
// A file specification is a directory, a separator and a mask ("C:\Data\*.*").
// POSIX: the directory's names are read at once, "." and ".." first, then in
// NTFS order (unit by unit after simple upper-casing, ties by the exact
// name); the mask is matched with the Windows wildcard rules, ignoring case;
// each entry returned is described by one statx (symbolic links followed).
#pragma once

#include <string_view>

#include "platform/FindData.h"

namespace platform {

using SearchHandle = void*;

// What a search may leave out because its caller skips it anyway. A hint:
// Windows may return everything.
enum class SearchScope { AllEntries, DirectoriesOnly, NonDirectoriesOnly };

// FindFirstFileW: fills `data` with the first entry; kInvalidSearch when the
// directory cannot be searched or nothing matches.
SearchHandle FindFirstEntry(std::u16string_view fileSpec, FindData* data,
                            SearchScope scope = SearchScope::AllEntries);
// A second FindFirstFileW in the directory of `search` (`fileSpec` names
// it again, with another mask); `search` is closed either way. POSIX lists
// each directory once: the new search filters the listing the old one read.
SearchHandle FindFirstEntryAgain(SearchHandle search, std::u16string_view fileSpec, FindData* data,
                                 SearchScope scope = SearchScope::AllEntries);
// FindNextFileW: false at the end.
bool FindNextEntry(SearchHandle search, FindData* data);
// FindClose: false when the handle is not an open search.
bool FindCloseSearch(SearchHandle search);

extern const SearchHandle kInvalidSearch;

// The identity of a directory (device and inode; volume serial number and
// file index on Windows), to recognise one already on the walk's chain.
struct DirectoryIdentity {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const DirectoryIdentity& other) const {
        return volume == other.volume && index == other.index;
    }
};

// False when the directory cannot be opened.
bool GetDirectoryIdentity(std::u16string_view path, DirectoryIdentity& identity);

// The identity of the entry a search returned last, when the search learnt
// it on the way (POSIX); false otherwise: ask GetDirectoryIdentity.
bool CurrentEntryIdentity(SearchHandle search, DirectoryIdentity& identity);

}  // namespace platform
