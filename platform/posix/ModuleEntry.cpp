// Linked into the driver library: records its handle when it is loaded, as the
// process-attach notification does on Windows.
#include <dlfcn.h>

#include "platform/ModuleInfo.h"

namespace {

__attribute__((constructor)) void AttachModule() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&AttachModule), &info) != 0)
        platform::RecordAttachedModule(info.dli_fbase);
}

}  // namespace
