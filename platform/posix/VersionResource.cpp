#include "platform/VersionResource.h"

#include <string>

#include "formats/LittleEndian.h"
#include "formats/PeVersion.h"
#include "platform/posix/FileSource.h"
#include "platform/posix/UserLocale.h"

namespace platform {

namespace pe = formats::pe;

namespace {

// Finds the version resource once per opened file: the read that follows
// the size query does not walk the resource directories again.
bool Locate(ContentFile& file, pe::ResourceLocation& where) {
    ContentFile::Native* native = file.native();
    if (native == nullptr || !file.MayHoldVersion())
        return false;
    if (!native->version) {
        pe::ResourceLocation found;
        const auto language = static_cast<uint16_t>(UserDefaultLcid());
        if (!pe::FindVersionResource(*native->source, language, found))
            return false;
        native->version = found;
    }
    where = *native->version;
    return true;
}

uint16_t ReadWord(const void* at) {
    return formats::U16At(static_cast<const uint8_t*>(at));
}

}  // namespace

uint32_t FileVersionInfoSize(ContentFile& file, uint32_t* handle) {
    if (handle != nullptr)
        *handle = 0;
    pe::ResourceLocation where;
    if (!Locate(file, where) || where.size == 0 || where.size > (UINT32_MAX - 4) / 2)
        return 0;
    return where.size * 2 + 4;
}

bool ReadFileVersionInfo(ContentFile& file, uint32_t /*handle*/, uint32_t size, void* block) {
    pe::ResourceLocation where;
    if (block == nullptr || !Locate(file, where))
        return false;
    const uint32_t copied = where.size < size ? where.size : size;
    if (copied < 6 || !file.native()->source->ReadExact(where.offset, block, copied))
        return false;
    // Queries are bounded by the root's length: keep it inside what was copied.
    if (ReadWord(block) > copied) {
        auto* bytes = static_cast<uint8_t*>(block);
        bytes[0] = static_cast<uint8_t>(copied & 0xFF);
        bytes[1] = static_cast<uint8_t>(copied >> 8);
    }
    return true;
}

uint32_t FileVersionInfoSize(std::u16string_view path, uint32_t* handle) {
    ContentFile file(path);
    return FileVersionInfoSize(file, handle);
}

bool ReadFileVersionInfo(std::u16string_view path, uint32_t handle, uint32_t size, void* block) {
    ContentFile file(path);
    return ReadFileVersionInfo(file, handle, size, block);
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
