#include <windows.h>

#include <cstdlib>

#include "tests/support/TestSupport.h"

namespace testing_support {
bool IsWindowsBuild() {
    return true;
}

void SetEnvironment(const std::string& name, const std::string& value) {
    // Both the process environment and the C runtime's copy of it.
    std::u16string wideName = U16(name), wideValue = U16(value);
    SetEnvironmentVariableW(reinterpret_cast<const wchar_t*>(wideName.c_str()),
                            reinterpret_cast<const wchar_t*>(wideValue.c_str()));
    _putenv_s(name.c_str(), value.c_str());
}

void UnsetEnvironment(const std::string& name) {
    std::u16string wideName = U16(name);
    SetEnvironmentVariableW(reinterpret_cast<const wchar_t*>(wideName.c_str()), nullptr);
    _putenv_s(name.c_str(), "");
}

namespace {
// The root and the rest of a key named from its root.
HKEY SplitKey(const std::u16string& key, std::u16string& path) {
    const size_t separator = key.find(u'\\');
    path = separator == std::u16string::npos ? u"" : key.substr(separator + 1);
    return key.compare(0, separator, u"HKEY_CLASSES_ROOT") == 0 ? HKEY_CLASSES_ROOT
                                                                : HKEY_LOCAL_MACHINE;
}
}  // namespace

void SetRegistryValue(const std::u16string& key, const std::u16string& name, uint32_t type,
                      const std::string& data) {
    std::u16string path;
    const HKEY root = SplitKey(key, path);
    HKEY opened = nullptr;
    if (RegCreateKeyExW(root, reinterpret_cast<const wchar_t*>(path.c_str()), 0, nullptr, 0,
                        KEY_WRITE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(opened, reinterpret_cast<const wchar_t*>(name.c_str()), 0, type,
                   reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    RegCloseKey(opened);
}

void RemoveRegistryKey(const std::u16string& key) {
    std::u16string path;
    const HKEY root = SplitKey(key, path);
    RegDeleteTreeW(root, reinterpret_cast<const wchar_t*>(path.c_str()));
}

}  // namespace testing_support
