// Payload buffers and value records: sizes, deep copies and release. Leaks
// and wrong releases show up under the address sanitizer; the counting
// allocator below also checks, on every build, that a failed copy keeps
// nothing it allocated.
#include <gtest/gtest.h>

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

void operator delete(void* block) noexcept {
    if (block == nullptr)
        return;
    --liveBlocks;
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    ::operator delete(block);
}

namespace {

// ---- helpers ---------------------------------------------------------------

void* HostBytes(const void* bytes, size_t count) {
    void* block = AllocateHostBlock(count);
    std::memcpy(block, bytes, count);
    return block;
}

char16_t* HostText(const char16_t* text) {
    return DuplicateHostText(text);
}

std::u16string Text(const void* text) {
    return text != nullptr ? std::u16string(static_cast<const char16_t*>(text)) : u"(null)";
}

DbValue* NewText(const char16_t* text) {
    DbValue* value = NewValue(stringValue);
    SetSingleValue(value, stringValue, HostText(text), 0);
    return value;
}

DbValue* NewInt32(int32_t number) {
    DbValue* value = NewValue(int32sValue);
    SetSingleValue(value, int32sValue, &number, 1);
    return value;
}

int32_t Int32Of(const DbValue* value) {
    int32_t number = 0;
    std::memcpy(&number, value->data, sizeof number);
    return number;
}

DbValueList* NewList(std::vector<DbValue*> members) {
    auto* list = static_cast<DbValueList*>(AllocateHostBlock(sizeof(DbValueList)));
    list->structSize = 16;
    list->count = static_cast<uint32_t>(members.size());
    list->items = nullptr;
    if (!members.empty()) {
        list->items = static_cast<DbValue**>(AllocateHostBlock(members.size() * sizeof(DbValue*)));
        std::copy(members.begin(), members.end(), list->items);
    }
    return list;
}

void Adopt(DbValue* value, DbValueKind kind, DbValueType type, void* data) {
    ClearValue(value);
    value->kind = kind;
    value->valueType = type;
    value->data = data;
}

platform::GlobalHandle NewGlobalBlock(const std::vector<unsigned char>& bytes) {
    platform::GlobalHandle block = platform::GlobalAllocate(0x2042, bytes.size());
    if (!bytes.empty()) {
        void* memory = platform::GlobalLockBlock(block);
        std::memcpy(memory, bytes.data(), bytes.size());
        platform::GlobalUnlockBlock(block);
    }
    return block;
}

std::vector<unsigned char> GlobalBytes(platform::GlobalHandle block) {
    std::vector<unsigned char> bytes(platform::GlobalBlockSize(block));
    if (!bytes.empty()) {
        void* memory = platform::GlobalLockBlock(block);
        std::memcpy(bytes.data(), memory, bytes.size());
        platform::GlobalUnlockBlock(block);
    }
    return bytes;
}

// A COM object that counts the calls of its IUnknown slots.
struct FakeVtbl {
    void* queryInterface;
    uint32_t (*addRef)(void*);
    uint32_t (*release)(void*);
};

struct FakeObject {
    const FakeVtbl* vtbl;
    uint32_t references;
    int addRefs;
    int releases;
};

uint32_t FakeAddRef(void* self) {
    auto* object = static_cast<FakeObject*>(self);
    ++object->addRefs;
    return ++object->references;
}

uint32_t FakeRelease(void* self) {
    auto* object = static_cast<FakeObject*>(self);
    ++object->releases;
    return --object->references;
}

const FakeVtbl kFakeVtbl = {nullptr, FakeAddRef, FakeRelease};

// ---- payload types -----------------------------------------------------------

struct TypeRow {
    DbValueType type;
    uint32_t bytes;
    bool fixed;
};

// Every value type with its payload size; everything else is not a type.
const TypeRow kTypes[] = {
    {int8sValue, 1, true},    {int8uValue, 1, true},     {int16sValue, 2, true},
    {int16uValue, 2, true},   {int32sValue, 4, true},    {int32uValue, 4, true},
    {numberValue, 8, true},   {currencyValue, 8, true},  {booleanValue, 2, true},
    {dateValue, 12, true},    {timeValue, 12, true},     {stringValue, 0, false},
    {memoValue, 0, false},    {blobValue, 8, false},     {dateTimeValue, 12, true},
    {decimalValue, 16, true}, {int64sValue, 8, true},    {int64uValue, 8, true},
    {opaque64Value, 8, true}, {interfaceValue, 8, true},
};

const TypeRow* FindType(uint32_t code) {
    for (const TypeRow& row : kTypes) {
        if (row.type == code)
            return &row;
    }
    return nullptr;
}

// The types whose payload is plain bytes.
std::vector<DbValueType> PlainTypes() {
    std::vector<DbValueType> types;
    for (const TypeRow& row : kTypes) {
        if (row.fixed && row.type != interfaceValue)
            types.push_back(row.type);
    }
    return types;
}

std::vector<DbValueType> NonTypes() {
    return {12, 19, 50, 99, 102, 200, 254, unknownValue};
}

TEST(ValueTypes, SizeAndFixednessOfEveryCode) {
    for (uint32_t code = 0; code <= 255; ++code) {
        const TypeRow* row = FindType(code);
        SCOPED_TRACE("code " + std::to_string(code));
        // A non-type counts as fixed with no payload.
        EXPECT_EQ(IsFixedSizeValue(code), row == nullptr || row->fixed);
        EXPECT_EQ(ValueBufferSize(code), row != nullptr ? row->bytes : 0u);
    }
}

TEST(ValueBuffers, NullBufferDuplicatesToNullAndFreesToNothing) {
    for (uint32_t code = 0; code <= 255; ++code) {
        EXPECT_EQ(DuplicateValueBuffer(nullptr, code), nullptr) << code;
        FreeValueBuffer(nullptr, code);
    }
}

TEST(ValueBuffers, PlainPayloadsAreCopiedByteForByte) {
    for (DbValueType type : PlainTypes()) {
        SCOPED_TRACE("type " + std::to_string(type));
        unsigned char pattern[16];
        for (unsigned i = 0; i < sizeof pattern; ++i)
            pattern[i] = static_cast<unsigned char>(0xA0 + i + type);
        uint32_t bytes = ValueBufferSize(type);
        void* source = HostBytes(pattern, bytes);

        void* copy = DuplicateValueBuffer(source, type);
        ASSERT_NE(copy, nullptr);
        EXPECT_NE(copy, source);
        EXPECT_EQ(std::memcmp(copy, pattern, bytes), 0);

        // A caller's buffer gets exactly the payload bytes.
        unsigned char destination[20];
        std::memset(destination, 0x5A, sizeof destination);
        CopyValueBuffer(source, destination, sizeof destination, type);
        EXPECT_EQ(std::memcmp(destination, pattern, bytes), 0);
        EXPECT_EQ(destination[bytes], 0x5A);

        FreeValueBuffer(copy, type);
        FreeValueBuffer(source, type);
    }
}

TEST(ValueBuffers, NonTypesAreNeitherCopiedNorReleased) {
    unsigned char payload[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (DbValueType type : NonTypes()) {
        long before = liveBlocks;
        void* copy = DuplicateValueBuffer(payload, type);
        unsigned char destination[16] = {};
        CopyValueBuffer(payload, destination, sizeof destination, type);
        // Releasing a stack buffer would be caught: it must be left alone.
        FreeValueBuffer(payload, type);
        long allocated = liveBlocks - before;
        EXPECT_EQ(copy, nullptr) << "type " << type;
        EXPECT_EQ(destination[0], 0) << "type " << type;
        EXPECT_EQ(allocated, 0) << "type " << type;
    }
}

TEST(ValueBuffers, CopyIntoMissingBufferDoesNothing) {
    int32_t number = 7;
    int32_t destination = 99;
    CopyValueBuffer(nullptr, &destination, sizeof destination, int32sValue);
    EXPECT_EQ(destination, 99);
    CopyValueBuffer(&number, nullptr, sizeof number, int32sValue);
    CopyValueBuffer(u"abc", nullptr, 8, stringValue);
}

TEST(ValueBuffers, TextsAreDuplicatedWhole) {
    for (DbValueType type : {stringValue, memoValue}) {
        const char16_t* source = u"caf\u00e9 \U0001F600";
        void* copy = DuplicateValueBuffer(source, type);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(Text(copy), source);
        FreeValueBuffer(copy, type);

        void* empty = DuplicateValueBuffer(u"", type);
        ASSERT_NE(empty, nullptr);
        EXPECT_EQ(Text(empty), u"");
        FreeValueBuffer(empty, type);
    }
    EXPECT_EQ(DuplicateWideString(nullptr), nullptr);
    char16_t* copy = DuplicateWideString(u"xyz");
    EXPECT_EQ(Text(copy), u"xyz");
    FreeHostBlock(copy);
}

TEST(ValueBuffers, TextCopyFitsTheDestination) {
    struct Row {
        uint32_t bytes;
        std::u16string written;  // units written, NUL included; empty: nothing written
    };
    const Row rows[] = {
        {0, u""},
        {1, u""},
        {2, std::u16string(1, u'\0')},
        {3, std::u16string(1, u'\0')},
        {4, std::u16string(u"a\0", 2)},
        {7, std::u16string(u"ab\0", 3)},
        {8, std::u16string(u"abc\0", 4)},
        {14, std::u16string(u"abcdef\0", 7)},
        {40, std::u16string(u"abcdef\0", 7)},
    };
    for (DbValueType type : {stringValue, memoValue}) {
        for (const Row& row : rows) {
            SCOPED_TRACE("bytes " + std::to_string(row.bytes));
            char16_t destination[24];
            for (char16_t& unit : destination)
                unit = u'#';
            CopyValueBuffer(u"abcdef", destination, row.bytes, type);
            EXPECT_EQ(std::u16string(destination, row.written.size()), row.written);
            EXPECT_EQ(destination[row.written.size()], u'#');
        }
    }
    // An odd byte count leaves its last byte alone.
    unsigned char bytes[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    CopyValueBuffer(u"z", bytes, 3, stringValue);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 0xEE);
}

TEST(ValueBuffers, BlobsCopyTheirGlobalBlock) {
    const std::vector<unsigned char> contents = {1, 2, 3, 4, 5, 250};
    void* source = AllocateHostBlock(sizeof(platform::GlobalHandle));
    *static_cast<platform::GlobalHandle*>(source) = NewGlobalBlock(contents);

    void* copy = DuplicateValueBuffer(source, blobValue);
    ASSERT_NE(copy, nullptr);
    platform::GlobalHandle copied = *static_cast<platform::GlobalHandle*>(copy);
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, *static_cast<platform::GlobalHandle*>(source));
    EXPECT_EQ(GlobalBytes(copied), contents);

    platform::GlobalHandle written = nullptr;
    CopyValueBuffer(source, &written, sizeof written, blobValue);
    ASSERT_NE(written, nullptr);
    EXPECT_NE(written, copied);
    EXPECT_EQ(GlobalBytes(written), contents);
    platform::GlobalFreeBlock(written);

    // The source block is still whole after being copied twice.
    EXPECT_EQ(GlobalBytes(*static_cast<platform::GlobalHandle*>(source)), contents);
    FreeValueBuffer(copy, blobValue);
    FreeValueBuffer(source, blobValue);
}

TEST(ValueBuffers, BlobWithoutBytesCopiesToANullHandle) {
    for (bool nullHandle : {false, true}) {
        SCOPED_TRACE(nullHandle ? "null handle" : "size 0 block");
        void* source = AllocateHostBlock(sizeof(platform::GlobalHandle));
        *static_cast<platform::GlobalHandle*>(source) =
            nullHandle ? nullptr : platform::GlobalAllocate(0x2042, 0);
        if (!nullHandle) {
            ASSERT_NE(*static_cast<platform::GlobalHandle*>(source), nullptr);
        }

        void* copy = DuplicateValueBuffer(source, blobValue);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(*static_cast<platform::GlobalHandle*>(copy), nullptr);
        FreeValueBuffer(copy, blobValue);
        FreeValueBuffer(source, blobValue);
    }
    EXPECT_EQ(DuplicateGlobalBlock(nullptr), nullptr);
}

TEST(ValueBuffers, InterfaceCopiesHoldTheirOwnReference) {
    FakeObject object{&kFakeVtbl, 1, 0, 0};
    void* source = AllocateHostBlock(sizeof(void*));
    *static_cast<void**>(source) = &object;

    void* copy = DuplicateValueBuffer(source, interfaceValue);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(*static_cast<void**>(copy), &object);
    EXPECT_EQ(object.addRefs, 1);
    EXPECT_EQ(object.releases, 0);

    FreeValueBuffer(copy, interfaceValue);
    FreeValueBuffer(source, interfaceValue);
    EXPECT_EQ(object.addRefs, 1);
    EXPECT_EQ(object.releases, 2);
    EXPECT_EQ(object.references, 0u);

    // Into a caller's cell: one more reference, for the caller.
    FakeObject other{&kFakeVtbl, 1, 0, 0};
    void* pointer = &other;
    void* cell = nullptr;
    CopyValueBuffer(&pointer, &cell, sizeof cell, interfaceValue);
    EXPECT_EQ(cell, &other);
    EXPECT_EQ(other.references, 2u);
    EXPECT_EQ(AddRefInterface(&other), 3u);
    EXPECT_EQ(ReleaseInterface(&other), 2u);

    // A null object is copied without a call.
    void* nothing = nullptr;
    void* nullCopy = DuplicateValueBuffer(&nothing, interfaceValue);
    ASSERT_NE(nullCopy, nullptr);
    EXPECT_EQ(*static_cast<void**>(nullCopy), nullptr);
    FreeValueBuffer(nullCopy, interfaceValue);
}

TEST(ValueBuffers, InterfaceValueCopiedThenBothReleased) {
    // The first value adopts a cell that holds the object's one reference.
    FakeObject object{&kFakeVtbl, 1, 0, 0};
    auto* cell = static_cast<void**>(AllocateHostBlock(sizeof(void*)));
    *cell = &object;
    DbValue first;
    InitValue(&first, interfaceValue);
    SetSingleValue(&first, interfaceValue, cell, 0);

    DbValue second;
    CopyValue(&second, &first);
    EXPECT_NE(second.data, first.data);
    DestroyValue(&first);
    DestroyValue(&second);
    EXPECT_EQ(object.addRefs, 1);
    EXPECT_EQ(object.releases, 2);
    EXPECT_EQ(object.references, 0u);
}

// ---- value records -----------------------------------------------------------

TEST(ValueRecords, InitialisedValueIsEmptyWithItsType) {
    DbValue value;
    std::memset(&value, 0xCD, sizeof value);
    InitValue(&value, dateValue);
    EXPECT_EQ(value.structSize, 24u);
    EXPECT_EQ(value.kind, emptyKind);
    EXPECT_EQ(value.valueType, dateValue);
    EXPECT_EQ(value.data, nullptr);

    DbValue* record = NewValue(booleanValue);
    EXPECT_EQ(record->structSize, 24u);
    EXPECT_EQ(record->kind, emptyKind);
    EXPECT_EQ(record->valueType, booleanValue);
    DeleteValue(record);
    DeleteValue(nullptr);
}

TEST(ValueRecords, SetSingleValueAdoptsOrCopies) {
    DbValue value;
    InitValue(&value, unknownValue);

    char16_t* text = HostText(u"adopted");
    SetSingleValue(&value, stringValue, text, 0);
    EXPECT_EQ(value.kind, singleKind);
    EXPECT_EQ(value.data, text);

    // The previous buffer is released by the next set.
    const char16_t* borrowed = u"copied";
    SetSingleValue(&value, memoValue, const_cast<char16_t*>(borrowed), 1);
    EXPECT_EQ(value.kind, singleKind);
    EXPECT_EQ(value.valueType, memoValue);
    EXPECT_NE(value.data, borrowed);
    EXPECT_EQ(Text(value.data), u"copied");

    for (uint16_t copy : {0, 1}) {
        SetSingleValue(&value, int32uValue, nullptr, copy);
        EXPECT_EQ(value.kind, emptyKind);
        EXPECT_EQ(value.valueType, int32uValue);
        EXPECT_EQ(value.data, nullptr);
    }
    ClearValue(&value);
}

TEST(ValueRecords, ClearKeepsTheType) {
    DbValue value;
    InitValue(&value, unknownValue);
    double number = 2.5;
    SetSingleValue(&value, numberValue, &number, 1);
    ClearValue(&value);
    EXPECT_EQ(value.kind, emptyKind);
    EXPECT_EQ(value.valueType, numberValue);
    EXPECT_EQ(value.data, nullptr);
    ClearValue(&value);
    EXPECT_EQ(value.kind, emptyKind);
}

TEST(ValueRecords, EmptyValueWithDataDropsThePointerOnly) {
    int32_t notOwned = 42;  // releasing it would be caught
    DbValue value;
    InitValue(&value, int32sValue);
    value.data = &notOwned;
    long before = liveBlocks;
    ClearValue(&value);
    EXPECT_EQ(value.kind, emptyKind);
    EXPECT_EQ(value.data, nullptr);
    EXPECT_EQ(notOwned, 42);

    // A kind that does not exist is dropped the same way.
    value.kind = 9;
    value.data = &notOwned;
    DestroyValue(&value);
    long allocated = liveBlocks - before;
    EXPECT_EQ(value.kind, emptyKind);
    EXPECT_EQ(value.data, nullptr);
    EXPECT_EQ(allocated, 0);
}

TEST(ValueRecords, AssignSingleAndEmpty) {
    DbValue source;
    InitValue(&source, unknownValue);
    SetSingleValue(&source, stringValue, HostText(u"source"), 0);

    DbValue copy;
    CopyValue(&copy, &source);
    EXPECT_EQ(copy.kind, singleKind);
    EXPECT_EQ(copy.valueType, stringValue);
    EXPECT_NE(copy.data, source.data);
    EXPECT_EQ(Text(copy.data), u"source");

    // An empty source passes on its type; a null source leaves the type alone.
    DbValue empty;
    InitValue(&empty, dateTimeValue);
    EXPECT_EQ(AssignValue(&copy, &empty), 0u);
    EXPECT_EQ(copy.kind, emptyKind);
    EXPECT_EQ(copy.valueType, dateTimeValue);
    EXPECT_EQ(copy.data, nullptr);

    EXPECT_EQ(AssignValue(&copy, &source), 0u);
    EXPECT_EQ(AssignValue(&copy, nullptr), 0u);
    EXPECT_EQ(copy.kind, emptyKind);
    EXPECT_EQ(copy.valueType, stringValue);

    DbValue fromNull;
    CopyValue(&fromNull, nullptr);
    EXPECT_EQ(fromNull.structSize, 24u);
    EXPECT_EQ(fromNull.kind, emptyKind);
    EXPECT_EQ(fromNull.valueType, unknownValue);

    // A single value whose buffer is missing stays single.
    DbValue hollow;
    InitValue(&hollow, int32sValue);
    hollow.kind = singleKind;
    EXPECT_EQ(AssignValue(&copy, &hollow), 0u);
    EXPECT_EQ(copy.kind, singleKind);
    EXPECT_EQ(copy.data, nullptr);
    ClearValue(&copy);

    // Assigning a value to itself keeps it.
    EXPECT_EQ(AssignValue(&source, &source), 0u);
    EXPECT_EQ(Text(source.data), u"source");
    ClearValue(&source);
}

TEST(ValueRecords, ListCopyIsDeep) {
    DbValue source;
    InitValue(&source, unknownValue);
    Adopt(&source, multipleKind, stringValue,
          NewList({NewText(u"one"), NewText(u"two"), NewInt32(3)}));

    DbValue copy;
    CopyValue(&copy, &source);
    ASSERT_EQ(copy.kind, multipleKind);
    EXPECT_EQ(copy.valueType, stringValue);
    auto* list = static_cast<DbValueList*>(copy.data);
    auto* original = static_cast<DbValueList*>(source.data);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list, original);
    EXPECT_EQ(list->structSize, 16u);
    ASSERT_EQ(list->count, 3u);
    EXPECT_NE(list->items, original->items);
    for (uint32_t i = 0; i < 3; ++i) {
        EXPECT_NE(list->items[i], original->items[i]);
        EXPECT_EQ(list->items[i]->structSize, 24u);
        EXPECT_EQ(list->items[i]->kind, singleKind);
        EXPECT_EQ(list->items[i]->valueType, original->items[i]->valueType);
        EXPECT_NE(list->items[i]->data, original->items[i]->data);
    }
    EXPECT_EQ(Text(list->items[0]->data), u"one");
    EXPECT_EQ(Text(list->items[1]->data), u"two");
    EXPECT_EQ(Int32Of(list->items[2]), 3);

