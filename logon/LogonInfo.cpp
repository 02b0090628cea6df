#include "logon/LogonInfo.h"

#include <cstring>

#include "logon/PropertyCollection.h"
#include "resources/TextIds.h"
#include "runtime/HostMemory.h"
#include "runtime/ResourceTexts.h"
#include "values/ValueRecord.h"

DbLogonInfo* NewLogonInfo() {
    auto* info = static_cast<DbLogonInfo*>(AllocateHostBlock(sizeof(DbLogonInfo)));
    std::memset(info, 0, sizeof *info);
    info->structSize = kLogonInfoSize;
    info->ownsText = 1;
    try {
        info->properties = NewCollection();
    } catch (...) {
        FreeHostBlock(info);
        throw;
    }
    return info;
}

void DeleteLogonInfo(DbLogonInfo* info) {
    if (info == nullptr)
        return;
    DeleteCollection(info->properties);
    if (info->ownsText != 0)
        FreeHostBlock(info->text);
    DeleteValue(info->value);
    FreeHostBlock(info);
}

ErrorInfo* NewLogonErrorInfo(const char16_t* languageTag) {
    SWCharString message = LoadResourceText(kTextInvalidStartingDirectory, languageTag);
    auto* error = static_cast<ErrorInfo*>(AllocateHostBlock(sizeof(ErrorInfo)));
    std::memset(error, 0, sizeof *error);
    error->code = Status_LogonFailed;
    try {
        error->message = DuplicateHostText(message.c_str());
    } catch (...) {
        FreeHostBlock(error);
        throw;
    }
    return error;
}
