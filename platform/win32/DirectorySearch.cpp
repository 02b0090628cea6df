// Directory search through the real FindFirstFileExW, FindNextFileW and
// FindClose; FindData is laid out as WIN32_FIND_DATAW, so it is passed as is.

#include "platform/DirectorySearch.h"

#include <windows.h>

#include <cstddef>
#include <string>

namespace platform {

const SearchHandle kInvalidSearch = INVALID_HANDLE_VALUE;

namespace {

static_assert(sizeof(FindData) == sizeof(WIN32_FIND_DATAW), "find data size");
static_assert(sizeof(FileTime) == sizeof(FILETIME), "file time size");
static_assert(offsetof(FindData, dwFileAttributes) == offsetof(WIN32_FIND_DATAW, dwFileAttributes),
              "dwFileAttributes");
static_assert(offsetof(FindData, ftCreationTime) == offsetof(WIN32_FIND_DATAW, ftCreationTime),
              "ftCreationTime");
static_assert(offsetof(FindData, ftLastAccessTime) == offsetof(WIN32_FIND_DATAW, ftLastAccessTime),
              "ftLastAccessTime");
static_assert(offsetof(FindData, ftLastWriteTime) == offsetof(WIN32_FIND_DATAW, ftLastWriteTime),
              "ftLastWriteTime");
static_assert(offsetof(FindData, nFileSizeHigh) == offsetof(WIN32_FIND_DATAW, nFileSizeHigh),
              "nFileSizeHigh");
static_assert(offsetof(FindData, nFileSizeLow) == offsetof(WIN32_FIND_DATAW, nFileSizeLow),
              "nFileSizeLow");
static_assert(offsetof(FindData, dwReserved0) == offsetof(WIN32_FIND_DATAW, dwReserved0),
              "dwReserved0");
static_assert(offsetof(FindData, dwReserved1) == offsetof(WIN32_FIND_DATAW, dwReserved1),
              "dwReserved1");
static_assert(offsetof(FindData, cFileName) == offsetof(WIN32_FIND_DATAW, cFileName), "cFileName");
static_assert(offsetof(FindData, cAlternateFileName) ==
                  offsetof(WIN32_FIND_DATAW, cAlternateFileName),
              "cAlternateFileName");
static_assert(sizeof(FindData::cFileName) == sizeof(WIN32_FIND_DATAW::cFileName), "cFileName");
static_assert(sizeof(FindData::cAlternateFileName) == sizeof(WIN32_FIND_DATAW::cAlternateFileName),
              "cAlternateFileName");
static_assert(offsetof(FileTime, dwLowDateTime) == offsetof(FILETIME, dwLowDateTime), "low");
static_assert(offsetof(FileTime, dwHighDateTime) == offsetof(FILETIME, dwHighDateTime), "high");

WIN32_FIND_DATAW* AsWin32(FindData* data) {
    return reinterpret_cast<WIN32_FIND_DATAW*>(data);
}

std::wstring Terminated(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

}  // namespace

SearchHandle FindFirstEntry(std::u16string_view fileSpec, FindData* data, SearchScope scope) {
    // Limiting to directories is advisory: the caller still filters.
    const FINDEX_SEARCH_OPS operation = scope == SearchScope::DirectoriesOnly
                                            ? FindExSearchLimitToDirectories
                                            : FindExSearchNameMatch;
    return FindFirstFileExW(Terminated(fileSpec).c_str(), FindExInfoStandard, AsWin32(data),
                            operation, nullptr, 0);
}

SearchHandle FindFirstEntryAgain(SearchHandle search, std::u16string_view fileSpec, FindData* data,
                                 SearchScope scope) {
    FindCloseSearch(search);
    return FindFirstEntry(fileSpec, data, scope);
}

bool FindNextEntry(SearchHandle search, FindData* data) {
    if (search == nullptr || search == kInvalidSearch) {
        return false;
    }
    return FindNextFileW(search, AsWin32(data)) != FALSE;
}

bool FindCloseSearch(SearchHandle search) {
    if (search == nullptr || search == kInvalidSearch) {
        return false;
    }
    return FindClose(search) != FALSE;
}

bool GetDirectoryIdentity(std::u16string_view path, DirectoryIdentity& identity) {
    HANDLE file = CreateFileW(Terminated(path).c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION information;
    const bool ok = GetFileInformationByHandle(file, &information) != FALSE;
    CloseHandle(file);
    if (!ok) {
        return false;
    }
    identity.volume = information.dwVolumeSerialNumber;
    identity.index =
        (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    return true;
}

bool CurrentEntryIdentity(SearchHandle, DirectoryIdentity&) {
    return false;
}

}  // namespace platform
