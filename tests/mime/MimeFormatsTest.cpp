// The readers of the shared-mime-info files, on their own: globs2 lines,
// locale names and the <comment> of a type's XML file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/MimeFormats.h"

namespace {

using formats::MimeGlob;
using formats::MimeGlobs;
using Strings = std::vector<std::string>;

std::string Describe(const MimeGlob& glob) {
    return std::to_string(glob.weight) + ":" + glob.type + ":" + glob.extension +
           (glob.caseSensitive ? ":cs" : "");
}

TEST(MimeGlobs2, KeepsSimpleExtensionGlobs) {
    struct {
        const char* text;
        Strings globs;  // as Describe writes them
        Strings noGlobs;
    } const table[] = {
        {"50:text/plain:*.txt\n", {"50:text/plain:txt"}, {}},
        {"50:text/plain:*.txt", {"50:text/plain:txt"}, {}},  // no final line end
        {"50:text/plain:*.txt\r\n80:text/html:*.HTM\r\n",
         {"50:text/plain:txt", "80:text/html:HTM"},
         {}},
        {"# header\n\n#50:text/plain:*.txt\n", {}, {}},
        {"50:text/x-c++src:*.C:cs\n50:text/x-csrc:*.c:cs\n50:text/x-csrc:*.c\n",
         {"50:text/x-c++src:C:cs", "50:text/x-csrc:c:cs", "50:text/x-csrc:c"},
         {}},
        // Flags are a comma-separated list; unknown ones and later fields are ignored.
        {"50:a/b:*.x:other,cs\n50:a/b:*.y:csv\n50:a/b:*.z::more:fields\n",
         {"50:a/b:x:cs", "50:a/b:y", "50:a/b:z"},
         {}},
        {"50:a/b:*.tar.gz\n", {"50:a/b:tar.gz"}, {}},
        // Anything but "*.ext" is left out.
        {"60:application/x-sharedlib:*.so.[0-9]*\n50:text/x-readme:README\n"
         "50:a/b:*~\n50:a/b:*.[ch]\n50:a/b:*.a?\n50:a/b:*.\n50:a/b:*\n50:a/b:x.*.y\n"
         "50:a/b:*.a\\*\n50:a/b:.*.txt\n",
         {},
         {}},
        {"50:text/x-mine:__NOGLOBS__\n50:text/x-mine:*.mine\n",
         {"50:text/x-mine:mine"},
         {"text/x-mine"}},
        // Broken lines are skipped, the rest is read.
        {"x:a/b:*.bad\n-5:a/b:*.bad\n:a/b:*.bad\n1234567890:a/b:*.bad\n50:nosubtype:*.bad\n"
         "50:a/b\n50\n\n5 0:a/b:*.bad\n0:a/b:*.zero\n100:a/b:*.top\n",
         {"0:a/b:zero", "100:a/b:top"},
         {}},
        {"50:text/x-\xC3\xBC:*.\xC3\xA4\xC3\xB6\n", {"50:text/x-\xC3\xBC:\xC3\xA4\xC3\xB6"}, {}},
        {"", {}, {}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.text);
        const MimeGlobs parsed = formats::ParseMimeGlobs2(row.text);
        Strings globs;
        for (const MimeGlob& glob : parsed.globs)
            globs.push_back(Describe(glob));
        EXPECT_EQ(globs, row.globs);
        EXPECT_EQ(parsed.noGlobs, row.noGlobs);
    }
}

TEST(MimeLanguages, FromLocaleNames) {
    struct {
        const char* locale;
        Strings languages;
    } const table[] = {
        {"de_DE.UTF-8", {"de_DE", "de"}},
        {"de_DE", {"de_DE", "de"}},
        {"pt_BR.utf8", {"pt_BR", "pt"}},
        {"fr", {"fr"}},
        {"fr.UTF-8", {"fr"}},
        {"sr_RS.UTF-8@latin", {"sr_RS@latin", "sr_RS", "sr@latin", "sr"}},
        {"sr@latin", {"sr@latin", "sr"}},
        {"C", {}},
        {"C.UTF-8", {}},
        {"POSIX", {}},
        {"", {}},
        {"_DE", {}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.locale);
        EXPECT_EQ(formats::MimeLanguages(row.locale), row.languages);
    }
}

std::string TypeFile(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<mime-type xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\" "
           "type=\"text/x-test\">\n" +
           body + "\n</mime-type>\n";
}

const std::string kTranslated = TypeFile(
    "  <!--Created automatically by update-mime-database. DO NOT EDIT!-->\n"
    "  <comment>plain text document</comment>\n"
    "  <comment xml:lang=\"de\">Textdokument</comment>\n"
    "  <comment xml:lang=\"de_AT\">Textdokument (AT)</comment>\n"
    "  <comment xml:lang='pt-BR'>Documento de Texto</comment>\n"
    "  <comment xml:lang=\"sr@latin\">obi\xC4\x8D"
    "an tekst</comment>\n"
    "  <acronym>TXT</acronym>\n"
    "  <glob pattern=\"*.txt\"/>");

TEST(MimeComment, PicksTheCallersLanguage) {
    struct {
        Strings languages;
        const char* comment;
    } const table[] = {
        {{}, "plain text document"},
        {{"de_DE", "de"}, "Textdokument"},
        {{"de_AT", "de"}, "Textdokument (AT)"},
        {{"DE_at"}, "Textdokument (AT)"},
        {{"pt_BR", "pt"}, "Documento de Texto"},
        {{"sr_RS@latin", "sr_RS", "sr@latin", "sr"},
         "obi\xC4\x8D"
         "an tekst"},
        {{"sr_RS", "sr"}, "plain text document"},
        {{"es_ES", "es"}, "plain text document"},
        {{"d"}, "plain text document"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.comment);
        std::string comment = "unchanged";
        ASSERT_TRUE(formats::ReadMimeComment(kTranslated, row.languages, comment));
        EXPECT_EQ(comment, row.comment);
    }
}

TEST(MimeComment, ReadsTheFileRobustly) {
    const Strings german = {"de_DE", "de"};
    struct {
        const char* name;
        std::string xml;
        bool found;
        const char* comment;  // for German
    } const table[] = {
        {"entities", TypeFile("<comment>a &amp; b &lt;c&gt; &quot;d&quot; &apos;e&apos;</comment>"),
         true, "a & b <c> \"d\" 'e'"},
        {"character references",
         TypeFile("<comment>&#65;&#x42;&#x00043;&#233;&#x20AC;&#x1F600;</comment>"), true,
         "ABC\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"reference in the language", TypeFile("<comment xml:lang=\"&#100;e\">Deutsch</comment>"),
         true, "Deutsch"},
        {"CDATA", TypeFile("<comment><![CDATA[a <b> &amp;]]> c</comment>"), true, "a <b> &amp; c"},
        {"white space around", TypeFile("<comment>\n   two\n words \t</comment>"), true,
         "two\n words"},
        {"first of equals", TypeFile("<comment>one</comment><comment>two</comment>"), true, "one"},
        {"translation before untranslated",
         TypeFile("<comment xml:lang=\"de\">Deutsch</comment><comment>English</comment>"), true,
         "Deutsch"},
        {"XML comments hide elements",
         TypeFile("<!-- <comment xml:lang=\"de\">Versteckt</comment> --><comment>Shown</comment>"),
         true, "Shown"},
        {"self-closing and empty comments do not count",
         TypeFile("<comment xml:lang=\"de\"/><comment xml:lang=\"de\">  </comment>"
                  "<comment>Fallback</comment>"),
         true, "Fallback"},
        {"empty language is untranslated", TypeFile("<comment xml:lang=\"\">None</comment>"), true,
         "None"},
        {"byte-order mark and doctype",
         "\xEF\xBB\xBF<?xml version=\"1.0\"?><!DOCTYPE mime-type [ <!ENTITY x \"]>\"> ]>"
         "<mime-type><comment>After doctype</comment></mime-type>",
         true, "After doctype"},
        {"no comment", TypeFile("<glob pattern=\"*.x\"/>"), false, ""},
        {"truncated in a translation",
         "<mime-type><comment>Kept</comment><comment xml:lang=\"de\">Abgeschn", true, "Kept"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        std::string comment = "unchanged";
        EXPECT_EQ(formats::ReadMimeComment(row.xml, german, comment), row.found);
        EXPECT_EQ(comment, row.found ? row.comment : "unchanged");
    }
}

}  // namespace
