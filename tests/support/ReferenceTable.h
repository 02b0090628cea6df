// Tables of cases (tab-separated, one case a row, named by table and line):
// how the real Win32 functions behave, recorded under Wine (shared/reference
// or FSDATA_REFERENCE_DIR), and the tests' own.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

class ReferenceTable {
public:
    struct Row {
        std::string name;  // "oleaut.tsv:12"
        std::vector<std::string> fields;
    };

    // A reference table ("oleaut.tsv"), or one of the tests' own relative to
    // tests/ ("search/walk.tsv"). '#' lines are comments; an unreadable table
    // fails the running test and is empty.
    static ReferenceTable Load(const std::string& file);
    static ReferenceTable LoadCases(const std::string& file);

    const std::vector<Row>& rows() const { return rows_; }
    // A column's index by header; fails the running test and gives 0 if none.
    size_t Column(const std::string& header) const;
    // A row's field in a column, unescaped; "" past the row's end.
    std::string Field(const Row& row, const std::string& header) const;

private:
    static ReferenceTable LoadPath(const std::filesystem::path& path, const std::string& file);

    std::vector<std::string> headers_;
    std::vector<Row> rows_;
};

// The reference tables' folder and the source tree, as this build names them.
std::filesystem::path ReferenceFolder();
std::filesystem::path SourceFolder();

// A field as the tables escape it (\\ \t \n \r \xNN \uXXXX): as bytes
// (UTF-8, a lone surrogate in its three-byte form), or as UTF-16.
std::string UnescapeField(const std::string& field);
std::u16string UnescapeField16(const std::string& field);

// A field quoted as "text" without its quotes; else the field itself.
std::string Unquoted(const std::string& field);

}  // namespace testing_support
