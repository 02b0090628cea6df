// Linked into the driver library: records its handle on process attach (and
// only then).
#include <windows.h>

#include "platform/ModuleInfo.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        platform::RecordAttachedModule(instance);
    return TRUE;
}
