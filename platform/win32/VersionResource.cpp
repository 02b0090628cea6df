#include "platform/VersionResource.h"

#include <windows.h>

#include <string>

namespace platform {

uint32_t FileVersionInfoSize(std::u16string_view path, uint32_t* handle) {
    const std::wstring wide(path.begin(), path.end());
    DWORD word = 0;
    const DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &word);
    if (handle != nullptr)
        *handle = word;
    return size;
}

bool ReadFileVersionInfo(std::u16string_view path, uint32_t handle, uint32_t size, void* block) {
    const std::wstring wide(path.begin(), path.end());
    return GetFileVersionInfoW(wide.c_str(), handle, size, block) != FALSE;
}

uint32_t FileVersionInfoSize(ContentFile& file, uint32_t* handle) {
    if (file.MayHoldVersion())
        return FileVersionInfoSize(file.path(), handle);
    if (handle != nullptr)
        *handle = 0;
    return 0;
}

bool ReadFileVersionInfo(ContentFile& file, uint32_t handle, uint32_t size, void* block) {
    return file.MayHoldVersion() && ReadFileVersionInfo(file.path(), handle, size, block);
}

bool QueryVersionValue(const void* block, const char16_t* subBlock, const void** value,
                       uint32_t* length) {
    void* found = nullptr;
    UINT foundLength = 0;
    if (!VerQueryValueW(block, reinterpret_cast<const wchar_t*>(subBlock), &found, &foundLength))
        return false;
    *value = found;
    *length = foundLength;
    return true;
}

}  // namespace platform
