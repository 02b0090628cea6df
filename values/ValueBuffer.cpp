#include "values/ValueBuffer.h"

#include <cstring>

#include "runtime/Diagnostics.h"
#include "runtime/HostMemory.h"
#include "runtime/StringFunctions.h"

namespace {

constexpr const char* kSourceUnit = "dbdllcommon";

// Moveable, zero-initialised and shareable: what the engine expects of a blob.
constexpr uint32_t kBlobFlags =
    platform::kGlobalMoveable | platform::kGlobalZeroInit | platform::kGlobalShare;

// The part of an IUnknown vtable the driver calls.
struct UnknownVtbl {
    void* queryInterface;
    uint32_t (*addRef)(void* object);
    uint32_t (*release)(void* object);
};

const UnknownVtbl* VtblOf(void* object) {
    return *static_cast<UnknownVtbl* const*>(object);
}

bool IsTextValue(DbValueType type) {
    return type == stringValue || type == memoValue;
}

}  // namespace

uint32_t FixedPayloadBytes(DbValueType type) {
    switch (type) {
        case int8sValue:
        case int8uValue:
            return 1;
        case int16sValue:
        case int16uValue:
        case booleanValue:
            return 2;
        case int32sValue:
        case int32uValue:
            return 4;
        case numberValue:
        case currencyValue:
        case int64sValue:
        case int64uValue:
        case opaque64Value:
        case interfaceValue:
            return 8;
        case dateValue:
        case timeValue:
        case dateTimeValue:
            return sizeof(DbDateTime);
        case decimalValue:
            return 16;
        default:
            return 0;
    }
}

bool IsFixedSizeValue(DbValueType type) {
    if (FixedPayloadBytes(type) != 0)
        return true;
    if (IsTextValue(type) || type == blobValue)
        return false;
    VL_ASSERT_UNREACHABLE("FALSE");
    return true;
}

uint32_t ValueBufferSize(DbValueType type) {
    if (type == blobValue)
        return sizeof(platform::GlobalHandle);
    uint32_t bytes = FixedPayloadBytes(type);
    if (bytes == 0)
        VL_ASSERT_UNREACHABLE("false");
    return bytes;
}

void* DuplicateValueBuffer(const void* buffer, DbValueType type) {
    if (buffer == nullptr)
        return nullptr;
    if (IsTextValue(type))
        return DuplicateWideString(static_cast<const char16_t*>(buffer));
    if (type == blobValue) {
        // The cell first: a block duplicated before a failed allocation would be lost.
        auto* cell =
            static_cast<platform::GlobalHandle*>(AllocateHostBlock(sizeof(platform::GlobalHandle)));
        *cell = DuplicateGlobalBlock(*static_cast<const platform::GlobalHandle*>(buffer));
        return cell;
    }
    if (type == interfaceValue) {
        auto* cell = static_cast<void**>(AllocateHostBlock(sizeof(void*)));
        *cell = *static_cast<void* const*>(buffer);
        if (*cell != nullptr)
            AddRefInterface(*cell);
        return cell;
    }
    uint32_t bytes = FixedPayloadBytes(type);
    if (bytes == 0) {
        VL_ASSERT_UNREACHABLE("false");
        return nullptr;
    }
    void* copy = AllocateHostBlock(bytes);
    std::memcpy(copy, buffer, bytes);
    return copy;
}

void CopyValueBuffer(const void* source, void* destination, uint32_t destinationBytes,
                     DbValueType type) {
    if (source == nullptr || destination == nullptr) {
        VL_ASSERT_UNREACHABLE("false");
        return;
    }
    if (IsTextValue(type)) {
        if (destinationBytes < 2)
            return;
        const auto* from = static_cast<const char16_t*>(source);
        auto* to = static_cast<char16_t*>(destination);
        size_t room = destinationBytes / 2 - 1;
        size_t units = 0;
        while (units < room && from[units] != u'\0') {
            to[units] = from[units];
            ++units;
        }
        to[units] = u'\0';
        return;
    }
    if (type == blobValue) {
        platform::GlobalHandle copy =
            DuplicateGlobalBlock(*static_cast<const platform::GlobalHandle*>(source));
        std::memcpy(destination, &copy, sizeof copy);
        return;
    }
    if (type == interfaceValue) {
        void* object = *static_cast<void* const*>(source);
        std::memcpy(destination, &object, sizeof object);
        if (object != nullptr)
            AddRefInterface(object);
        return;
    }
    uint32_t bytes = FixedPayloadBytes(type);
    if (bytes == 0) {
        VL_ASSERT_UNREACHABLE("false");
        return;
    }
    std::memmove(destination, source, bytes);
}

void FreeValueBuffer(void* buffer, DbValueType type) {
    if (buffer == nullptr)
        return;
    switch (type) {
        case blobValue:
            platform::GlobalFreeBlock(*static_cast<platform::GlobalHandle*>(buffer));
            break;
        case opaque64Value:
            // The engine owns whatever these bytes refer to.
            VL_ASSERT_UNREACHABLE("false");
            break;
        case interfaceValue:
            if (void* object = *static_cast<void**>(buffer))
                ReleaseInterface(object);
            break;
        default:
            if (FixedPayloadBytes(type) == 0 && !IsTextValue(type)) {
                // Unknown contents: better a leak than a wrong release.
                VL_ASSERT_UNREACHABLE("false");
                return;
            }
            break;
    }
    FreeHostBlock(buffer);
}

platform::GlobalHandle DuplicateGlobalBlock(platform::GlobalHandle handle) {
    if (handle == nullptr)
        return nullptr;
    void* from = platform::GlobalLockBlock(handle);
    if (from == nullptr)
        return nullptr;
    size_t bytes = platform::GlobalBlockSize(handle);
    platform::GlobalHandle copy = nullptr;
    if (bytes != 0)
        copy = platform::GlobalAllocate(kBlobFlags, bytes);
    if (copy != nullptr) {
        // A copy that cannot be locked stays as allocated: zero-filled.
        if (void* to = platform::GlobalLockBlock(copy)) {
            std::memcpy(to, from, bytes);
            platform::GlobalUnlockBlock(copy);
        }
    }
    platform::GlobalUnlockBlock(handle);
    return copy;
}

char16_t* DuplicateWideString(const char16_t* text) {
    return DuplicateHostText(text);
}

uint32_t AddRefInterface(void* object) {
    return VtblOf(object)->addRef(object);
}

uint32_t ReleaseInterface(void* object) {
    return VtblOf(object)->release(object);
}
