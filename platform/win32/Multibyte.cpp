#include "platform/Multibyte.h"

#include <windows.h>

#include <climits>

namespace platform {

std::u16string AnsiToUtf16(std::string_view narrow) {
    if (narrow.empty() || narrow.size() > static_cast<size_t>(INT_MAX)) {
        return {};
    }
    const int inputLength = static_cast<int>(narrow.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, narrow.data(), inputLength, nullptr, 0);
    if (needed <= 0) {
        return {};
    }
    std::u16string out(static_cast<size_t>(needed), u'\0');
    const int written = MultiByteToWideChar(CP_ACP, 0, narrow.data(), inputLength,
                                            reinterpret_cast<wchar_t*>(out.data()), needed);
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return out;
}

}  // namespace platform
