#include "fs/UFindFile.h"

#include <cstring>

#include "runtime/Diagnostics.h"

namespace {

constexpr const char* kSourceUnit = "ufindfile";

bool IsDotOrDotDot(const char16_t* name) {
    return name[0] == u'.' && (name[1] == 0 || (name[1] == u'.' && name[2] == 0));
}

}  // namespace

UFindFile::UFindFile(const char16_t* fileSpec) {
    SetFileSpec(fileSpec);
}

UFindFile::~UFindFile() {
    Close();
}

void UFindFile::SetFileSpec(const char16_t* fileSpec) {
    VL_ASSERT_TEXT(fileSpec != nullptr, "szFileSpec_ != NULL");
    Close();
    std::memset(&findData_, 0, sizeof findData_);
    hasFileSpec_ = fileSpec != nullptr;
    if (hasFileSpec_)
        szFileSpec_ = fileSpec;
}

void UFindFile::Close() {
    if (handle_ != nullptr && handle_ != platform::kInvalidSearch) {
        bool bResult = platform::FindCloseSearch(handle_);
        VL_ASSERT(bResult);
    }
    if (previous_ != nullptr)
        platform::FindCloseSearch(previous_);
    handle_ = previous_ = nullptr;
    state_ = State::NotStarted;
    hasFileSpec_ = false;
    szFileSpec_.clear();
}

void UFindFile::Reopen(const char16_t* fileSpec) {
    platform::SearchHandle previous = handle_;
    handle_ = nullptr;
    SetFileSpec(fileSpec);
    previous_ = previous;
}

const char16_t* UFindFile::Advance(platform::SearchScope scope) {
    if (!hasFileSpec_ || state_ == State::Ended)
        return nullptr;
    if (state_ == State::NotStarted) {
        handle_ = previous_ != nullptr
                      ? platform::FindFirstEntryAgain(previous_, szFileSpec_, &findData_, scope)
                      : platform::FindFirstEntry(szFileSpec_, &findData_, scope);
        previous_ = nullptr;
        state_ = handle_ == platform::kInvalidSearch ? State::Ended : State::Open;
        return state_ == State::Open ? findData_.cFileName : nullptr;
    }
    if (platform::FindNextEntry(handle_, &findData_))
        return findData_.cFileName;
    state_ = State::Ended;  // the handle stays open for Reopen
    return nullptr;
}

bool UFindFile::CurrentIdentity(platform::DirectoryIdentity& identity) const {
    return state_ == State::Open && platform::CurrentEntryIdentity(handle_, identity);
}

const char16_t* UFindFile::NextEntry() {
    return Advance(platform::SearchScope::AllEntries);
}

const char16_t* UFindFile::NextDirectory() {
    while (const char16_t* name = Advance(platform::SearchScope::DirectoriesOnly)) {
        if ((findData_.dwFileAttributes & platform::kAttributeDirectory) && !IsDotOrDotDot(name))
            return name;
    }
    return nullptr;
}

const char16_t* UFindFile::NextFile() {
    while (const char16_t* name = Advance(platform::SearchScope::NonDirectoriesOnly)) {
        if (!(findData_.dwFileAttributes & platform::kAttributeDirectory))
            return name;
    }
    return nullptr;
}