    ClearValue(&copy);
    EXPECT_EQ(copy.kind, emptyKind);
    EXPECT_EQ(copy.valueType, stringValue);
    ASSERT_EQ(original->count, 3u);
    EXPECT_EQ(Text(original->items[0]->data), u"one");
    EXPECT_EQ(Text(original->items[1]->data), u"two");
    EXPECT_EQ(Int32Of(original->items[2]), 3);
    ClearValue(&source);
}

TEST(ValueRecords, ListEdgeShapes) {
    DbValue source;
    InitValue(&source, int32sValue);
    DbValue copy;
    InitValue(&copy, unknownValue);

    // A missing list stays missing.
    source.kind = multipleKind;
    AssignValue(&copy, &source);
    EXPECT_EQ(copy.kind, multipleKind);
    EXPECT_EQ(copy.data, nullptr);

    // No members: no array.
    Adopt(&source, multipleKind, int32sValue, NewList({}));
    AssignValue(&copy, &source);
    ASSERT_EQ(copy.kind, multipleKind);
    auto* list = static_cast<DbValueList*>(copy.data);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count, 0u);
    EXPECT_EQ(list->items, nullptr);

    // A null member is copied as an empty member; nested lists are deep too.
    Adopt(&source, multipleKind, int32sValue, NewList({NewInt32(1), nullptr}));
    DbValue* nested = NewValue(int32sValue);
    Adopt(nested, multipleKind, int32sValue, NewList({NewInt32(5)}));
    DbValue outer;
    InitValue(&outer, int32sValue);
    Adopt(&outer, multipleKind, int32sValue, NewList({nested}));
    AssignValue(&copy, &source);
    list = static_cast<DbValueList*>(copy.data);
    ASSERT_EQ(list->count, 2u);
    EXPECT_EQ(Int32Of(list->items[0]), 1);
    ASSERT_NE(list->items[1], nullptr);
    EXPECT_EQ(list->items[1]->kind, emptyKind);
    EXPECT_EQ(list->items[1]->valueType, unknownValue);

    AssignValue(&copy, &outer);
    list = static_cast<DbValueList*>(copy.data);
    ASSERT_EQ(list->count, 1u);
    ASSERT_EQ(list->items[0]->kind, multipleKind);
    auto* inner = static_cast<DbValueList*>(list->items[0]->data);
    ASSERT_NE(inner, nested->data);
    ASSERT_EQ(inner->count, 1u);
    EXPECT_EQ(Int32Of(inner->items[0]), 5);

    ClearValue(&copy);
    ClearValue(&outer);
    ClearValue(&source);
}

