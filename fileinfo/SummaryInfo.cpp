// The summary group of a row: the document summary properties of a
// structured-storage file, loaded once per row on the first read of one of
// its fields.
#include "fileinfo/FileRecord.h"
#include "fileinfo/SummaryInfoReader.h"
#include "platform/StructuredStorage.h"

namespace {

// Title, Subject, Author, Keywords, Comments, Template, Last Author and
// Revision Number are identifiers 2 to 9.
constexpr uint32_t kFirstText = 2;
constexpr uint32_t kLastPrinted = 11;
constexpr uint32_t kCreated = 12;
constexpr uint32_t kLastSaved = 13;
constexpr uint32_t kPageCount = 14;
constexpr uint32_t kWordCount = 15;
constexpr uint32_t kCharacterCount = 16;
constexpr uint32_t kApplicationName = 18;
constexpr uint32_t kSecurity = 19;

}  // namespace

void FileRecord::LoadSummaryInfo() {
    if (summaryLoaded)
        return;
    // Flagged before the file is touched, so a failure is not retried for
    // this row.
    summary = SummaryGroup();
    summaryLoaded = true;
    if (fullPath_.isEmpty())
        return;
    // Fails for anything that is not a compound file, a directory row
    // included.
    std::unique_ptr<platform::Storage> storage = platform::OpenStorage(fullPath_.view());
    if (storage == nullptr)
        return;
    SummaryInfoReader reader;
    if (!reader.OpenSummaryInfo(*storage))
        return;
    for (uint32_t i = 0; i < 8; ++i)
        summary.texts[i] = reader.Text(kFirstText + i);
    summary.editTime = reader.EditTimeMinutes();
    summary.lastPrinted = LocalDateTimeFromFileTime(reader.FileTimeValue(kLastPrinted));
    summary.created = LocalDateTimeFromFileTime(reader.FileTimeValue(kCreated));
    summary.lastSaved = LocalDateTimeFromFileTime(reader.FileTimeValue(kLastSaved));
    summary.pageCount = static_cast<uint32_t>(reader.Count(kPageCount));
    summary.wordCount = static_cast<uint32_t>(reader.Count(kWordCount));
    summary.characterCount = static_cast<uint32_t>(reader.Count(kCharacterCount));
    summary.applicationName = reader.Text(kApplicationName);
    summary.security = static_cast<uint32_t>(reader.Count(kSecurity));
}
