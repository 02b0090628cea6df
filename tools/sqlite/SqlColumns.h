// The file table as SQL sees it: one column per field, in field order, named
// so that no statement needs to quote it, then the hidden columns that take
// the logon arguments of a table-valued call.
#pragma once

#include <cstdint>
#include <string>

#include "vldb/dbdriver.h"

namespace sqlhost {

struct SqlColumn {
    const char* name;
    const char* type;  // the declared type: INTEGER or TEXT
};

constexpr int kFieldColumnCount = 65;

// Column i is the field of ordinal i + 1.
extern const SqlColumn kFieldColumns[kFieldColumnCount];

// The hidden columns, after the fields, in the order of fsdata()'s arguments.
enum HiddenColumn : int {
    kDirColumn = kFieldColumnCount,
    kMaskColumn,
    kLevelsColumn,
    kEmptyDirsColumn,
    kColumnCount
};
extern const char* const kHiddenColumnNames[kColumnCount - kDirColumn];

// The declared type a value of the driver's type takes: INTEGER for numbers
// and flags (0 or 1), TEXT for texts and date-times (ISO 8601, local time).
const char* SqlTypeOf(DbValueType type);

// The statement sqlite3_declare_vtab takes.
std::string CreateTableStatement();

}  // namespace sqlhost