TEST(ValueRecords, RangeBoundsAreCopied) {
    DbValue low;
    InitValue(&low, int32sValue);
    int32_t lowNumber = -5;
    SetSingleValue(&low, int32sValue, &lowNumber, 1);
    DbValue high;
    InitValue(&high, int32sValue);
    int32_t highNumber = 17;
    SetSingleValue(&high, int32sValue, &highNumber, 1);

    auto* range = static_cast<DbRangeValue*>(AllocateHostBlock(sizeof(DbRangeValue)));
    MakeRange(range, int32sValue, &low, 3, &high, 0xFFFF);
    EXPECT_EQ(range->structSize, 40u);
    EXPECT_EQ(range->startFlag, 3);
    EXPECT_EQ(range->endFlag, 0xFFFF);
    ASSERT_NE(range->start, nullptr);
    ASSERT_NE(range->end, nullptr);
    EXPECT_NE(range->start->data, low.data);
    EXPECT_EQ(Int32Of(range->start), -5);
    EXPECT_EQ(Int32Of(range->end), 17);

    DbValue source;
    InitValue(&source, unknownValue);
    Adopt(&source, rangeKind, int32sValue, range);
    DbValue copy;
    CopyValue(&copy, &source);
    ASSERT_EQ(copy.kind, rangeKind);
    EXPECT_EQ(copy.valueType, int32sValue);
    auto* copied = static_cast<DbRangeValue*>(copy.data);
    ASSERT_NE(copied, nullptr);
    ASSERT_NE(copied, range);
    EXPECT_EQ(copied->structSize, 40u);
    EXPECT_EQ(copied->startFlag, 3);
    EXPECT_EQ(copied->endFlag, 0xFFFF);
    EXPECT_NE(copied->start, range->start);
    EXPECT_NE(copied->start->data, range->start->data);
    EXPECT_EQ(Int32Of(copied->start), -5);
    EXPECT_EQ(Int32Of(copied->end), 17);

    ClearValue(&copy);
    EXPECT_EQ(Int32Of(range->end), 17);
    ClearValue(&source);
    ClearValue(&low);
    ClearValue(&high);
}

