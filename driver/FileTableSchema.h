// The file table: one row per field, in field order, with the resource texts
// of its name and description, its value type and declared length, the part
// of the row it comes from and the reader that hands it over.
#pragma once

#include <cstdint>

#include "driver/FieldId.h"
#include "driver/FieldReaders.h"
#include "fileinfo/FileRecord.h"
#include "vldb/dbdriver.h"

struct FieldDefinition {
    FieldId id;
    uint32_t nameId;
    uint32_t descriptionId;
    DbValueType valueType;
    uint32_t length;
    // The group the reader loads when it is not the entry.
    RecordGroup group;
    FieldReader read;
};

// Row FieldIndex(id) holds the field `id`.
extern const FieldDefinition FileTableSchema[kFileTableFieldCount];

// The definition of an ordinal from 1 to 65, or null.
const FieldDefinition* FindFieldDefinition(int64_t ordinal);
