// The shared-mime-info readers on arbitrary bytes, read both as a globs2
// file and as a type's XML file: they must not crash, read out of bounds or
// hang, and what they return must hold together.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "formats/MimeFormats.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const formats::MimeGlobs globs = formats::ParseMimeGlobs2(text);
    for (const formats::MimeGlob& glob : globs.globs) {
        Check(glob.weight >= 0);
        Check(glob.type.find('/') != std::string::npos);
        Check(!glob.extension.empty());
        Check(glob.extension.find_first_of("*?[\\:\n") == std::string::npos);
        Check(glob.type.size() + glob.extension.size() < size);
    }
    for (const std::string& type : globs.noGlobs)
        Check(type.find('/') != std::string::npos);

    // Languages from the input's first line, as a locale name would give them.
    const std::vector<std::string> languages =
        formats::MimeLanguages(text.substr(0, std::min<size_t>(text.find('\n'), 64)));
    for (const std::string& language : languages)
        Check(!language.empty() && language.size() <= 64 + 1);

    std::string untranslated;
    const bool anyFound = formats::ReadMimeComment(text, {}, untranslated);
    for (const std::vector<std::string>& asked :
         {languages, std::vector<std::string>{"de_DE", "de"}}) {
        std::string comment;
        const bool found = formats::ReadMimeComment(text, asked, comment);
        // An untranslated comment is there for any language.
        Check(found || !anyFound);
        if (found) {
            // Decoding never makes a text longer, and the result is trimmed.
            Check(!comment.empty() && comment.size() <= size);
            Check(!IsXmlSpace(comment.front()) && !IsXmlSpace(comment.back()));
        }
    }
    return 0;
}
