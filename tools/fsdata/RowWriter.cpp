#include "tools/fsdata/RowWriter.h"

#include <algorithm>

#include "values/Calendar.h"

namespace fsdata {
namespace {

// Text of a cell for the table and CSV formats; null and "no date" are empty.
std::string PlainText(const CellValue& cell) {
    if (cell.isNull)
        return "";
    switch (cell.type) {
        case int32uValue:
            return std::to_string(cell.number);
        case booleanValue:
            return cell.flag ? "true" : "false";
        case dateTimeValue:
            return DateTimeText(cell.dateTime);
        default:
            return cell.text;
    }
}

// The number of characters a UTF-8 text shows (one per code point).
size_t DisplayWidth(const std::string& text) {
    return std::count_if(text.begin(), text.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

class TableWriter : public RowWriter {
public:
    explicit TableWriter(FILE* out) : out_(out) {}

    void Header(const std::vector<std::string>& names) override {
        header_ = names;
        widths_.assign(names.size(), 0);
        for (size_t i = 0; i < names.size(); ++i)
            widths_[i] = DisplayWidth(names[i]);
    }

    // The first rows are held back to size the columns; later ones stream.
    void Row(const std::vector<CellValue>& cells) override {
        std::vector<std::string> texts;
        for (const CellValue& cell : cells)
            texts.push_back(Escape(PlainText(cell)));
        if (!started_) {
            held_.push_back(texts);
            for (size_t i = 0; i < texts.size() && i < widths_.size(); ++i)
                widths_[i] = std::max(widths_[i], std::min(DisplayWidth(texts[i]), kMaxWidth));
            if (held_.size() == kHeldRows)
                Start();
            return;
        }
        Print(texts);
    }

    void Finish() override {
        if (!started_)
            Start();
    }

private:
    static constexpr size_t kHeldRows = 200;
    static constexpr size_t kMaxWidth = 60;

    // Line breaks and tabs would break the columns.
    static std::string Escape(const std::string& text) {
        std::string escaped;
        for (char c : text)
            escaped += c == '\n' ? std::string("\\n") : c == '\t' ? " " : std::string(1, c);
        return escaped;
    }

    void Start() {
        started_ = true;
        Print(header_);
        std::vector<std::string> rules;
        for (size_t width : widths_)
            rules.push_back(std::string(width, '-'));
        Print(rules);
        for (const auto& row : held_)
            Print(row);
        held_.clear();
    }

    void Print(const std::vector<std::string>& texts) {
        std::string line;
        for (size_t i = 0; i < texts.size(); ++i) {
            if (i > 0)
                line += "  ";
            line += texts[i];
            if (i + 1 < texts.size() && i < widths_.size()) {
                size_t width = DisplayWidth(texts[i]);
                if (width < widths_[i])
                    line.append(widths_[i] - width, ' ');
            }
        }
        std::fprintf(out_, "%s\n", line.c_str());
    }

    FILE* out_;
    std::vector<std::string> header_;
    std::vector<size_t> widths_;
    std::vector<std::vector<std::string>> held_;
    bool started_ = false;
};

class CsvWriter : public RowWriter {
public:
    explicit CsvWriter(FILE* out) : out_(out) {}
    void Header(const std::vector<std::string>& names) override { Print(names); }
    void Row(const std::vector<CellValue>& cells) override {
        std::vector<std::string> texts;
        for (const CellValue& cell : cells)
            texts.push_back(PlainText(cell));
        Print(texts);
    }

private:
    // Fields with a comma, a quote or a line break are quoted, quotes doubled.
    void Print(const std::vector<std::string>& texts) {
        std::string line;
        for (size_t i = 0; i < texts.size(); ++i) {
            if (i > 0)
                line += ',';
            const std::string& text = texts[i];
            if (text.find_first_of(",\"\r\n") == std::string::npos) {
                line += text;
                continue;
            }
            line += '"';
            for (char c : text)
                line += c == '"' ? std::string("\"\"") : std::string(1, c);
            line += '"';
        }
        std::fprintf(out_, "%s\r\n", line.c_str());
    }

    FILE* out_;
};

std::string JsonString(const std::string& text) {
    std::string json = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                json += "\\\"";
                break;
            case '\\':
                json += "\\\\";
                break;
            case '\n':
                json += "\\n";
                break;
            case '\r':
                json += "\\r";
                break;
            case '\t':
                json += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", c);
                    json += escape;
                } else {
                    json += static_cast<char>(c);
                }
        }
    }
    return json + "\"";
}

class JsonLinesWriter : public RowWriter {
public:
    explicit JsonLinesWriter(FILE* out) : out_(out) {}
    void Header(const std::vector<std::string>& names) override {
        keys_.clear();
        for (const std::string& name : names)
            keys_.push_back(JsonString(name));
    }
    void Row(const std::vector<CellValue>& cells) override {
        std::string line = "{";
        for (size_t i = 0; i < cells.size() && i < keys_.size(); ++i) {
            if (i > 0)
                line += ",";
            line += keys_[i] + ":" + Value(cells[i]);
        }
        std::fprintf(out_, "%s}\n", line.c_str());
    }

private:
    static std::string Value(const CellValue& cell) {
        if (cell.isNull)
            return "null";
        switch (cell.type) {
            case int32uValue:
                return std::to_string(cell.number);
            case booleanValue:
                return cell.flag ? "true" : "false";
            case dateTimeValue: {
                std::string text = DateTimeText(cell.dateTime);
                return text.empty() ? "null" : JsonString(text);
            }
            default:
                return JsonString(cell.text);
        }
    }

    FILE* out_;
    std::vector<std::string> keys_;
};

}  // namespace

std::unique_ptr<RowWriter> MakeRowWriter(const std::string& format, FILE* out) {
    if (format == "table")
        return std::make_unique<TableWriter>(out);
    if (format == "csv")
        return std::make_unique<CsvWriter>(out);
    if (format == "jsonl")
        return std::make_unique<JsonLinesWriter>(out);
    return nullptr;
}

std::string DateTimeText(const DbDateTime& value) {
    if (value.date == -1)
        return "";
    int16_t year;
    uint16_t month, day, hour = 0, minute = 0, second = 0;
    SplitDateNumber(value.date, year, month, day);
    if (value.time >= 0)
        SplitTimeOfDay(value.time, hour, minute, second);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02u:%02u:%02u.%03u", year, month, day, hour,
                  minute, second, value.nanoseconds / 1000000);
    return text;
}

}  // namespace fsdata
