#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>

#include "tests/support/TestSupport.h"

namespace testing_support {
namespace {

using RegValue = std::pair<uint32_t, std::string>;  // type, bytes

// The registry of this test program: key -> value name -> value, written out
// whole to the file that VELLUM_REGISTRY names at every change.
std::map<std::string, std::map<std::string, RegValue>>& Keys() {
    static auto* keys = new std::map<std::string, std::map<std::string, RegValue>>();
    return *keys;
}

std::filesystem::path RegistryFile() {
    static const TempDir folder;  // removed when the test program exits
    return folder.path() / "registry.reg";
}

std::string RegQuoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '\\' || c == '"' ? std::string{'\\', c} : std::string(1, c);
    return quoted + '"';
}

// A text value as a quoted text when it is one NUL-terminated text, else as
// hex(N) bytes broken over continuation lines.
std::string RegData(const RegValue& value) {
    const auto& [type, d] = value;
    std::u16string text;
    for (size_t i = 0; i + 1 < d.size(); i += 2)
        text +=
            static_cast<char16_t>(static_cast<uint8_t>(d[i]) | static_cast<uint8_t>(d[i + 1]) << 8);
    if (type == 1 && d.size() % 2 == 0 && !text.empty() && text.find(u'\0') == text.size() - 1)
        return RegQuoted(U8(text.substr(0, text.size() - 1)));
    char hex[16];
    std::snprintf(hex, sizeof hex, "hex(%x):", static_cast<unsigned>(type));
    std::string out = hex;
    for (size_t i = 0; i < d.size(); ++i) {
        const char* separator = i == 0 ? "" : i % 8 == 0 ? ",\\\n  " : ",";
        std::snprintf(hex, sizeof hex, "%s%02x", separator, static_cast<uint8_t>(d[i]));
        out += hex;
    }
    return out;
}

void WriteRegistry() {
    std::ofstream out(RegistryFile(), std::ios::binary | std::ios::trunc);
    out << "Windows Registry Editor Version 5.00\n";
    for (const auto& [key, values] : Keys()) {
        out << "\n[" << key << "]\n";
        for (const auto& [name, value] : values)
            out << (name.empty() ? "@" : RegQuoted(name)) << "=" << RegData(value) << "\n";
    }
    SetEnvironment("VELLUM_REGISTRY", RegistryFile().string());
}

}  // namespace

bool IsWindowsBuild() {
    return false;
}

void SetEnvironment(const std::string& name, const std::string& value) {
    setenv(name.c_str(), value.c_str(), 1);
}

void UnsetEnvironment(const std::string& name) {
    unsetenv(name.c_str());
}

void SetRegistryValue(const std::u16string& key, const std::u16string& name, uint32_t type,
                      const std::string& data) {
    Keys()[U8(key)][U8(name)] = {type, data};
    WriteRegistry();
}

void RemoveRegistryKey(const std::u16string& key) {
    const std::string path = U8(key);
    for (auto it = Keys().begin(); it != Keys().end();)
        it = it->first == path || it->first.rfind(path + "\\", 0) == 0 ? Keys().erase(it) : ++it;
    WriteRegistry();
}

}  // namespace testing_support
