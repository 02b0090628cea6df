// The output formats of fsdata query and fsdata fields: an aligned table for
// people, CSV (RFC 4180) and JSON Lines. Every write goes through Output.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/CellValue.h"
#include "tools/fsdata/Output.h"
#include "vldb/dbdriver.h"

namespace fsdata {

using host::CellValue;

struct Column {
    std::string name;     // UTF-8
    bool isSize = false;  // a byte count: the table shows it as `ls -h` does
};

class RowWriter {
public:
    virtual ~RowWriter() = default;
    virtual void Header(const std::vector<Column>& columns) = 0;
    virtual void Row(const std::vector<CellValue>& cells) = 0;
    virtual void Finish() {}
};

// "table", "csv" or "jsonl"; null for another name.
std::unique_ptr<RowWriter> MakeRowWriter(const std::string& format, Output& out);

// Whether a cell of this type is a number, written without quotes and
// aligned right.
bool IsNumberType(DbValueType type);

// A text cell's UTF-16 text, wherever the cell holds it.
std::u16string TextOf(const CellValue& cell);

// A cell as CSV has it: null and "no date" are empty, texts their bytes.
std::string PlainText(const CellValue& cell);

}  // namespace fsdata
