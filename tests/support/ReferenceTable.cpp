#include "tests/support/ReferenceTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "tests/support/TestSupport.h"

namespace testing_support {
namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line)
        if (c == '\t')
            fields.emplace_back();
        else
            fields.back() += c;
    return fields;
}

void AppendCodeUnit(unsigned unit, std::string& out) {
    const auto byte = [](unsigned bits) { return static_cast<char>(bits); };
    if (unit < 0x80)
        out += byte(unit);
    else if (unit < 0x800)
        out += {byte(0xC0 | unit >> 6), byte(0x80 | (unit & 0x3F))};
    else
        out +=
            {byte(0xE0 | unit >> 12), byte(0x80 | (unit >> 6 & 0x3F)), byte(0x80 | (unit & 0x3F))};
}

}  // namespace

std::filesystem::path SourceFolder() {
    std::string root = FSDATA_SOURCE_DIR;
    // The Windows build runs under Wine, where the source tree is on Z:.
    if (IsWindowsBuild() && !root.empty() && root[0] == '/')
        root = "Z:" + root;
    return root;
}

std::filesystem::path ReferenceFolder() {
    if (const char* named = std::getenv("FSDATA_REFERENCE_DIR"); named != nullptr && *named)
        return named;
    return SourceFolder().parent_path() / "shared" / "reference";
}

ReferenceTable ReferenceTable::Load(const std::string& file) {
    return LoadPath(ReferenceFolder() / file, file);
}

ReferenceTable ReferenceTable::LoadCases(const std::string& file) {
    return LoadPath(SourceFolder() / "tests" / file, file);
}

ReferenceTable ReferenceTable::LoadPath(const std::filesystem::path& path,
                                        const std::string& file) {
    ReferenceTable table;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read the table " << path.string();
        return table;
    }
    size_t number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '#')
            continue;
        if (table.headers_.empty())
            table.headers_ = SplitTabs(line);
        else if (!line.empty())
            table.rows_.push_back({file + ":" + std::to_string(number), SplitTabs(line)});
    }
    return table;
}

size_t ReferenceTable::Column(const std::string& header) const {
    for (size_t i = 0; i < headers_.size(); ++i)
        if (headers_[i] == header)
            return i;
    ADD_FAILURE() << "no column " << header;
    return 0;
}

std::string ReferenceTable::Field(const Row& row, const std::string& header) const {
    const size_t column = Column(header);
    return column < row.fields.size() ? UnescapeField(row.fields[column]) : std::string();
}

std::string UnescapeField(const std::string& field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        const char kind = field[i] == '\\' && i + 1 < field.size() ? field[++i] : '\0';
        const size_t digits = kind == 'x' ? 2 : kind == 'u' ? 4 : 0;
        if (kind == '\0') {
            out += field[i];  // not an escape (a NUL after a backslash stands for itself too)
        } else if (digits != 0 && i + digits < field.size()) {
            const unsigned unit = std::stoul(field.substr(i + 1, digits), nullptr, 16);
            digits == 2 ? void(out += static_cast<char>(unit)) : AppendCodeUnit(unit, out);
            i += digits;
        } else {
            const size_t named = std::string("tnr").find(kind);
            out += named == std::string::npos ? kind : "\t\n\r"[named];  // "\\" stands for '\\'
        }
    }
    return out;
}

std::u16string UnescapeField16(const std::string& field) {
    std::u16string out;
    size_t run = 0;  // start of the text not yet converted
    for (size_t i = 0; i + 1 < field.size(); ++i) {
        if (field[i] == '\\' && field[i + 1] == '\\') {
            ++i;
        } else if (field[i] == '\\' && field[i + 1] == 'u' && i + 5 < field.size()) {
            out += U16(UnescapeField(field.substr(run, i - run)));
            out += static_cast<char16_t>(std::stoi(field.substr(i + 2, 4), nullptr, 16));
            i += 5;
            run = i + 1;
        }
    }
    return out + U16(UnescapeField(field.substr(run)));
}

std::string Unquoted(const std::string& field) {
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        return field.substr(1, field.size() - 2);
    return field;
}

}  // namespace testing_support
