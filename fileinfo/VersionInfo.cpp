// The version group of a row: the string values of the version resource's
// first translation, its language's name, the binary versions and five flags.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "fileinfo/FileRecord.h"
#include "platform/LocaleName.h"
#include "platform/VersionResource.h"
#include "runtime/Diagnostics.h"

namespace {

constexpr const char* kSourceUnit = "fileinfo";

// Texts 0 to 11 of the group, in field order.
constexpr const char* kStringNames[] = {
    "FileVersion", "FileDescription", "InternalName",    "CompanyName",
    "Comments",    "LegalCopyright",  "LegalTrademarks", "OriginalFilename",
    "ProductName", "ProductVersion",  "PrivateBuild",    "SpecialBuild",
};
constexpr size_t kLanguageText = 12;
constexpr size_t kFileVersionText = 13;
constexpr size_t kProductVersionText = 14;

constexpr int kLanguageNameUnits = 60;
constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;

// Is Debug, Is Patched, Is Prerelease, Is Private Build, Is Special Build.
constexpr uint32_t kFlagBits[] = {0x1, 0x4, 0x2, 0x8, 0x20};

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

SWCharString VersionText(uint32_t mostSignificant, uint32_t leastSignificant) {
    char text[48];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", mostSignificant >> 16, mostSignificant & 0xFFFF,
                  leastSignificant >> 16, leastSignificant & 0xFFFF);
    return Narrow(text);
}

}  // namespace

void FileRecord::LoadVersionInfo() {
    if (versionLoaded)
        return;
    version = VersionGroup();
    versionLoaded = true;

    uint32_t handle = 0;
    const uint32_t size = platform::FileVersionInfoSize(fullPath().view(), &handle);
    if (size == 0)
        return;
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[size]());
    if (!block || !platform::ReadFileVersionInfo(fullPath().view(), handle, size, block.get()))
        return;

    const void* value = nullptr;
    uint32_t length = 0;
    if (!platform::QueryVersionValue(block.get(), u"\\VarFileInfo\\Translation", &value, &length) ||
        length == 0)
        return;
    uint16_t translation[2] = {0, 0};  // language identifier, code page
    std::memcpy(translation, value, length < sizeof translation ? length : sizeof translation);

    for (size_t i = 0; i < std::size(kStringNames); ++i) {
        char path[96];
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation[0],
                      translation[1], kStringNames[i]);
        const SWCharString query = Narrow(path);
        if (platform::QueryVersionValue(block.get(), query.c_str(), &value, &length) &&
            length != 0 && value != nullptr)
            version.texts[i] = StringValue(value, length);
    }

    char16_t language[kLanguageNameUnits] = {};
    if (platform::GetLocaleLanguageName(translation[0], language, kLanguageNameUnits) != 0)
        version.texts[kLanguageText] = language;

    if (!platform::QueryVersionValue(block.get(), u"\\", &value, &length) || length == 0 ||
        value == nullptr)
        return;
    platform::FixedFileInfo fixed{};
    std::memcpy(&fixed, value, length < sizeof fixed ? length : sizeof fixed);
    VL_ASSERT_TEXT(fixed.dwSignature == kFixedInfoSignature, "ffi->dwSignature == 0xFEEF04BD");

    for (size_t i = 0; i < std::size(kFlagBits); ++i)
        if ((fixed.dwFileFlagsMask & kFlagBits[i]) != 0)
            version.flags[i] = (fixed.dwFileFlags & kFlagBits[i]) != 0 ? 1 : 0;
    version.texts[kFileVersionText] = VersionText(fixed.dwFileVersionMS, fixed.dwFileVersionLS);
    version.texts[kProductVersionText] =
        VersionText(fixed.dwProductVersionMS, fixed.dwProductVersionLS);
}
