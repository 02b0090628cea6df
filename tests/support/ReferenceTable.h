// The reference tables: how the real Win32 functions behave, recorded under
// Wine (shared/reference beside the source tree, or FSDATA_REFERENCE_DIR).
// Each row of a table is a test case, named by its table and line.
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

    // Loads `file` ("oleaut.tsv"); an unreadable table fails the running
    // test and is empty.
    static ReferenceTable Load(const std::string& file);
    // Loads a table of the tests' own cases, `file` relative to tests/
    // ("search/walk.tsv"). Lines starting with '#' are comments.
    static ReferenceTable LoadCases(const std::string& file);

    const std::vector<Row>& rows() const { return rows_; }
    // The index of a column by its header name; fails the running test and
    // gives 0 when there is none.
    size_t Column(const std::string& header) const;
    // A row's field in a column, unescaped; "" past the row's end.
    std::string Field(const Row& row, const std::string& header) const;

private:
    static ReferenceTable LoadPath(const std::filesystem::path& path, const std::string& file);

    std::vector<std::string> headers_;
    std::vector<Row> rows_;
};

// The folder of the reference tables, and the source tree, as this build's
// file functions name them.
std::filesystem::path ReferenceFolder();
std::filesystem::path SourceFolder();

// A field as the tables escape it (\\ \t \n \r \xNN \uXXXX): as bytes
// (UTF-8, a lone surrogate in its three-byte form), or as UTF-16.
std::string UnescapeField(const std::string& field);
std::u16string UnescapeField16(const std::string& field);

// A field quoted as "text" (version and wildcard tables), without its quotes;
// the field itself when it is not quoted.
std::string Unquoted(const std::string& field);

}  // namespace testing_support
