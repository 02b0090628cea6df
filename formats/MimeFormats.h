// Readers of the freedesktop shared-mime-info files that HKEY_CLASSES_ROOT
// falls back to on POSIX: the globs2 table and a type's XML description.
//
// Code over bytes (no file system), so it can be fuzzed. All text is
// UTF-8 and is handed back as it stands in the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace formats {

struct MimeGlob {
    int weight;             // 0 to 100 in practice; 50 is the usual default
    std::string type;       // e.g. "text/plain"
    std::string extension;  // the text after "*." of a glob "*.ext"
    bool caseSensitive;     // the "cs" flag
};

struct MimeGlobs {
    // Only the simple globs "*.ext" (no other wildcard), in file order.
    std::vector<MimeGlob> globs;
    // Types marked __NOGLOBS__: their globs in less important directories
    // are void.
    std::vector<std::string> noGlobs;
};

// Reads a globs2 file: lines "weight:type:glob[:flags[:...]]", '#' comments.
// Lines that cannot be read are skipped.
MimeGlobs ParseMimeGlobs2(std::string_view text);

// The xml:lang values to try for a POSIX locale name, best first:
// "de_DE.UTF-8@euro" gives de_DE@euro, de_DE, de@euro, de. "C", "POSIX" and
// the empty name give none (the untranslated text).
std::vector<std::string> MimeLanguages(std::string_view locale);

// The <comment> of a type's XML file (a child of its root element) whose
// xml:lang is the first of `languages` that the file has; else the one
// without xml:lang. Entities and character references are decoded and
// surrounding white space is dropped; empty comments do not count. Reading
// stops at the first malformed construct, keeping what was read before it.
bool ReadMimeComment(std::string_view xml, const std::vector<std::string>& languages,
                     std::string& comment);

}  // namespace formats
