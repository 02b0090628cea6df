#include "fileinfo/SummaryInfoReader.h"

#include <cstring>

namespace {

constexpr char16_t kSummaryStreamName[] = u"\x05SummaryInformation";
constexpr uint32_t kEditTime = 10;
constexpr uint32_t kFirstDate = 11;
constexpr uint32_t kLastDate = 13;
// 100-nanosecond units in a minute.
constexpr int64_t kUnitsPerMinute = 600000000;

// The bytes of a property when it has at least `size` of them.
const uint8_t* DataOfSize(const PropertySection* section, uint32_t identifier, size_t size) {
    const PropertyItem* item = FindItem(section, identifier);
    ValueBytes value;
    if (item == nullptr || !item->ValueData(value) || value.size < size)
        return nullptr;
    return value.data;
}

}  // namespace

const FormatIdentifier kSummaryInformationFormat = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                                    0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};

bool SummaryInfoReader::OpenSummaryInfo(platform::Storage& storage) {
    summary_ = nullptr;
    std::unique_ptr<platform::StorageStream> stream = storage.OpenStream(kSummaryStreamName);
    if (stream == nullptr || !reader_.ReadPropertySet(*stream))
        return false;
    summary_ = FindSection(reader_, kSummaryInformationFormat);
    return true;
}

SWCharString SummaryInfoReader::Text(uint32_t identifier) const {
    const PropertyItem* item = FindItem(summary_, identifier);
    return item != nullptr ? item->ValueAsText() : SWCharString();
}

uint32_t SummaryInfoReader::EditTimeMinutes() const {
    const uint8_t* data = DataOfSize(summary_, kEditTime, 8);
    if (data == nullptr)
        return 0;
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | data[i];
    // A duration in 100-nanosecond units; division truncates toward zero.
    const int64_t minutes = static_cast<int64_t>(bits) / kUnitsPerMinute;
    return static_cast<uint32_t>(static_cast<uint64_t>(minutes));
}

const platform::FileTime* SummaryInfoReader::FileTimeValue(uint32_t identifier) const {
    if (identifier < kFirstDate || identifier > kLastDate)
        return nullptr;
    const uint8_t* data = DataOfSize(summary_, identifier, 8);
    if (data == nullptr)
        return nullptr;
    platform::FileTime& time = times_[identifier - kFirstDate];
    time.dwLowDateTime = static_cast<uint32_t>(data[0] | data[1] << 8 | data[2] << 16) |
                         static_cast<uint32_t>(data[3]) << 24;
    time.dwHighDateTime = static_cast<uint32_t>(data[4] | data[5] << 8 | data[6] << 16) |
                          static_cast<uint32_t>(data[7]) << 24;
    return &time;
}

int32_t SummaryInfoReader::Count(uint32_t identifier) const {
    const uint8_t* data = DataOfSize(summary_, identifier, 4);
    if (data == nullptr)
        return 0;
    const uint32_t bits = static_cast<uint32_t>(data[0] | data[1] << 8 | data[2] << 16) |
                          static_cast<uint32_t>(data[3]) << 24;
    return static_cast<int32_t>(bits);
}
