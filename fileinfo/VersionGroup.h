// The version group of a row: the string values of the version resource's
// first translation, its language's name, the binary versions and five flags.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/ContentFile.h"
#include "runtime/SWCharString.h"

// The texts of the group, in field order.
enum VersionText : size_t {
    kVersionFileVersion,
    kVersionFileDescription,
    kVersionInternalName,
    kVersionCompanyName,
    kVersionComments,
    kVersionLegalCopyright,
    kVersionLegalTrademarks,
    kVersionOriginalFileName,
    kVersionProductName,
    kVersionProductVersion,
    kVersionPrivateBuild,
    kVersionSpecialBuild,
    kVersionLanguage,
    kVersionBinaryFileVersion,
    kVersionBinaryProductVersion,
    kVersionTextCount
};

// The flags of the group, in field order.
enum VersionFlag : size_t {
    kVersionIsDebug,
    kVersionIsPatched,
    kVersionIsPrerelease,
    kVersionIsPrivateBuild,
    kVersionIsSpecialBuild,
    kVersionFlagCount
};

// A flag of the version resource: -1 undetermined, 0 false, 1 true.
using VersionFlagState = int32_t;

struct VersionGroup {
    SWCharString texts[kVersionTextCount];
    VersionFlagState flags[kVersionFlagCount] = {-1, -1, -1, -1, -1};
};

// The group of the file; the defaults when it has no usable version resource
// (source unit fileinfo).
VersionGroup LoadVersionGroup(platform::ContentFile& file);
