// ConvertValue, GetConvertedSize and ConvertToNewBuffer with any pair of type
// codes, any flags, any destination size and any payload bytes. Payloads are
// exactly as large as their type says (texts NUL-terminated), and the
// destination exactly as large as the size given, so the sanitizer sees any
// read or write past either.
#include <cstdint>
#include <cstring>
#include <vector>

#include "runtime/HostMemory.h"
#include "values/ValueBuffer.h"
#include "values/ValueConversion.h"

namespace {

// A COM object whose reference count interface values may change.
struct FakeObject {
    const void* const* vtable;
    uint32_t references;
};
uint32_t AddRef(void* self) {
    return ++static_cast<FakeObject*>(self)->references;
}
uint32_t Release(void* self) {
    return --static_cast<FakeObject*>(self)->references;
}
const void* const kVtable[] = {nullptr, reinterpret_cast<const void*>(&AddRef),
                               reinterpret_cast<const void*>(&Release)};

bool IsValueType(DbValueType type) {
    return type <= int64uValue ? type != 12 : type == opaque64Value || type == interfaceValue;
}

DbValueType TypeFrom(uint8_t byte) {
    if (byte < 20)
        return byte;  // every value type below 19, 12 and 19 are not
    switch (byte % 8) {
        case 0:
            return opaque64Value;
        case 1:
            return interfaceValue;
        case 2:
            return unknownValue;
        case 3:
            return memoValue;
        case 4:
            return stringValue;
        default:
            return 20u + byte;  // not a type
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5)
        return 0;
    const DbValueType sourceType = TypeFrom(data[0]);
    const DbValueType destinationType = TypeFrom(data[1]);
    const uint32_t flags = data[2];
    const uint32_t destinationBytes = (uint32_t(data[3]) << 8 | data[4]) % 400;
    data += 5;
    size -= 5;

    const bool text = sourceType == stringValue || sourceType == memoValue;
    const bool narrow = text && (flags & kConvertNarrowSource) != 0;
    std::vector<uint8_t> source;
    if (narrow) {
        source.assign(data, data + size);
        source.push_back(0);
    } else if (text) {
        source.assign(data, data + (size & ~size_t{1}));
        source.push_back(0);
        source.push_back(0);
    } else {
        // Non-types get the largest payload; the converters must not read them.
        uint32_t bytes = FixedValueSize(sourceType);
        if (bytes == 0)
            bytes = 16;
        source.assign(bytes, 0);
        std::memcpy(source.data(), data, size < bytes ? size : bytes);
    }
    FakeObject object{kVtable, 1};
    if (sourceType == interfaceValue) {
        FakeObject* pointer = &object;
        std::memcpy(source.data(), &pointer, sizeof pointer);
    }
    if (sourceType == blobValue)
        std::memset(source.data(), 0, source.size());

    std::vector<uint8_t> destination(destinationBytes);
    ConvertValue(source.data(), sourceType, flags,
                 destination.empty() ? nullptr : destination.data(), destinationType,
                 destinationBytes);
    if (destinationType == interfaceValue && sourceType == interfaceValue && destinationBytes >= 8)
        object.references--;  // the copy's reference

    uint32_t needed = 0;
    GetConvertedSize(source.data(), sourceType, flags, destinationType, &needed, true);

    void* fresh = nullptr;
    if (ConvertToNewBuffer(source.data(), sourceType, flags, &fresh, destinationType) == 0 &&
        fresh != nullptr) {
        // A buffer of a code that is no type is a plain block: FreeValueBuffer
        // will not touch it.
        if (IsValueType(destinationType))
            FreeValueBuffer(fresh, destinationType);
        else
            FreeHostBlock(fresh);
    }
    return 0;
}