TEST(ValueRecords, RangeEdgeShapes) {
    // Missing bounds become empty values of the range's type.
    auto* range = static_cast<DbRangeValue*>(AllocateHostBlock(sizeof(DbRangeValue)));
    MakeRange(range, dateValue, nullptr, 1, nullptr, 2);
    ASSERT_NE(range->start, nullptr);
    ASSERT_NE(range->end, nullptr);
    EXPECT_EQ(range->start->kind, emptyKind);
    EXPECT_EQ(range->start->valueType, dateValue);
    EXPECT_EQ(range->end->kind, emptyKind);
    EXPECT_EQ(range->end->valueType, dateValue);
    DbValue value;
    InitValue(&value, dateValue);
    Adopt(&value, rangeKind, dateValue, range);
    ClearValue(&value);

    // A start bound that is a list is kept as it is.
    DbValue list;
    InitValue(&list, int32sValue);
    Adopt(&list, multipleKind, int32sValue, NewList({NewInt32(1), NewInt32(2)}));
    range = static_cast<DbRangeValue*>(AllocateHostBlock(sizeof(DbRangeValue)));
    MakeRange(range, int32sValue, &list, 0, nullptr, 0);
    ASSERT_EQ(range->start->kind, multipleKind);
    EXPECT_NE(range->start->data, list.data);
    EXPECT_EQ(static_cast<DbValueList*>(range->start->data)->count, 2u);
    EXPECT_EQ(range->end->kind, emptyKind);
    Adopt(&value, rangeKind, int32sValue, range);
    ClearValue(&value);
    ClearValue(&list);

    // A missing range stays missing.
    DbValue source;
    InitValue(&source, int32sValue);
    source.kind = rangeKind;
    DbValue copy;
    CopyValue(&copy, &source);
    EXPECT_EQ(copy.kind, rangeKind);
    EXPECT_EQ(copy.data, nullptr);
    ClearValue(&copy);
}

