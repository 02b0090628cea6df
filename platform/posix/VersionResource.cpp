#include "platform/VersionResource.h"

#include <sys/stat.h>

#include <string>

#include "formats/LittleEndian.h"
#include "formats/PeVersion.h"
#include "platform/TextEncoding.h"
#include "platform/posix/FileSource.h"
#include "platform/posix/UserLocale.h"

namespace platform {

namespace pe = formats::pe;

namespace {

// The resource found by the last size query of this thread: the read that
// follows it finds the same file without walking its directories again.
struct LastLocation {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    struct timespec modified {};
    uint16_t language = 0;
    pe::ResourceLocation where;
};
thread_local LastLocation lastLocation;

bool SameFile(const LastLocation& last, const struct stat& info, uint16_t language) {
    return last.size == info.st_size && last.device == info.st_dev && last.inode == info.st_ino &&
           last.modified.tv_sec == info.st_mtim.tv_sec &&
           last.modified.tv_nsec == info.st_mtim.tv_nsec && last.language == language;
}

bool Locate(const FileSource& file, pe::ResourceLocation& where) {
    if (!file.isOpen())
        return false;
    const uint16_t language = static_cast<uint16_t>(UserDefaultLcid());
    if (SameFile(lastLocation, file.info(), language)) {
        where = lastLocation.where;
        return true;
    }
    if (!pe::FindVersionResource(file, language, where))
        return false;
    const struct stat& info = file.info();
    lastLocation = {info.st_dev, info.st_ino, info.st_size, info.st_mtim, language, where};
    return true;
}

uint16_t ReadWord(const void* at) {
    return formats::U16At(static_cast<const uint8_t*>(at));
}

}  // namespace

uint32_t FileVersionInfoSize(std::u16string_view path, uint32_t* handle) {
    if (handle != nullptr)
        *handle = 0;
    FileSource file(Utf16ToUtf8(path));
    pe::ResourceLocation where;
    if (!Locate(file, where) || where.size == 0 || where.size > (UINT32_MAX - 4) / 2)
        return 0;
    return where.size * 2 + 4;
}

bool ReadFileVersionInfo(std::u16string_view path, uint32_t /*handle*/, uint32_t size,
                         void* block) {
    FileSource file(Utf16ToUtf8(path));
    pe::ResourceLocation where;
    if (block == nullptr || !Locate(file, where))
        return false;
    const uint32_t copied = where.size < size ? where.size : size;
    if (copied < 6 || !file.ReadExact(where.offset, block, copied))
        return false;
    // Queries are bounded by the root's length: keep it inside what was copied.
    if (ReadWord(block) > copied) {
        auto* bytes = static_cast<uint8_t*>(block);
        bytes[0] = static_cast<uint8_t>(copied & 0xFF);
        bytes[1] = static_cast<uint8_t>(copied >> 8);
    }
    return true;
}

bool QueryVersionValue(const void* block, const char16_t* subBlock, const void** value,
                       uint32_t* length) {
    if (block == nullptr || subBlock == nullptr || value == nullptr || length == nullptr)
        return false;
    size_t offset = 0;
    uint32_t found = 0;
    if (!pe::QueryVersionBlock(static_cast<const uint8_t*>(block), ReadWord(block), subBlock,
                               offset, found))
        return false;
    *value = static_cast<const uint8_t*>(block) + offset;
    *length = found;
    return true;
}

}  // namespace platform
