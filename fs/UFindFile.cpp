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
    if (state_ == State::Open) {
        bool bResult = platform::FindCloseSearch(handle_);
        VL_ASSERT(bResult);
    }
    handle_ = nullptr;
    state_ = State::NotStarted;
    hasFileSpec_ = false;
    szFileSpec_.clear();
}

const char16_t* UFindFile::Advance(platform::SearchScope scope) {
    if (!hasFileSpec_ || state_ == State::Ended)
        return nullptr;
    if (state_ == State::NotStarted) {
        handle_ = platform::FindFirstEntry(szFileSpec_, &findData_, scope);
        state_ = handle_ == platform::kInvalidSearch ? State::Ended : State::Open;
        return state_ == State::Open ? findData_.cFileName : nullptr;
    }
    if (platform::FindNextEntry(handle_, &findData_))
        return findData_.cFileName;
    Close();
    state_ = State::Ended;
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
