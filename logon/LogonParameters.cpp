#include "logon/LogonParameters.h"

#include "logon/PreQEDatabaseName.h"
#include "logon/Property.h"
#include "logon/PropertyById.h"
#include "logon/PropertyCollection.h"
#include "resources/TextIds.h"

DbStatus ReadLogonParameters(const DbPropertyCollection* collection, const char16_t* languageTag,
                             LogonParameters& parameters) {
    parameters.startingDirectory =
        GetStringPropertyById(collection, kTextStartingDirectory, languageTag);
    parameters.fileMask = GetStringPropertyById(collection, kTextFileMask, languageTag);
    parameters.maxSubDirLevels =
        GetIntegerPropertyById(collection, kTextMaxSubDirLevels, languageTag, -1);
    parameters.includeEmptyDirectories =
        GetBooleanPropertyById(collection, kTextIncludeEmptyDirectories, languageTag, false);

    if (parameters.startingDirectory.isEmpty()) {
        // The one-text form replaces directory, mask and limit together.
        const DbProperty* property = FindProperty(collection, kPreQEDatabaseName, nullptr);
        SWCharString text = property != nullptr ? GetPropertyString(property) : SWCharString();
        SWCharString directory, mask;
        int32_t levels = 0;
        if (!text.isEmpty() && ParsePreQEDatabaseName(text, directory, mask, levels)) {
            parameters.startingDirectory = directory;
            parameters.fileMask = mask;
            parameters.maxSubDirLevels = levels;
        }
    }
    if (parameters.fileMask.isEmpty())
        parameters.fileMask = u"*.*";
    return Status_Success;
}

bool LogonParametersMatch(const LogonParameters& first, const LogonParameters& second) {
    return first.startingDirectory.compareNoCase(second.startingDirectory) == 0 &&
           first.fileMask.compareNoCase(second.fileMask) == 0 &&
           first.maxSubDirLevels == second.maxSubDirLevels &&
           first.includeEmptyDirectories == second.includeEmptyDirectories;
}
