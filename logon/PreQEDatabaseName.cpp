#include "logon/PreQEDatabaseName.h"

#include <limits>

#include "runtime/Diagnostics.h"

namespace {

constexpr const char* kSourceUnit = "fslogon";

bool IsBlank(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

SWCharString Trimmed(SWCharString text) {
    text.trimLeft();
    text.trimRight();
    return text;
}

}  // namespace

bool SplitAtChar(const SWCharString& text, char16_t separator, SWCharString& left,
                 SWCharString& right, bool first) {
    SWCharString::iterator at = first ? text.findFirst(separator) : text.findLast(separator);
    if (!at) {
        left = text;
        right = SWCharString();
        return false;
    }
    // `left` or `right` may be `text` itself.
    SWCharString before = text.left(at);
    SWCharString after = text.right(at);
    left = before;
    right = after;
    return true;
}

int32_t LeadingDecimalNumber(const SWCharString& text) {
    const std::u16string_view units = text.view();
    size_t i = 0;
    while (i < units.size() && IsBlank(units[i]))
        ++i;
    bool negative = false;
    if (i < units.size() && (units[i] == u'+' || units[i] == u'-'))
        negative = units[i++] == u'-';
    // Magnitudes are gathered up to one past the largest that fits.
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; i < units.size() && units[i] >= u'0' && units[i] <= u'9'; ++i) {
        magnitude = magnitude * 10 + (units[i] - u'0');
        if (magnitude > kLimit)
            magnitude = kLimit;
    }
    if (negative)
        return static_cast<int32_t>(-magnitude);
    return static_cast<int32_t>(magnitude == kLimit ? kLimit - 1 : magnitude);
}

bool ParsePreQEDatabaseName(const SWCharString& text, SWCharString& directory, SWCharString& mask,
                            int32_t& levels) {
    if (text.isEmpty())
        return false;
    if (text.getAt(0) != u'<' || text.getAt(text.length() - 1) != u'>') {
        VL_ASSERT_UNREACHABLE("false");
        return false;
    }
    SWCharString inner = Trimmed(text.mid(1, text.length() - 2));

    SWCharString rest, levelText;
    if (!SplitAtChar(inner, u'|', rest, levelText, false))
        return false;
    rest = Trimmed(rest);
    levelText = Trimmed(levelText);
    if (levelText.isEmpty())
        return false;
    const int32_t levelCount = LeadingDecimalNumber(levelText);

    SWCharString directoryText, maskText;
    if (!SplitAtChar(rest, u'|', directoryText, maskText, false))
        return false;
    directoryText = Trimmed(directoryText);
    maskText = Trimmed(maskText);
    if (directoryText.isEmpty())
        return false;
    directory = directoryText;
    mask = maskText;
    levels = levelCount;
    return true;
}
