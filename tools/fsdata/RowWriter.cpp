#include "tools/fsdata/RowWriter.h"

#include <cstdio>

#include "platform/TextEncoding.h"
#include "tools/fsdata/TableWriter.h"

namespace fsdata {
namespace {

// Whether a CSV field holds a comma, a quote or a line break. A plain loop:
// find_first_of searches the set once per character.
bool NeedsQuotes(const std::string& text) {
    for (char c : text)
        if (c == ',' || c == '"' || c == '\r' || c == '\n')
            return true;
    return false;
}

class CsvWriter : public RowWriter {
public:
    explicit CsvWriter(Output& out) : out_(out) {}
    void Header(const std::vector<Column>& columns) override {
        line_.clear();
        for (size_t i = 0; i < columns.size(); ++i)
            Append(i, columns[i].name);
        out_.Write(line_ += "\r\n");
    }
    void Row(const std::vector<CellValue>& cells) override {
        line_.clear();
        for (size_t i = 0; i < cells.size(); ++i) {
            const CellValue& cell = cells[i];
            if (cell.inBytes && !cell.isNull)
                Append(i, cell.bytes);
            else
                Append(i, text_ = PlainText(cell));
        }
        out_.Write(line_ += "\r\n");
    }

private:
    // Fields with a comma, a quote or a line break are quoted, quotes doubled.
    void Append(size_t column, const std::string& text) {
        if (column > 0)
            line_ += ',';
        if (!NeedsQuotes(text)) {
            line_ += text;
            return;
        }
        line_ += '"';
        for (char c : text) {
            if (c == '"')
                line_ += '"';
            line_ += c;
        }
        line_ += '"';
    }

    Output& out_;
    std::string line_, text_;  // kept from row to row, with their storage
};

// A JSON string of UTF-16 text: controls and lone surrogates escaped, so a
// stray byte b of a name is \udcXX (XX = b), as surrogate escapes are.
std::string JsonString(std::u16string_view text) {
    std::string json = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) {
            json += platform::Utf16ToUtf8(text.substr(i++, 2));
        } else if (c == u'"' || c == u'\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            json += escape;
        } else {
            platform::AppendUtf8(json, c);
        }
    }
    return json + "\"";
}

class JsonLinesWriter : public RowWriter {
public:
    explicit JsonLinesWriter(Output& out) : out_(out) {}
    void Header(const std::vector<Column>& columns) override {
        keys_.clear();
        for (const Column& column : columns)
            keys_.push_back(JsonString(platform::Utf8ToUtf16(column.name)));
    }
    void Row(const std::vector<CellValue>& cells) override {
        std::string line = "{";
        for (size_t i = 0; i < cells.size() && i < keys_.size(); ++i) {
            if (i > 0)
                line += ",";
            line += keys_[i] + ":" + Value(cells[i]);
        }
        out_.Write(line + "}\n");
    }

private:
    // Numbers and flags as CSV has them; texts as JSON strings; a date-time
    // without a date as null.
    static std::string Value(const CellValue& cell) {
        if (cell.isNull)
            return "null";
        const std::string plain = PlainText(cell);
        if (IsNumberType(cell.type) || cell.type == booleanValue)
            return plain;
        if (cell.type == dateTimeValue)
            return plain.empty() ? "null" : "\"" + plain + "\"";
        return JsonString(TextOf(cell));
    }

    Output& out_;
    std::vector<std::string> keys_;
};

}  // namespace

std::u16string TextOf(const CellValue& cell) {
    return cell.inBytes ? platform::Utf8ToUtf16(cell.bytes) : cell.text;
}

std::string PlainText(const CellValue& cell) {
    if (cell.isNull)
        return "";
    if (cell.inBytes)
        return cell.bytes;
    switch (cell.type) {
        case int32uValue:
        case int64sValue:
            return std::to_string(cell.number);
        case booleanValue:
            return cell.flag ? "true" : "false";
        case dateTimeValue:
            return host::DateTimeText(cell.dateTime);
        default:
            return platform::Utf16ToUtf8(cell.text);
    }
}

std::unique_ptr<RowWriter> MakeRowWriter(const std::string& format, Output& out) {
    if (format == "table")
        return std::make_unique<TableWriter>(out);
    if (format == "csv")
        return std::make_unique<CsvWriter>(out);
    if (format == "jsonl")
        return std::make_unique<JsonLinesWriter>(out);
    return nullptr;
}

bool IsNumberType(DbValueType type) {
    return type == int32uValue || type == int64sValue || type == numberValue;
}

}  // namespace fsdata
