// The entry points that describe the driver itself.
#include "driver/EntryPoints.h"
#include "resources/TextIds.h"
#include "runtime/HostMemory.h"
#include "runtime/ResourceTexts.h"

namespace {

// Which of the codes 1 to 26 are answered (bit code - 1), and with what.
constexpr uint32_t kAnsweredInfoCodes = 0x2919FFF;
constexpr uint32_t kInfoValues[26] = {
    0,          0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 1 to 13
    0,          0, 0, 0, 0, 0, 0,                    // 14 to 20
    0x08000000,                                      // 21
    0,          0, 0, 0, 0,                          // 22 to 26
};

}  // namespace

DbStatus DbGetInfo(void*, int32_t infoCode, uint32_t* value) {
    if (infoCode < 1 || infoCode > 26 || (kAnsweredInfoCodes & (1u << (infoCode - 1))) == 0)
        return Status_InfoNotAvailable;
    if (value == nullptr)
        return Status_InvalidArgument;
    *value = kInfoValues[infoCode - 1];
    return Status_Success;
}

DbStatus IsThreadSafe() {
    return 1;
}

DbStatus DbFetchDatabaseType(const char16_t* languageTag, char16_t** typeName) {
    return GuardEntry([&] {
        if (typeName == nullptr)
            return Status_InvalidArgument;
        SWCharString text = LoadResourceText(kTextDatabaseType, languageTag);
        if (text.isEmpty())
            return Status_NotSupported;
        *typeName = DuplicateHostText(text.c_str());
        return Status_Success;
    });
}
