// The entry points of a logon: logging on, naming the connection and telling
// whether two sets of logon properties mean the same connection.
#include "driver/EntryPoints.h"
#include "fs/StartingDirectory.h"
#include "logon/LogonDescription.h"
#include "logon/LogonHandle.h"
#include "logon/LogonInfo.h"
#include "logon/LogonParameters.h"
#include "logon/PropertyCollection.h"
#include "logon/PropertyHints.h"
#include "runtime/HostMemory.h"

namespace {

// The properties a logon reads: the members of a dialog description's tab
// when it has any (the rest of the description is then not read), else a
// copy of all of them.
CollectionPtr WorkingProperties(const DbPropertyCollection* properties) {
    CollectionPtr working(NewCollection());
    MergeTabProperties(properties, working.get(), kHintTabProperties);
    if (working->count == 0) {
        CollectionPtr copy(CopyCollection(properties));
        AddAllProperties(working.get(), copy.get());
    }
    return working;
}

}  // namespace

DbStatus DbLogonServer(const DbLogonInfo* logonIn, DbLogonInfo** logonOut, void*, void*,
                       const char16_t* languageTag, DbLogonRef* logon, ErrorInfo** errorInfo) {
    return GuardEntry([&]() -> DbStatus {
        if (logonOut == nullptr || logon == nullptr)
            return Status_InvalidArgument;
        *logonOut = nullptr;
        *logon = nullptr;
        if (logonIn == nullptr)
            return Status_InvalidArgument;

        LogonParameters parameters;
        ReadLogonParameters(WorkingProperties(logonIn->properties).get(), languageTag, parameters);

        // Everything is built before anything is handed out, so that a failed
        // allocation hands out nothing.
        DbLogonHandle* handle = nullptr;
        ErrorInfo* error = nullptr;
        DbStatus status = Status_Success;
        if (!parameters.startingDirectory.isEmpty() &&
            IsValidStartingDirectory(parameters.startingDirectory)) {
            handle = NewLogonHandle(languageTag, parameters);
        } else {
            error = NewLogonErrorInfo(languageTag);
            status = Status_LogonFailed;
        }
        try {
            LogonInfoPtr info(NewLogonInfo());
            // The engine gets back what was understood, also when it is refused.
            BuildLogonDescription(info->properties, languageTag, parameters.startingDirectory,
                                  parameters.fileMask, parameters.maxSubDirLevels,
                                  parameters.includeEmptyDirectories, false);
            *logonOut = info.release();
        } catch (...) {
            DeleteLogonHandle(handle);
            DbFreeErrorInfo(error);
            throw;
        }
        *logon = handle;
        if (error != nullptr) {
            if (errorInfo != nullptr)
                *errorInfo = error;
            else
                DbFreeErrorInfo(error);
        }
        return status;
    });
}

DbStatus DbFetchServerName(DbLogonRef logon, char16_t** serverName) {
    return GuardEntry([&]() -> DbStatus {
        if (logon == nullptr || serverName == nullptr)
            return Status_InvalidArgument;
        *serverName = DuplicateHostText(LogonHandleFrom(logon)->startingDirectory.c_str());
        return Status_Success;
    });
}

DbStatus DbMatchLogonInfo(const DbLogonInfo* first, const DbLogonInfo* second, void*, void*,
                          const char16_t* languageTag, void* required, uint16_t* match) {
    return GuardEntry([&]() -> DbStatus {
        if (match == nullptr)
            return Status_InvalidArgument;
        *match = 0;
        if (first == nullptr || second == nullptr || required == nullptr)
            return Status_InvalidArgument;
        // Only the top level of each collection is read: tabs are not unpacked.
        LogonParameters one, other;
        ReadLogonParameters(first->properties, languageTag, one);
        ReadLogonParameters(second->properties, languageTag, other);
        *match = LogonParametersMatch(one, other) ? 1 : 0;
        return Status_Success;
    });
}
