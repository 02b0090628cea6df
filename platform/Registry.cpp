#include "platform/Registry.h"

#include <cstdint>

namespace platform {

bool RegistryKey::QueryText(std::u16string_view name, std::u16string& text,
                            size_t capacityUnits) const {
    // Read into a buffer of the caller's size, as RegQueryValueExW would: a
    // larger value fails even when its text ends early.
    const size_t maxBytes = capacityUnits > SIZE_MAX / 2 ? SIZE_MAX : capacityUnits * 2;
    std::vector<uint8_t> data;
    uint32_t type = 0;
    if (!QueryValue(name, data, type, maxBytes))
        return false;
    // The text ends at its first NUL or with the data; an odd last byte is
    // not a whole unit.
    std::u16string units;
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
        const char16_t unit = char16_t(data[i] | (data[i + 1] << 8));
        if (unit == u'\0')
            break;
        units.push_back(unit);
    }
    if (units.size() >= capacityUnits)
        return false;  // no room left for the NUL
    text = std::move(units);
    return true;
}

}  // namespace platform
