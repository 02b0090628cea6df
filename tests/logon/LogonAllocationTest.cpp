// Allocation failures at every step of building, copying and merging logon
// collections: whatever fails, nothing that was allocated stays behind.
// Host blocks come from operator new, so counting here sees all of them, and
// a countdown makes the n-th allocation fail.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>

#include "logon/LogonDescription.h"
#include "logon/LogonInfo.h"
#include "logon/PropertyCollection.h"
#include "logon/PropertyHints.h"
#include "logon/PropertyRequests.h"
#include "tests/logon/EngineCollection.h"
#include "tests/support/ScopedResources.h"

namespace {
long liveBlocks = 0;
long allocationsBeforeFailure = -1;  // -1: never fail
}  // namespace

void* operator new(std::size_t bytes) {
    if (allocationsBeforeFailure == 0)
        throw std::bad_alloc();
    if (allocationsBeforeFailure > 0)
        --allocationsBeforeFailure;
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr)
        throw std::bad_alloc();
    ++liveBlocks;
    return block;
}

void operator delete(void* block) noexcept {
    if (block == nullptr)
        return;
    --liveBlocks;
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

using namespace testing_support;

namespace {

// Runs `operation` with the n-th allocation failing, for every n until it
// succeeds whole; `release` gives back what a successful run made.
void FailEachAllocationInTurn(const std::function<void()>& operation,
                              const std::function<void()>& release) {
    operation();  // once whole, so that lazily loaded texts are in place
    release();
    for (long n = 0;; ++n) {
        const long before = liveBlocks;
        allocationsBeforeFailure = n;
        bool failed = false;
        try {
            operation();
        } catch (const std::bad_alloc&) {
            failed = true;
        }
        allocationsBeforeFailure = -1;
        if (!failed) {
            release();
            EXPECT_EQ(liveBlocks, before) << "after a whole run";
            EXPECT_GT(n, 10) << "the operation allocates";
            return;
        }
        ASSERT_EQ(liveBlocks, before) << "allocation " << n << " failed";
    }
}

class LogonAllocationTest : public ::testing::Test {
protected:
    ScopedResources resources_;
};

TEST_F(LogonAllocationTest, BuildingDescriptions) {
    DbPropertyCollection* collection = nullptr;
    FailEachAllocationInTurn(
        [&] {
            CollectionPtr made(NewCollection());
            BuildLogonDescription(made.get(), u"de", u"/data", u"*.txt", 3, true, true);
            BuildLogonDescription(made.get(), u"", u"/data", u"", -1, false, false);
            collection = made.release();
        },
        [&] { DeleteCollection(collection); });
}

TEST_F(LogonAllocationTest, CopyingAndMergingTrees) {
    CollectionPtr description(NewCollection());
    BuildLogonDescription(description.get(), u"", u"/data", u"*.txt", 3, true, true);
    EngineCollection engine;
    engine.AddNull();
    engine.AddString(u"File Mask", u"Mask", u"*.doc");

    DbPropertyCollection* copy = nullptr;
    DbPropertyCollection* flat = nullptr;
    FailEachAllocationInTurn(
        [&] {
            CollectionPtr copied(CopyCollection(description.get()));
            CollectionPtr merged(NewCollection());
            MergeTabProperties(copied.get(), merged.get(), kHintTabProperties);
            MergeTabProperties(copied.get(), merged.get(), kHintTabProperties);
            AddAllProperties(merged.get(), engine.get());
            CollectionPtr engineCopy(CopyCollection(engine.get()));
            AddAllProperties(merged.get(), engineCopy.get());
            copy = copied.release();
            flat = merged.release();
        },
        [&] {
            DeleteCollection(copy);
            DeleteCollection(flat);
        });
}

TEST_F(LogonAllocationTest, AnsweringRequestsAndMakingLogonBlocks) {
    CollectionPtr description(NewCollection());
    BuildLogonDescription(description.get(), u"", u"", u"*.*", -1, false, true);
    DbPropertyCollection* files = nullptr;
    DbPropertyCollection* levels = nullptr;
    DbLogonInfo* info = nullptr;
    ErrorInfo* error = nullptr;
    FailEachAllocationInTurn(
        [&] {
            DbPropertyCollection* answer = nullptr;
            ASSERT_EQ(HandleFileMaskRequest(description.get(), &answer), Status_Success);
            CollectionPtr first(answer);
            ASSERT_EQ(HandleLevelRequest(description.get(), &answer), Status_Success);
            CollectionPtr second(answer);
            LogonInfoPtr made(NewLogonInfo());
            BuildLogonDescription(made->properties, u"", u"/d", u"*", 0, false, false);
            error = NewLogonErrorInfo(u"de");
            files = first.release();
            levels = second.release();
            info = made.release();
        },
        [&] {
            DeleteCollection(files);
            DeleteCollection(levels);
            DeleteLogonInfo(info);
            ::operator delete(error->message);
            ::operator delete(error);
        });
}

}  // namespace