FieldDescription* NewFullField(uint32_t structSize) {
    auto* field = static_cast<FieldDescription*>(AllocateHostBlock(sizeof(FieldDescription)));
    field->reserved = 0x1122334455667788ull;
    field->name = HostText(u"Name");
    field->text16 = HostText(u"Sixteen");
    field->description = HostText(u"Description");
    field->text32 = HostText(u"ThirtyTwo");
    field->one40 = 41;
    field->zero44 = 45;
    field->valueType = memoValue;
    field->length = 53;
    field->structSize = structSize;
    field->word60 = 61;
    field->word64 = 65;
    field->word68 = 69;
    return field;
}

TEST(ValueRecords, FieldCopyFollowsTheSourceSize) {
    struct Row {
        uint32_t size;
        bool hasText32;
        bool hasWord68;
    };
    const Row rows[] = {{32, false, false}, {39, false, false}, {40, true, false},
                        {71, true, false},  {72, true, true},   {200, true, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE("size " + std::to_string(row.size));
        DbValue source;
        InitValue(&source, unknownValue);
        FieldDescription* field = NewFullField(row.size);
        Adopt(&source, fieldKind, stringValue, field);

        DbValue copy;
        CopyValue(&copy, &source);
        ASSERT_EQ(copy.kind, fieldKind);
        EXPECT_EQ(copy.valueType, stringValue);
        auto* copied = static_cast<FieldDescription*>(copy.data);
        ASSERT_NE(copied, nullptr);
        ASSERT_NE(copied, field);
        EXPECT_EQ(copied->reserved, 0x1122334455667788ull);
        EXPECT_NE(copied->name, field->name);
        EXPECT_EQ(Text(copied->name), u"Name");
        EXPECT_EQ(Text(copied->text16), u"Sixteen");
        EXPECT_EQ(Text(copied->description), u"Description");
        if (row.hasText32) {
            EXPECT_NE(copied->text32, field->text32);
            EXPECT_EQ(Text(copied->text32), u"ThirtyTwo");
        } else {
            EXPECT_EQ(copied->text32, nullptr);
        }
        EXPECT_EQ(copied->one40, 41u);
        EXPECT_EQ(copied->zero44, 45u);
        EXPECT_EQ(copied->valueType, memoValue);
        EXPECT_EQ(copied->length, 53u);
        EXPECT_EQ(copied->structSize, row.size);
        EXPECT_EQ(copied->word60, 61u);
        EXPECT_EQ(copied->word64, 65u);
        EXPECT_EQ(copied->word68, row.hasWord68 ? 69u : 0u);
        ClearValue(&copy);
        ClearValue(&source);
    }
}

TEST(ValueRecords, FreshFieldDescription) {
    FieldDescription field;
    std::memset(&field, 0xEE, sizeof field);
    InitFieldDescription(&field);
    EXPECT_EQ(field.reserved, 0u);
    EXPECT_EQ(field.name, nullptr);
    EXPECT_EQ(field.text16, nullptr);
    EXPECT_EQ(field.description, nullptr);
    EXPECT_EQ(field.text32, nullptr);
    EXPECT_EQ(field.one40, 1u);
    EXPECT_EQ(field.zero44, 0u);
    EXPECT_EQ(field.valueType, unknownValue);
    EXPECT_EQ(field.length, 0u);
    EXPECT_EQ(field.structSize, 72u);
    EXPECT_EQ(field.word60, 0u);
    EXPECT_EQ(field.word64, 0u);
    EXPECT_EQ(field.word68, 0u);

    // A missing source record gives a fresh one.
    DbValue source;
    InitValue(&source, int32sValue);
    source.kind = fieldKind;
    DbValue copy;
    CopyValue(&copy, &source);
    ASSERT_EQ(copy.kind, fieldKind);
    ASSERT_NE(copy.data, nullptr);
    EXPECT_EQ(std::memcmp(copy.data, &field, sizeof field), 0);
    ClearValue(&copy);
    DeleteFieldDescription(nullptr);
}

DbCompoundRecord* NewCompound(uint32_t structSize, const std::u16string& wide) {
    auto* record = static_cast<DbCompoundRecord*>(AllocateHostBlock(sizeof(DbCompoundRecord)));
    InitCompoundRecord(record);
    record->firstText = HostText(u"first");
    record->secondText = HostText(u"second");
    record->word32 = 32;
    for (uint32_t i = 0; i < 4; ++i)
        record->words36[i] = 36 + i;
    record->structSize = structSize;
    for (uint16_t i = 0; i < 3; ++i)
        record->fixedWords[i] = static_cast<uint16_t>(56 + i);
    for (uint16_t i = 0; i < 7; ++i)
        record->optionalWords[i] = static_cast<uint16_t>(100 + i);
    record->wideString.length = wide.size();
    if (wide.size() < 8) {
        std::memcpy(record->wideString.storage.inlineText, wide.c_str(),
                    (wide.size() + 1) * sizeof(char16_t));
    } else {
        // A roomy block, as a growing string leaves it.
        uint64_t capacity = wide.size() + 10;
        auto* heap = static_cast<char16_t*>(AllocateHostBlock((capacity + 1) * sizeof(char16_t)));
        std::memcpy(heap, wide.c_str(), (wide.size() + 1) * sizeof(char16_t));
        record->wideString.storage.heapText = heap;
        record->wideString.capacity = capacity;
    }
    record->byte112 = 0x7E;
    return record;
}

std::u16string WideOf(const DbWideStringObject& text) {
    const char16_t* units = text.capacity < 8 ? text.storage.inlineText : text.storage.heapText;
    return std::u16string(units, text.length);
}

TEST(ValueRecords, FreshCompoundRecord) {
    DbCompoundRecord record;
    std::memset(&record, 0xEE, sizeof record);
    InitCompoundRecord(&record);
    EXPECT_EQ(record.firstText, nullptr);
    EXPECT_EQ(record.secondText, nullptr);
    EXPECT_EQ(record.firstValue, nullptr);
    EXPECT_EQ(record.secondValue, nullptr);
    EXPECT_EQ(record.word32, 0u);
    EXPECT_EQ(record.words36[0], unknownValue);
    EXPECT_EQ(record.words36[1], 0u);
    EXPECT_EQ(record.words36[3], 0u);
    EXPECT_EQ(record.structSize, 120u);
    for (uint16_t word : record.fixedWords)
        EXPECT_EQ(word, 0);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(record.optionalWords[i], i == 6 ? 1 : 0) << i;
    EXPECT_EQ(record.wideString.length, 0u);
    EXPECT_EQ(record.wideString.capacity, 7u);
    EXPECT_EQ(record.wideString.storage.inlineText[0], u'\0');
    EXPECT_EQ(record.byte112, 0);

    // A missing source record gives a fresh one without nested values.
    DbValue source;
    InitValue(&source, stringValue);
    source.kind = compoundKind;
    DbValue copy;
    CopyValue(&copy, &source);
    ASSERT_EQ(copy.kind, compoundKind);
    auto* copied = static_cast<DbCompoundRecord*>(copy.data);
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->firstValue, nullptr);
    EXPECT_EQ(copied->secondValue, nullptr);
    EXPECT_EQ(copied->structSize, 120u);
    EXPECT_EQ(copied->optionalWords[6], 1);
    EXPECT_EQ(copied->wideString.capacity, 7u);
    ClearValue(&copy);
}

