#include "values/DoubleFromText.h"

#include <charconv>
#include <cstdlib>
#include <string>

bool ParseWholeDouble(const char16_t* text, double& result) {
    std::string narrow;
    for (const char16_t* p = text; *p != 0; ++p) {
        if (*p > 0x7F)
            return false;  // wcstod would stop here
        narrow += static_cast<char>(*p);
    }
    const char* first = narrow.c_str();
    const char* last = first + narrow.size();
    while (first < last && (*first == ' ' || (*first >= '\t' && *first <= '\r')))
        ++first;
    bool negative = false;
    if (first < last && (*first == '+' || *first == '-'))
        negative = *first++ == '-';
    if (first == last || *first == '+' || *first == '-')
        return false;
    std::chars_format format = std::chars_format::general;
    if (last - first > 2 && first[0] == '0' && (first[1] == 'x' || first[1] == 'X')) {
        first += 2;
        format = std::chars_format::hex;
    }
    double value = 0;
    auto [end, error] = std::from_chars(first, last, value, format);
    if (end != last)
        return false;
    if (error == std::errc::result_out_of_range) {
        // wcstod gives HUGE_VAL or a denormal/zero; the text still converts.
        value = std::strtod(std::string(first, last).c_str(), nullptr);
    } else if (error != std::errc()) {
        return false;
    }
    result = negative ? -value : value;
    return true;
}
