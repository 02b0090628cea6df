// The value types: the calendar of their dates, conversions between them (row
// by row, conversion.tsv), payload buffers and value records, and what a
// failed check reports. Leaks and wrong releases (a shallow copy frees twice)
// show up under the address sanitizer; the counting allocator below also
// checks, on every build, that a failed copy keeps nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <tuple>
#include <vector>

#include "platform/GlobalMemory.h"
#include "platform/OleAutomation.h"
#include "runtime/HostMemory.h"
#include "tests/support/AssertionCapture.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"
#include "values/Calendar.h"
#include "values/ValueBuffer.h"
#include "values/ValueConversion.h"
#include "values/ValueRecord.h"

// Host blocks come from operator new: counting here sees every one of them,
// and a countdown makes the n-th allocation fail.
namespace {
long liveBlocks = 0;
long allocationsBeforeFailure = -1;  // below 0: never fail
}  // namespace

void* operator new(std::size_t bytes) {
    void* block = allocationsBeforeFailure-- == 0 ? nullptr : std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr)
        throw std::bad_alloc();
    ++liveBlocks;
    return block;
}

// Not inlined: g++ would take the free() for a mismatch with new.
[[gnu::noinline]] void operator delete(void* block) noexcept {
    liveBlocks -= block != nullptr;
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    ::operator delete(block);
}

using namespace testing_support;

