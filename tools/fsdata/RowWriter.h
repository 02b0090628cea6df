// The output formats of fsdata query and fsdata fields: aligned table, CSV
// (RFC 4180) and JSON lines.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "vldb/dbdriver.h"

namespace fsdata {

// One field value as the driver handed it over.
struct CellValue {
    DbValueType type = unknownValue;
    bool isNull = false;
    std::string text;  // UTF-8, for text types
    uint32_t number = 0;
    bool flag = false;
    DbDateTime dateTime{-1, -1, 0};
};

class RowWriter {
public:
    virtual ~RowWriter() = default;
    virtual void Header(const std::vector<std::string>& names) = 0;
    virtual void Row(const std::vector<CellValue>& cells) = 0;
    virtual void Finish() {}
};

// "table", "csv" or "jsonl"; null for another name.
std::unique_ptr<RowWriter> MakeRowWriter(const std::string& format, FILE* out);

// "YYYY-MM-DDTHH:MM:SS.mmm", or "" for a value without a date.
std::string DateTimeText(const DbDateTime& value);

}  // namespace fsdata