TEST(ValueRecords, CompoundCopyFollowsTheSourceSize) {
    const uint32_t sizes[] = {56, 62, 63, 64, 65, 66, 70, 74, 75, 76, 120};
    const std::u16string texts[] = {u"", u"abc", u"seven!!", u"eight!!!",
                                    u"a long text that lives on the heap"};
    for (uint32_t size : sizes) {
        for (const std::u16string& wide : texts) {
            SCOPED_TRACE("size " + std::to_string(size) + ", text length " +
                         std::to_string(wide.size()));
            DbCompoundRecord* record = NewCompound(size, wide);
            bool withFirst = wide.size() % 2 == 1;
            if (withFirst)
                record->firstValue = NewText(u"nested");
            DbValue source;
            InitValue(&source, unknownValue);
            Adopt(&source, compoundKind, int32uValue, record);

            DbValue copy;
            CopyValue(&copy, &source);
            ASSERT_EQ(copy.kind, compoundKind);
            EXPECT_EQ(copy.valueType, int32uValue);
            auto* copied = static_cast<DbCompoundRecord*>(copy.data);
            ASSERT_NE(copied, nullptr);
            ASSERT_NE(copied, record);
            EXPECT_NE(copied->firstText, record->firstText);
            EXPECT_EQ(Text(copied->firstText), u"first");
            EXPECT_EQ(Text(copied->secondText), u"second");
            if (withFirst) {
                ASSERT_NE(copied->firstValue, nullptr);
                EXPECT_NE(copied->firstValue, record->firstValue);
                EXPECT_NE(copied->firstValue->data, record->firstValue->data);
                EXPECT_EQ(Text(copied->firstValue->data), u"nested");
            } else {
                EXPECT_EQ(copied->firstValue, nullptr);
            }
            // The second value is always made, even from nothing.
            ASSERT_NE(copied->secondValue, nullptr);
            EXPECT_EQ(copied->secondValue->kind, emptyKind);
            EXPECT_EQ(copied->secondValue->valueType, unknownValue);
            EXPECT_EQ(copied->word32, 32u);
            for (uint32_t i = 0; i < 4; ++i)
                EXPECT_EQ(copied->words36[i], 36 + i);
            EXPECT_EQ(copied->structSize, size);
            for (uint16_t i = 0; i < 3; ++i)
                EXPECT_EQ(copied->fixedWords[i], 56 + i);
            for (uint16_t i = 0; i < 7; ++i) {
                uint16_t fresh = i == 6 ? 1 : 0;
                EXPECT_EQ(copied->optionalWords[i], size >= 64u + 2 * i ? 100 + i : fresh)
                    << "word " << i;
            }
            EXPECT_EQ(copied->wideString.length, wide.size());
            EXPECT_EQ(WideOf(copied->wideString), wide);
            if (wide.size() < 8) {
                EXPECT_EQ(copied->wideString.capacity, 7u);
            } else {
                EXPECT_GE(copied->wideString.capacity, wide.size());
                EXPECT_NE(copied->wideString.storage.heapText, record->wideString.storage.heapText);
                EXPECT_EQ(copied->wideString.storage.heapText[wide.size()], u'\0');
            }
            EXPECT_EQ(copied->byte112, 0x7E);

            ClearValue(&copy);
            EXPECT_EQ(WideOf(record->wideString), wide);
            ClearValue(&source);
        }
    }
}

