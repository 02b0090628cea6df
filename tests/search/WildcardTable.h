// Masks matched against one fixture directory: what the documented Windows
// rules give on long names, and what Wine's FindFirstFileW returned for the
// same directory. Names are separated by "/"; "<all>" stands for every name
// of the fixture (with "." and ".."); "<dir>" and "<parent>" for the names of
// the fixture folder and of its parent. A null rule means Win32 rewrites the
// path before matching, so no rule is stated.
#pragma once

namespace search_tests {

struct WildcardRow {
    const char16_t* mask;
    const char16_t* rule;  // documented Windows behaviour, long names only
    const char16_t* wine;  // Wine 8.0, including matches through 8.3 aliases
};

// The fixture: every name is a file holding a few bytes, except the folder
// "sub.dir".
inline const char16_t* const kFixtureNames[] = {
    u".profile",
    u"A.Txt",
    u"a",
    u"a.TXT",
    u"a.b.c",
    u"a.txt",
    u"ab",
    u"abc",
    u"abc.defg",
    u"archive.tar.gz",
    u"data.Backup",
    u"dots..txt",
    u"file.txtold",
    u"long name with spaces.doc",
    u"name.",
    u"readme",
    u"report1.txt",
    u"report[1].txt",
    u"sub.dir",
    u"test.log",
    u"test1.log",
    u"test12.log",
    u"x.t",
    u"\u00FC.txt",
    u"\U0001F600.txt",
};

inline const WildcardRow kWildcardRows[] = {
    {u"*.*", u"<all>", u"<all>"},
    {u"*", u"<all>", u"<all>"},
    {u"*.txt", u"A.Txt/a.TXT/a.txt/dots..txt/report1.txt/report[1].txt/\u00FC.txt/\U0001F600.txt",
     u"A.Txt/a.TXT/a.txt/dots..txt/file.txtold/report1.txt/report[1].txt/\u00FC.txt/"
     u"\U0001F600.txt"},
    {u"*.TXT", u"A.Txt/a.TXT/a.txt/dots..txt/report1.txt/report[1].txt/\u00FC.txt/\U0001F600.txt",
     u"A.Txt/a.TXT/a.txt/dots..txt/file.txtold/report1.txt/report[1].txt/\u00FC.txt/"
     u"\U0001F600.txt"},
    {u"*.", u"a/ab/abc/readme", u"<all>"},
    {u"?.txt", u"A.Txt/a.TXT/a.txt/\u00FC.txt", u"A.Txt/a.TXT/a.txt/\u00FC.txt"},
    {u"??", u"a/ab", u"../ab"},
    {u"a*", u"A.Txt/a/a.TXT/a.b.c/a.txt/ab/abc/abc.defg/archive.tar.gz",
     u"A.Txt/a/a.TXT/a.b.c/a.txt/ab/abc/abc.defg/archive.tar.gz"},
    {u"*a*",
     u"A.Txt/a/a.TXT/a.b.c/a.txt/ab/abc/abc.defg/archive.tar.gz/data.Backup/long name with "
     u"spaces.doc/name./readme",
     u"A.Txt/a/a.TXT/a.b.c/a.txt/ab/abc/abc.defg/archive.tar.gz/data.Backup/long name with "
     u"spaces.doc/name./readme"},
    {u"*.t?t", u"A.Txt/a.TXT/a.txt/dots..txt/report1.txt/report[1].txt/\u00FC.txt/\U0001F600.txt",
     u"A.Txt/a.TXT/a.txt/dots..txt/file.txtold/report1.txt/report[1].txt/\u00FC.txt/"
     u"\U0001F600.txt"},
    {u"test?.log", u"test.log/test1.log", u"test1.log"},
    {u"test??.log", u"test.log/test1.log/test12.log", u"test12.log"},
    {u"*.tar.gz", u"archive.tar.gz", u"archive.tar.gz"},
    {u"*.gz", u"archive.tar.gz", u"archive.tar.gz"},
    {u".*", u"./../.profile", u"./../.profile"},
    {u"*.doc", u"long name with spaces.doc", u"long name with spaces.doc"},
    {u"a.*", u"A.Txt/a/a.TXT/a.b.c/a.txt", u"A.Txt/a/a.TXT/a.b.c/a.txt"},
    {u"*.txt*",
     u"A.Txt/a.TXT/a.txt/dots..txt/file.txtold/report1.txt/report[1].txt/\u00FC.txt/\U0001F600.txt",
     u"A.Txt/a.TXT/a.txt/dots..txt/file.txtold/report1.txt/report[1].txt/\u00FC.txt/"
     u"\U0001F600.txt"},
    {u"???", u"a/ab/abc", u"abc/x.t"},
    {u"ab?", u"ab/abc", u"abc"},
    {u"report[1].txt", u"report[1].txt", u"report[1].txt"},
    {u"report[1]*", u"report[1].txt", u"report[1].txt"},
    {u"*[*", u"report[1].txt", u"report[1].txt"},
    {u"report?.txt", u"report1.txt", u"report1.txt"},
    {u"report[?].txt", u"report[1].txt", u"report[1].txt"},
    {u"a", u"a", u"a"},
    {u"A", u"a", u"a"},
    {u"a.txt", u"A.Txt/a.TXT/a.txt", u"a.txt"},
    {u"A.TXT", u"A.Txt/a.TXT/a.txt", u"A.Txt"},
    {u"name.", nullptr, u""},
    {u"name", u"", u""},
    {u"name*", u"name.", u"name."},
    {u"a.txt.", nullptr, u"a.txt"},
    {u"a.txt ", nullptr, u"a.txt"},
    {u"readme.", nullptr, u"readme"},
    {u"readme..", nullptr, u"readme"},
    {u"ab.", nullptr, u"ab"},
    {u"?", u"a", u"./a"},
    {u"x.?", u"x.t", u"x.t"},
    {u"x.??", u"x.t", u""},
    {u"x.???", u"x.t", u""},
    {u"test???.log", u"test.log/test1.log/test12.log", u""},
    {u"?????", u"a/ab/abc", u"A.Txt/a.TXT/a.b.c/a.txt/name./\u00FC.txt"},
    {u"*.?", u"<all>", u"../a.b.c/x.t"},
    {u"*.??", u"<all>", u"archive.tar.gz"},
    {u"*.???", u"<all>",
     u"A.Txt/a.TXT/a.b.c/a.txt/abc.defg/data.Backup/dots..txt/file.txtold/long name with "
     u"spaces.doc/report1.txt/report[1].txt/sub.dir/test.log/test1.log/test12.log/\u00FC.txt/"
     u"\U0001F600.txt"},
    {u"*.t", u"x.t", u"x.t"},
    {u"*.tx", u"", u""},
    {u"*.tx?", u"A.Txt/a.TXT/a.txt/dots..txt/report1.txt/report[1].txt/\u00FC.txt/\U0001F600.txt",
     u"A.Txt/a.TXT/a.txt/dots..txt/file.txtold/report1.txt/report[1].txt/\u00FC.txt/"
     u"\U0001F600.txt"},
    {u"*.txt?", u"A.Txt/a.TXT/a.txt/dots..txt/report1.txt/report[1].txt/\u00FC.txt/\U0001F600.txt",
     u""},
    {u"*.*.*", u"<all>", u"<all>"},
    {u"*..txt", u"dots..txt", u"dots..txt"},
    {u"dots..txt", u"dots..txt", u"dots..txt"},
    {u"dots.*", u"dots..txt", u"dots..txt"},
    {u"*..", nullptr, u"<all>"},
    {u".", nullptr, u"<dir>"},
    {u"..", nullptr, u"<parent>"},
    {u"*.b*", u"a.b.c/data.Backup", u"a.b.c/data.Backup"},
    {u"*.backup", u"data.Backup", u"data.Backup"},
    {u"*.tar", u"", u""},
    {u"a.b.c", u"a.b.c", u"a.b.c"},
    {u"*.c", u"a.b.c", u"a.b.c"},
    {u"a.*.c", u"a.b.c", u"a.b.c"},
    {u"long*", u"long name with spaces.doc", u"long name with spaces.doc"},
    {u"*spaces*", u"long name with spaces.doc", u"long name with spaces.doc"},
    {u"* *", u"long name with spaces.doc", u"long name with spaces.doc"},
    {u"*~*", u"",
     u".profile/a.b.c/abc.defg/archive.tar.gz/data.Backup/dots..txt/file.txtold/long name with "
     u"spaces.doc/name./report[1].txt/\u00FC.txt/\U0001F600.txt"},
    {u"*~1*", u"", u""},
    {u"**", u"<all>", u"<all>"},
    {u"*?", u"<all>", u""},
    {u"?*", u"<all>", u"<all>"},
    {u"*.**", u"<all>", u"<all>"},
    {u"t*t*.l?g", u"test.log/test1.log/test12.log", u"test.log/test1.log/test12.log"},
    {u"test*.log", u"test.log/test1.log/test12.log", u"test.log/test1.log/test12.log"},
    {u"*12*", u"test12.log", u"test12.log"},
    {u"sub.dir", u"sub.dir", u"sub.dir"},
    {u"*.dir", u"sub.dir", u"sub.dir"},
    {u"sub*", u"sub.dir", u"sub.dir"},
    {u"\u00FC.txt", u"\u00FC.txt", u"\u00FC.txt"},
    {u"\u00DC.TXT", u"\u00FC.txt", u"\u00FC.txt"},
    {u"\u00FC*", u"\u00FC.txt", u"\u00FC.txt"},
    {u"?.TXT", u"A.Txt/a.TXT/a.txt/\u00FC.txt", u"A.Txt/a.TXT/a.txt/\u00FC.txt"},
    {u"??.txt", u"A.Txt/a.TXT/a.txt/\u00FC.txt/\U0001F600.txt", u"\U0001F600.txt"},
    {u"\U0001F600.txt", u"\U0001F600.txt", u"\U0001F600.txt"},
    {u"*\U0001F600*", u"\U0001F600.txt", u"\U0001F600.txt"},
    {u"<", u"a/ab/abc/readme", u""},
    {u">", u"a", u"."},
    {u"\"", u".", u""},
    {u"*.<",
     u"./../.profile/A.Txt/a.TXT/a.b.c/a.txt/abc.defg/archive.tar.gz/data.Backup/dots..txt/"
     u"file.txtold/long name with "
     u"spaces.doc/name./report1.txt/report[1].txt/sub.dir/test.log/test1.log/test12.log/x.t/"
     u"\u00FC.txt/\U0001F600.txt",
     u""},
    {u"a.txt|", u"", u""},
    {u"", nullptr, u""},
    {u" ", nullptr, u""},
    {u"*.txt\\", nullptr, u""},
};

}  // namespace search_tests
