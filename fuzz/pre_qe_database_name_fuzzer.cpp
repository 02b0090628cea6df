// The one-text logon form on arbitrary text: the parse must not crash or
// read out of bounds, and what it accepts must be what the form allows.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "logon/PreQEDatabaseName.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool IsTrimmed(const SWCharString& text) {
    SWCharString copy = text;
    copy.trimLeft();
    copy.trimRight();
    return copy == text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The bytes are UTF-16 units, little-endian; an odd last byte is dropped.
    std::u16string units(size / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    // The driver's texts end at the first NUL.
    const SWCharString text(units.c_str());

    SWCharString directory = u"unset", mask = u"unset";
    int32_t levels = 12345;
    const bool parsed = ParsePreQEDatabaseName(text, directory, mask, levels);
    if (!parsed) {
        Check(directory == SWCharString(u"unset") && mask == SWCharString(u"unset"));
        Check(levels == 12345);
        return 0;
    }
    Check(text.getAt(0) == u'<' && text.getAt(text.length() - 1) == u'>');
    Check(!directory.isEmpty() && IsTrimmed(directory) && IsTrimmed(mask));
    Check(mask.findFirst(u'|') ? false : true);
    // The fields come from the text in order.
    const std::u16string& whole = text.str();
    const size_t at = whole.find(directory.str());
    Check(at != std::u16string::npos);
    Check(whole.find(mask.str(), at + directory.length()) != std::u16string::npos);

    // Splitting is consistent with itself.
    SWCharString left, right;
    const bool found = SplitAtChar(text, u'|', left, right, true);
    Check(found == static_cast<bool>(text.findFirst(u'|')));
    Check(found ? left.length() + right.length() + 1 == text.length()
                : left == text && right.isEmpty());
    (void)LeadingDecimalNumber(text);
    return 0;
}