TEST(ValueRecords, CompoundSecondValueIsCopied) {
    DbCompoundRecord* record = NewCompound(120, u"x");
    record->secondValue = NewInt32(64);
    DbValue source;
    InitValue(&source, unknownValue);
    Adopt(&source, compoundKind, int32uValue, record);
    DbValue copy;
    CopyValue(&copy, &source);
    auto* copied = static_cast<DbCompoundRecord*>(copy.data);
    ASSERT_NE(copied->secondValue, nullptr);
    EXPECT_NE(copied->secondValue, record->secondValue);
    EXPECT_EQ(copied->secondValue->kind, singleKind);
    EXPECT_EQ(Int32Of(copied->secondValue), 64);
    ClearValue(&copy);
    ClearValue(&source);
}

TEST(ValueRecords, UnknownKindLeavesTheValueEmptyWithTheSourceType) {
    for (DbValueKind kind : {6u, 7u, 0xFFFFFFFFu}) {
        SCOPED_TRACE("kind " + std::to_string(kind));
        int32_t payload = 5;
        DbValue source;
        InitValue(&source, int16uValue);
        source.kind = kind;
        source.data = &payload;

        DbValue value;
        InitValue(&value, unknownValue);
        SetSingleValue(&value, stringValue, HostText(u"released"), 0);
        EXPECT_EQ(AssignValue(&value, &source), static_cast<DbStatus>(Status_NotSupported));
        EXPECT_EQ(value.kind, emptyKind);
        EXPECT_EQ(value.valueType, int16uValue);
        EXPECT_EQ(value.data, nullptr);
        EXPECT_EQ(payload, 5);
    }
}

