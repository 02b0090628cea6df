#include <cstdlib>
#include <fstream>

#include "tests/support/TestSupport.h"

namespace testing_support {
namespace {

// The registry file the tests write; VELLUM_REGISTRY names it.
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
    std::ofstream out(RegistryFile(), std::ios::binary | std::ios::trunc);
    out << "Windows Registry Editor Version 5.00\n\n"
        << "[HKEY_LOCAL_MACHINE\\Software\\Tavrel Quillon\\Meridel 4.0\\Vellum\\]\n"
        << "\"CommonFiles\"=\"" << RegEscape(U8(folder)) << "\"\n";
    out.close();
    SetEnvironment("VELLUM_REGISTRY", RegistryFile().string());
}

void RemoveLoggerKey() {
    std::ofstream out(RegistryFile(), std::ios::binary | std::ios::trunc);
    out << "Windows Registry Editor Version 5.00\n";
    out.close();
    SetEnvironment("VELLUM_REGISTRY", RegistryFile().string());
}

}  // namespace testing_support
