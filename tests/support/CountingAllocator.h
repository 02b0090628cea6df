// In a test program built with CountingAllocator.cpp, operator new and delete
// are counted and the n-th allocation can be made to fail: a check that an
// operation failing part-way keeps nothing.
#pragma once

#include <gtest/gtest.h>

#include <new>

namespace testing_support {

long LiveBlocks();
// Allocation `count` from now (0: the next one) throws std::bad_alloc; -1
// lets every allocation succeed.
void FailAllocationAfter(long count);

// Runs `operation` with its first allocation failing, then its second, and
// so on until a run completes; `settle` follows each run (to clear what it
// made). A failed run must keep nothing, a whole one nothing once settled.
// Returns the number of failed runs.
template <class Operation, class Settle>
long SweepAllocationFailures(Operation operation, Settle settle) {
    for (long n = 0;; ++n) {
        const long before = LiveBlocks();
        FailAllocationAfter(n);
        bool failed = false;
        try {
            operation();
        } catch (const std::bad_alloc&) {
            failed = true;
        }
        FailAllocationAfter(-1);
        const long keptByFailure = LiveBlocks() - before;  // before any check allocates
        settle();
        EXPECT_EQ(failed ? keptByFailure : LiveBlocks() - before, 0)
            << "allocation " << n << (failed ? " failed" : ": a whole run");
        if (!failed)
            return n;
    }
}

}  // namespace testing_support
