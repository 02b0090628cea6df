#include <cstdlib>
#include <fstream>
#include <map>

#include "tests/support/TestSupport.h"

namespace testing_support {
namespace {

const char kLoggerKey[] = "HKEY_LOCAL_MACHINE\\Software\\Tavrel Quillon\\Meridel 4.0\\Vellum\\";

// The registry of this test program: key -> value name -> text, written out
// whole to the file that VELLUM_REGISTRY names at every change.
std::map<std::string, std::map<std::string, std::string>>& Keys() {
    static auto* keys = new std::map<std::string, std::map<std::string, std::string>>();
    return *keys;
}

std::filesystem::path RegistryFile() {
    static TempDir* folder = new TempDir();  // lives for the whole test program
    return folder->path() / "registry.reg";
}

std::string RegEscape(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\' || c == '"')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

void WriteRegistry() {
    std::ofstream out(RegistryFile(), std::ios::binary | std::ios::trunc);
    out << "Windows Registry Editor Version 5.00\n";
    for (const auto& [key, values] : Keys()) {
        out << "\n[" << key << "]\n";
        for (const auto& [name, text] : values)
            out << (name.empty() ? "@" : "\"" + RegEscape(name) + "\"") << "=\"" << RegEscape(text)
                << "\"\n";
    }
    out.close();
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

void SetLoggerFolder(const std::u16string& folder) {
    Keys()[kLoggerKey]["CommonFiles"] = U8(folder);
    WriteRegistry();
}

void RemoveLoggerKey() {
    Keys().erase(kLoggerKey);
    WriteRegistry();
}

void SetClassDefault(const std::u16string& key, const std::u16string& value) {
    std::string path = "HKEY_CLASSES_ROOT\\" + U8(key);
    if (value.empty())
        Keys().erase(path);
    else
        Keys()[path][""] = U8(value);
    WriteRegistry();
}

}  // namespace testing_support
