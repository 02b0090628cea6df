// UFindFile: one directory search over a file fileSpec, entry by entry.
#pragma once

#include <string>

#include "platform/DirectorySearch.h"

class UFindFile {
public:
    UFindFile() = default;
    explicit UFindFile(const char16_t* fileSpec);
    ~UFindFile();

    UFindFile(const UFindFile&) = delete;
    UFindFile& operator=(const UFindFile&) = delete;

    // Closes any open search, clears the find data and keeps a copy of
    // `fileSpec`; the search starts at the next NextEntry.
    void SetFileSpec(const char16_t* fileSpec);
    void Close();
    // Like SetFileSpec for another mask in the same directory: the search
    // that just ended there lends its listing where the platform allows.
    void Reopen(const char16_t* fileSpec);

    // The name of the next entry (inside the find data), or null at the end.
    const char16_t* NextEntry();
    // The next subdirectory other than "." and "..", or null.
    const char16_t* NextDirectory();
    // The next entry that is not a directory, or null.
    const char16_t* NextFile();

    // The identity of the entry last returned, when the search knows it.
    bool CurrentIdentity(platform::DirectoryIdentity& identity) const;

    // The entry last returned; it stays readable after the search ends.
    const platform::FindData& findData() const { return findData_; }

private:
    enum class State { NotStarted, Open, Ended };

    const char16_t* Advance(platform::SearchScope scope);

    platform::FindData findData_{};
    platform::SearchHandle handle_ = nullptr;    // open, also once it has ended
    platform::SearchHandle previous_ = nullptr;  // lent by Reopen to the next search
    State state_ = State::NotStarted;
    bool hasFileSpec_ = false;
    std::u16string szFileSpec_;
};
