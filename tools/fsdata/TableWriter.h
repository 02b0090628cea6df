// Aligned columns for a person: the first rows are held back to measure the
// columns (all of them when the output is small); a later cell that is too
// wide ends in an ellipsis, so no row overflows its column.
#pragma once

#include "tools/fsdata/RowWriter.h"

namespace fsdata {

class TableWriter : public RowWriter {
public:
    explicit TableWriter(Output& out) : out_(out) {}
    void Header(const std::vector<Column>& columns) override;
    void Row(const std::vector<CellValue>& cells) override;
    void Finish() override;

private:
    static constexpr size_t kHeldRows = 200;
    static constexpr size_t kMaxWidth = 60;

    std::string CellText(size_t column, const CellValue& cell) const;
    void Start();
    void Print(const std::vector<std::string>& texts);

    Output& out_;
    std::vector<Column> columns_;
    std::vector<bool> rightAligned_;
    std::vector<size_t> widths_;
    std::vector<std::vector<std::string>> held_;
    bool started_ = false;
};

}  // namespace fsdata
