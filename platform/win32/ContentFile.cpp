#include "platform/ContentFile.h"

#include <windows.h>

namespace platform {

struct ContentFile::Native {};

ContentFile::ContentFile(std::u16string_view path) : path_(path) {
    if (path.empty())
        return;
    const std::wstring wide(path.begin(), path.end());
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD got = 0;
    if (ReadFile(file, head_, sizeof head_, &got, nullptr))
        headBytes_ = got;
    CloseHandle(file);
}

ContentFile::~ContentFile() = default;

}  // namespace platform
