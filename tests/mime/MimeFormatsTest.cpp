// The readers of the shared-mime-info files, on their own, over the case
// tables beside this file: globs2 lines, locale names, a type's <comment>.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "formats/MimeFormats.h"
#include "tests/support/ReferenceTable.h"

namespace {

using testing_support::ReferenceTable;
using Strings = std::vector<std::string>;

Strings Words(const std::string& text) {
    std::istringstream in(text);
    Strings words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

TEST(MimeGlobs2, FollowsTheTable) {
    const ReferenceTable table = ReferenceTable::LoadCases("mime/globs2.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        const formats::MimeGlobs parsed = formats::ParseMimeGlobs2(table.Field(row, "text"));
        Strings globs;
        for (const formats::MimeGlob& glob : parsed.globs)
            globs.push_back(std::to_string(glob.weight) + ":" + glob.type + ":" + glob.extension +
                            (glob.caseSensitive ? ":cs" : ""));
        EXPECT_EQ(globs, Words(table.Field(row, "globs")));
        EXPECT_EQ(parsed.noGlobs, Words(table.Field(row, "noglobs")));
    }
}

TEST(MimeLanguages, FollowsTheTable) {
    const ReferenceTable table = ReferenceTable::LoadCases("mime/languages.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(formats::MimeLanguages(table.Field(row, "locale")),
                  Words(table.Field(row, "languages")));
    }
}

TEST(MimeComment, FollowsTheTable) {
    const ReferenceTable table = ReferenceTable::LoadCases("mime/comment.tsv");
    std::string xml;
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        if (!table.Field(row, "xml").empty())
            xml = table.Field(row, "xml");
        std::string comment = "-";
        const bool found =
            formats::ReadMimeComment(xml, Words(table.Field(row, "languages")), comment);
        EXPECT_EQ(found, comment != "-");
        EXPECT_EQ(comment, table.Field(row, "comment"));
    }
}

}  // namespace
