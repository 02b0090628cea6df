// The PE files the version tests read, and a row's version group read
// through the file record.
#pragma once

#include <string>
#include <vector>

#include "fileinfo/FileRecord.h"

namespace version_testing {

// bin/versionfixtures, built from tests/versioninfo/fixtures (no trailing
// separator).
std::u16string FixtureFolder();

// The Linux file of a version.tsv row (a file of Wine's own, byte for byte
// the one the row was recorded from), split into folder and name as this
// build's file functions name them; false when there is none here.
bool WineFile(const std::string& sameBytes, const std::string& unixPath, std::u16string& folder,
              std::u16string& name);

// The version group as texts ("" for empty) and flags (-1, 0, 1).
struct VersionRow {
    std::vector<std::string> texts;
    std::vector<int> flags;
};

// Loads the version group of `name` in `directory` with a fresh row.
VersionRow LoadVersionRow(FileRecord& record, const std::u16string& directory,
                          const std::u16string& name);

// The row of a file that has no usable version information.
VersionRow EmptyVersionRow();

}  // namespace version_testing
