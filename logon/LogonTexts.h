// Resource ids of the texts that name logon properties and label the logon
// dialog.
#pragma once

#include <cstdint>

constexpr uint32_t kTextStartingDirectory = 1;
constexpr uint32_t kTextFileMask = 2;
constexpr uint32_t kTextMaxSubDirLevels = 3;
constexpr uint32_t kTextInvalidStartingDirectory = 4;
constexpr uint32_t kTextDatabaseType = 131;
constexpr uint32_t kTextIncludeEmptyDirectories = 136;
constexpr uint32_t kTextConnectionTab = 147;
constexpr uint32_t kTextConnectionPrompt = 148;
constexpr uint32_t kTextChooseStartingDirectory = 149;
constexpr uint32_t kTextIncludeAllFiles = 150;
constexpr uint32_t kTextIncludeAllSubdirectories = 151;

// The language every property is also looked up in: 1033.
constexpr const char16_t* kDefaultLanguage = u"";
