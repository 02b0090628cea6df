// One field value as the driver hands it over, read into memory of the
// host's own.
#pragma once

#include <cstdint>
#include <string>

#include "host/DriverLibrary.h"

namespace host {

struct CellValue {
    DbValueType type = unknownValue;
    bool isNull = false;
    std::u16string text;  // for text types, with the driver's escape for stray bytes
    std::string bytes;    // a text that came as UTF-8 bytes instead (SQLite's)
    bool inBytes = false;
    int64_t number = 0;
    bool flag = false;
    DbDateTime dateTime{-1, -1, 0};
};

// Reads the value of a bound field of the rowset's current row into `cell`,
// whose text keeps its storage from row to row; an unknown-typed cell when
// the driver refuses the read.
void ReadCell(const DriverEntryPoints& api, DbRowsetRef rowset, int64_t fieldId, CellValue& cell);

// "YYYY-MM-DDTHH:MM:SS.mmm", or "" for a value without a date.
std::string DateTimeText(const DbDateTime& value);

}  // namespace host
