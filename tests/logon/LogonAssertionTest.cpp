// What the property collections, the property records and the logon code
// report to the logging library. Each case loads the library afresh in a
// process of its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logon/LogonDescription.h"
#include "logon/PreQEDatabaseName.h"
#include "logon/Property.h"
#include "logon/PropertyCollection.h"
#include "logon/PropertyHints.h"
#include "logon/PropertyRequests.h"
#include "tests/logon/EngineCollection.h"
#include "tests/support/AssertionCapture.h"
#include "tests/support/ScopedResources.h"
#include "values/ValueRecord.h"

using namespace testing_support;

namespace {

using Lines = std::vector<std::string>;

class LogonAssertionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(capture_.active()); }

    Lines Reports() { return capture_.Reports(); }

    // "prop != NULL" `count` times.
    static Lines NullEntry(size_t count) { return Lines(count, "propcoll: prop != NULL"); }

    AssertionCapture capture_;
    ScopedResources resources_;
};

TEST_F(LogonAssertionTest, SearchesReportEveryNullEntryTheyWalk) {
    EngineCollection engine;
    engine.AddNull();
    engine.AddString(u"File Mask", u"Mask", u"*.*");

    EXPECT_EQ(FindPropertyIndex(engine.get(), u"File Mask"), 1);
    EXPECT_EQ(Reports(), NullEntry(1));  // found in the pass over names
    EXPECT_EQ(FindPropertyIndex(engine.get(), u"Mask"), 1);
    EXPECT_EQ(Reports(), NullEntry(2));  // and in the pass over display names
    EXPECT_EQ(FindPropertyIndex(engine.get(), u""), -1);
    EXPECT_EQ(Reports(), Lines{});  // no key: no walk

    // A second key that is the first again is not searched.
    EXPECT_EQ(FindProperty(engine.get(), u"none", u"NONE"), nullptr);
    EXPECT_EQ(Reports(), NullEntry(2));
    EXPECT_EQ(FindProperty(engine.get(), u"none", u"other"), nullptr);
    EXPECT_EQ(Reports(), NullEntry(4));

    // The deep search walks the collection once more for the hints.
    EXPECT_EQ(FindPropertyDeep(engine.get(), u"none", false, nullptr), nullptr);
    EXPECT_EQ(Reports(), NullEntry(3));
    EXPECT_EQ(FindPropertyDeep(engine.get(), u"none", true, nullptr), nullptr);
    EXPECT_EQ(Reports(), NullEntry(2));

    CollectionPtr target(NewCollection());
    AddAllProperties(target.get(), engine.get());
    EXPECT_EQ(Reports(), NullEntry(1));
    EXPECT_EQ(target->count, 1u);
}

TEST_F(LogonAssertionTest, TabMergeReportsNullEntriesAndNullMembers) {
    EngineCollection engine;
    engine.AddNull();
    DbProperty& tab = engine.AddBare(u"Connection");
    EngineCollection& hints = engine.Hints(tab);
    EngineCollection& members = hints.Hints(hints.AddBare(u"PropInfo_TabProperties"));
    members.AddNull();
    members.AddString(u"File Mask", nullptr, u"*.txt");

    CollectionPtr target(NewCollection());
    MergeTabProperties(engine.get(), target.get(), kHintTabProperties);
    EXPECT_EQ(target->count, 1u);
    EXPECT_EQ(Reports(), (Lines{"propcoll: prop != NULL", "propcoll: property != NULL"}));
}

TEST_F(LogonAssertionTest, PropertyStoresReportWrongTypesAndMissingValues) {
    DbProperty* property = NewProperty();
    property->valueType = booleanValue;
    EXPECT_EQ(SetPropertyString(property, u"text"), Status_NotSupported);
    EXPECT_EQ(Reports(), Lines{"dbproperty: false"});

    DeleteValue(property->value);
    property->value = nullptr;
    EXPECT_EQ(SetPropertyString(property, u"text"), Status_NotSupported);
    EXPECT_EQ(Reports(), Lines{"dbproperty: false"});
    EXPECT_EQ(property->value, nullptr);  // no change at all

    uint16_t flag = 1;
    EXPECT_EQ(SetPropertyValue(property, &flag, 1), Status_Success);
    EXPECT_EQ(Reports(), Lines{"dbproperty: FALSE"});
    ASSERT_NE(property->value, nullptr);

    DeleteValue(property->value);
    property->value = nullptr;
    property->valueType = stringValue;
    EXPECT_EQ(SetPropertyString(property, u"text"), Status_Success);
    EXPECT_EQ(Reports(), Lines{"dbproperty: FALSE"});

    // Copies of a property without a value record get one of their own.
    DeleteValue(property->value);
    property->value = nullptr;
    DbProperty* copy = CopyProperty(property);
    EXPECT_NE(copy->value, nullptr);
    EXPECT_EQ(Reports(), Lines{});
    DeleteProperty(copy);
    DeleteProperty(property);
}

TEST_F(LogonAssertionTest, OneTextFormReportsMissingBracketsOnly) {
    SWCharString directory, mask;
    int32_t levels = 0;
    for (const char16_t* text : {u"</data|*.*|3", u"/data|*.*|3>", u"x", u"<"}) {
        EXPECT_FALSE(ParsePreQEDatabaseName(text, directory, mask, levels));
        EXPECT_EQ(Reports(), Lines{"fslogon: false"}) << U8(text);
    }
    for (const char16_t* text : {u"", u"</data|3>", u"<|*|3>", u"</data|*|>"}) {
        EXPECT_FALSE(ParsePreQEDatabaseName(text, directory, mask, levels));
        EXPECT_EQ(Reports(), Lines{}) << U8(text);
    }
}

TEST_F(LogonAssertionTest, OrdinaryWorkReportsNothing) {
    CollectionPtr description(NewCollection());
    BuildLogonDescription(description.get(), u"de", u"/data", u"*.txt", 2, true, true);
    BuildLogonDescription(description.get(), u"", u"", u"", -1, false, false);
    CollectionPtr copy(CopyCollection(description.get()));
    CollectionPtr flat(NewCollection());
    MergeTabProperties(copy.get(), flat.get(), kHintTabProperties);
    AddAllProperties(flat.get(), copy.get());
    DbPropertyCollection* answer = nullptr;
    ASSERT_EQ(HandleFileMaskRequest(copy.get(), &answer), Status_Success);
    DeleteCollection(answer);
    ASSERT_EQ(HandleLevelRequest(copy.get(), &answer), Status_Success);
    DeleteCollection(answer);
    SWCharString directory, mask;
    int32_t levels = 0;
    EXPECT_TRUE(ParsePreQEDatabaseName(u"</d|*|1>", directory, mask, levels));
    EXPECT_EQ(Reports(), Lines{});
}

}  // namespace
