// Resource texts: the compiled-in English table, translations beside the
// module, and the resource manager's life cycle.
#include <gtest/gtest.h>

#include "runtime/ResourceService.h"
#include "tests/support/AssertionCapture.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/ScopedResources.h"

using namespace testing_support;

namespace {

TEST(ResourceTexts, ByIdAndLanguage) {
    ScopedResources resources(ProgramFolder());
    const ReferenceTable table = ReferenceTable::LoadCases("resources/texts.tsv");
    for (const ReferenceTable::Row& row : table.rows()) {
        const std::u16string tag = U16(table.Field(row, "tag"));
        EXPECT_EQ(U8(LoadResourceText(std::stoul(table.Field(row, "id")),
                                      tag == u"(null)" ? nullptr : tag.c_str())
                         .str()),
                  table.Field(row, "text"))
            << row.name;
    }
}

TEST(ResourceTexts, TranslationFileFormat) {
    TempDir folder;
    folder.Write("vldb_filesystem.de.txt",
                 "\xEF\xBB\xBF# comment\r\n131\tEins\\tzwei\\ndrei\\\\\r\nnot a line\n\tno id\n"
                 "12x\tbad id\n5\t\n1\tStart");
    ScopedResources resources(folder.folderText());
    EXPECT_EQ(U8(LoadResourceText(131, u"de").str()), "Eins\tzwei\ndrei\\");
    EXPECT_EQ(U8(LoadResourceText(5, u"de").str()), "");  // an empty translation is one
    EXPECT_EQ(U8(LoadResourceText(1, u"de").str()), "Start");
    EXPECT_EQ(U8(LoadResourceText(12, u"de").str()), "Compressed Size");
}

// Nothing before initialisation or without a manager; an unreadable module
// path is reported, and the English table still serves.
TEST(ResourceTexts, ManagerLifeCycle) {
    SWCharString text(u"stale");
    EXPECT_EQ(U8(LoadResourceText(nullptr, text, 131, u"").str()), "");
    EXPECT_EQ(U8(LoadResourceText(131, u"").str()), "");
    EXPECT_EQ(GetModuleDirectory(nullptr, text), 0x8000FFFFu);
    EXPECT_TRUE(text.isEmpty());

    AssertionCapture capture;
    ASSERT_TRUE(capture.active());
    ResourceManagerObject object;
    InitializeResources(&object, u"vldb_filesystem", nullptr);
    EXPECT_EQ(U8(LoadResourceText(&object, text, 131, u"").str()), "File System Data");
    TerminateResources(&object);
    EXPECT_EQ(capture.Reports(), std::vector<std::string>{"resdllmgr: SUCCEEDED(hr)"});
}

}  // namespace
