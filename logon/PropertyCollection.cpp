#include "logon/PropertyCollection.h"

#include <utility>
#include <vector>

#include "logon/Property.h"
#include "platform/Collation.h"
#include "runtime/Diagnostics.h"
#include "runtime/HostMemory.h"
#include "values/ValueBuffer.h"
#include "values/ValueRecord.h"

namespace {

constexpr const char* kSourceUnit = "propcoll";

// Collections from the engine may claim entries without an array.
uint32_t EntryCount(const DbPropertyCollection* collection) {
    if (collection == nullptr || collection->items == nullptr)
        return 0;
    return collection->count;
}

bool IsEmptyText(const char16_t* text) {
    return text == nullptr || text[0] == u'\0';
}

// Which text of an entry a search pass compares.
enum class SearchedText { Name, DisplayName };

int32_t FindInPass(const DbPropertyCollection* collection, const char16_t* key,
                   SearchedText searched) {
    const uint32_t count = EntryCount(collection);
    for (uint32_t i = 0; i < count; ++i) {
        const DbProperty* prop = collection->items[i];
        VL_ASSERT_TEXT(prop != nullptr, "prop != NULL");
        if (prop == nullptr)
            continue;
        const char16_t* text = searched == SearchedText::Name ? prop->name : prop->displayName;
        if (text != nullptr && PropertyNamesMatch(text, key))
            return static_cast<int32_t>(i);
    }
    return -1;
}

// Releases the entries and the array of `collection`, which is left empty.
// Entries with hints are not released at once: each is kept as a link of
// `pending` (chained through its value slot, its value already gone) until
// its hints are released, so a tree of any depth is released in a loop and
// without memory of its own.
void ReleaseEntries(DbPropertyCollection* collection, DbProperty*& pending) {
    DbProperty** items = collection->items;
    const uint32_t count = items != nullptr ? collection->count : 0;
    collection->items = nullptr;
    collection->count = 0;
    for (uint32_t i = 0; i < count; ++i) {
        DbProperty* property = items[i];
        if (property == nullptr)
            continue;
        ReleasePropertyMembers(property);
        if (property->uiInfo != nullptr) {
            property->value = reinterpret_cast<DbValue*>(pending);
            pending = property;
        } else {
            FreeHostBlock(property);
        }
    }
    FreeHostBlock(items);
}

// Appends `property` (owned from now on) to the array, growing it by one.
void AppendEntry(DbPropertyCollection* collection, DbProperty* property) {
    const uint32_t count = EntryCount(collection);
    DbProperty** items;
    try {
        items = static_cast<DbProperty**>(AllocateHostBlock((count + 1) * sizeof(DbProperty*)));
    } catch (...) {
        DeleteProperty(property);
        throw;
    }
    for (uint32_t i = 0; i < count; ++i)
        items[i] = collection->items[i];
    items[count] = property;
    FreeHostBlock(collection->items);
    collection->items = items;
    collection->count = count + 1;
}

// Fills the empty collection `copy` with deep copies of the entries of
// `source`. Nested hint collections wait on a list of their own rather than
// on the call stack; every record is attached to `copy` as soon as it
// exists, so a failure leaves a tree that DeleteCollection releases whole.
void CopyEntriesDeep(DbPropertyCollection* copy, const DbPropertyCollection* source) {
    std::vector<std::pair<const DbPropertyCollection*, DbPropertyCollection*>> work;
    work.emplace_back(source, copy);
    while (!work.empty()) {
        auto [from, to] = work.back();
        work.pop_back();
        const uint32_t count = EntryCount(from);
        if (count == 0)
            continue;
        to->items = static_cast<DbProperty**>(AllocateHostBlock(count * sizeof(DbProperty*)));
        for (uint32_t i = 0; i < count; ++i) {
            DbProperty* entry = NewProperty();
            to->items[to->count++] = entry;
            // A missing entry is copied as a fresh property: the copy keeps the count.
            const DbProperty* original = from->items[i];
            if (original == nullptr)
                continue;
            CopyPropertyMembers(entry, original);
            if (original->uiInfo != nullptr) {
                entry->uiInfo = NewCollection();
                work.emplace_back(original->uiInfo, entry->uiInfo);
            }
        }
    }
}

}  // namespace

