// Payload buffers of the value types: their sizes, copies and release
// (source unit dbdllcommon).
#pragma once

#include <cstdint>

#include "platform/GlobalMemory.h"
#include "vldb/dbdriver.h"

// True for the types whose payload has a fixed size (not text, not blob).
bool IsFixedSizeValue(DbValueType type);

// The payload bytes of a fixed-size type; 0 for text, blobs and non-types,
// without reporting anything.
uint32_t FixedPayloadBytes(DbValueType type);

// The payload bytes of a type (8 for blobValue); 0 for text and non-types.
uint32_t ValueBufferSize(DbValueType type);

// A new buffer holding a copy of the payload; null for a null buffer.
void* DuplicateValueBuffer(const void* buffer, DbValueType type);

// Copies a payload into a caller's buffer of `destinationBytes`.
void CopyValueBuffer(const void* source, void* destination, uint32_t destinationBytes,
                     DbValueType type);

// Releases a buffer and what it holds (a global block, an interface reference).
void FreeValueBuffer(void* buffer, DbValueType type);

// A copy of a global memory block; null for null, empty or unlockable blocks.
platform::GlobalHandle DuplicateGlobalBlock(platform::GlobalHandle handle);

// A NUL-terminated copy in a host block; null for null.
char16_t* DuplicateWideString(const char16_t* text);

// AddRef and Release through an object's IUnknown vtable (slots 1 and 2).
uint32_t AddRefInterface(void* object);
uint32_t ReleaseInterface(void* object);
