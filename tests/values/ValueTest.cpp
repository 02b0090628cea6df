// The value types: calendar, conversions, records, a failed check's report.
// The counting allocator below checks that a failed copy keeps nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <tuple>
#include <vector>

#include "platform/OleAutomation.h"
#include "runtime/HostMemory.h"
#include "tests/support/AssertionCapture.h"
#include "tests/support/CountingAllocator.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"
#include "values/Calendar.h"
#include "values/ValueBuffer.h"
#include "values/ValueConversion.h"
#include "values/ValueRecord.h"

using namespace testing_support;

namespace {

// A SYSTEMTIME (of years from 1) gives the same day, and its time of day.
TEST(Calendar, DayNumbersAndDatesThatDoNotExist) {
    const auto table = ReferenceTable::LoadCases("values/calendar.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        const auto n = [&](const char* column) { return std::stoi(table.Field(row, column)); };
        const int year = n("year"), number = n("number");
        const uint16_t month = uint16_t(n("month")), day = uint16_t(n("day"));
        EXPECT_EQ(MakeDateNumber(int16_t(year), month, day), number);
        const DbDateTime value =
            DateTimeFromSystemTime({uint16_t(year), month, 0, day, 13, 2, 3, 456});
        const bool valid = number != -1;  // the time of an invalid date does not matter
        EXPECT_TRUE(year < 1 || std::make_tuple(value.date, valid ? value.time : 46923,
                                                valid ? value.nanoseconds : 456000000u) ==
                                    std::make_tuple(number, 46923, 456000000u));
    }
}

// Every day from 4713 BC to AD 9999 splits back into its date, and days have
// consecutive numbers across the ten days of October 1582 that never were.
TEST(Calendar, RoundTripOverEveryDay) {
    int32_t next = 0;
    for (int year = -4713; year <= 9999; ++year) {
        for (uint16_t month = 1; month <= 12 && year != 0; ++month) {
            for (uint16_t day = 1; day <= 31; ++day) {
                const int32_t number = MakeDateNumber(static_cast<int16_t>(year), month, day);
                if (number == -1 || (year == 1582 && month == 10 && day >= 5 && day <= 14))
                    continue;
                int16_t y = 0;
                uint16_t m = 0, d = 0;
                SplitDateNumber(number, y, m, d);
                ASSERT_EQ(std::make_tuple(number, int{y}, m, d),
                          std::make_tuple(next++, year, month, day));
            }
        }
    }
    EXPECT_EQ(next, MakeDateNumber(9999, 12, 31) + 1);
}

// A value of conversion.tsv ("int32s:-1") as its type and payload bytes.
DbValueType Payload(const std::string& value, std::vector<uint8_t>& bytes) {
    const std::string names =
        " int8s int8u int16s int16u int32s int32u number currency boolean"
        " date time string narrow memo blob dateTime decimal int64s int64u"
        " opaque64 interface ";  // narrow: a string of bytes; the last two are 100 and 101
    const std::string name = value.substr(0, value.find(':')), text = value.substr(name.size() + 1);
    const auto index = std::count(names.begin(), names.begin() + names.find(" " + name + " "), ' ');
    const int type = index == 12 ? stringValue : static_cast<int>(index < 19 ? index : index + 81);
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
    if (name == "narrow")
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

// The rows of conversion.tsv, then what its shape leaves out.
TEST(ConvertValue, Matrix) {
    SetEnvironment("LC_ALL", "en_US.UTF-8");
    const ReferenceTable table = ReferenceTable::LoadCases("values/conversion.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name + " " + table.Field(row, "what"));
        std::vector<uint8_t> source, expected;
        const DbValueType from = Payload(table.Field(row, "source"), source);
        const std::string reader = table.Field(row, "to");
        if (reader == "asBoolean" || reader == "asString") {  // on a value holding the source
            DbValue value;
            InitValue(&value, from);
            SetSingleValue(&value, from, source.data(), 1);
            const std::string text = U8(GetValueAsString(&value).str());
            const bool flag = GetValueAsBoolean(&value, table.Field(row, "bytes") == "1");
            EXPECT_EQ(reader == "asString" ? text : std::to_string(flag),
                      table.Field(row, "expected"));
            ClearValue(&value);
            continue;
        }
        const uint32_t flags =
            table.Field(row, "source").rfind("narrow:", 0) == 0 ? kConvertNarrowSource : 0;
        const DbValueType to = Payload(table.Field(row, "to") + ":0", expected);
        uint32_t bytes = static_cast<uint32_t>(std::stoul(table.Field(row, "bytes")));
        bytes = bytes ? bytes : FixedValueSize(to) ? FixedValueSize(to) : 256;
        std::vector<uint8_t> out(bytes, 0xCC);
        const DbStatus status = ConvertValue(source.data(), from, flags, out.data(), to, bytes);
        EXPECT_EQ(status, static_cast<DbStatus>(std::stoul(table.Field(row, "status"))));
        const std::string value = table.Field(
            row, IsWindowsBuild() && !table.Field(row, "windows").empty() ? "windows" : "expected");
        if (!value.empty())
            Payload(value, expected);
        else
            expected.assign(out.size(), 0xCC);  // nothing written
        out.resize(expected.size());
        EXPECT_EQ(out, expected);
        if (to == stringValue && bytes == 256) {  // the exact size of the text, its NUL too
            uint32_t size = 99;
            EXPECT_EQ(GetConvertedSize(source.data(), from, flags, to, &size, true), status);
            EXPECT_EQ(size, status == Status_Success ? expected.size() : 0u);
        }
    }
    // Without `exact`, any number takes the longest text; a destination is needed.
    uint32_t size = 99;
    double x = 1.5;
    EXPECT_EQ(GetConvertedSize(&x, numberValue, 0, stringValue, &size, false), Status_Success);
    EXPECT_EQ(size, 128u);
    const int32_t one = 1;
    EXPECT_EQ(ConvertValue(&one, int32sValue, 0, nullptr, numberValue, 8), Status_InvalidArgument);
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
// field description, a range and an interface: every block nested.
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
    record->wideString.length = record->wideString.capacity = wide.size();
    record->wideString.storage.heapText = DuplicateHostText(wide.c_str());

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

    auto* cell = NewBlock<void*>();
    *cell = object;
    return NewList(stringValue, {NewText(u"head"), NewValueOf(int32uValue, compoundKind, record),
                                 NewValueOf(stringValue, fieldKind, field),
                                 NewValueOf(stringValue, rangeKind, range),
                                 NewValueOf(interfaceValue, singleKind, cell)});
}

TEST(ValueRecords, DeepCopyOfEveryKind) {
    for (uint32_t size : {39u, 40u, 71u, 72u, 0u}) {
        SCOPED_TRACE(size);
        const bool covers40 = size == 0 || size >= 40, covers72 = size == 0 || size >= 72;
        FakeObject object{kFakeVtbl, 1};  // the source's reference
        DbValue* source = NewRichSource(&object, size);
        DbValue copy;
        CopyValue(&copy, source);
        DbValue** items = static_cast<DbValueList*>(copy.data)->items;
        EXPECT_EQ(U8(static_cast<const char16_t*>(items[0]->data)), "head");
        auto* record = static_cast<DbCompoundRecord*>(items[1]->data);
        EXPECT_EQ(std::u16string(record->wideString.storage.heapText, record->wideString.length),
                  u"a text long enough for the heap");
        EXPECT_EQ(record->optionalWords[0], covers40 ? 100 : 0);
        EXPECT_EQ(U8(static_cast<const char16_t*>(record->firstValue->data)), "nested");
        // A null member of a list becomes an empty one.
        EXPECT_EQ(static_cast<DbValueList*>(record->secondValue->data)->items[1]->kind, emptyKind);
        const auto* field = static_cast<FieldDescription*>(items[2]->data);
        EXPECT_EQ(U8(static_cast<const char16_t*>(field->text32)),
                  covers40 ? "ThirtyTwo" : "(null)");
        EXPECT_EQ(field->word68, covers72 ? 69u : 0u);
        auto* range = static_cast<DbRangeValue*>(items[3]->data);
        EXPECT_EQ(U8(static_cast<const char16_t*>(range->start->data)), "low");
        EXPECT_EQ(range->end->kind, emptyKind);  // a missing bound: empty, of the range's type
        EXPECT_EQ(range->end->valueType, stringValue);
        EXPECT_EQ(object.references, 2u);  // the copy holds one of its own
        ClearValue(&copy);
        EXPECT_EQ(object.references, 1u);

        // Each allocation of the copy, failing, leaves nothing behind.
        const long runs = SweepAllocationFailures(
            [&] {
                InitValue(&copy, unknownValue);
                AssignValue(&copy, source);
            },
            [&] {
                ClearValue(&copy);
                EXPECT_EQ(copy.valueType, stringValue);
            });
        EXPECT_GT(runs, 20);
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
