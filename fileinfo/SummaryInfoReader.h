// The summary-information property set of a structured-storage file: the
// property-set reader plus the section of the summary format, read by
// property identifier (source unit gprpset).
#pragma once

#include <cstdint>

#include "formats/PropertySetReader.h"
#include "platform/FindData.h"
#include "platform/StructuredStorage.h"
#include "runtime/SWCharString.h"

// F29F85E0-4FF9-1068-AB91-08002B27B3D9 in stream byte order.
extern const FormatIdentifier kSummaryInformationFormat;

class SummaryInfoReader {
public:
    // Opens the storage's summary-information stream and reads it; false
    // when there is no such stream or it cannot be read. A stream without a
    // summary section succeeds, and every getter then gives its default.
    bool OpenSummaryInfo(platform::Storage& storage);

    // The text of a property; empty when absent.
    SWCharString Text(uint32_t identifier) const;
    // Edit Time (identifier 10) in whole minutes; 0 when absent.
    uint32_t EditTimeMinutes() const;
    // The FILETIME of a date property (11, 12, 13); null when absent.
    const platform::FileTime* FileTimeValue(uint32_t identifier) const;
    // A 32-bit count (14, 15, 16, 19); 0 when absent.
    int32_t Count(uint32_t identifier) const;

    const PropertySetReader& reader() const { return reader_; }
    const PropertySection* summarySection() const { return summary_; }

private:
    PropertySetReader reader_;
    const PropertySection* summary_ = nullptr;
    // Copies of the date values, which the stream holds unaligned.
    mutable platform::FileTime times_[3] = {};
};
