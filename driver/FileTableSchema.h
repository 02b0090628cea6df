// The 65 fields of the file table: ordinal, the resource texts of its name
// and description, value type and declared length.
#pragma once

#include <cstdint>

#include "vldb/dbdriver.h"

struct FieldDefinition {
    uint32_t ordinal;
    uint32_t nameId;
    uint32_t descriptionId;
    DbValueType valueType;
    uint32_t length;
};

constexpr uint32_t kFileTableFieldCount = 65;

// Row i holds the field of ordinal i + 1.
extern const FieldDefinition FileTableSchema[kFileTableFieldCount];

// The definition of an ordinal from 1 to 65, or null.
const FieldDefinition* FindFieldDefinition(int64_t ordinal);
