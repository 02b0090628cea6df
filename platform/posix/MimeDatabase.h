// The freedesktop shared-mime-info database, as HKEY_CLASSES_ROOT sees it on
// POSIX when the registry file does not name a class: ".ext" gives the MIME
// type of files named *.ext, and a MIME type gives its description.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

// A text as the registry hands it out: UTF-16LE units and a closing NUL unit.
using MimeValue = std::shared_ptr<const std::vector<uint8_t>>;

class MimeDatabase {
public:
    // The database of the data directories the environment names now:
    // $XDG_DATA_HOME (else ~/.local/share), then each of $XDG_DATA_DIRS (else
    // /usr/local/share:/usr/share). Null when none of them has a globs2 file.
    //
    // Read once per directory list and kept for the process: the database
    // only changes when software is installed. Still, every few seconds a
    // lookup checks whether a globs2 file changed (update-mime-database
    // rewrites it with the rest), so a long-running process sees new types.
    static std::shared_ptr<const MimeDatabase> Current();

    // Reads the globs2 files of `directories` (most important first).
    explicit MimeDatabase(std::vector<std::string> directories);

    MimeDatabase(const MimeDatabase&) = delete;
    MimeDatabase& operator=(const MimeDatabase&) = delete;

    // False when no directory has a globs2 file.
    bool HasGlobs() const { return hasGlobs_; }

    // The type of files named "*.<extension>", compared without regard to
    // case except for globs flagged case-sensitive. A match in an earlier
    // directory wins; within one, the highest weight, then the first listed.
    // Null when no glob matches.
    MimeValue TypeOfExtension(std::u16string_view extension) const;

    // Whether `type` ("media/subtype") has a definition file,
    // mime/<media>/<subtype>.xml, in one of the directories. `comment` is set
    // to its <comment> in the language of `locale` (a POSIX locale name such
    // as "de_DE.UTF-8"; empty or "C" for none) when the file has it, else the
    // untranslated one, else null. Cached per type and locale.
    bool DescribeType(std::u16string_view type, std::string_view locale, MimeValue& comment) const;

private:
    struct Candidate {
        uint32_t directory;
        int weight;
        bool caseSensitive;
        std::u16string extension;  // as written, for case-sensitive globs
        MimeValue type;
    };
    struct Extension {
        std::u16string folded;
        std::vector<Candidate> candidates;  // best first
    };
    struct GlobsFile {
        bool present = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        struct timespec mtime {};
    };
    struct Description {
        std::string key;  // type, '\n', locale
        bool exists;
        MimeValue comment;
    };

    const Extension* FindExtension(std::u16string_view folded) const;
    void Describe(std::string_view type, std::string_view locale, bool& exists,
                  MimeValue& comment) const;
    bool GlobsUnchanged() const;

    std::vector<std::string> directories_;
    std::vector<GlobsFile> globsFiles_;  // one per directory
    bool hasGlobs_ = false;

    // Extensions by their case-folded text: open addressing, slots hold an
    // index + 1 into extensions_ (0 is empty). Never changes once built.
    std::vector<Extension> extensions_;
    std::vector<uint32_t> slots_;

    mutable std::mutex descriptionsMutex_;
    mutable std::unordered_multimap<size_t, Description> descriptions_;  // by hash of key
};

}  // namespace platform
