#include "fs/FileSystemIterator.h"

#include "fileinfo/FileRecord.h"
#include "fs/StartingDirectory.h"
#include "platform/PathSplit.h"
#include "runtime/Diagnostics.h"

namespace {

constexpr const char* kSourceUnit = "fsiterator";
constexpr char16_t kAllEntries[] = u"*.*";

}  // namespace

void DirectoryLevel::InitLevel(const SWCharString& directory, const SWCharString& fileMask,
                               int32_t subDirLevel, int32_t maxSubDirLevels, int32_t baseLevel,
                               bool includeEmptyDirectories,
                               const platform::DirectoryIdentity* identity) {
    CloseLevel();
    directory_ = directory;
    fileMask_ = fileMask;
    subDirLevel_ = subDirLevel;
    maxSubDirLevels_ = maxSubDirLevels;
    baseLevel_ = baseLevel;
    subDirSearchStarted_ = subDirsDone_ = fileSearchStarted_ = false;
    VL_ASSERT(maxSubDirLevels == -1 || subDirLevel <= maxSubDirLevels);
    if (maxSubDirLevels != -1 && subDirLevel >= maxSubDirLevels)
        subDirSearchStarted_ = subDirsDone_ = true;
    includeEmptyDirectories_ = includeEmptyDirectories;
    if (identity != nullptr) {
        identity_ = *identity;
        hasIdentity_ = true;
    } else {
        hasIdentity_ = platform::GetDirectoryIdentity(directory_.view(), identity_);
    }
}

void DirectoryLevel::CloseLevel() {
    if (child_)
        child_->CloseLevel();
    search_.Close();
    subDirSearchStarted_ = subDirsDone_ = fileSearchStarted_ = true;
}

bool DirectoryLevel::OnChain(const platform::DirectoryIdentity& identity) const {
    for (const DirectoryLevel* level = this; level != nullptr; level = level->parent_)
        if (level->hasIdentity_ && level->identity_ == identity)
            return true;
    return false;
}

void DirectoryLevel::NextRow(bool& found, FileRecord& record) {
    while (!subDirsDone_) {
        if (child_) {
            child_->NextRow(found, record);
            if (found)
                return;
        }
        if (!subDirSearchStarted_) {
            SWCharString fileSpec = directory_;
            fileSpec += platform::kPathSeparator;
            fileSpec += kAllEntries;
            search_.SetFileSpec(fileSpec.c_str());
            subDirSearchStarted_ = true;
        }
        const char16_t* name = search_.NextDirectory();
        if (name == nullptr) {
            subDirsDone_ = true;  // the ended search lends its listing to the file search
            break;
        }
        SWCharString subdirectory = directory_;
        subdirectory += platform::kPathSeparator;
        subdirectory += name;
        // A directory already on the chain (reached again through a link)
        // would repeat its subtree for ever: it gives no rows at all.
        platform::DirectoryIdentity identity;
        bool known = search_.CurrentIdentity(identity) ||
                     platform::GetDirectoryIdentity(subdirectory.view(), identity);
        if (known && OnChain(identity))
            continue;
        if (!child_)
            child_ = std::make_unique<DirectoryLevel>(this);
        child_->InitLevel(subdirectory, fileMask_, subDirLevel_ + 1, maxSubDirLevels_, baseLevel_,
                          includeEmptyDirectories_, known ? &identity : nullptr);
    }

    const platform::FindData* findData = nullptr;
    if (fileSearchStarted_) {
        if (search_.NextFile() == nullptr) {
            search_.Close();
            return;
        }
        findData = &search_.findData();
    } else {
        SWCharString fileSpec = directory_;
        fileSpec += platform::kPathSeparator;
        fileSpec += fileMask_;
        search_.Reopen(fileSpec.c_str());
        fileSearchStarted_ = true;
        if (search_.NextFile() != nullptr) {
            findData = &search_.findData();
        } else if (!includeEmptyDirectories_) {
            search_.Close();
            return;
        }
    }
    found = true;
    record.Fill(findData, directory_, static_cast<uint32_t>(baseLevel_ + subDirLevel_),
                static_cast<uint32_t>(subDirLevel_));
}

FileSystemIterator::FileSystemIterator(const SWCharString& startingDirectory,
                                       const SWCharString& fileMask, int32_t maxSubDirLevels,
                                       bool includeEmptyDirectories)
    : startingDirectory_(startingDirectory),
      fileMask_(fileMask),
      maxSubDirLevels_(maxSubDirLevels),
      includeEmptyDirectories_(includeEmptyDirectories),
      baseLevel_(GetStartingDirectoryLevel(startingDirectory)) {}

FileSystemIterator::~FileSystemIterator() = default;

uint32_t FileSystemIterator::ReadRow(bool& found, FileRecord& record) {
    found = false;
    record.Reset();
    if (!root_) {
        if (!IsValidStartingDirectory(startingDirectory_))
            return 0;
        root_ = std::make_unique<DirectoryLevel>(nullptr);
        root_->InitLevel(startingDirectory_, fileMask_, 0, maxSubDirLevels_, baseLevel_,
                         includeEmptyDirectories_);
    }
    root_->NextRow(found, record);
    if (!found)
        root_->CloseLevel();
    return 0;
}

void FileSystemIterator::Rewind() {
    root_.reset();
}
