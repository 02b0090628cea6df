#include "tools/fsdata/DisplayText.h"

#include <algorithm>
#include <cstdio>

#include "platform/TextEncoding.h"

namespace fsdata {
namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// Wide (W) and fullwidth (F) blocks of East Asian Width, and the emoji blocks
// terminals draw two columns wide.
constexpr Range kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F5},   {0x26FA, 0x26FD},
    {0x2705, 0x2705},   {0x270A, 0x270B},   {0x2728, 0x2728},   {0x274C, 0x274C},
    {0x2753, 0x2755},   {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},
    {0x27BF, 0x27BF},   {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},
    {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF},   {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},
    {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},
    {0x16FE0, 0x16FE4}, {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004},
    {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251},
    {0x1F300, 0x1F64F}, {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF},
    {0x1FA70, 0x1FAFF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

// Combining marks, zero-width spaces and joiners, variation selectors.
constexpr Range kZeroWidth[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x0610, 0x061A},   {0x064B, 0x065F},
    {0x0E31, 0x0E31}, {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E}, {0x1AB0, 0x1AFF},   {0x1DC0, 0x1DFF},
    {0x200B, 0x200F}, {0x2060, 0x2064}, {0x20D0, 0x20FF}, {0x302A, 0x302F},   {0x3099, 0x309A},
    {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF}, {0x1F3FB, 0x1F3FF}, {0xE0100, 0xE01EF},
};

template <size_t N>
bool InRanges(const Range (&ranges)[N], char32_t c) {
    const Range* found = std::upper_bound(
        ranges, ranges + N, c, [](char32_t value, const Range& r) { return value < r.first; });
    return found != ranges && c <= (found - 1)->last;
}

size_t Width(char32_t c) {
    if (InRanges(kZeroWidth, c))
        return 0;
    return InRanges(kWide, c) ? 2 : 1;
}

// The code point at `pos` (advancing `pos`); a stray byte counts as one.
char32_t NextCodePoint(std::string_view utf8, size_t& pos) {
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    const size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (pos + length > utf8.size()) {
        ++pos;
        return 0xFFFD;
    }
    const std::u16string unit = platform::Utf8ToUtf16(utf8.substr(pos, length));
    pos += length;
    if (unit.size() == 2)
        return 0x10000 + ((unit[0] - 0xD800) << 10) + (unit[1] - 0xDC00);
    return unit.empty() ? 0xFFFD : unit[0];
}

}  // namespace

std::string VisibleText(std::u16string_view text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) {
            shown += platform::Utf16ToUtf8(text.substr(i++, 2));
            continue;
        }
        const char* named = c == u'\n'   ? "\\n"
                            : c == u'\r' ? "\\r"
                            : c == u'\t' ? "\\t"
                            : c == 0x1B  ? "\\e"
                                         : nullptr;
        char escape[8];
        if (named != nullptr) {
            shown += named;
        } else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
            shown += escape;
        } else if (c >= 0xDC80 && c <= 0xDCFF) {
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c - 0xDC00));
            shown += escape;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            shown += "\xEF\xBF\xBD";  // U+FFFD for any other lone surrogate
        } else {
            platform::AppendUtf8(shown, c);
        }
    }
    return shown;
}

size_t DisplayWidth(std::string_view utf8) {
    size_t width = 0;
    for (size_t pos = 0; pos < utf8.size();)
        width += Width(NextCodePoint(utf8, pos));
    return width;
}

std::string FitToWidth(const std::string& utf8, size_t width) {
    if (DisplayWidth(utf8) <= width)
        return utf8;
    size_t used = 0, pos = 0, end = 0;
    while (pos < utf8.size()) {
        const size_t w = Width(NextCodePoint(utf8, pos));
        if (used + w + 1 > width)
            break;
        used += w;
        end = pos;
    }
    return utf8.substr(0, end) + "\xE2\x80\xA6";  // U+2026
}

std::string HumanSize(uint32_t bytes) {
    if (bytes < 1024)
        return std::to_string(bytes);
    static const char kUnits[] = "KMG";
    uint64_t scaled10 = 0;  // tenths of a unit, rounded up
    size_t unit = 0;
    for (uint64_t divisor = 1024;; divisor *= 1024, ++unit) {
        scaled10 = (uint64_t{bytes} * 10 + divisor - 1) / divisor;
        if (scaled10 < 10240 || unit == 2)
            break;
    }
    char text[16];
    if (scaled10 < 100)
        std::snprintf(text, sizeof text, "%u.%u%c", unsigned(scaled10 / 10),
                      unsigned(scaled10 % 10), kUnits[unit]);
    else
        std::snprintf(text, sizeof text, "%u%c", unsigned((scaled10 + 9) / 10), kUnits[unit]);
    return text;
}

}  // namespace fsdata
