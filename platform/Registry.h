// Read-only access to the registry.
//
// Windows: the real registry. POSIX: a registry file in the .reg text format
// named by VELLUM_REGISTRY (else /etc/vellum/registry.reg).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class RegistryRoot { LocalMachine, ClassesRoot };

class RegistryKey {
public:
    // Opens `path` below `root` for reading (KEY_READ); null when it fails.
    // A trailing backslash on the path is ignored.
    static std::unique_ptr<RegistryKey> Open(RegistryRoot root, std::u16string_view path);

    virtual ~RegistryKey() = default;

    // The raw bytes and registry type of a value ("" is the default value);
    // false when the value does not exist or is larger than `maxBytes`.
    virtual bool QueryValue(std::u16string_view name, std::vector<uint8_t>& data, uint32_t& type,
                            size_t maxBytes) const = 0;

    // A value read as UTF-16 text into room for `capacityUnits` units
    // including the NUL; the type is not examined. False when missing or
    // when it does not fit.
    bool QueryText(std::u16string_view name, std::u16string& text, size_t capacityUnits) const;
};

// Registry value types, as the .reg format and the Windows registry use them.
enum : uint32_t {
    RegistryType_None = 0,
    RegistryType_String = 1,
    RegistryType_ExpandString = 2,
    RegistryType_Binary = 3,
    RegistryType_Dword = 4,
    RegistryType_MultiString = 7,
    RegistryType_Qword = 11
};

}  // namespace platform
