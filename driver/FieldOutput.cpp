#include "driver/FieldOutput.h"

#include "runtime/HostMemory.h"
#include "runtime/StringFunctions.h"

void WriteText(const FieldOutput& out, const char16_t* text) {
    if (text == nullptr) {
        *out.nullFlag = 1;
        text = u"";
    }
    const size_t units = TextLength(text) + 1;
    const size_t required = units * sizeof(char16_t);
    if (required <= out.size) {
        if (out.buffer != nullptr && *out.buffer != nullptr)
            std::memcpy(*out.buffer, text, required);
        return;
    }
    if (out.buffer == nullptr)
        return;
    void* block = AllocateHostBlock(required);
    std::memcpy(block, text, required);
    *out.buffer = block;
}
