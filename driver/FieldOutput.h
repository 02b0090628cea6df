// Handing one field value to the engine: texts by the text protocol,
// fixed-size values as they are, with the null flag.
#pragma once

#include <cstdint>
#include <cstring>

// Where and how big the engine's buffer is, and where the null flag goes.
struct FieldOutput {
    void** buffer;
    uint32_t size;
    uint16_t* nullFlag;
};

// Into the engine's buffer when the text fits, else into a new block that
// replaces the pointer. A null text is handed over as the empty text with
// the null flag set.
void WriteText(const FieldOutput& out, const char16_t* text);

template <class T>
void WriteFixed(const FieldOutput& out, T value, bool absent = false) {
    if (absent)
        *out.nullFlag = 1;
    if (out.buffer != nullptr && *out.buffer != nullptr)
        std::memcpy(*out.buffer, &value, sizeof value);
}

// A boolean is a 16-bit 0 or 1.
inline void WriteBoolean(const FieldOutput& out, bool value, bool absent = false) {
    WriteFixed(out, static_cast<uint16_t>(value ? 1 : 0), absent);
}
