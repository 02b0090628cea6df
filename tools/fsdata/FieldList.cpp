#include "tools/fsdata/FieldList.h"

#include <algorithm>

#include "driver/FieldId.h"
#include "platform/TextEncoding.h"

namespace fsdata {
namespace {

// The fields shown when --fields is not given.
constexpr FieldId kDefaultFields[] = {FieldId::FileName, FieldId::FileSize, FieldId::LastWritten,
                                      FieldId::FileType, FieldId::Directory};

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsAll(const std::string& word) {
    std::string lower = word;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return lower == "all";
}

// The words of the list, or every ordinal for "all" and the default ones
// for no list.
bool SplitList(const host::Session& session, const std::string* list,
               std::vector<std::string>& words, std::string& error) {
    if (list == nullptr) {
        for (FieldId field : kDefaultFields)
            words.push_back(std::to_string(Ordinal(field)));
        return true;
    }
    if (Trimmed(*list).empty()) {
        error = "--fields is empty";
        return false;
    }
    size_t start = 0;
    for (;;) {
        const size_t comma = list->find(',', start);
        words.push_back(Trimmed(list->substr(start, comma - start)));
        if (words.back().empty()) {
            error = "--fields has an empty item in '" + *list + "'";
            return false;
        }
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (words.size() == 1 && IsAll(words[0])) {
        words.clear();
        for (uint32_t ordinal = 1; ordinal <= session.fieldCount(); ++ordinal)
            words.push_back(std::to_string(ordinal));
    }
    return true;
}

BindRequest Request(const std::string& word, const std::u16string& name, uint32_t fieldCount,
                    std::string& error) {
    BindRequest request{};
    if (word.find_first_not_of("0123456789") != std::string::npos) {
        request.kind = BindKind_Name;
        request.name = name.c_str();
        return request;
    }
    const std::string digits = word.substr(std::min(word.find_first_not_of('0'), word.size()));
    if (digits.empty() || digits.size() > 9 || std::stoul(digits) > fieldCount) {
        error =
            "no field number " + word + " (the fields are 1 to " + std::to_string(fieldCount) + ")";
        return request;
    }
    request.kind = BindKind_Ordinal;
    request.ordinal = static_cast<uint32_t>(std::stoul(digits));
    return request;
}

}  // namespace

bool BindFieldList(const host::Session& session, DbRowsetRef rowset, const std::string* list,
                   std::vector<BoundField>& fields, std::string& error) {
    std::vector<std::string> words;
    if (!SplitList(session, list, words, error))
        return false;
    for (const std::string& word : words) {
        const std::u16string name = platform::Utf8ToUtf16(word);
        const BindRequest request = Request(word, name, session.fieldCount(), error);
        if (!error.empty())
            return false;
        int64_t id = 0;
        if (session.api().DbBindToField(rowset, &request, &id) != Status_Success) {
            error = "no field '" + word + "' (see fsdata fields)";
            return false;
        }
        const auto same = [id](const BoundField& f) { return f.id == id; };
        if (std::any_of(fields.begin(), fields.end(), same)) {
            error = "--fields names '" + word + "' twice";
            return false;
        }
        fields.push_back({id, static_cast<uint32_t>(id)});
    }
    return true;
}

}  // namespace fsdata
