#include "tests/support/CountingAllocator.h"

#include <cstdlib>

namespace {
long liveBlocks = 0;
long allocationsBeforeFailure = -1;
}  // namespace

namespace testing_support {

long LiveBlocks() {
    return liveBlocks;
}

void FailAllocationAfter(long count) {
    allocationsBeforeFailure = count;
}

}  // namespace testing_support

void* operator new(std::size_t bytes) {
    void* block = allocationsBeforeFailure-- == 0 ? nullptr : std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr)
        throw std::bad_alloc();
    ++liveBlocks;
    return block;
}

// The standard library's own temporary buffers (std::stable_sort) ask this way.
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    return ++liveBlocks, std::malloc(bytes == 0 ? 1 : bytes);
}

void operator delete(void* block) noexcept {
    liveBlocks -= block != nullptr;
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    ::operator delete(block);
}
