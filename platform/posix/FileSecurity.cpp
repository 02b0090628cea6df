#include "platform/FileSecurity.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "formats/PosixAcl.h"
#include "platform/TextEncoding.h"

namespace platform {
namespace {

// Descriptor, ACL and ACE constants of the Windows security model.
constexpr uint8_t kDescriptorRevision = 1;
constexpr uint16_t kSelfRelative = 0x8000;
constexpr uint16_t kDaclPresent = 0x0004;
constexpr size_t kDescriptorHeaderSize = 20;
constexpr uint8_t kAclRevision = 2;
constexpr size_t kAclHeaderSize = 8;
constexpr uint8_t kAccessAllowed = 0;
constexpr size_t kAceHeaderAndMask = 8;
constexpr uint8_t kSidRevision = 1;

// SIDs: S-1-22-1-uid (Unix users), S-1-22-2-gid (Unix groups), S-1-1-0 (Everyone).
constexpr uint8_t kUnixAuthority = 22;
constexpr uint32_t kUnixUser = 1;
constexpr uint32_t kUnixGroup = 2;
constexpr uint8_t kWorldAuthority = 1;

// Rights for r, w and x; all three together are full control.
constexpr uint32_t kReadRights = 0x120089;
constexpr uint32_t kWriteRights = 0x130116;
constexpr uint32_t kExecuteRights = 0x1200A0;
constexpr uint32_t kFullControl = 0x1F01FF;

void PutWord(std::vector<uint8_t>& out, size_t at, uint16_t value) {
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutDword(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint16_t Word(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Dword(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

struct Sid {
    uint8_t authority;
    std::vector<uint32_t> subAuthorities;
};

size_t SidSize(const Sid& sid) {
    return 8 + 4 * sid.subAuthorities.size();
}

void AppendSid(std::vector<uint8_t>& out, const Sid& sid) {
    const size_t at = out.size();
    out.resize(at + SidSize(sid));
    out[at] = kSidRevision;
    out[at + 1] = static_cast<uint8_t>(sid.subAuthorities.size());
    out[at + 7] = sid.authority;  // the 48-bit authority, big-endian
    for (size_t i = 0; i < sid.subAuthorities.size(); ++i)
        PutDword(out, at + 8 + 4 * i, sid.subAuthorities[i]);
}

Sid UserSid(uint32_t uid) {
    return {kUnixAuthority, {kUnixUser, uid}};
}

Sid GroupSid(uint32_t gid) {
    return {kUnixAuthority, {kUnixGroup, gid}};
}

Sid EveryoneSid() {
    return {kWorldAuthority, {0}};
}

uint32_t Rights(bool read, bool write, bool execute) {
    if (read && write && execute)
        return kFullControl;
    return (read ? kReadRights : 0) | (write ? kWriteRights : 0) | (execute ? kExecuteRights : 0);
}

// One entry of the POSIX ACL, in the order the descriptor lists them.
struct PosixEntry {
    enum Kind { Owner, NamedUser, OwningGroup, NamedGroup, Other } kind;
    uint32_t id;
    unsigned permissions;  // 4 r, 2 w, 1 x
};

// Owner, named users, owning group, named groups, other; by id within each.
bool InDescriptorOrder(const PosixEntry& a, const PosixEntry& b) {
    return a.kind != b.kind ? a.kind < b.kind : a.id < b.id;
}

// The three classes of the mode bits, for a file system that keeps no ACLs.
std::vector<PosixEntry> ModeEntries(const struct stat& info) {
    const unsigned mode = info.st_mode;
    return {{PosixEntry::Owner, info.st_uid, (mode >> 6) & 7},
            {PosixEntry::OwningGroup, info.st_gid, (mode >> 3) & 7},
            {PosixEntry::Other, 0, mode & 7}};
}

// The value of the file's access ACL attribute: false when there is none
// (the mode bits are then the whole ACL) or it cannot be read.
bool ReadAclValue(const std::string& path, std::vector<uint8_t>& value, bool& none) {
    static const char kName[] = "system.posix_acl_access";
    none = false;
    value.resize(4 + 8 * 16);  // room for the ACLs met in practice
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t got = getxattr(path.c_str(), kName, value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<size_t>(got));
            return true;
        }
        if (errno == ENODATA || errno == ENOTSUP || errno == ENOSYS) {
            none = true;
            return false;
        }
        const ssize_t wanted = errno == ERANGE ? getxattr(path.c_str(), kName, nullptr, 0) : -1;
        if (wanted <= 0 || wanted > 65536)
            return false;
        value.resize(static_cast<size_t>(wanted));
    }
    return false;
}

// The entries of the file's access ACL, with the mask applied where it
// limits; the mode bits when the file has no ACL beyond them.
bool ReadEntries(const std::string& path, const struct stat& info,
                 std::vector<PosixEntry>& entries) {
    namespace acl = formats::posixacl;
    entries.clear();
    std::vector<uint8_t> value;
    std::vector<acl::Entry> stored;
    bool none = false;
    if (!ReadAclValue(path, value, none) ||
        !acl::ReadAclAttribute(value.data(), value.size(), stored)) {
        if (!none)
            return false;
        entries = ModeEntries(info);
        return true;
    }
    unsigned mask = 7;
    for (const acl::Entry& e : stored) {
        switch (e.tag) {
            case acl::kOwner:
                entries.push_back({PosixEntry::Owner, info.st_uid, e.permissions});
                break;
            case acl::kNamedUser:
                entries.push_back({PosixEntry::NamedUser, e.id, e.permissions});
                break;
            case acl::kOwningGroup:
                entries.push_back({PosixEntry::OwningGroup, info.st_gid, e.permissions});
                break;
            case acl::kNamedGroup:
                entries.push_back({PosixEntry::NamedGroup, e.id, e.permissions});
                break;
            case acl::kMask:
                mask = e.permissions;
                break;
            case acl::kOther:
                entries.push_back({PosixEntry::Other, 0, e.permissions});
                break;
            default:
                break;
        }
    }
    for (PosixEntry& e : entries)
        if (e.kind == PosixEntry::NamedUser || e.kind == PosixEntry::OwningGroup ||
            e.kind == PosixEntry::NamedGroup)
            e.permissions &= mask;
    std::sort(entries.begin(), entries.end(), InDescriptorOrder);
    return true;
}

Sid EntrySid(const PosixEntry& entry) {
    switch (entry.kind) {
        case PosixEntry::Owner:
        case PosixEntry::NamedUser:
            return UserSid(entry.id);
        case PosixEntry::OwningGroup:
        case PosixEntry::NamedGroup:
            return GroupSid(entry.id);
        case PosixEntry::Other:
            break;
    }
    return EveryoneSid();
}

// The self-relative descriptor; false when its ACL would not fit the 16-bit
// size field.
bool BuildDescriptor(uint32_t information, const struct stat& info,
                     const std::vector<PosixEntry>& entries, std::vector<uint8_t>& out) {
    out.assign(kDescriptorHeaderSize, 0);
    out[0] = kDescriptorRevision;
    const bool withDacl = (information & kDaclSecurityInformation) != 0;
    PutWord(out, 2, static_cast<uint16_t>(kSelfRelative | (withDacl ? kDaclPresent : 0)));
    if ((information & kOwnerSecurityInformation) != 0) {
        PutDword(out, 4, static_cast<uint32_t>(out.size()));
        AppendSid(out, UserSid(info.st_uid));
    }
    if (withDacl) {
        const size_t acl = out.size();
        PutDword(out, 16, static_cast<uint32_t>(acl));
        out.resize(acl + kAclHeaderSize);
        for (const PosixEntry& entry : entries) {
            const Sid sid = EntrySid(entry);
            const size_t ace = out.size();
            out.resize(ace + kAceHeaderAndMask);
            out[ace] = kAccessAllowed;
            PutWord(out, ace + 2, static_cast<uint16_t>(kAceHeaderAndMask + SidSize(sid)));
            PutDword(out, ace + 4,
                     Rights(entry.permissions & 4, entry.permissions & 2, entry.permissions & 1));
            AppendSid(out, sid);
        }
        const size_t aclSize = out.size() - acl;
        if (aclSize > UINT16_MAX)
            return false;
        out[acl] = kAclRevision;
        PutWord(out, acl + 2, static_cast<uint16_t>(aclSize));
        PutWord(out, acl + 4, static_cast<uint16_t>(entries.size()));
    }
    return true;
}

// Account names by SID, for the life of the process: the user and group
// databases are slow to ask once per row.
class AccountNames {
public:
    std::optional<std::string> Name(uint32_t kind, uint32_t id) {
        const uint64_t key = uint64_t{kind} << 32 | id;
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = names_.find(key);
        if (found == names_.end())
            found = names_.emplace(key, Lookup(kind, id)).first;
        return found->second;
    }

    const std::string& Domain() {
        std::call_once(hostOnce_, [this] {
            char host[256] = {};
            if (gethostname(host, sizeof host - 1) == 0)
                domain_ = std::string(host, strcspn(host, "."));
        });
        return domain_;
    }

private:
    static std::optional<std::string> Lookup(uint32_t kind, uint32_t id) {
        long suggested = sysconf(kind == kUnixUser ? _SC_GETPW_R_SIZE_MAX : _SC_GETGR_R_SIZE_MAX);
        std::vector<char> buffer(suggested > 0 ? static_cast<size_t>(suggested) : 16384);
        for (;;) {
            int error = 0;
            const char* name = nullptr;
            if (kind == kUnixUser) {
                struct passwd entry {};
                struct passwd* result = nullptr;
                error = getpwuid_r(id, &entry, buffer.data(), buffer.size(), &result);
                if (error == 0 && result != nullptr)
                    name = result->pw_name;
            } else {
                struct group entry {};
                struct group* result = nullptr;
                error = getgrgid_r(id, &entry, buffer.data(), buffer.size(), &result);
                if (error == 0 && result != nullptr)
                    name = result->gr_name;
            }
            if (error == ERANGE && buffer.size() < (1u << 20)) {
                buffer.resize(buffer.size() * 2);
                continue;
            }
            if (name == nullptr)
                return std::nullopt;
            return std::string(name);
        }
    }

    std::mutex mutex_;
    std::unordered_map<uint64_t, std::optional<std::string>> names_;
    std::once_flag hostOnce_;
    std::string domain_;
};

// Destroyed with the library, so that unloading the driver frees it; only
// entry points ask for names, never a static constructor or destructor.
AccountNames& Accounts() {
    static AccountNames accounts;
    return accounts;
}

// Copies `text` with its NUL into a buffer of `*units`; on success `*units`
// becomes the length without the NUL, else the room needed.
bool CopyOut(const std::u16string& text, char16_t* buffer, uint32_t* units) {
    if (text.size() + 1 > *units || buffer == nullptr) {
        *units = static_cast<uint32_t>(text.size() + 1);
        return false;
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = u'\0';
    *units = static_cast<uint32_t>(text.size());
    return true;
}

}  // namespace

bool QueryFileSecurity(std::u16string_view path, uint32_t information, void* descriptor,
                       uint32_t capacity, uint32_t* needed) {
    const std::string native = Utf16ToUtf8(path);
    struct stat info {};
    if (native.empty() || stat(native.c_str(), &info) != 0)
        return false;
    std::vector<PosixEntry> entries;
    if ((information & kDaclSecurityInformation) != 0 && !ReadEntries(native, info, entries))
        return false;
    std::vector<uint8_t> bytes;
    if (!BuildDescriptor(information, info, entries, bytes))
        return false;
    *needed = static_cast<uint32_t>(bytes.size());
    if (bytes.size() > capacity || descriptor == nullptr)
        return false;
    std::memcpy(descriptor, bytes.data(), bytes.size());
    return true;
}

bool DescriptorOwner(const void* descriptor, const void** owner) {
    const auto* bytes = static_cast<const uint8_t*>(descriptor);
    if (bytes == nullptr || bytes[0] != kDescriptorRevision ||
        (Word(bytes + 2) & kSelfRelative) == 0)
        return false;
    const uint32_t offset = Dword(bytes + 4);
    *owner = offset != 0 ? bytes + offset : nullptr;
    return true;
}

bool DescriptorDacl(const void* descriptor, bool* present, const void** dacl) {
    const auto* bytes = static_cast<const uint8_t*>(descriptor);
    if (bytes == nullptr || bytes[0] != kDescriptorRevision ||
        (Word(bytes + 2) & kSelfRelative) == 0)
        return false;
    *present = (Word(bytes + 2) & kDaclPresent) != 0;
    const uint32_t offset = Dword(bytes + 16);
    *dacl = *present && offset != 0 ? bytes + offset : nullptr;
    return true;
}

bool GetAclSize(const void* acl, AclSize* information) {
    const auto* bytes = static_cast<const uint8_t*>(acl);
    if (bytes == nullptr || bytes[0] < kAclRevision)
        return false;
    const uint16_t size = Word(bytes + 2);
    const uint16_t count = Word(bytes + 4);
    size_t used = kAclHeaderSize;
    for (uint16_t i = 0; i < count; ++i) {
        if (used + 4 > size)
            return false;
        const uint16_t aceSize = Word(bytes + used + 2);
        if (aceSize < 4 || used + aceSize > size)
            return false;
        used += aceSize;
    }
    information->aceCount = count;
    information->aclBytesInUse = static_cast<uint32_t>(used);
    information->aclBytesFree = static_cast<uint32_t>(size - used);
    return true;
}

bool GetAccessEntry(const void* acl, uint32_t index, AccessEntry* entry) {
    const auto* bytes = static_cast<const uint8_t*>(acl);
    if (bytes == nullptr || index >= Word(bytes + 4))
        return false;
    const uint16_t size = Word(bytes + 2);
    size_t at = kAclHeaderSize;
    for (uint32_t i = 0;; ++i) {
        if (at + 4 > size)
            return false;
        const uint16_t aceSize = Word(bytes + at + 2);
        if (aceSize < 4 || at + aceSize > size)
            return false;
        if (i == index) {
            if (aceSize < kAceHeaderAndMask)
                return false;
            entry->type = bytes[at];
            entry->mask = Dword(bytes + at + 4);
            entry->sid = bytes + at + kAceHeaderAndMask;
            return true;
        }
        at += aceSize;
    }
}

bool LookupSidAccount(const void* sid, char16_t* name, uint32_t* nameUnits, char16_t* domain,
                      uint32_t* domainUnits) {
    const auto* bytes = static_cast<const uint8_t*>(sid);
    if (bytes == nullptr || bytes[0] != kSidRevision)
        return false;
    const uint8_t count = bytes[1];
    for (int i = 2; i < 7; ++i)
        if (bytes[i] != 0)
            return false;  // no authority we name is that large
    const uint8_t authority = bytes[7];
    std::u16string accountName, accountDomain;
    if (authority == kWorldAuthority && count == 1 && Dword(bytes + 8) == 0) {
        accountName = u"Everyone";
    } else if (authority == kUnixAuthority && count == 2 &&
               (Dword(bytes + 8) == kUnixUser || Dword(bytes + 8) == kUnixGroup)) {
        const std::optional<std::string> found =
            Accounts().Name(Dword(bytes + 8), Dword(bytes + 12));
        if (!found)
            return false;
        accountName = Utf8ToUtf16(*found);
        accountDomain = Utf8ToUtf16(Accounts().Domain());
    } else {
        return false;
    }
    const bool nameFits = CopyOut(accountName, name, nameUnits);
    const bool domainFits = CopyOut(accountDomain, domain, domainUnits);
    return nameFits && domainFits;
}

}  // namespace platform
