// Reading and writing value payloads, which callers hand over at any
// alignment.
#pragma once

#include <cstring>

#include "vldb/dbdriver.h"

template <class T>
T LoadPayload(const void* buffer) {
    T value;
    std::memcpy(&value, buffer, sizeof value);
    return value;
}

template <class T>
void StorePayload(void* buffer, T value) {
    std::memcpy(buffer, &value, sizeof value);
}

// Memo payloads are texts like string payloads.
inline bool IsTextType(DbValueType type) {
    return type == stringValue || type == memoValue;
}
