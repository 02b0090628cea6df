#include "tools/sqlite/SqlColumns.h"

namespace sqlhost {

// snake_case of the English field names; the version and summary groups
// carry their group as a prefix, since both have Comments.
const SqlColumn kFieldColumns[kFieldColumnCount] = {
    {"computer", "TEXT"},
    {"directory", "TEXT"},
    {"directory_name", "TEXT"},
    {"parent_directory", "TEXT"},
    {"file_name", "TEXT"},
    {"alternate_file_name", "TEXT"},
    {"extension", "TEXT"},
    {"file_type", "TEXT"},
    {"file_size", "INTEGER"},
    {"compressed_size", "INTEGER"},
    {"last_written", "TEXT"},
    {"creation_time", "TEXT"},
    {"last_accessed", "TEXT"},
    {"version_file_version", "TEXT"},
    {"version_description", "TEXT"},
    {"version_internal_name", "TEXT"},
    {"version_company_name", "TEXT"},
    {"version_comments", "TEXT"},
    {"version_legal_copyright", "TEXT"},
    {"version_legal_trademarks", "TEXT"},
    {"version_original_file_name", "TEXT"},
    {"version_product_name", "TEXT"},
    {"version_product_version", "TEXT"},
    {"version_private_build", "TEXT"},
    {"version_special_build", "TEXT"},
    {"version_language", "TEXT"},
    {"version_binary_file_version", "TEXT"},
    {"version_binary_product_version", "TEXT"},
    {"version_is_debug", "INTEGER"},
    {"version_is_patched", "INTEGER"},
    {"version_is_prerelease", "INTEGER"},
    {"version_is_private_build", "INTEGER"},
    {"version_is_special_build", "INTEGER"},
    {"owner", "TEXT"},
    {"owner_domain", "TEXT"},
    {"acl", "TEXT"},
    {"is_archived", "INTEGER"},
    {"is_hidden", "INTEGER"},
    {"is_normal", "INTEGER"},
    {"is_read_only", "INTEGER"},
    {"is_system_file", "INTEGER"},
    {"is_compressed", "INTEGER"},
    {"is_temporary", "INTEGER"},
    {"is_offline", "INTEGER"},
    {"attributes", "INTEGER"},
    {"attribute_string", "TEXT"},
    {"directory_level_absolute", "INTEGER"},
    {"directory_level_relative", "INTEGER"},
    {"summary_title", "TEXT"},
    {"summary_subject", "TEXT"},
    {"summary_author", "TEXT"},
    {"summary_keywords", "TEXT"},
    {"summary_comments", "TEXT"},
    {"summary_template", "TEXT"},
    {"summary_last_author", "TEXT"},
    {"summary_revision_number", "TEXT"},
    {"summary_edit_time", "INTEGER"},
    {"summary_last_print_date", "TEXT"},
    {"summary_creation_date", "TEXT"},
    {"summary_last_saved_date", "TEXT"},
    {"summary_number_of_pages", "INTEGER"},
    {"summary_number_of_words", "INTEGER"},
    {"summary_number_of_characters", "INTEGER"},
    {"summary_application_name", "TEXT"},
    {"summary_security", "INTEGER"},
};

const char* const kHiddenColumnNames[kColumnCount - kDirColumn] = {"dir", "mask", "levels",
                                                                   "empty_dirs"};

const char* SqlTypeOf(DbValueType type) {
    switch (type) {
        case int32uValue:
        case booleanValue:
            return "INTEGER";
        default:
            return "TEXT";
    }
}

std::string CreateTableStatement() {
    std::string sql = "CREATE TABLE x(";
    for (const SqlColumn& column : kFieldColumns)
        sql += std::string(column.name) + " " + column.type + ", ";
    for (int i = 0; i < kColumnCount - kDirColumn; ++i)
        sql += std::string(i > 0 ? ", " : "") + kHiddenColumnNames[i] + " HIDDEN";
    return sql + ")";
}

}  // namespace sqlhost
