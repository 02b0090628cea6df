// What the value model reports to the logging library when it meets a type
// or a kind it does not know, or a range bound that breaks the range's rule.
// Each case loads the library afresh in a process of its own.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/Diagnostics.h"
#include "runtime/HostMemory.h"
#include "tests/support/AssertionCapture.h"
#include "values/ValueBuffer.h"
#include "values/ValueRecord.h"

using namespace testing_support;

namespace {

const char* const kStartBoundText =
    "startValue != NULL && !startValue->hasRangeValue () && !startValue->hasMultipleValues ()";
const char* const kEndBoundText =
    "endValue != NULL && !endValue->hasRangeValue () && !endValue->hasMultipleValues ()";

class ValueAssertionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(capture_.active()); }

    std::vector<std::string> Reports() { return capture_.Reports(); }

    using Lines = std::vector<std::string>;

    AssertionCapture capture_;
};

DbValue* NewInt32(int32_t number) {
    DbValue* value = NewValue(int32sValue);
    SetSingleValue(value, int32sValue, &number, 1);
    return value;
}

// A value holding a list of two numbers.
void MakeList(DbValue* value) {
    auto* list = static_cast<DbValueList*>(AllocateHostBlock(sizeof(DbValueList)));
    list->structSize = 16;
    list->count = 2;
    list->items = static_cast<DbValue**>(AllocateHostBlock(2 * sizeof(DbValue*)));
    list->items[0] = NewInt32(1);
    list->items[1] = NewInt32(2);
    InitValue(value, int32sValue);
    value->kind = multipleKind;
    value->data = list;
}

TEST_F(ValueAssertionTest, TypeQueriesReportNonTypes) {
    const DbValueType types[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,   9,
                                 10, 11, 13, 14, 15, 16, 17, 18, 100, 101};
    for (DbValueType type : types)
        IsFixedSizeValue(type);
    EXPECT_EQ(Reports(), Lines{});

    EXPECT_TRUE(IsFixedSizeValue(12));
    EXPECT_TRUE(IsFixedSizeValue(unknownValue));
    EXPECT_EQ(Reports(), (Lines{"dbdllcommon: FALSE", "dbdllcommon: FALSE"}));

    for (DbValueType type : types) {
        if (type != stringValue && type != memoValue)
            ValueBufferSize(type);
    }
    EXPECT_EQ(Reports(), Lines{});
    EXPECT_EQ(ValueBufferSize(stringValue), 0u);
    EXPECT_EQ(ValueBufferSize(memoValue), 0u);
    EXPECT_EQ(ValueBufferSize(12), 0u);
    EXPECT_EQ(Reports(), (Lines{"dbdllcommon: false", "dbdllcommon: false", "dbdllcommon: false"}));
}

TEST_F(ValueAssertionTest, BufferOperationsReportBadTypesAndMissingBuffers) {
    // Ordinary work reports nothing.
    int32_t number = 5;
    void* copy = DuplicateValueBuffer(&number, int32sValue);
    char16_t text[4];
    CopyValueBuffer(u"abcdef", text, sizeof text, stringValue);
    FreeValueBuffer(copy, int32sValue);
    EXPECT_EQ(Reports(), Lines{});

    unsigned char payload[16] = {};
    unsigned char destination[16] = {};
    EXPECT_EQ(DuplicateValueBuffer(payload, 19), nullptr);
    CopyValueBuffer(payload, destination, sizeof destination, 102);
    CopyValueBuffer(nullptr, destination, sizeof destination, int32sValue);
    CopyValueBuffer(payload, nullptr, sizeof destination, int32sValue);
    FreeValueBuffer(payload, 254);  // left alone
    EXPECT_EQ(Reports(), Lines(5, "dbdllcommon: false"));

    // An opaque cell is reported, then released all the same.
    void* opaque = AllocateHostBlock(8);
    std::memset(opaque, 0x11, 8);
    FreeValueBuffer(opaque, opaque64Value);
    EXPECT_EQ(Reports(), Lines{"dbdllcommon: false"});
}

