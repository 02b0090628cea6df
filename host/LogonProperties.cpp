#include "host/LogonProperties.h"

#include "platform/PathSplit.h"

namespace host {

LogonProperties::LogonProperties(const std::u16string& startingDirectory,
                                 const std::u16string& fileMask, int32_t maxSubDirLevels,
                                 bool includeEmptyDirectories)
    : directory_(startingDirectory),
      mask_(fileMask),
      levels_(maxSubDirLevels),
      includeEmpty_(includeEmptyDirectories ? 1 : 0) {
    Add(u"Starting Directory", stringValue, directory_.data());
    Add(u"File Mask", stringValue, mask_.data());
    Add(u"Max Number of Subdirectory Levels", int32sValue, &levels_);
    Add(u"Include Empty Directories", booleanValue, &includeEmpty_);
    collection_ = DbPropertyCollection{sizeof(DbPropertyCollection),
                                       static_cast<uint32_t>(items_.size()), items_.data()};
    info_.properties = &collection_;
    info_.structSize = sizeof(DbLogonInfo);
}

void LogonProperties::Add(const char16_t* name, DbValueType type, void* payload) {
    names_.emplace_back(name);
    values_.push_back(DbValue{sizeof(DbValue), singleKind, type, 0, payload});
    DbProperty property{};
    property.structSize = sizeof(DbProperty);
    property.name = names_.back().data();
    property.valueType = type;
    property.value = &values_.back();
    properties_.push_back(property);
    items_.push_back(&properties_.back());
}

bool ParseLevels(const std::string& text, int32_t& levels) {
    const bool negativeOne = text == "-1";
    if (!negativeOne && (text.empty() || text.size() > 10 ||
                         text.find_first_not_of("0123456789") != std::string::npos))
        return false;
    const long long value = negativeOne ? -1 : std::stoll(text);
    if (value > INT32_MAX)
        return false;
    levels = static_cast<int32_t>(value);
    return true;
}

bool MaskHoldsSeparator(const std::u16string& mask) {
    for (char16_t c : mask)
        if (c == u'/' || platform::IsPathSeparator(c))
            return true;
    return false;
}

}  // namespace host
