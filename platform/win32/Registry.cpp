#include "platform/Registry.h"

#include <windows.h>

#include <cstdint>

namespace platform {

namespace {

std::wstring ToWide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

class Win32RegistryKey : public RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}
    ~Win32RegistryKey() override { RegCloseKey(key_); }
    Win32RegistryKey(const Win32RegistryKey&) = delete;
    Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

    bool QueryValue(std::u16string_view name, std::vector<uint8_t>& data, uint32_t& type,
                    size_t maxBytes) const override {
        const std::wstring wideName = ToWide(name);
        const DWORD limit = maxBytes > MAXDWORD ? MAXDWORD : static_cast<DWORD>(maxBytes);
        // Asks for the size first, so that a caller allowing any size does not
        // need a buffer of that size; retries when the value grows in between.
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD valueType = 0;
            DWORD size = 0;
            LONG rc = RegQueryValueExW(key_, wideName.c_str(), nullptr, &valueType, nullptr, &size);
            if (rc != ERROR_SUCCESS || size > limit)
                return false;
            std::vector<uint8_t> buffer(size);
            rc = RegQueryValueExW(key_, wideName.c_str(), nullptr, &valueType,
                                  size == 0 ? nullptr : buffer.data(), &size);
            if (rc == ERROR_MORE_DATA)
                continue;
            if (rc != ERROR_SUCCESS)
                return false;
            buffer.resize(size);
            data = std::move(buffer);
            type = valueType;
            return true;
        }
        return false;
    }

private:
    HKEY key_;
};

}  // namespace

std::unique_ptr<RegistryKey> RegistryKey::Open(RegistryRoot root, std::u16string_view path) {
    if (!path.empty() && path.back() == u'\\')
        path.remove_suffix(1);
    const HKEY rootKey =
        root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CLASSES_ROOT;
    HKEY key = nullptr;
    if (RegOpenKeyExW(rootKey, ToWide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<Win32RegistryKey>(key);
}

}  // namespace platform
