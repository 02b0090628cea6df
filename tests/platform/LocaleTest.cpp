#include <gtest/gtest.h>

#include <string>

#include "platform/LocaleId.h"
#include "tests/platform/OnPlatform.h"

using platform::LocaleNameToLcid;
using testing_platform::OnPlatform;

namespace {

struct Row {
    const char16_t* tag;
    uint32_t lcid;
};

// LocaleNameToLCID(tag, 0) as observed under Wine.
const Row kObserved[] = {
    {u"en-US", 0x0409},
    {u"en", 0x0409},
    {u"de-DE", 0x0407},
    {u"de", 0x0407},
    {u"fr-CA", 0x0C0C},
    {u"zh-CN", 0x0804},
    {u"pt-BR", 0x0416},
    {u"xx-YY", 0},
    {u"bogus", 0},
    {u"en_US", 0x0409},
    {u"EN-us", 0x0409},
    {u"zh-Hans", 0x0804},
    {u"zh-TW", 0x0404},
    {u"sr-Latn-RS", 0x241A},
    {u"x-bogus", 0},
    {u"de-DE_phoneb", 0x10407},
    {u"en-US-x-foo", 0},
    {u"es-ES_tradnl", 0x040A},
    {u"ja", 0x0411},
    {u"!x-sys-default-locale", 0},
    // More languages, regions and scripts.
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
    // Malformed tags.
    {u"en-", 0},
    {u"-en", 0},
    {u"en--US", 0},
    {u"en-US-", 0},
    {u"en US", 0},
    {u"de-\u00C4T", 0},
};

TEST(LocaleId, MatchesLocaleNameToLcid) {
    for (const Row& row : kObserved) {
        SCOPED_TRACE(testing::PrintToString(std::u16string(row.tag)));
        EXPECT_EQ(LocaleNameToLcid(row.tag), row.lcid);
    }
}

// Windows reads "" as the invariant locale and null as the user's locale;
// the POSIX build has neither and calls both unknown. Callers turn an empty
// tag into 1033 before they get here.
TEST(LocaleId, EmptyAndNullTags) {
    EXPECT_EQ(LocaleNameToLcid(u""), OnPlatform<uint32_t>(0, 0x007F));
    EXPECT_EQ(LocaleNameToLcid(nullptr), OnPlatform<uint32_t>(0, 0x0409));
}

TEST(LocaleId, OverlongTagIsUnknown) {
    const std::u16string tag = u"en-US-" + std::u16string(200, u'a');
    EXPECT_EQ(LocaleNameToLcid(tag.c_str()), 0u);
}

}  // namespace