void InitCollection(DbPropertyCollection* collection) {
    collection->structSize = kCollectionSize;
    collection->count = 0;
    collection->items = nullptr;
}

void ClearCollection(DbPropertyCollection* collection) {
    if (collection == nullptr)
        return;
    DbProperty* pending = nullptr;
    ReleaseEntries(collection, pending);
    while (pending != nullptr) {
        DbProperty* property = pending;
        pending = reinterpret_cast<DbProperty*>(property->value);
        DbPropertyCollection* hints = property->uiInfo;
        FreeHostBlock(property);
        ReleaseEntries(hints, pending);
        FreeHostBlock(hints);
    }
}

DbPropertyCollection* NewCollection() {
    auto* collection =
        static_cast<DbPropertyCollection*>(AllocateHostBlock(sizeof(DbPropertyCollection)));
    InitCollection(collection);
    return collection;
}

void DeleteCollection(DbPropertyCollection* collection) {
    if (collection == nullptr)
        return;
    ClearCollection(collection);
    FreeHostBlock(collection);
}

DbPropertyCollection* CopyCollection(const DbPropertyCollection* source) {
    CollectionPtr copy(NewCollection());
    CopyEntriesDeep(copy.get(), source);
    return copy.release();
}

bool PropertyNamesMatch(const char16_t* a, const char16_t* b) {
    int order = platform::CollateTextNoCase(a, b);
    if (order == platform::kCollationError)
        order = platform::CompareTextNoCase(a, b);
    return order == 0;
}

int32_t FindPropertyIndex(const DbPropertyCollection* collection, const char16_t* key) {
    if (IsEmptyText(key) || EntryCount(collection) == 0)
        return -1;
    // A name anywhere wins over an earlier display name.
    int32_t index = FindInPass(collection, key, SearchedText::Name);
    if (index < 0)
        index = FindInPass(collection, key, SearchedText::DisplayName);
    return index;
}

DbProperty* FindProperty(const DbPropertyCollection* collection, const char16_t* key,
                         const char16_t* secondKey) {
    int32_t index = FindPropertyIndex(collection, key);
    if (index >= 0)
        return collection->items[index];
    if (IsEmptyText(secondKey))
        return nullptr;
    // The same text is not searched twice.
    if (key != nullptr && PropertyNamesMatch(secondKey, key))
        return nullptr;
    index = FindPropertyIndex(collection, secondKey);
    return index >= 0 ? collection->items[index] : nullptr;
}

DbProperty* FindPropertyDeep(const DbPropertyCollection* collection, const char16_t* key,
                             bool topLevelOnly, int32_t* indexOut) {
    int32_t index = FindPropertyIndex(collection, key);
    if (index >= 0) {
        if (indexOut != nullptr)
            *indexOut = index;
        return collection->items[index];
    }
    if (topLevelOnly) {
        if (indexOut != nullptr)
            *indexOut = 0;
        return nullptr;
    }
    // Depth first through the hints: each collection is searched whole
    // before the hints of its entries, and the hints of entry 0 before
    // those of entry 1. The walk keeps its own stack, so the depth of a
    // tree from the engine does not matter.
    std::vector<std::pair<const DbPropertyCollection*, uint32_t>> stack;
    stack.emplace_back(collection, 0);
    while (!stack.empty()) {
        auto& [current, next] = stack.back();
        if (next >= EntryCount(current)) {
            stack.pop_back();
            continue;
        }
        const DbProperty* prop = current->items[next++];
        VL_ASSERT_TEXT(prop != nullptr, "prop != NULL");
        if (prop == nullptr || prop->uiInfo == nullptr)
            continue;
        const DbPropertyCollection* hints = prop->uiInfo;
        index = FindPropertyIndex(hints, key);
        if (index >= 0) {
            if (indexOut != nullptr)
                *indexOut = index;
            return hints->items[index];
        }
        stack.emplace_back(hints, 0);
    }
    return nullptr;
}

