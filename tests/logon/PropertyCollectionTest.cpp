// Property collections and property records in-process: the search rules,
// deep copies, the flattening of dialog tabs, and engine collections with
// missing texts, missing entries and values of every kind. Leaks show in the
// sanitizer build.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logon/Property.h"
#include "logon/PropertyCollection.h"
#include "logon/PropertyHints.h"
#include "platform/GlobalMemory.h"
#include "runtime/HostMemory.h"
#include "tests/logon/CollectionText.h"
#include "tests/logon/EngineCollection.h"
#include "values/ValueBuffer.h"
#include "values/ValueRecord.h"

using namespace testing_support;

namespace {

// A property of the driver's own making, appended to `to`.
void AddDriverString(DbPropertyCollection* to, const char16_t* name, const char16_t* text) {
    LocalProperty property;
    property->name = DuplicateWideString(name);
    property->valueType = stringValue;
    SetPropertyString(property.get(), text);
    AddPropertyCopy(to, property.get());
}

TEST(PropertySearch, NameAnywhereWinsOverAnEarlierDisplayName) {
    EngineCollection engine;
    engine.AddString(u"Alpha", u"File Mask", u"0");  // display name only
    engine.AddString(u"file mask", nullptr, u"1");   // name, other case
    engine.AddString(nullptr, u"Beta", u"2");        // no name
    engine.AddString(u"", u"Gamma", u"3");           // empty name
    engine.AddString(u"File Mask", u"Beta", u"4");   // a later duplicate
    engine.AddString(u"Fíle Mask", nullptr, u"5");   // accents count

    const struct {
        const char16_t* key;
        int32_t index;
    } cases[] = {
        {u"File Mask", 1},                // the first name match, though 0 shows that text
        {u"FILE MASK", 1}, {u"beta", 2},  // display names only when no name matches
        {u"gamma", 3},     {u"Alpha", 0}, {u"Fíle Mask", 5},  // not entry 1: accents count
        {u"File", -1},                                        // whole texts only
        {u"", -1},  // the empty name of entry 3 is not found
        {nullptr, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindPropertyIndex(engine.get(), c.key), c.index) << U8(c.key);

    EXPECT_EQ(FindPropertyIndex(nullptr, u"File Mask"), -1);
    EngineCollection empty;
    EXPECT_EQ(FindPropertyIndex(empty.get(), u"File Mask"), -1);
}

TEST(PropertySearch, EngineCollectionsWithoutEntries) {
    EngineCollection engine;
    engine.AddString(u"File Mask", nullptr, u"*.*");
    engine.Corrupt(3, true);  // a count without an array
    EXPECT_EQ(FindPropertyIndex(engine.get(), u"File Mask"), -1);
    EXPECT_EQ(FindPropertyDeep(engine.get(), u"File Mask", false, nullptr), nullptr);
    CollectionPtr copy(CopyCollection(engine.get()));
    EXPECT_EQ(copy->count, 0u);

    EngineCollection withNull;
    withNull.AddNull();
    withNull.AddString(nullptr, nullptr, u"x");
    withNull.AddString(u"File Mask", nullptr, u"*.txt");
    EXPECT_EQ(FindPropertyIndex(withNull.get(), u"File Mask"), 2);
    EXPECT_EQ(FindPropertyIndex(withNull.get(), u"x"), -1);
}

TEST(PropertySearch, SecondKeyIsTriedOnlyWhenItIsAnotherText) {
    EngineCollection engine;
    engine.AddString(u"Startverzeichnis", nullptr, u"de");
    engine.AddString(u"Dateimaske", u"File Mask", u"mask");

    auto found = [&](const char16_t* key, const char16_t* second) -> std::string {
        const DbProperty* property = FindProperty(engine.get(), key, second);
        return property ? U8(property->name) : "none";
    };
    EXPECT_EQ(found(u"Starting Directory", u"Startverzeichnis"), "Startverzeichnis");
    EXPECT_EQ(found(u"Starting Directory", u""), "none");
    EXPECT_EQ(found(u"Starting Directory", nullptr), "none");
    EXPECT_EQ(found(u"Starting Directory", u"STARTING DIRECTORY"), "none");
    EXPECT_EQ(found(nullptr, u"Startverzeichnis"), "Startverzeichnis");
    EXPECT_EQ(found(u"File Mask", u"Startverzeichnis"), "Dateimaske");  // the first key first
}

TEST(PropertySearch, DeepSearchGoesDepthFirstThroughHints) {
    EngineCollection engine;
    DbProperty& first = engine.AddBare(u"first");
    DbProperty& second = engine.AddBare(u"second");
    EngineCollection& firstHints = engine.Hints(first);
    DbProperty& middle = firstHints.AddBare(u"middle");
    firstHints.AddBare(u"other");
    EngineCollection& deepest = firstHints.Hints(middle);
    deepest.AddBare(u"pad");
    deepest.AddString(u"Target", nullptr, u"deep in entry 0");
    engine.Hints(second).AddString(u"target", nullptr, u"shallow in entry 1");

    int32_t index = -7;
    const DbProperty* found = FindPropertyDeep(engine.get(), u"TARGET", false, &index);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(ValueText(found->value), "string:\"deep in entry 0\"");
    EXPECT_EQ(index, 1);  // within the collection that holds it
    EXPECT_EQ(ValueText(FindValueDeep(engine.get(), u"target", false)),
              "string:\"deep in entry 0\"");

    index = -7;
    EXPECT_EQ(FindPropertyDeep(engine.get(), u"second", true, &index), &second);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(FindPropertyDeep(engine.get(), u"target", true, &index), nullptr);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(FindValueDeep(engine.get(), u"target", true), nullptr);
    index = -7;
    EXPECT_EQ(FindPropertyDeep(engine.get(), u"nowhere", false, &index), nullptr);
    EXPECT_EQ(index, -7);
    EXPECT_EQ(FindPropertyDeep(engine.get(), u"", false, &index), nullptr);
}

TEST(PropertyCopy, AddPropertyCopyIsDeepAndKeepsOptions) {
    CollectionPtr target(NewCollection());
    EXPECT_FALSE(AddPropertyCopy(target.get(), nullptr));
    EXPECT_EQ(target->count, 0u);
    EXPECT_EQ(target->items, nullptr);

    DbProperty* source = NewProperty();
    source->name = DuplicateWideString(u"Starting Directory");
    source->description = DuplicateWideString(u"where");
    source->valueType = stringValue;
    source->options = 0x5A;
    SetPropertyString(source, u"/tmp");
    SetUiControlType(source, UiControl_DirectoryChooser);
    SetRequestHandler(source, 7);
    const std::string expected =
        "Starting Directory / ~ / where : string = string:\"/tmp\" (options 90)\n"
        "  PropInfo_UiControlType / ~ / ~ : int32u = int32u:9\n"
        "  PropInfo_RequestHandler / ~ / ~ : int32u = int32u:7\n";
    ASSERT_TRUE(AddPropertyCopy(target.get(), source));
    ASSERT_TRUE(AddPropertyCopy(target.get(), source));
    DeleteProperty(source);  // the copies share nothing with it
    EXPECT_EQ(CollectionText(target.get()), expected + expected);
    EXPECT_NE(target->items[0]->uiInfo, target->items[1]->uiInfo);
    EXPECT_NE(target->items[0]->value->data, target->items[1]->value->data);
}

// Values of every kind the engine may send, copied and released.
TEST(PropertyCopy, ValuesOfEveryKindAreCopiedDeeply) {
    EngineCollection engine;
    int32_t low = 1, high = 9;
    DbValue* start = engine.Value(singleKind, int32sValue, &low);
    DbValue* end = engine.Value(singleKind, int32sValue, &high);
    DbRangeValue range{sizeof(DbRangeValue), start, 1, end, 0};
    engine.AddValue(u"range", nullptr, int32sValue, engine.Value(rangeKind, int32sValue, &range));

    DbValue* members[] = {start, nullptr, end};
    DbValueList list{sizeof(DbValueList), 3, members};
    engine.AddValue(u"list", nullptr, int32sValue, engine.Value(multipleKind, int32sValue, &list));

    platform::GlobalHandle block = platform::GlobalAllocate(0x2042, 5);
    platform::GlobalHandle blobCell = block;
    engine.AddValue(u"blob", nullptr, blobValue, engine.Value(singleKind, blobValue, &blobCell));

    char16_t text[] = u"12";
    engine.AddValue(u"memo", nullptr, memoValue, engine.Value(singleKind, memoValue, text));
    engine.AddValue(u"odd kind", nullptr, int32sValue, engine.Value(9, int32sValue, &low));

    CollectionPtr copy(CopyCollection(engine.get()));
    ASSERT_EQ(copy->count, 5u);
    const DbValue* copiedRange = copy->items[0]->value;
    ASSERT_EQ(copiedRange->kind, rangeKind);
    auto* rangeCopy = static_cast<DbRangeValue*>(copiedRange->data);
    ASSERT_NE(rangeCopy, &range);
    EXPECT_EQ(ValueText(rangeCopy->start), "int32s:1");
    EXPECT_EQ(ValueText(rangeCopy->end), "int32s:9");
    EXPECT_EQ(rangeCopy->startFlag, 1);

    const DbValue* copiedList = copy->items[1]->value;
    ASSERT_EQ(copiedList->kind, multipleKind);
    auto* listCopy = static_cast<DbValueList*>(copiedList->data);
    ASSERT_EQ(listCopy->count, 3u);
    EXPECT_EQ(ValueText(listCopy->items[0]), "int32s:1");
    EXPECT_EQ(ValueText(listCopy->items[1]), "empty:unknown");
    EXPECT_NE(listCopy->items[2], end);

    const DbValue* copiedBlob = copy->items[2]->value;
    ASSERT_EQ(copiedBlob->kind, singleKind);
    auto* cell = static_cast<platform::GlobalHandle*>(copiedBlob->data);
    EXPECT_NE(*cell, block);
    EXPECT_EQ(platform::GlobalBlockSize(*cell), 5u);

    EXPECT_EQ(U8(static_cast<const char16_t*>(copy->items[3]->value->data)), "12");
    EXPECT_EQ(ValueText(copy->items[4]->value), "empty:int32s");  // not a kind: nothing copied

    copy.reset();
    platform::GlobalFreeBlock(block);
}

TEST(TabMerge, MembersOfEveryTabBecomeAFlatList) {
    EngineCollection engine;
    engine.AddString(u"Starting Directory", nullptr, u"outside the tab: ignored");
    DbProperty& tab = engine.AddBare(u"Connection");
    EngineCollection& tabHints = engine.Hints(tab);
    tabHints.AddBare(u"PropInfo_Tab");
    // The members' key is found at any depth of a tab's hints.
    DbProperty& wrapper = tabHints.AddBare(u"wrapper");
    EngineCollection& wrapperHints = tabHints.Hints(wrapper);
    DbProperty& members = wrapperHints.AddBare(u"PropInfo_TabProperties");
    EngineCollection& list = wrapperHints.Hints(members);
    list.AddString(u"Starting Directory", nullptr, u"/data");
    DbProperty& flag = list.AddBoolean(u"Include Empty Directories", u"Leere", true);
    list.Hints(flag).AddInt32(u"PropInfo_UiControlType", nullptr, 6);

    DbProperty& second = engine.AddBare(u"Second tab");
    EngineCollection& secondHints = engine.Hints(second);
    DbProperty& secondMembers = secondHints.AddBare(u"PropInfo_TabProperties");
    secondHints.Hints(secondMembers).AddInt32(u"Levels", nullptr, 3);

    DbProperty& empty = engine.AddBare(u"Empty tab");
    EngineCollection& emptyHints = engine.Hints(empty);
    emptyHints.Hints(emptyHints.AddBare(u"PropInfo_TabProperties"));

    CollectionPtr target(NewCollection());
    MergeTabProperties(engine.get(), target.get(), kHintTabProperties);
    // Members are added as new properties: without their hints.
    EXPECT_EQ(CollectionText(target.get()),
              "Starting Directory / ~ / ~ : string = string:\"/data\"\n"
              "Include Empty Directories / Leere / ~ : boolean = boolean:true\n"
              "Levels / ~ / ~ : int32s = int32s:3\n");
}

TEST(TabMerge, LaterDuplicatesGiveTheirValueOnly) {
    EngineCollection engine;
    engine.AddString(u"File Mask", nullptr, u"outside: ignored");
    DbProperty& tab = engine.AddBare(u"Connection");
    EngineCollection& tabHints = engine.Hints(tab);
    DbProperty& members = tabHints.AddBare(u"propinfo_tabproperties");
    EngineCollection& list = tabHints.Hints(members);
    DbProperty& first = list.AddString(u"File Mask", u"Dateimaske", u"*.txt");
    first.options = 2;
    list.Hints(first).AddInt32(u"PropInfo_UiControlType", nullptr, 1);
    list.AddNull();
    list.AddInt32(u"Max Number of Subdirectory Levels", nullptr, 2);
    list.AddBoolean(u"FILE MASK", u"other label", true);  // a later duplicate

    CollectionPtr target(NewCollection());
    AddDriverString(target.get(), u"Max Number of Subdirectory Levels", u"was here first");
    MergeTabProperties(engine.get(), target.get(), kHintTabProperties);
    EXPECT_EQ(CollectionText(target.get()),
              "Max Number of Subdirectory Levels / ~ / ~ : string = int32s:2\n"
              "File Mask / Dateimaske / ~ : string = boolean:true (options 2)\n");
}

}  // namespace
