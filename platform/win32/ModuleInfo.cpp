#include "platform/ModuleInfo.h"

#include <windows.h>

#include <atomic>

namespace platform {
namespace {
std::atomic<ModuleHandle> attachedModule{nullptr};
}

ModuleHandle AttachedModuleHandle() {
    return attachedModule.load();
}

void RecordAttachedModule(ModuleHandle module) {
    attachedModule.store(module);
}

uint32_t GetModuleFilePath(ModuleHandle module, char16_t* buffer, uint32_t capacity) {
    if (module == nullptr || buffer == nullptr || capacity == 0)
        return 0;
    DWORD length = GetModuleFileNameW(static_cast<HMODULE>(module),
                                      reinterpret_cast<wchar_t*>(buffer), capacity);
    return static_cast<uint32_t>(length);
}

std::u16string ModulePathContaining(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<LPCWSTR>(address), &module))
        return u"";
    std::wstring path(32768, L'\0');
    DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    return std::u16string(path.begin(), path.begin() + length);
}

std::u16string ExecutablePath() {
    std::wstring path(32768, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return std::u16string(path.begin(), path.begin() + length);
}

}  // namespace platform
