// Shared by the summary tests: the data files beside the tests, paths as the
// platform's API takes them, and loading the summary group of one file.
#pragma once

#include <filesystem>
#include <string>

#include "fileinfo/FileRecord.h"
#include "platform/StructuredStorage.h"

namespace testing_summary {

// A file of the source tree ("fuzz/corpus/...").
std::filesystem::path SourceFile(const std::string& relative);

// A compound file or hexdump that Wine wrote (the reference folder), or one
// of tests/summary/data (docfile_*.stg, written through the real API).
std::filesystem::path DataFile(const std::string& name);

// The path as the platform's API takes it.
std::u16string PathText(const std::filesystem::path& path);

// The bytes of a hexdump -C listing.
std::string HexDumpBytes(const std::string& listing);

// Everything from the stream's position to its end.
std::string ReadToEnd(platform::StorageStream& stream, uint32_t piece = 4096);

// The summary group of `file`, loaded as a row of its directory would.
SummaryGroup LoadSummary(const std::filesystem::path& file);

// The stream of a compound file, or empty with `found` false.
std::string StreamBytes(const std::filesystem::path& file, const std::u16string& name,
                        bool* found = nullptr);

extern const std::u16string kSummaryStreamName;

}  // namespace testing_summary
