#include "tools/fsdata/TableWriter.h"

#include <algorithm>

#include "platform/TextEncoding.h"
#include "tools/fsdata/DisplayText.h"

namespace fsdata {

void TableWriter::Header(const std::vector<Column>& columns) {
    columns_ = columns;
    rightAligned_.assign(columns.size(), false);
    widths_.assign(columns.size(), 0);
}

std::string TableWriter::CellText(size_t column, const CellValue& cell) const {
    if (cell.isNull)
        return "";
    if (cell.type == int32uValue && columns_[column].isSize)
        return HumanSize(static_cast<uint32_t>(cell.number));
    if (cell.type == stringValue || cell.type == memoValue)
        return VisibleText(TextOf(cell));
    return PlainText(cell);
}

void TableWriter::Row(const std::vector<CellValue>& cells) {
    std::vector<std::string> texts;
    for (size_t i = 0; i < cells.size() && i < columns_.size(); ++i) {
        texts.push_back(CellText(i, cells[i]));
        if (IsNumberType(cells[i].type))
            rightAligned_[i] = true;
    }
    if (started_) {
        Print(texts);
        return;
    }
    held_.push_back(std::move(texts));
    if (held_.size() == kHeldRows)
        Start();
}

void TableWriter::Finish() {
    if (!started_)
        Start();
}

// Widths from the header and the held rows, capped but for the last column,
// which is never padded and so never cut.
void TableWriter::Start() {
    started_ = true;
    std::vector<std::string> header;
    for (size_t i = 0; i < columns_.size(); ++i) {
        header.push_back(VisibleText(platform::Utf8ToUtf16(columns_[i].name)));
        widths_[i] = DisplayWidth(header[i]);
        for (const auto& row : held_)
            widths_[i] = std::max(widths_[i], DisplayWidth(row[i]));
        if (i + 1 < columns_.size())
            widths_[i] = std::min(widths_[i], std::max(kMaxWidth, DisplayWidth(header[i])));
    }
    Print(header);
    std::vector<std::string> rules;
    for (size_t width : widths_)
        rules.push_back(std::string(width, '-'));
    Print(rules);
    for (const auto& row : held_)
        Print(row);
    held_.clear();
}

void TableWriter::Print(const std::vector<std::string>& texts) {
    std::string line;
    for (size_t i = 0; i < texts.size(); ++i) {
        const bool last = i + 1 == texts.size();
        const std::string text = last ? texts[i] : FitToWidth(texts[i], widths_[i]);
        const std::string padding(widths_[i] - std::min(widths_[i], DisplayWidth(text)), ' ');
        if (i > 0)
            line += "  ";
        if (rightAligned_[i])
            line += padding + text;
        else
            line += last ? text : text + padding;
    }
    out_.Write(line + "\n");
}

}  // namespace fsdata