DbValue* FindValueDeep(const DbPropertyCollection* collection, const char16_t* key,
                       bool topLevelOnly) {
    const DbProperty* property = FindPropertyDeep(collection, key, topLevelOnly, nullptr);
    return property != nullptr ? property->value : nullptr;
}

bool AddPropertyCopy(DbPropertyCollection* collection, const DbProperty* property) {
    if (property == nullptr)
        return false;
    DbProperty* copy = NewProperty();
    try {
        copy->name = DuplicateWideString(property->name);
        copy->displayName = DuplicateWideString(property->displayName);
        copy->description = DuplicateWideString(property->description);
        copy->valueType = property->valueType;
        copy->options = property->options;
        if (property->uiInfo != nullptr)
            copy->uiInfo = CopyCollection(property->uiInfo);
        // Only a value that holds something is copied; otherwise the copy
        // keeps its fresh empty value.
        const DbValue* value = property->value;
        if (value != nullptr && value->kind != emptyKind && value->data != nullptr)
            AssignValue(copy->value, value);
    } catch (...) {
        DeleteProperty(copy);
        throw;
    }
    AppendEntry(collection, copy);
    return true;
}

bool AddNewProperty(DbPropertyCollection* collection, const char16_t* name,
                    const char16_t* displayName, const char16_t* description, DbValueType valueType,
                    uint32_t options, const DbValue* value) {
    LocalProperty property;
    property->name = DuplicateWideString(name);
    property->displayName = DuplicateWideString(displayName);
    property->description = DuplicateWideString(description);
    property->valueType = valueType;
    property->options = options;
    if (value != nullptr)
        AssignValue(property->value, value);
    else
        InitValue(property->value, valueType);
    return AddPropertyCopy(collection, property.get());
}

uint32_t AddAllProperties(DbPropertyCollection* collection, const DbPropertyCollection* source) {
    const uint32_t count = EntryCount(source);
    for (uint32_t i = 0; i < count; ++i) {
        const DbProperty* prop = source->items[i];
        VL_ASSERT_TEXT(prop != nullptr, "prop != NULL");
        if (prop != nullptr)
            AddPropertyCopy(collection, prop);
    }
    return 0;
}

void MergeTabProperties(const DbPropertyCollection* source, DbPropertyCollection* target,
                        const char16_t* key) {
    const uint32_t count = EntryCount(source);
    for (uint32_t i = 0; i < count; ++i) {
        const DbProperty* prop = source->items[i];
        VL_ASSERT_TEXT(prop != nullptr, "prop != NULL");
        if (prop == nullptr || prop->uiInfo == nullptr)
            continue;
        const DbProperty* tab = FindPropertyDeep(prop->uiInfo, key, false, nullptr);
        if (tab == nullptr)
            continue;
        const uint32_t members = EntryCount(tab->uiInfo);
        for (uint32_t m = 0; m < members; ++m) {
            const DbProperty* property = tab->uiInfo->items[m];
            VL_ASSERT_TEXT(property != nullptr, "property != NULL");
            if (property == nullptr)
                continue;
            const int32_t existing = FindPropertyIndex(target, property->name);
            if (existing < 0) {
                AddNewProperty(target, property->name, property->displayName, property->description,
                               property->valueType, property->options, property->value);
                continue;
            }
            // A later member of the same name gives the earlier one its value only.
            DbProperty* entry = target->items[existing];
            if (entry->value == nullptr)
                entry->value = NewValue(unknownValue);
            AssignValue(entry->value, property->value);
        }
    }
}
