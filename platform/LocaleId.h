// Windows locale identifiers (LCIDs).
#pragma once

#include <cstdint>

namespace platform {

// LocaleNameToLCID: "de-DE" is 0x0407; a bare language gives its default
// country ("de" is 0x0407); '_' is accepted like '-'; an unknown tag gives 0.
uint32_t LocaleNameToLcid(const char16_t* tag);

}  // namespace platform
