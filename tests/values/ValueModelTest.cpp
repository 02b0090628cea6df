// Payload buffers and value records: deep copies and release. Leaks and wrong
// releases show up under the address sanitizer; the counting allocator below
// also checks, on every build, that a failed copy keeps nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/GlobalMemory.h"
#include "runtime/HostMemory.h"
#include "values/ValueBuffer.h"
#include "values/ValueRecord.h"

// Host blocks come from operator new: counting here sees every one of them,
// and a countdown makes the n-th allocation fail.
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

// Not inlined: g++ would take the free() for a mismatch with new.
[[gnu::noinline]] void operator delete(void* block) noexcept {
    if (block != nullptr) {
        --liveBlocks;
        std::free(block);
    }
}

void operator delete(void* block, std::size_t) noexcept {
    ::operator delete(block);
}

namespace {

std::u16string Text(const void* text) {
    return text != nullptr ? std::u16string(static_cast<const char16_t*>(text)) : u"(null)";
}

DbValue* NewText(const char16_t* text) {
    DbValue* value = NewValue(stringValue);
    SetSingleValue(value, stringValue, DuplicateHostText(text), 0);
    return value;
}

DbValue* NewList(DbValueType type, std::vector<DbValue*> members) {
    auto* list = static_cast<DbValueList*>(AllocateHostBlock(sizeof(DbValueList)));
    *list = {16, static_cast<uint32_t>(members.size()), nullptr};
    if (!members.empty()) {
        list->items = static_cast<DbValue**>(AllocateHostBlock(members.size() * sizeof(DbValue*)));
        std::copy(members.begin(), members.end(), list->items);
    }
    DbValue* value = NewValue(type);
    value->kind = multipleKind;
    value->data = list;
    return value;
}

// A text payload is cut to the bytes given, always NUL-terminated, and an odd
// last byte is left alone.
TEST(ValueBuffers, TextCopyFitsTheDestination) {
    for (uint32_t bytes : {0u, 1u, 2u, 3u, 7u, 8u, 14u, 40u}) {
        SCOPED_TRACE(bytes);
        char16_t destination[24];
        std::fill_n(destination, 24, u'#');
        CopyValueBuffer(u"abcdef", destination, bytes, memoValue);
        const size_t units = bytes < 2 ? 0 : std::min<size_t>(bytes / 2, 7);
        EXPECT_EQ(std::u16string(destination, units),
                  units == 0 ? u"" : std::u16string(u"abcdef", units - 1) + u'\0');
        EXPECT_EQ(destination[units], u'#');
    }
}

struct FakeVtbl {
    void* queryInterface;
    uint32_t (*addRef)(void*);
    uint32_t (*release)(void*);
};
struct FakeObject {
    const FakeVtbl* vtbl;
    uint32_t references;
};
uint32_t FakeAddRef(void* self) {
    return ++static_cast<FakeObject*>(self)->references;
}
uint32_t FakeRelease(void* self) {
    return --static_cast<FakeObject*>(self)->references;
}
const FakeVtbl kFakeVtbl = {nullptr, FakeAddRef, FakeRelease};

// A list holding a compound record (with a heap text and nested values), a
// field description, a range, a blob and an interface: every block nested.
void BuildRichSource(DbValue* source, FakeObject* object) {
    auto* record = static_cast<DbCompoundRecord*>(AllocateHostBlock(sizeof(DbCompoundRecord)));
    InitCompoundRecord(record);
    record->firstText = DuplicateHostText(u"first");
    record->firstValue = NewText(u"nested");
    record->secondValue = NewList(int32sValue, {NewText(u"two"), nullptr});
    const std::u16string wide = u"a text long enough for the heap";
    record->wideString.length = wide.size();
    record->wideString.capacity = wide.size() + 10;
    record->wideString.storage.heapText =
        static_cast<char16_t*>(AllocateHostBlock((wide.size() + 11) * sizeof(char16_t)));
    std::memcpy(record->wideString.storage.heapText, wide.c_str(), (wide.size() + 1) * 2);
    DbValue* compound = NewValue(int32uValue);
    compound->kind = compoundKind;
    compound->data = record;

    auto* field = static_cast<FieldDescription*>(AllocateHostBlock(sizeof(FieldDescription)));
    InitFieldDescription(field);
    field->name = DuplicateHostText(u"Name");
    field->text32 = DuplicateHostText(u"ThirtyTwo");
    DbValue* fieldValue = NewValue(stringValue);
    fieldValue->kind = fieldKind;
    fieldValue->data = field;

    auto* range = static_cast<DbRangeValue*>(AllocateHostBlock(sizeof(DbRangeValue)));
    DbValue* low = NewText(u"low");
    MakeRange(range, stringValue, low, 1, nullptr, 2);
    DeleteValue(low);
    DbValue* ranged = NewValue(stringValue);
    ranged->kind = rangeKind;
    ranged->data = range;

    auto* blob =
        static_cast<platform::GlobalHandle*>(AllocateHostBlock(sizeof(platform::GlobalHandle)));
    *blob = platform::GlobalAllocate(0x2042, 3);
    std::memcpy(platform::GlobalLockBlock(*blob), "\1\2\3", 3);
    platform::GlobalUnlockBlock(*blob);
    DbValue* blobValueRecord = NewValue(blobValue);
    SetSingleValue(blobValueRecord, blobValue, blob, 0);
    auto* cell = static_cast<void**>(AllocateHostBlock(sizeof(void*)));
    *cell = object;
    DbValue* interface = NewValue(interfaceValue);
    SetSingleValue(interface, interfaceValue, cell, 0);

    DbValue* list = NewList(
        stringValue, {NewText(u"head"), compound, fieldValue, ranged, blobValueRecord, interface});
    *source = *list;
    list->kind = emptyKind;
    list->data = nullptr;
    DeleteValue(list);
}

TEST(ValueRecords, DeepCopyOfEveryKind) {
    FakeObject object{&kFakeVtbl, 1};  // the source's reference
    DbValue source;
    BuildRichSource(&source, &object);
    DbValue copy;
    CopyValue(&copy, &source);
    ASSERT_EQ(copy.kind, multipleKind);
    auto* list = static_cast<DbValueList*>(copy.data);
    auto* original = static_cast<DbValueList*>(source.data);
    ASSERT_EQ(list->count, 6u);
    EXPECT_NE(list->items[0]->data, original->items[0]->data);
    EXPECT_EQ(Text(list->items[0]->data), u"head");
    auto* record = static_cast<DbCompoundRecord*>(list->items[1]->data);
    auto* recordSource = static_cast<DbCompoundRecord*>(original->items[1]->data);
    EXPECT_NE(record->wideString.storage.heapText, recordSource->wideString.storage.heapText);
    EXPECT_EQ(std::u16string(record->wideString.storage.heapText, record->wideString.length),
              u"a text long enough for the heap");
    EXPECT_EQ(Text(record->firstValue->data), u"nested");
    auto* nested = static_cast<DbValueList*>(record->secondValue->data);
    ASSERT_EQ(nested->count, 2u);
    EXPECT_EQ(nested->items[1]->kind, emptyKind);  // a null member becomes an empty one
    EXPECT_EQ(Text(static_cast<FieldDescription*>(list->items[2]->data)->text32), u"ThirtyTwo");
    auto* range = static_cast<DbRangeValue*>(list->items[3]->data);
    EXPECT_EQ(Text(range->start->data), u"low");
    EXPECT_EQ(range->end->kind, emptyKind);  // a missing bound: empty, of the range's type
    EXPECT_EQ(range->end->valueType, stringValue);
    auto* blob = static_cast<platform::GlobalHandle*>(list->items[4]->data);
    EXPECT_NE(*blob, *static_cast<platform::GlobalHandle*>(original->items[4]->data));
    ASSERT_EQ(platform::GlobalBlockSize(*blob), 3u);
    EXPECT_EQ(std::memcmp(platform::GlobalLockBlock(*blob), "\1\2\3", 3), 0);
    platform::GlobalUnlockBlock(*blob);
    EXPECT_EQ(object.references, 2u);  // the copy holds one of its own
    ClearValue(&copy);
    EXPECT_EQ(object.references, 1u);
    EXPECT_EQ(Text(recordSource->firstText), u"first");

    // Each allocation of the copy, failing, leaves nothing behind.
    int failures = 0;
    for (long failAt = 0;; ++failAt) {
        InitValue(&copy, unknownValue);
        const long before = liveBlocks;
        bool failed = false;
        allocationsBeforeFailure = failAt;
        try {
            AssignValue(&copy, &source);
        } catch (const std::bad_alloc&) {
            failed = true;
        }
        allocationsBeforeFailure = -1;
        const long kept = liveBlocks - before;  // before any check: gtest allocates too
        ClearValue(&copy);
        if (!failed) {
            EXPECT_EQ(liveBlocks, before);
            break;
        }
        ++failures;
        EXPECT_EQ(kept, 0) << "allocation " << failAt;
        EXPECT_EQ(copy.valueType, stringValue);
        ASSERT_LT(failAt, 1000);
    }
    EXPECT_GT(failures, 20);
    EXPECT_EQ(object.references, 1u);
    ClearValue(&source);
    EXPECT_EQ(object.references, 0u);
}

// A record copies only the members its own size covers (a compound record
// is 24 bytes longer where a field description has its limits).
TEST(ValueRecords, CopiesFollowTheSourceSize) {
    for (uint32_t size : {39u, 40u, 71u, 72u}) {
        SCOPED_TRACE(size);
        DbValue* field = NewValue(stringValue);
        field->kind = fieldKind;
        field->data = AllocateHostBlock(sizeof(FieldDescription));
        InitFieldDescription(static_cast<FieldDescription*>(field->data));
        static_cast<FieldDescription*>(field->data)->text32 = DuplicateHostText(u"x");
        static_cast<FieldDescription*>(field->data)->word68 = 69;
        static_cast<FieldDescription*>(field->data)->structSize = size;
        DbValue* compound = NewValue(stringValue);
        compound->kind = compoundKind;
        compound->data = AllocateHostBlock(sizeof(DbCompoundRecord));
        InitCompoundRecord(static_cast<DbCompoundRecord*>(compound->data));
        static_cast<DbCompoundRecord*>(compound->data)->optionalWords[0] = 100;
        static_cast<DbCompoundRecord*>(compound->data)->structSize = size + 24;

        DbValue copy;
        CopyValue(&copy, field);
        EXPECT_EQ(static_cast<FieldDescription*>(copy.data)->text32 != nullptr, size >= 40);
        EXPECT_EQ(static_cast<FieldDescription*>(copy.data)->word68, size >= 72 ? 69u : 0u);
        AssignValue(&copy, compound);
        EXPECT_EQ(static_cast<DbCompoundRecord*>(copy.data)->optionalWords[0],
                  size >= 40 ? 100 : 0);
        EXPECT_NE(static_cast<DbCompoundRecord*>(copy.data)->secondValue, nullptr);  // always made
        ClearValue(&copy);
        DeleteValue(field);
        DeleteValue(compound);
    }
}

// An unknown kind leaves the value empty with the source's type; an empty
// source passes on its type, a null one keeps the type.
TEST(ValueRecords, AssignUnknownEmptyAndNull) {
    int32_t payload = 5;
    DbValue source;
    InitValue(&source, int16uValue);
    source.kind = 7;
    source.data = &payload;
    DbValue value;
    InitValue(&value, unknownValue);
    SetSingleValue(&value, stringValue, DuplicateHostText(u"released"), 0);
    EXPECT_EQ(AssignValue(&value, &source), static_cast<DbStatus>(Status_NotSupported));
    EXPECT_EQ(value.kind, emptyKind);
    EXPECT_EQ(value.valueType, int16uValue);
    EXPECT_EQ(value.data, nullptr);
    SetSingleValue(&value, memoValue, const_cast<char16_t*>(u"copied"), 1);
    InitValue(&source, dateTimeValue);
    EXPECT_EQ(AssignValue(&value, &source), 0u);
    EXPECT_EQ(value.kind, emptyKind);
    EXPECT_EQ(value.valueType, dateTimeValue);
    EXPECT_EQ(AssignValue(&value, nullptr), 0u);
    EXPECT_EQ(value.valueType, dateTimeValue);
}

}  // namespace
