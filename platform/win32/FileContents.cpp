#include "platform/FileContents.h"

#include <windows.h>

namespace platform {

bool ReadFileBytes(std::u16string_view path, std::string& bytes, size_t maxBytes) {
    bytes.clear();
    if (path.empty())
        return false;
    std::wstring wide(path.begin(), path.end());
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok =
        GetFileSizeEx(file, &size) && static_cast<unsigned long long>(size.QuadPart) <= maxBytes;
    if (ok) {
        char chunk[16384];
        for (;;) {
            DWORD n = 0;
            if (!ReadFile(file, chunk, sizeof chunk, &n, nullptr)) {
                ok = false;
                break;
            }
            if (n == 0)
                break;
            if (bytes.size() + n > maxBytes) {
                ok = false;
                break;
            }
            bytes.append(chunk, n);
        }
    }
    CloseHandle(file);
    if (!ok)
        bytes.clear();
    return ok;
}

}  // namespace platform
