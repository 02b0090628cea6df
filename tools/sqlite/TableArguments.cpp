#include "tools/sqlite/TableArguments.h"

#include "host/LogonProperties.h"
#include "platform/TextEncoding.h"
#include "tools/sqlite/SqlColumns.h"

namespace sqlhost {
namespace {

// 'text', "text" and `text` lose their quotes, and a doubled quote inside
// stands for one.
std::string Unquoted(const std::string& text) {
    if (text.size() < 2 || text.front() != text.back() ||
        std::string("'\"`").find(text.front()) == std::string::npos)
        return text;
    const char quote = text.front();
    std::string plain;
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        plain += text[i];
        if (text[i] == quote && text[i + 1] == quote)
            ++i;
    }
    return plain;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

bool SetArgument(TableArguments& arguments, int column, const std::string& text,
                 std::string& error) {
    switch (column) {
        case kDirColumn:
            if (text.empty()) {
                error = "fsdata: dir is empty (. names the current directory)";
                return false;
            }
            arguments.directory = text;
            arguments.hasDirectory = true;
            return true;
        case kMaskColumn:
            if (host::MaskHoldsSeparator(platform::Utf8ToUtf16(text))) {
                error =
                    "fsdata: mask matches file names in each directory and cannot hold a path "
                    "separator: '" +
                    text + "'";
                return false;
            }
            arguments.mask = text;
            return true;
        case kLevelsColumn:
            if (!host::ParseLevels(text, arguments.levels)) {
                error =
                    "fsdata: levels takes -1 (no limit) or a whole number from 0 to 2147483647, "
                    "not '" +
                    text + "'";
                return false;
            }
            return true;
        case kEmptyDirsColumn:
            if (text != "0" && text != "1") {
                error = "fsdata: empty_dirs takes 0 or 1, not '" + text + "'";
                return false;
            }
            arguments.emptyDirs = text == "1";
            return true;
        default:
            error = "fsdata: no argument for column " + std::to_string(column);
            return false;
    }
}

bool ParseModuleArguments(const std::vector<std::string>& items, TableArguments& arguments,
                          std::string& error) {
    for (const std::string& item : items) {
        const size_t equals = item.find('=');
        if (equals == std::string::npos) {
            error = "fsdata: '" + item + "' is not of the form name=value";
            return false;
        }
        const std::string name = Trimmed(item.substr(0, equals));
        int column = kDirColumn;
        while (column < kColumnCount && name != kHiddenColumnNames[column - kDirColumn])
            ++column;
        if (column == kColumnCount) {
            error = "fsdata: unknown argument '" + name +
                    "' (the arguments are dir, mask, levels and empty_dirs)";
            return false;
        }
        if (!SetArgument(arguments, column, Unquoted(Trimmed(item.substr(equals + 1))), error))
            return false;
    }
    return true;
}

}  // namespace sqlhost
