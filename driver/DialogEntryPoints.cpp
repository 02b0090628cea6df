// The entry points of the logon dialog: its description, and the answers to
// the requests its check boxes make.
#include "driver/EntryPoints.h"
#include "logon/LogonDescription.h"
#include "logon/LogonInfo.h"
#include "logon/LogonParameters.h"
#include "logon/PropertyHints.h"
#include "logon/PropertyRequests.h"
#include "runtime/Diagnostics.h"

namespace {

constexpr const char* kSourceUnit = "FileSystem";

}  // namespace

DbStatus DbFetchLogonUIInfo(void*, const DbLogonInfo* logonIn, void*, const char16_t* languageTag,
                            DbLogonInfo** logonOut) {
    return GuardEntry([&]() -> DbStatus {
        if (logonOut == nullptr)
            return Status_InvalidArgument;
        *logonOut = nullptr;
        if (logonIn == nullptr || logonIn->properties == nullptr)
            return Status_InvalidArgument;
        // The input is read as it stands: a tabbed description is not
        // unpacked, and a missing directory is shown, not refused.
        LogonParameters parameters;
        ReadLogonParameters(logonIn->properties, languageTag, parameters);
        LogonInfoPtr info(NewLogonInfo());
        BuildLogonDescription(info->properties, languageTag, parameters.startingDirectory,
                              parameters.fileMask, parameters.maxSubDirLevels,
                              parameters.includeEmptyDirectories, true);
        *logonOut = info.release();
        return Status_Success;
    });
}

DbStatus DbHandleUIPropertyRequest(void*, uint32_t requestNumber, void*, void*, void*,
                                   DbPropertyCollection* properties, DbPropertyCollection** answer,
                                   void*) {
    return GuardEntry([&]() -> DbStatus {
        if (requestNumber != kRequestIncludeAllFiles &&
            requestNumber != kRequestIncludeAllSubdirectories) {
            VL_ASSERT_UNREACHABLE("false");
            return Status_InvalidArgument;
        }
        if (answer == nullptr)
            return Status_InvalidArgument;
        if (requestNumber == kRequestIncludeAllFiles)
            return HandleFileMaskRequest(properties, answer);
        return HandleLevelRequest(properties, answer);
    });
}
