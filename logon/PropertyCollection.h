// DbPropertyCollection: the ordered property lists in which logon
// information and dialog descriptions travel (source unit propcoll).
#pragma once

#include <cstdint>
#include <memory>

#include "vldb/dbdriver.h"

constexpr uint32_t kCollectionSize = 16;

void InitCollection(DbPropertyCollection* collection);
// Releases every entry and the array; the collection is empty afterwards.
void ClearCollection(DbPropertyCollection* collection);

// Collection records on the host heap.
DbPropertyCollection* NewCollection();
// ClearCollection, then release the record; null does nothing.
void DeleteCollection(DbPropertyCollection* collection);
// A deep copy, entry by entry in order; empty for a null source.
DbPropertyCollection* CopyCollection(const DbPropertyCollection* source);

struct CollectionDeleter {
    void operator()(DbPropertyCollection* collection) const { DeleteCollection(collection); }
};
using CollectionPtr = std::unique_ptr<DbPropertyCollection, CollectionDeleter>;

// True when two names are the same text to the user: locale-aware and
// ignoring case, by plain upper-casing where the collation cannot tell.
bool PropertyNamesMatch(const char16_t* a, const char16_t* b);

// The index of the first entry whose name matches `key`, else of the first
// whose display name does; -1 when none does or `key` is null or empty.
int32_t FindPropertyIndex(const DbPropertyCollection* collection, const char16_t* key);
// The entry found under `key`, else under `secondKey` when that is another text.
DbProperty* FindProperty(const DbPropertyCollection* collection, const char16_t* key,
                         const char16_t* secondKey);
// The entry found under `key` in the collection, else (unless `topLevelOnly`)
// in the hints of its entries, depth first. `indexOut` (optional) receives
// the index within the collection that holds the entry.
DbProperty* FindPropertyDeep(const DbPropertyCollection* collection, const char16_t* key,
                             bool topLevelOnly, int32_t* indexOut);
// The value of the entry FindPropertyDeep finds, or null.
DbValue* FindValueDeep(const DbPropertyCollection* collection, const char16_t* key,
                       bool topLevelOnly);

// Appends a deep copy of `property`; false (and no change) for null.
bool AddPropertyCopy(DbPropertyCollection* collection, const DbProperty* property);
// Appends a property made of copies of the arguments; a null `value` gives
// the property no value.
bool AddNewProperty(DbPropertyCollection* collection, const char16_t* name,
                    const char16_t* displayName, const char16_t* description, DbValueType valueType,
                    uint32_t options, const DbValue* value);
// Appends copies of every entry of `source`. Returns 0.
uint32_t AddAllProperties(DbPropertyCollection* collection, const DbPropertyCollection* source);

// Flattens the tab members of a dialog description into `target`: the
// members of every `key` hint of the source's entries are added, or, when
// `target` already has an entry of that name, give it their value.
void MergeTabProperties(const DbPropertyCollection* source, DbPropertyCollection* target,
                        const char16_t* key);
