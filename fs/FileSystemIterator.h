// The depth-first walk that yields the rows of the file table, one per
// ReadRow (source unit fsiterator).
#pragma once

#include <cstdint>
#include <memory>

#include "fs/UFindFile.h"
#include "platform/DirectorySearch.h"
#include "runtime/SWCharString.h"

class FileRecord;

// One directory on the walk's current chain; it owns the level below it,
// which is reused for every sibling subdirectory.
class DirectoryLevel {
public:
    explicit DirectoryLevel(const DirectoryLevel* parent) : parent_(parent) {}

    // `identity` is the directory's, when the caller already knows it.
    void InitLevel(const SWCharString& directory, const SWCharString& fileMask, int32_t subDirLevel,
                   int32_t maxSubDirLevels, int32_t baseLevel, bool includeEmptyDirectories,
                   const platform::DirectoryIdentity* identity = nullptr);
    void CloseLevel();
    // Finds the next row of this level's subtree and fills `record` with it.
    void NextRow(bool& found, FileRecord& record);

private:
    // True when a directory with this identity is already on the chain.
    bool OnChain(const platform::DirectoryIdentity& identity) const;

    const DirectoryLevel* parent_;
    SWCharString directory_;
    std::unique_ptr<DirectoryLevel> child_;
    UFindFile search_;
    bool subDirSearchStarted_ = false;
    bool subDirsDone_ = false;
    bool fileSearchStarted_ = false;
    SWCharString fileMask_;
    int32_t subDirLevel_ = 0;
    int32_t maxSubDirLevels_ = 0;
    int32_t baseLevel_ = 0;
    bool includeEmptyDirectories_ = false;
    bool hasIdentity_ = false;
    platform::DirectoryIdentity identity_;
};

class FileSystemIterator {
public:
    FileSystemIterator(const SWCharString& startingDirectory, const SWCharString& fileMask,
                       int32_t maxSubDirLevels, bool includeEmptyDirectories);
    ~FileSystemIterator();

    // Always 0; `found` says whether `record` now holds a row.
    uint32_t ReadRow(bool& found, FileRecord& record);
    // The next ReadRow starts the walk again.
    void Rewind();

private:
    SWCharString startingDirectory_;
    SWCharString fileMask_;
    int32_t maxSubDirLevels_;
    bool includeEmptyDirectories_;
    int32_t baseLevel_;
    std::unique_ptr<DirectoryLevel> root_;
};
