// The one allocator pair for every block handed to the engine. The free entry
// points give blocks back through FreeHostBlock.
#pragma once

#include <cstddef>

// Throws std::bad_alloc when nothing can be allocated.
void* AllocateHostBlock(size_t bytes);
void FreeHostBlock(void* block);

// A NUL-terminated copy of `text` in a host block; null for null.
char16_t* DuplicateHostText(const char16_t* text);
