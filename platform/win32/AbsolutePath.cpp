#include "platform/AbsolutePath.h"

#include <windows.h>

#include <vector>

#include "platform/TextEncoding.h"

namespace platform {
namespace {

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

}  // namespace

std::u16string AbsolutePath(std::u16string_view path) {
    const std::u16string input(path.empty() ? u"." : path);
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length =
        GetFullPathNameW(Wide(input), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = GetFullPathNameW(Wide(input), static_cast<DWORD>(buffer.size()), buffer.data(),
                                  nullptr);
    }
    if (length == 0 || length >= buffer.size())
        return input;
    std::u16string full(reinterpret_cast<const char16_t*>(buffer.data()), length);
    // Collapse doubled separators after a UNC path's leading pair.
    std::u16string normal = full.substr(0, 2);
    for (size_t i = 2; i < full.size(); ++i)
        if (!(IsSeparator(full[i]) && IsSeparator(normal.back())))
            normal += full[i] == u'/' ? u'\\' : full[i];
    // "C:\" keeps its separator; "C:\dir\" loses it.
    if (normal.size() > 3 && IsSeparator(normal.back()))
        normal.pop_back();
    return normal;
}

std::string DirectoryListingError(std::u16string_view path) {
    std::u16string pattern(path);
    if (pattern.empty() || !IsSeparator(pattern.back()))
        pattern += u'\\';
    pattern += u'*';
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(Wide(pattern), &data);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        return "";
    }
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    const DWORD size = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
        reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::u16string message(reinterpret_cast<const char16_t*>(text ? text : L""), size);
    LocalFree(text);
    while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' ||
                                message.back() == u' ' || message.back() == u'.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(code) : Utf16ToUtf8(message);
}

}  // namespace platform