// A source that exercises every kind of nested block.
void BuildRichSource(DbValue* source) {
    DbCompoundRecord* record = NewCompound(120, u"a text long enough for the heap");
    record->firstValue = NewText(u"first nested");
    DbValue* listed = NewValue(int32sValue);
    Adopt(listed, multipleKind, int32sValue, NewList({NewInt32(1), NewText(u"two")}));
    record->secondValue = listed;
    DbValue* compound = NewValue(int32uValue);
    Adopt(compound, compoundKind, int32uValue, record);

    DbValue* field = NewValue(stringValue);
    Adopt(field, fieldKind, stringValue, NewFullField(72));

    DbValue low;
    InitValue(&low, stringValue);
    SetSingleValue(&low, stringValue, HostText(u"low"), 0);
    auto* range = static_cast<DbRangeValue*>(AllocateHostBlock(sizeof(DbRangeValue)));
    MakeRange(range, stringValue, &low, 1, &low, 2);
    ClearValue(&low);
    DbValue* ranged = NewValue(stringValue);
    Adopt(ranged, rangeKind, stringValue, range);

    InitValue(source, unknownValue);
    Adopt(source, multipleKind, stringValue,
          NewList({NewText(u"head"), compound, field, ranged, nullptr}));
}

TEST(ValueRecords, FailedCopyKeepsNothing) {
    DbValue source;
    BuildRichSource(&source);

    int failures = 0;
    for (long failAt = 0;; ++failAt) {
        DbValue copy;
        InitValue(&copy, unknownValue);
        long before = liveBlocks;
        bool failed = false;
        allocationsBeforeFailure = failAt;
        try {
            AssignValue(&copy, &source);
        } catch (const std::bad_alloc&) {
            failed = true;
        }
        allocationsBeforeFailure = -1;
        // Measured before any check: the test framework allocates too.
        long kept = liveBlocks - before;
        if (!failed) {
            EXPECT_EQ(copy.kind, multipleKind);
            EXPECT_GT(kept, 30);
            before = liveBlocks;
            ClearValue(&copy);
            long released = before - liveBlocks;
            EXPECT_EQ(released, kept);
            break;
        }
        ++failures;
        EXPECT_EQ(kept, 0) << "allocation " << failAt;
        EXPECT_EQ(copy.kind, emptyKind) << "allocation " << failAt;
        EXPECT_EQ(copy.data, nullptr) << "allocation " << failAt;
        EXPECT_EQ(copy.valueType, stringValue) << "allocation " << failAt;
        ASSERT_LT(failAt, 1000);
    }
    // Every block of the copy was a point of failure.
    EXPECT_GT(failures, 30);
    ClearValue(&source);
}

TEST(ValueRecords, FailedSetLeavesTheValueEmpty) {
    DbValue value;
    InitValue(&value, unknownValue);
    SetSingleValue(&value, stringValue, HostText(u"old"), 0);
    long before = liveBlocks;
    bool failed = false;
    allocationsBeforeFailure = 0;
    try {
        SetSingleValue(&value, memoValue, const_cast<char16_t*>(u"new"), 1);
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    allocationsBeforeFailure = -1;
    long released = before - liveBlocks;
    EXPECT_TRUE(failed);
    EXPECT_EQ(released, 1);  // the old text
    EXPECT_EQ(value.kind, emptyKind);
    EXPECT_EQ(value.valueType, memoValue);
    EXPECT_EQ(value.data, nullptr);
}

}  // namespace
