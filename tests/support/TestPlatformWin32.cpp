#include <windows.h>

#include <cstdlib>

#include "tests/support/TestSupport.h"

namespace testing_support {
bool IsWindowsBuild() {
    return true;
}

namespace {
const wchar_t* W(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The root and the rest of a key named from its root.
HKEY SplitKey(const std::u16string& key, std::u16string& path) {
    const size_t separator = key.find(u'\\');
    path = separator == std::u16string::npos ? u"" : key.substr(separator + 1);
    return key.compare(0, separator, u"HKEY_CLASSES_ROOT") == 0 ? HKEY_CLASSES_ROOT
                                                                : HKEY_LOCAL_MACHINE;
}
}  // namespace

void SetEnvironment(const std::string& name, const std::string& value) {
    // Both the process environment and the C runtime's copy of it.
    SetEnvironmentVariableW(W(U16(name)), W(U16(value)));
    _putenv_s(name.c_str(), value.c_str());
}

void UnsetEnvironment(const std::string& name) {
    SetEnvironmentVariableW(W(U16(name)), nullptr);
    _putenv_s(name.c_str(), "");
}

void SetRegistryValue(const std::u16string& key, const std::u16string& name, uint32_t type,
                      const std::string& data) {
    std::u16string path;
    const HKEY root = SplitKey(key, path);
    HKEY opened = nullptr;
    if (RegCreateKeyExW(root, W(path), 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(opened, W(name), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(opened);
}

void RemoveRegistryKey(const std::u16string& key) {
    std::u16string path;
    const HKEY root = SplitKey(key, path);
    RegDeleteTreeW(root, W(path));
}

}  // namespace testing_support
