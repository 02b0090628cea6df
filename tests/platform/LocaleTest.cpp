#include <gtest/gtest.h>

#include <string>

#include "platform/LocaleId.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"

using platform::LocaleNameToLcid;
using testing_support::IsWindowsBuild;
using testing_support::ReferenceTable;
using testing_support::U16;
using testing_support::Unquoted;

namespace {

// locale.tsv's LocaleNameToLCID(tag, 0) rows. Windows reads "" as the
// invariant locale and null as the user's; the POSIX build has neither and
// calls both unknown (callers turn an empty tag into 1033 first).
TEST(LocaleId, MatchesLocaleNameToLcid) {
    const ReferenceTable table = ReferenceTable::Load("locale.tsv");
    int checked = 0;
    for (const auto& row : table.rows()) {
        if (table.Field(row, "api") != "LocaleNameToLCID" || table.Field(row, "args") != "0")
            continue;
        SCOPED_TRACE(row.name);
        ++checked;
        const std::string input = table.Field(row, "input");
        const std::u16string tag = U16(Unquoted(input));
        uint32_t expected = std::stoul(table.Field(row, "return"), nullptr, 16);
        if (!IsWindowsBuild() && (input == "NULL" || tag.empty()))
            expected = 0;
        EXPECT_EQ(LocaleNameToLcid(input == "NULL" ? nullptr : tag.c_str()), expected);
    }
    EXPECT_GE(checked, 21);
}

// Tags beyond the table: more languages, regions, scripts and sort orders,
// and malformed ones.
TEST(LocaleId, MoreTags) {
    const struct {
        const char16_t* tag;
        uint32_t lcid;
    } rows[] = {
        {u"de-CH", 0x0807},
        {u"en-GB", 0x0809},
        {u"es", 0x0C0A},
        {u"es-ES", 0x0C0A},
        {u"zh", 0x0804},
        {u"zh-SG", 0x1004},
        {u"sr-Latn", 0x241A},
        {u"uz-Cyrl", 0x0843},
        {u"az", 0x042C},
        {u"nn-NO", 0x0814},
        {u"es-419", 0x580A},
        {u"en-029", 0x2409},
        {u"en_us", 0x0409},
        {u"DE-de_PHONEB", 0x10407},
        {u"zh-CN_stroke", 0x20804},
        {u"en-US_phoneb", 0},  // a sort order the locale does not have
        {u"sr-RS", 0},         // Serbian needs its script
        {u"en-", 0},
        {u"-en", 0},
        {u"en--US", 0},
        {u"en-US-", 0},
        {u"en US", 0},
        {u"de-\u00C4T", 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(LocaleNameToLcid(row.tag), row.lcid) << testing_support::U8(row.tag);
}

TEST(LocaleId, OverlongTagIsUnknown) {
    const std::u16string tag = u"en-US-" + std::u16string(200, u'a');
    EXPECT_EQ(LocaleNameToLcid(tag.c_str()), 0u);
}

}  // namespace