namespace {

TEST(Calendar, DayNumbersAndDatesThatDoNotExist) {
    const auto table = ReferenceTable::LoadCases("values/calendar.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        const auto field = [&](const char* name) { return std::stoi(table.Field(row, name)); };
        EXPECT_EQ(MakeDateNumber(static_cast<int16_t>(field("year")),
                                 static_cast<uint16_t>(field("month")),
                                 static_cast<uint16_t>(field("day"))),
                  field("number"));
    }
}

// Every day from 4713 BC to AD 9999 splits back into the date that made it,
// and consecutive dates have consecutive numbers across the ten days of
// October 1582 that never happened.
TEST(Calendar, RoundTripOverEveryDay) {
    int32_t next = 0;
    for (int year = -4713; year <= 9999; ++year) {
        for (uint16_t month = 1; month <= 12 && year != 0; ++month) {
            for (uint16_t day = 1; day <= 31; ++day) {
                const int32_t number = MakeDateNumber(static_cast<int16_t>(year), month, day);
                if (number == -1 || (year == 1582 && month == 10 && day >= 5 && day <= 14))
                    continue;
                int16_t y;
                uint16_t m, d;
                SplitDateNumber(number, y, m, d);
                ASSERT_EQ(std::make_tuple(number, int{y}, m, d),
                          std::make_tuple(next++, year, month, day));
            }
        }
    }
    EXPECT_EQ(next, MakeDateNumber(9999, 12, 31) + 1);
}

TEST(Calendar, TimeOfDayAndSystemTime) {
    uint16_t h, m, sec;
    SplitTimeOfDay(86399, h, m, sec);
    EXPECT_EQ(h * 10000 + m * 100 + sec, 235959);
    const DbDateTime value =
        DateTimeFromSystemTime(platform::SystemTime{1970, 1, 4, 1, 13, 2, 3, 456});
    EXPECT_EQ(std::make_tuple(value.date, value.time, value.nanoseconds),
              std::make_tuple(2440587, 13 * 3600 + 2 * 60 + 3, 456000000u));
    EXPECT_EQ(DateTimeFromSystemTime(platform::SystemTime{1900, 2, 0, 29, 0, 0, 0, 0}).date, -1);
}

// A value of conversion.tsv ("int32s:-1") as its type and payload bytes.
DbValueType Payload(const std::string& value, std::vector<uint8_t>& bytes) {
    const std::string names =
        " int8s int8u int16s int16u int32s int32u number currency boolean"
        " date time string narrow memo blob dateTime decimal int64s int64u"
        " opaque64 interface ";  // narrow: 12, a string of bytes; the last two are 100 and 101
    const std::string name = value.substr(0, value.find(':')), text = value.substr(name.size() + 1);
    const auto index = std::count(names.begin(), names.begin() + names.find(" " + name + " "), ' ');
    const int type = static_cast<int>(index < 19 ? index : index + 81);
    const uint32_t fixed = FixedValueSize(static_cast<DbValueType>(type));
    bytes.assign(fixed ? fixed : 8, 0);
    long long f[5] = {};  // the fields of a stamp or a decimal
    std::sscanf(text.c_str(), "%lld/%lld/%lld/%lld/%llu", &f[0], &f[1], &f[2], &f[3],
                reinterpret_cast<unsigned long long*>(&f[4]));
    const DbDateTime stamp{int32_t(f[0]), int32_t(f[1]), uint32_t(f[2])};
    const platform::Decimal decimal{uint16_t(f[0]), uint8_t(f[1]), uint8_t(f[2]), uint32_t(f[3]),
                                    uint64_t(f[4])};
    const double number = type == numberValue ? std::stod(text) : 0;
    const uint64_t integer = text[0] == '-' ? uint64_t(std::stoll(text)) : std::stoull("0" + text);
    const std::u16string wide = U16(text);
    if (type == 12)
        bytes.assign(text.c_str(), text.c_str() + text.size() + 1);
    else if (type == stringValue || type == memoValue)
        bytes.assign(reinterpret_cast<const uint8_t*>(wide.c_str()),
                     reinterpret_cast<const uint8_t*>(wide.c_str() + wide.size() + 1));
    else if (type == dateValue || type == timeValue || type == dateTimeValue)
        std::memcpy(bytes.data(), &stamp, sizeof stamp);
    else if (type == decimalValue)
        std::memcpy(bytes.data(), &decimal, sizeof decimal);
    else  // integers, little-endian, of the type's size
        std::memcpy(bytes.data(),
                    type == numberValue ? static_cast<const void*>(&number) : &integer,
                    bytes.size());
    return static_cast<DbValueType>(type);
}

// Each row converts into a buffer filled with 0xCC; a failed conversion
// writes nothing.
TEST(ConvertValue, Matrix) {
    SetEnvironment("LC_ALL", "en_US.UTF-8");
    const ReferenceTable table = ReferenceTable::LoadCases("values/conversion.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name + " " + table.Field(row, "what"));
        std::vector<uint8_t> source, expected;
        DbValueType from = Payload(table.Field(row, "source"), source);
        const uint32_t flags = from == 12 ? kConvertNarrowSource : 0;
        if (flags != 0)
            from = stringValue;
        const DbValueType to = Payload(table.Field(row, "to") + ":0", expected);
        uint32_t bytes = static_cast<uint32_t>(std::stoul(table.Field(row, "bytes")));
        bytes = bytes ? bytes : FixedValueSize(to) ? FixedValueSize(to) : 256;
        std::vector<uint8_t> out(bytes, 0xCC);
        const DbStatus status = ConvertValue(source.data(), from, flags, out.data(), to, bytes);
        EXPECT_EQ(status, static_cast<DbStatus>(std::stoul(table.Field(row, "status"))));
        const std::string windows = table.Field(row, "windows");
        const std::string value =
            IsWindowsBuild() && !windows.empty() ? windows : table.Field(row, "expected");
        if (!value.empty()) {
            Payload(value, expected);
            out.resize(expected.size());
            EXPECT_EQ(out, expected);
        } else {
            EXPECT_EQ(out, std::vector<uint8_t>(out.size(), 0xCC)) << "written";
        }
        if (to == stringValue && bytes == 256) {  // the exact size of the text, its NUL too
            uint32_t size = 99;
            EXPECT_EQ(GetConvertedSize(source.data(), from, flags, to, &size, true), status);
            EXPECT_EQ(size, status == Status_Success ? expected.size() : 0u);
        }
    }
}

// Without `exact`, any number takes the longest text; a text as memo its own.
TEST(ConvertedSize, NotExact) {
    uint32_t size = 99;
    double x = 1.5;
    EXPECT_EQ(GetConvertedSize(&x, numberValue, 0, stringValue, &size, false), Status_Success);
    EXPECT_EQ(size, 128u);
    EXPECT_EQ(GetConvertedSize(u"hello", stringValue, 0, memoValue, &size, false), Status_Success);
    EXPECT_EQ(size, 12u);
    void* buffer = &x;
    EXPECT_EQ(ConvertToNewBuffer(u"twelve", stringValue, 0, &buffer, int16uValue),
              Status_ConversionFailed);
    EXPECT_EQ(buffer, nullptr);
    const int32_t one = 1;
    EXPECT_EQ(ConvertValue(&one, int32sValue, 0, nullptr, numberValue, 8), Status_InvalidArgument);
}

// The value readers: what does not convert gives the default, or no text.
TEST(ValueReaders, BooleanAndString) {
    const int32_t seven = 7;
    const double tiny = 1e-90;
    DbValue text, number, small;
    InitValue(&text, stringValue);
    SetSingleValue(&text, stringValue, const_cast<char16_t*>(u"maybe"), 1);
    InitValue(&number, int32sValue);
    SetSingleValue(&number, int32sValue, const_cast<int32_t*>(&seven), 1);
    InitValue(&small, numberValue);
    SetSingleValue(&small, numberValue, const_cast<double*>(&tiny), 1);
    EXPECT_TRUE(GetValueAsBoolean(&text, true));
    EXPECT_FALSE(GetValueAsBoolean(&text, false));
    EXPECT_TRUE(GetValueAsBoolean(&number, false));
    EXPECT_EQ(U8(GetValueAsString(&number).str()), "7");
    EXPECT_EQ(U8(GetValueAsString(&small).str()), "");
    for (DbValue* value : {&text, &number, &small})
        ClearValue(value);
}

std::u16string Text(const void* text) {
    return text != nullptr ? std::u16string(static_cast<const char16_t*>(text)) : u"(null)";
}

DbValue* NewValueOf(DbValueType type, DbValueKind kind, void* data) {
    DbValue* value = NewValue(type);
    value->kind = kind;
    value->data = data;
    return value;
}

DbValue* NewText(const char16_t* text) {
    return NewValueOf(stringValue, singleKind, DuplicateHostText(text));
}

template <class T>
T* NewBlock() {
    return static_cast<T*>(AllocateHostBlock(sizeof(T)));
}

DbValue* NewList(DbValueType type, std::vector<DbValue*> members) {
    auto* list = NewBlock<DbValueList>();
    *list = {16, static_cast<uint32_t>(members.size()),
             static_cast<DbValue**>(AllocateHostBlock(members.size() * sizeof(DbValue*)))};
    std::copy(members.begin(), members.end(), list->items);
    return NewValueOf(type, multipleKind, list);
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

// A COM object with only AddRef and Release, counting its references.
struct FakeObject {
    const void* const* vtbl;
    uint32_t references;
};
uint32_t AddRef(void* self) {
    return ++static_cast<FakeObject*>(self)->references;
}
uint32_t Release(void* self) {
    return --static_cast<FakeObject*>(self)->references;
}
const void* const kFakeVtbl[] = {nullptr, reinterpret_cast<const void*>(&AddRef),
                                 reinterpret_cast<const void*>(&Release)};

// A list holding a compound record (with a heap text and nested values), a
// field description, a range, a blob and an interface: every block nested.
// A field description of `size` bytes (a compound record 24 more; 0: their
// full sizes) copies only the members that size covers.
DbValue* NewRichSource(FakeObject* object, uint32_t size) {
    auto* record = NewBlock<DbCompoundRecord>();
    InitCompoundRecord(record);
    record->optionalWords[0] = 100;
    record->firstText = DuplicateHostText(u"first");
    record->firstValue = NewText(u"nested");
    record->secondValue = NewList(int32sValue, {NewText(u"two"), nullptr});
    const std::u16string wide = u"a text long enough for the heap";
    record->wideString.length = wide.size();
    record->wideString.capacity = wide.size() + 10;
    record->wideString.storage.heapText =
        static_cast<char16_t*>(AllocateHostBlock((wide.size() + 11) * sizeof(char16_t)));
    std::memcpy(record->wideString.storage.heapText, wide.c_str(), (wide.size() + 1) * 2);

    auto* field = NewBlock<FieldDescription>();
    InitFieldDescription(field);
    if (size != 0) {
        field->structSize = size;
        record->structSize = size + 24;
    }
    field->name = DuplicateHostText(u"Name");
    field->text32 = DuplicateHostText(u"ThirtyTwo");
    field->word68 = 69;

    auto* range = NewBlock<DbRangeValue>();
    DbValue* low = NewText(u"low");
    MakeRange(range, stringValue, low, 1, nullptr, 2);
    DeleteValue(low);

    auto* blob = NewBlock<platform::GlobalHandle>();
    *blob = platform::GlobalAllocate(0x2042, 3);
    std::memcpy(platform::GlobalLockBlock(*blob), "\1\2\3", 3);
    platform::GlobalUnlockBlock(*blob);
    auto* cell = NewBlock<void*>();
    *cell = object;
    return NewList(
        stringValue,
        {NewText(u"head"), NewValueOf(int32uValue, compoundKind, record),
         NewValueOf(stringValue, fieldKind, field), NewValueOf(stringValue, rangeKind, range),
         NewValueOf(blobValue, singleKind, blob), NewValueOf(interfaceValue, singleKind, cell)});
}

TEST(ValueRecords, DeepCopyOfEveryKind) {
    for (uint32_t size : {39u, 40u, 71u, 72u, 0u}) {
        SCOPED_TRACE(size);
        const bool covers40 = size == 0 || size >= 40, covers72 = size == 0 || size >= 72;
        FakeObject object{kFakeVtbl, 1};  // the source's reference
        DbValue* source = NewRichSource(&object, size);
        DbValue copy;
        CopyValue(&copy, source);
        ASSERT_EQ(copy.kind, multipleKind);
        DbValue** items = static_cast<DbValueList*>(copy.data)->items;
        EXPECT_EQ(Text(items[0]->data), u"head");
        auto* record = static_cast<DbCompoundRecord*>(items[1]->data);
        EXPECT_EQ(std::u16string(record->wideString.storage.heapText, record->wideString.length),
                  u"a text long enough for the heap");
        EXPECT_EQ(record->optionalWords[0], covers40 ? 100 : 0);
        EXPECT_EQ(Text(record->firstValue->data), u"nested");
        auto* nested = static_cast<DbValueList*>(record->secondValue->data);
        ASSERT_EQ(nested->count, 2u);
        EXPECT_EQ(nested->items[1]->kind, emptyKind);  // a null member becomes an empty one
        const auto* field = static_cast<FieldDescription*>(items[2]->data);
        EXPECT_EQ(Text(field->text32), covers40 ? u"ThirtyTwo" : u"(null)");
        EXPECT_EQ(field->word68, covers72 ? 69u : 0u);
        auto* range = static_cast<DbRangeValue*>(items[3]->data);
        EXPECT_EQ(Text(range->start->data), u"low");
        EXPECT_EQ(range->end->kind, emptyKind);  // a missing bound: empty, of the range's type
        EXPECT_EQ(range->end->valueType, stringValue);
        auto* blob = static_cast<platform::GlobalHandle*>(items[4]->data);
        ASSERT_EQ(platform::GlobalBlockSize(*blob), 3u);
        EXPECT_EQ(std::memcmp(platform::GlobalLockBlock(*blob), "\1\2\3", 3), 0);
        platform::GlobalUnlockBlock(*blob);
        EXPECT_EQ(object.references, 2u);  // the copy holds one of its own
        ClearValue(&copy);
        EXPECT_EQ(object.references, 1u);

        // Each allocation of the copy, failing, leaves nothing behind.
        for (long failAt = 0;; ++failAt) {
            InitValue(&copy, unknownValue);
            const long before = liveBlocks;
            allocationsBeforeFailure = failAt;
            bool failed = false;
            try {
                AssignValue(&copy, source);
            } catch (const std::bad_alloc&) {
                failed = true;
            }
            allocationsBeforeFailure = -1;
            const long kept = liveBlocks - before;  // before any check: gtest allocates too
            ClearValue(&copy);
            EXPECT_EQ(failed ? kept : liveBlocks - before, 0) << "allocation " << failAt;
            EXPECT_EQ(copy.valueType, stringValue);
            if (!failed) {
                EXPECT_GT(failAt, 20);
                break;
            }
        }
        DeleteValue(source);
        EXPECT_EQ(object.references, 0u);
    }
}

// The largest unsigned value is reported, and converted through the signed one.
TEST(ValueAssertion, LargestUnsignedToNumber) {
    AssertionCapture capture;
    ASSERT_TRUE(capture.active());
    uint64_t most = UINT64_MAX;
    double result = 0;
    EXPECT_EQ(ConvertValue(&most, int64uValue, 0, &result, numberValue, 8), Status_Success);
    EXPECT_EQ(result, -1.0);
    EXPECT_EQ(capture.Reports(),
              std::vector<std::string>{"dbconvert: *(Int64u *) srcBuffer < MaxInt64u"});
}

}  // namespace
