#include "fileinfo/SummaryGroup.h"

#include <memory>

#include "fileinfo/LocalDateTime.h"
#include "fileinfo/SummaryInfoReader.h"
#include "platform/StructuredStorage.h"

namespace {

// Property identifiers of the summary stream. The texts of the group are
// identifiers 2 to 9, in the group's order.
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

SummaryGroup LoadSummaryGroup(platform::ContentFile& file) {
    SummaryGroup summary;
    std::unique_ptr<platform::Storage> storage = platform::OpenStorage(file);
    if (storage == nullptr)
        return summary;
    SummaryInfoReader reader;
    if (!reader.OpenSummaryInfo(*storage))
        return summary;
    for (uint32_t i = 0; i < kSummaryTextCount; ++i)
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
    return summary;
}
