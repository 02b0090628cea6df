// A file opened once for the readers of its contents, the version resource
// and the compound-file summary. Its first bytes say which of them can apply,
// so a file that is neither costs one small read.
//
// Windows: the first bytes are read with ReadFile, and the readers are the
// system's own, given the path. POSIX: one descriptor serves the first look
// and both readers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

class ContentFile {
public:
    // Opens the regular file at `path` and reads its first bytes; a file
    // that cannot be opened or read shows no bytes.
    explicit ContentFile(std::u16string_view path);
    ~ContentFile();
    ContentFile(const ContentFile&) = delete;
    ContentFile& operator=(const ContentFile&) = delete;

    // Whether the file begins as a PE image does ("MZ").
    bool MayHoldVersion() const { return Begins("MZ", 2); }
    // Whether the file begins with the compound file signature.
    bool MayBeCompoundFile() const { return Begins("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8); }

    std::u16string_view path() const { return path_; }

    // What the POSIX readers share: the open file and what was found in it.
    struct Native;
    Native* native() const { return native_.get(); }

private:
    bool Begins(const char* signature, size_t length) const {
        return headBytes_ >= length &&
               std::char_traits<char>::compare(head_, signature, length) == 0;
    }

    std::u16string path_;
    std::unique_ptr<Native> native_;
    char head_[8] = {};
    size_t headBytes_ = 0;
};

}  // namespace platform
