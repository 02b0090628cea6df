#include "logon/LogonHandle.h"

#include <new>

#include "logon/LogonParameters.h"
#include "runtime/HostMemory.h"

DbLogonHandle* NewLogonHandle(const char16_t* locale, const LogonParameters& parameters) {
    void* block = AllocateHostBlock(sizeof(DbLogonHandle));
    try {
        return new (block)
            DbLogonHandle{SWCharString(locale), parameters.startingDirectory, parameters.fileMask,
                          parameters.maxSubDirLevels, parameters.includeEmptyDirectories};
    } catch (...) {
        FreeHostBlock(block);
        throw;
    }
}

void DeleteLogonHandle(DbLogonHandle* handle) {
    if (handle == nullptr)
        return;
    handle->~DbLogonHandle();
    FreeHostBlock(handle);
}
