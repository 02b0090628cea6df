// The summary group of a row: the document summary properties of a
// structured-storage file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/ContentFile.h"
#include "runtime/SWCharString.h"
#include "vldb/dbdriver.h"

// The texts of the group, in field order.
enum SummaryText : size_t {
    kSummaryTitle,
    kSummarySubject,
    kSummaryAuthor,
    kSummaryKeywords,
    kSummaryComments,
    kSummaryTemplate,
    kSummaryLastAuthor,
    kSummaryRevisionNumber,
    kSummaryTextCount
};

struct SummaryGroup {
    SWCharString texts[kSummaryTextCount];
    uint32_t editTime = 0;  // minutes
    DbDateTime lastPrinted{-1, -1, 0};
    DbDateTime created{-1, -1, 0};
    DbDateTime lastSaved{-1, -1, 0};
    uint32_t pageCount = 0;
    uint32_t wordCount = 0;
    uint32_t characterCount = 0;
    SWCharString applicationName;
    uint32_t security = 0;
};

// The group of the file; the defaults for anything that is not a
// compound file with a summary stream, a directory row's path included.
SummaryGroup LoadSummaryGroup(platform::ContentFile& file);
