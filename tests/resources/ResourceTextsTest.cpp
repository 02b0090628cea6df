// Resource texts: the compiled-in English table, translations beside the
// module, and the resource manager's life cycle.
#include <gtest/gtest.h>

#include "runtime/Diagnostics.h"
#include "runtime/ResourceService.h"
#include "runtime/ResourceTexts.h"
#include "tests/support/ScopedResources.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

// Resources as the driver starts them, but reading translations from `folder`.
class Resources : public ScopedResources {
public:
    using ScopedResources::ScopedResources;

    std::string Text(uint32_t id, const char16_t* tag) {
        return U8(LoadResourceText(id, tag).str());
    }
};

TEST(ResourceTexts, EnglishTableIsServedForEmptyAndUnknownTags) {
    Resources resources(u"");
    struct Case {
        uint32_t id;
        const char16_t* tag;
        const char* text;
    } cases[] = {
        {131, nullptr, "File System Data"},
        {131, u"xx-YY", "File System Data"},
        {130, u"", " File"},
        {0, u"", ""},
        {152, u"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(resources.Text(c.id, c.tag), c.text) << "id " << c.id << " tag " << U8(c.tag);
}

TEST(ResourceTexts, GermanTranslationCoversEveryGermanLocale) {
    Resources resources(ProgramFolder());
    for (const char16_t* tag : {u"de", u"de-DE", u"de-CH", u"de_AT", u"DE-de"}) {
        EXPECT_EQ(resources.Text(131, tag), "Dateisystemdaten") << U8(tag);
        EXPECT_EQ(resources.Text(4, tag), "Ung\xC3\xBCltiges Startverzeichnis.") << U8(tag);
    }
    // Entries the translation leaves out come from the English table.
    EXPECT_EQ(resources.Text(67, u"de"), " ");
    EXPECT_EQ(resources.Text(131, u"fr-FR"), "File System Data");
}

TEST(ResourceTexts, TranslationFileFormat) {
    TempDir folder;
    folder.Write("vldb_filesystem.de.txt",
                 "\xEF\xBB\xBF# comment\r\n"
                 "131\tEins\\tzwei\\ndrei\\\\\r\n"
                 "not a line\n"
                 "\tno id\n"
                 "12x\tbad id\n"
                 "5\t\n"
                 "1\tStart");
    Resources resources(folder.folderText());
    EXPECT_EQ(resources.Text(131, u"de"), "Eins\tzwei\ndrei\\");
    EXPECT_EQ(resources.Text(5, u"de"), "");  // an empty translation is a translation
    EXPECT_EQ(resources.Text(1, u"de"), "Start");
    EXPECT_EQ(resources.Text(12, u"de"), "Compressed Size");
}

TEST(ResourceTexts, NothingBeforeInitialisationOrWithoutAModule) {
    SWCharString text(u"stale");
    EXPECT_EQ(U8(LoadResourceText(nullptr, text, 131, u"").str()), "");
    EXPECT_EQ(U8(LoadResourceText(131, u"").str()), "");
    EXPECT_EQ(GetModuleDirectory(nullptr, text), 0x8000FFFFu);
    EXPECT_TRUE(text.isEmpty());
}

TEST(ResourceTexts, UnreadableModulePathIsReportedAndTheTableStillServes) {
    TempDir folder;
    SetEnvironment("VLLOGGER_FILE", (folder.path() / "log.txt").string());
    SetEnvironment("VLLOGGER_ASSERTIONS", "1");
    SetLoggerFolder(ProgramFolder());
    LoadLogger(-1, 0);
    ASSERT_TRUE(diagnostics::AssertionsEnabled());

    ResourceManagerObject object;
    InitializeResources(&object, u"vldb_filesystem", nullptr);
    SWCharString text;
    EXPECT_EQ(U8(LoadResourceText(&object, text, 131, u"").str()), "File System Data");
    TerminateResources(&object);
    UnloadLogger();
    RemoveLoggerKey();

    std::string log = ReadWholeFile(folder.path() / "log.txt");
    EXPECT_EQ(log.rfind("ASSERT resdllmgr(", 0), 0u) << log;
    EXPECT_NE(log.find("): SUCCEEDED(hr)\n"), std::string::npos) << log;
}

}  // namespace
