#include "platform/Registry.h"

#include <sys/stat.h>

#include <cstdlib>
#include <mutex>

#include "formats/RegistryFile.h"
#include "platform/posix/FileSource.h"
#include "platform/posix/MimeDatabase.h"
#include "platform/posix/UserLocale.h"

namespace platform {

using formats::ParseRegistryFile;
using formats::RegistryFile;

namespace {

constexpr const char* kDefaultRegistryPath = "/etc/vellum/registry.reg";

// Larger files are not read (an empty registry): the whole file is held in
// memory while it is parsed.
constexpr size_t kMaxRegistryFileSize = size_t{64} << 20;

class FileRegistryKey : public RegistryKey {
public:
    FileRegistryKey(std::shared_ptr<const RegistryFile> file, const RegistryFile::Key* key)
        : file_(std::move(file)), key_(key) {}

    bool QueryValue(std::u16string_view name, std::vector<uint8_t>& data, uint32_t& type,
                    size_t maxBytes) const override {
        if (key_ == nullptr)
            return false;  // a parent key with no values of its own
        const RegistryFile::Value* value = file_->FindValue(*key_, name);
        if (value == nullptr || value->dataLength > maxBytes)
            return false;
        const uint8_t* bytes = file_->Data(*value);
        data.assign(bytes, bytes + value->dataLength);
        type = value->type;
        return true;
    }

private:
    std::shared_ptr<const RegistryFile> file_;  // keeps key_ valid across reparses
    const RegistryFile::Key* key_;
};

// The file last parsed, known by its path and the identity of its contents.
struct ParsedFile {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    struct timespec mtime {};
    std::shared_ptr<const RegistryFile> file;
};

struct Cache {
    std::mutex mutex;
    ParsedFile parsed;
};

// Destroyed with the library, so that unloading the driver frees it.
Cache& ProcessCache() {
    static Cache cache;
    return cache;
}

bool SameContents(const ParsedFile& cached, const std::string& path, const struct stat& st) {
    return cached.file && cached.path == path && cached.device == st.st_dev &&
           cached.inode == st.st_ino && cached.size == st.st_size &&
           cached.mtime.tv_sec == st.st_mtim.tv_sec && cached.mtime.tv_nsec == st.st_mtim.tv_nsec;
}

std::shared_ptr<const RegistryFile> EmptyRegistry() {
    static const std::shared_ptr<const RegistryFile> empty = std::make_shared<RegistryFile>();
    return empty;
}

// Reads and parses the file, recording what was read in `parsed`. False
// when it cannot be read.
bool ReadRegistryFile(const std::string& path, ParsedFile& parsed) {
    std::string bytes;
    struct stat st;
    if (ReadWholeFile(path, kMaxRegistryFileSize, bytes, &st) != FileState::Read)
        return false;
    parsed.path = path;
    parsed.device = st.st_dev;
    parsed.inode = st.st_ino;
    parsed.size = st.st_size;
    parsed.mtime = st.st_mtim;
    parsed.file = std::make_shared<RegistryFile>(
        ParseRegistryFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    return true;
}

// The registry file as it is now: parsed again only when it changed since
// the last call.
std::shared_ptr<const RegistryFile> CurrentRegistryFile() {
    const char* named = std::getenv("VELLUM_REGISTRY");
    const std::string path = named != nullptr && *named != '\0' ? named : kDefaultRegistryPath;
    Cache& cache = ProcessCache();
    std::lock_guard<std::mutex> lock(cache.mutex);
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        cache.parsed = ParsedFile();
        return EmptyRegistry();
    }
    if (SameContents(cache.parsed, path, st))
        return cache.parsed.file;
    ParsedFile parsed;
    if (!ReadRegistryFile(path, parsed)) {
        cache.parsed = ParsedFile();
        return EmptyRegistry();
    }
    cache.parsed = std::move(parsed);
    return cache.parsed.file;
}

// A key that the shared-mime-info database answers for: its default value
// only, a text.
class MimeRegistryKey : public RegistryKey {
public:
    explicit MimeRegistryKey(MimeValue value) : value_(std::move(value)) {}

    bool QueryValue(std::u16string_view name, std::vector<uint8_t>& data, uint32_t& type,
                    size_t maxBytes) const override {
        if (!name.empty() || !value_ || value_->size() > maxBytes)
            return false;
        data.assign(value_->begin(), value_->end());
        type = RegistryType_String;
        return true;
    }

private:
    MimeValue value_;  // null: the key has no default value
};

// Classes that the registry file does not describe come from the
// shared-mime-info database: ".ext" names the MIME type of such files, and
// the type's key holds its description. Neither has subkeys.
std::unique_ptr<RegistryKey> OpenMimeClassKey(std::u16string_view path) {
    if (!path.empty() && path.back() == u'\\')
        path.remove_suffix(1);
    if (path.empty() || path.find(u'\\') != std::u16string_view::npos)
        return nullptr;
    const std::shared_ptr<const MimeDatabase> database = MimeDatabase::Current();
    if (!database)
        return nullptr;
    MimeValue value;
    if (path.front() == u'.') {
        value = database->TypeOfExtension(path.substr(1));
        if (!value)
            return nullptr;
    } else if (!database->DescribeType(path, EnvironmentLocale(LC_MESSAGES), value)) {
        return nullptr;
    }
    return std::make_unique<MimeRegistryKey>(std::move(value));
}

}  // namespace

std::unique_ptr<RegistryKey> RegistryKey::Open(RegistryRoot root, std::u16string_view path) {
    std::shared_ptr<const RegistryFile> file = CurrentRegistryFile();
    const RegistryFile::Key* key = nullptr;
    if (file->FindKey(root, path, key)) {
        return std::make_unique<FileRegistryKey>(std::move(file), key);
    }
    if (root == RegistryRoot::ClassesRoot)
        return OpenMimeClassKey(path);
    return nullptr;
}

}  // namespace platform
