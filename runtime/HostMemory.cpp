#include "runtime/HostMemory.h"

#include <cstring>
#include <new>

#include "runtime/StringFunctions.h"

void* AllocateHostBlock(size_t bytes) {
    // operator new retries through the new-handler and throws std::bad_alloc.
    return ::operator new(bytes == 0 ? 1 : bytes);
}

void FreeHostBlock(void* block) {
    ::operator delete(block);
}

char16_t* DuplicateHostText(const char16_t* text) {
    if (text == nullptr)
        return nullptr;
    size_t units = TextLength(text) + 1;
    auto* copy = static_cast<char16_t*>(AllocateHostBlock(units * sizeof(char16_t)));
    std::memcpy(copy, text, units * sizeof(char16_t));
    return copy;
}