TEST_F(ValueAssertionTest, RangeBoundThatIsAListOrARangeIsReportedAndKept) {
    DbValue list;
    MakeList(&list);
    DbValue plain;
    InitValue(&plain, int32sValue);
    int32_t number = 9;
    SetSingleValue(&plain, int32sValue, &number, 1);

    DbRangeValue range;
    MakeRange(&range, int32sValue, &plain, 0, nullptr, 0);
    EXPECT_EQ(Reports(), Lines{});
    DbValue rangeValue;
    InitValue(&rangeValue, int32sValue);
    rangeValue.kind = rangeKind;
    rangeValue.data = AllocateHostBlock(sizeof(DbRangeValue));
    std::memcpy(rangeValue.data, &range, sizeof range);

    MakeRange(&range, int32sValue, &list, 1, &plain, 2);
    EXPECT_EQ(Reports(), Lines{std::string("dbvalue: ") + kStartBoundText});
    EXPECT_EQ(range.start->kind, multipleKind);
    EXPECT_EQ(range.startFlag, 1);
    DeleteValue(range.start);
    DeleteValue(range.end);

    MakeRange(&range, int32sValue, &plain, 0, &rangeValue, 0);
    EXPECT_EQ(Reports(), Lines{std::string("dbvalue: ") + kEndBoundText});
    EXPECT_EQ(range.end->kind, rangeKind);
    DeleteValue(range.start);
    DeleteValue(range.end);

    MakeRange(&range, int32sValue, &rangeValue, 0, &list, 0);
    EXPECT_EQ(Reports(), (Lines{std::string("dbvalue: ") + kStartBoundText,
                                std::string("dbvalue: ") + kEndBoundText}));
    DeleteValue(range.start);
    DeleteValue(range.end);

    // Copying a range that holds a bad bound reports it again.
    DbValue broken;
    InitValue(&broken, int32sValue);
    broken.kind = rangeKind;
    auto* brokenRange = static_cast<DbRangeValue*>(AllocateHostBlock(sizeof(DbRangeValue)));
    MakeRange(brokenRange, int32sValue, &list, 0, nullptr, 0);
    broken.data = brokenRange;
    Reports();
    DbValue copy;
    CopyValue(&copy, &broken);
    EXPECT_EQ(Reports(), Lines{std::string("dbvalue: ") + kStartBoundText});
    EXPECT_EQ(copy.kind, rangeKind);
    ClearValue(&copy);
    ClearValue(&broken);

    ClearValue(&rangeValue);
    ClearValue(&plain);
    ClearValue(&list);
    EXPECT_EQ(Reports(), Lines{});
}

TEST_F(ValueAssertionTest, ClearReportsForeignDataAndUnknownKinds) {
    int32_t notOwned = 3;
    DbValue value;
    InitValue(&value, int32sValue);
    value.data = &notOwned;
    ClearValue(&value);
    EXPECT_EQ(Reports(), Lines{"dbvalue: value == NULL"});

    value.kind = 8;
    value.data = &notOwned;
    ClearValue(&value);
    EXPECT_EQ(Reports(), Lines{"dbvalue: FALSE"});
    EXPECT_EQ(value.kind, emptyKind);
    EXPECT_EQ(value.data, nullptr);

    // Clearing what is really empty says nothing.
    ClearValue(&value);
    EXPECT_EQ(Reports(), Lines{});
}

TEST_F(ValueAssertionTest, AssignReportsUnknownKind) {
    DbValue source;
    InitValue(&source, booleanValue);
    source.kind = 6;
    DbValue value;
    InitValue(&value, unknownValue);
    EXPECT_EQ(AssignValue(&value, &source), static_cast<DbStatus>(Status_NotSupported));
    EXPECT_EQ(Reports(), Lines{"dbvalue: FALSE"});
    EXPECT_EQ(value.kind, emptyKind);
    EXPECT_EQ(value.valueType, booleanValue);
}

TEST_F(ValueAssertionTest, WellFormedValuesReportNothing) {
    DbValue list;
    MakeList(&list);
    DbValue copy;
    CopyValue(&copy, &list);

    auto* record = static_cast<DbCompoundRecord*>(AllocateHostBlock(sizeof(DbCompoundRecord)));
    InitCompoundRecord(record);
    record->firstValue = NewInt32(4);
    DbValue compound;
    InitValue(&compound, int32sValue);
    compound.kind = compoundKind;
    compound.data = record;
    DbValue compoundCopy;
    CopyValue(&compoundCopy, &compound);

    auto* field = static_cast<FieldDescription*>(AllocateHostBlock(sizeof(FieldDescription)));
    InitFieldDescription(field);
    field->name = DuplicateHostText(u"Size");
    DbValue fieldValue;
    InitValue(&fieldValue, int32uValue);
    fieldValue.kind = fieldKind;
    fieldValue.data = field;
    DbValue fieldCopy;
    CopyValue(&fieldCopy, &fieldValue);

    auto* range = static_cast<DbRangeValue*>(AllocateHostBlock(sizeof(DbRangeValue)));
    MakeRange(range, int32sValue, nullptr, 0, nullptr, 0);
    DbValue rangeValue;
    InitValue(&rangeValue, int32sValue);
    rangeValue.kind = rangeKind;
    rangeValue.data = range;
    DbValue rangeCopy;
    CopyValue(&rangeCopy, &rangeValue);

    for (DbValue* value :
         {&list, &copy, &compound, &compoundCopy, &fieldValue, &fieldCopy, &rangeValue, &rangeCopy})
        DestroyValue(value);
    EXPECT_EQ(Reports(), Lines{});
}

}  // namespace
