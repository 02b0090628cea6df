#include "fileinfo/VersionGroup.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>

#include "platform/LocaleName.h"
#include "platform/VersionResource.h"
#include "runtime/Diagnostics.h"

namespace {

constexpr const char* kSourceUnit = "fileinfo";

// The string values read for the texts before kVersionLanguage, in that order.
constexpr const char* kStringNames[] = {
    "FileVersion", "FileDescription", "InternalName",    "CompanyName",
    "Comments",    "LegalCopyright",  "LegalTrademarks", "OriginalFilename",
    "ProductName", "ProductVersion",  "PrivateBuild",    "SpecialBuild",
};
constexpr int kLanguageNameUnits = 60;
constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;

// The bits of the fixed information's file flags, by VersionFlag.
constexpr uint32_t kDebugBit = 0x1;
constexpr uint32_t kPrereleaseBit = 0x2;
constexpr uint32_t kPatchedBit = 0x4;
constexpr uint32_t kPrivateBuildBit = 0x8;
constexpr uint32_t kSpecialBuildBit = 0x20;
constexpr uint32_t kFlagBits[kVersionFlagCount] = {kDebugBit, kPatchedBit, kPrereleaseBit,
                                                   kPrivateBuildBit, kSpecialBuildBit};
static_assert(std::size(kStringNames) == kVersionLanguage, "one string value per text");

SWCharString Narrow(const char* text) {
    SWCharString result;
    result.copyFrom(text);
    return result;
}

// A string value: at most `length` units, up to its NUL.
SWCharString StringValue(const void* value, uint32_t length) {
    const auto* units = static_cast<const char16_t*>(value);
    size_t count = 0;
    while (count < length && units[count] != u'\0')
        ++count;
    return SWCharString(std::u16string_view(units, count));
}

SWCharString DottedVersion(uint32_t mostSignificant, uint32_t leastSignificant) {
    char text[48];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", mostSignificant >> 16, mostSignificant & 0xFFFF,
                  leastSignificant >> 16, leastSignificant & 0xFFFF);
    return Narrow(text);
}

}  // namespace

VersionGroup LoadVersionGroup(platform::ContentFile& file) {
    VersionGroup version;
    uint32_t handle = 0;
    const uint32_t size = platform::FileVersionInfoSize(file, &handle);
    if (size == 0)
        return version;
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[size]());
    if (!block || !platform::ReadFileVersionInfo(file, handle, size, block.get()))
        return version;

    const void* value = nullptr;
    uint32_t length = 0;
    if (!platform::QueryVersionValue(block.get(), u"\\VarFileInfo\\Translation", &value, &length) ||
        length == 0)
        return version;
    uint16_t translation[2] = {0, 0};  // language identifier, code page
    std::memcpy(translation, value, length < sizeof translation ? length : sizeof translation);

    for (size_t i = 0; i < std::size(kStringNames); ++i) {
        char name[96];
        std::snprintf(name, sizeof name, "\\StringFileInfo\\%04x%04x\\%s", translation[0],
                      translation[1], kStringNames[i]);
        const SWCharString query = Narrow(name);
        if (platform::QueryVersionValue(block.get(), query.c_str(), &value, &length) &&
            length != 0 && value != nullptr)
            version.texts[i] = StringValue(value, length);
    }

    char16_t language[kLanguageNameUnits] = {};
    if (platform::GetLocaleLanguageName(translation[0], language, kLanguageNameUnits) != 0)
        version.texts[kVersionLanguage] = language;

    if (!platform::QueryVersionValue(block.get(), u"\\", &value, &length) || length == 0 ||
        value == nullptr)
        return version;
    platform::FixedFileInfo fixed{};
    std::memcpy(&fixed, value, length < sizeof fixed ? length : sizeof fixed);
    VL_ASSERT_TEXT(fixed.dwSignature == kFixedInfoSignature, "ffi->dwSignature == 0xFEEF04BD");

    for (size_t i = 0; i < std::size(kFlagBits); ++i)
        if ((fixed.dwFileFlagsMask & kFlagBits[i]) != 0)
            version.flags[i] = (fixed.dwFileFlags & kFlagBits[i]) != 0 ? 1 : 0;
    version.texts[kVersionBinaryFileVersion] =
        DottedVersion(fixed.dwFileVersionMS, fixed.dwFileVersionLS);
    version.texts[kVersionBinaryProductVersion] =
        DottedVersion(fixed.dwProductVersionMS, fixed.dwProductVersionLS);
    return version;
}
