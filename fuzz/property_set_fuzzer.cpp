// The property-set reader and the summary getters on arbitrary streams:
// they must not crash, read outside the stream, hold more than the stream
// justifies or hang.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fileinfo/SummaryInfoReader.h"
#include "formats/PropertySetReader.h"
#include "platform/StructuredStorage.h"

namespace {

// Keeps the reads of value bytes from being optimised away.
volatile unsigned gSink = 0;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// A storage whose summary stream is the input.
class BytesStorage : public platform::Storage {
public:
    explicit BytesStorage(std::string_view bytes) : bytes_(bytes) {}
    std::unique_ptr<platform::StorageStream> OpenStream(std::u16string_view name) override {
        if (name != u"\x05SummaryInformation")
            return nullptr;
        return platform::OpenMemoryStream(bytes_);
    }

private:
    std::string_view bytes_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto stream = platform::OpenMemoryStream(bytes);
    PropertySetReader reader;
    reader.ReadPropertySet(*stream);

    uint64_t held = 0, items = 0;
    unsigned sum = 0;
    for (const PropertySection& section : reader.sections()) {
        FindItem(&section, 2);
        for (const PropertyItem& item : section.items()) {
            ++items;
            if (item.data() != nullptr)
                held += item.data()->size();
            ValueBytes value;
            if (item.ValueData(value)) {
                Check(item.data() != nullptr);
                const uint8_t* start = item.data()->data();
                Check(value.size == 0 || (value.data >= start &&
                                          value.data + value.size <= start + item.data()->size()));
                for (size_t i = 0; i < value.size; ++i)
                    sum += value.data[i];
            }
            Check(item.ValueAsText().length() <= size);
        }
        for (const DictionaryEntry& entry : section.dictionary())
            Check(entry.name.length() <= 256);
    }
    // What the reader holds follows the stream's length.
    Check(held <= 4 * static_cast<uint64_t>(size) + 4096);
    Check(items <= (4 * static_cast<uint64_t>(size) + 4096) / 8);

    BytesStorage storage(bytes);
    SummaryInfoReader summary;
    if (summary.OpenSummaryInfo(storage)) {
        for (uint32_t id = 0; id < 20; ++id)
            sum += static_cast<unsigned>(summary.Text(id).length() + summary.Count(id));
        sum += summary.EditTimeMinutes();
        for (uint32_t id = 11; id <= 13; ++id)
            if (const platform::FileTime* time = summary.FileTimeValue(id))
                sum += time->dwLowDateTime;
    }
    gSink = sum;
    return 0;
}
