// Texts as a terminal shows them: control characters and stray bytes made
// visible, widths in terminal columns, sizes for people.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fsdata {

// UTF-8 with every control character and every byte that was not UTF-8 in
// the name (a lone surrogate U+DC80..U+DCFF) written as an escape: \n, \r,
// \t, \e, \xNN.
std::string VisibleText(std::u16string_view text);

// Terminal columns of a UTF-8 text: 2 for wide East Asian characters and
// emoji, 0 for combining marks, 1 otherwise.
size_t DisplayWidth(std::string_view utf8);

// The longest start of `utf8` that fits in `width` columns with an ellipsis
// after it; `utf8` itself when it fits whole.
std::string FitToWidth(const std::string& utf8, size_t width);

// A size as `ls -h` shows it: bytes below 1024, else one decimal below 10
// and whole numbers above, rounded up, with K, M or G.
std::string HumanSize(uint32_t bytes);

}  // namespace fsdata
