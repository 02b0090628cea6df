#include "platform/ModuleInfo.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <atomic>
#include <string>

#include "platform/TextEncoding.h"

namespace platform {
namespace {

// The module's handle is the base address at which it was mapped; its path is
// made absolute when it is attached, before the working directory can change.
// Both are set from a load-time constructor, which may run before this file's
// dynamic initialisers: the atomic is constant-initialised and the path is
// made on first use.
std::atomic<ModuleHandle> attachedModule{nullptr};

std::string& AttachedPath() {
    static std::string path;
    return path;
}

std::string AbsolutePath(const char* path) {
    char resolved[PATH_MAX];
    if (path == nullptr || realpath(path, resolved) == nullptr)
        return path ? path : "";
    return resolved;
}

}  // namespace

ModuleHandle AttachedModuleHandle() {
    return attachedModule.load();
}

void RecordAttachedModule(ModuleHandle module) {
    Dl_info info{};
    if (module != nullptr && dladdr(module, &info) != 0)
        AttachedPath() = AbsolutePath(info.dli_fname);
    attachedModule.store(module);
}

uint32_t GetModuleFilePath(ModuleHandle module, char16_t* buffer, uint32_t capacity) {
    if (module == nullptr || buffer == nullptr || capacity == 0)
        return 0;
    std::string path;
    if (module == attachedModule.load()) {
        path = AttachedPath();
    } else {
        Dl_info info{};
        if (dladdr(module, &info) == 0)
            return 0;
        path = AbsolutePath(info.dli_fname);
    }
    if (path.empty())
        return 0;
    std::u16string wide = Utf8ToUtf16(path);
    // Truncated like GetModuleFileNameW: capacity - 1 units and a NUL.
    uint32_t length = static_cast<uint32_t>(wide.size() < capacity ? wide.size() : capacity - 1);
    wide.copy(buffer, length);
    buffer[length] = 0;
    return length;
}

std::u16string ModulePathContaining(const void* address) {
    Dl_info info{};
    if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fname == nullptr)
        return u"";
    return Utf8ToUtf16(AbsolutePath(info.dli_fname));
}

std::u16string ExecutablePath() {
    std::string path = AbsolutePath("/proc/self/exe");
    return path.empty() ? u"" : Utf8ToUtf16(path);
}

}  // namespace platform
