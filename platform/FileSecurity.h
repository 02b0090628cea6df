// The owner and discretionary access list of a file, in the binary forms of
// the Windows security API (self-relative descriptor, ACL, ACE, SID).
//
// Windows: the real functions. POSIX: a self-relative descriptor built from
// stat and the file's POSIX ACL: owner S-1-22-1-uid; one access-allowed entry
// per ACL entry in the order owner, named users, owning group, named groups,
// other (SIDs S-1-22-1-uid, S-1-22-2-gid, S-1-1-0), with rights mapped from
// rwx; the rights of named users and groups and of the owning group limited
// by the ACL mask. Accounts are the system's users and groups, their domain
// the host name up to its first dot.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// SECURITY_INFORMATION bits.
constexpr uint32_t kOwnerSecurityInformation = 0x1;
constexpr uint32_t kDaclSecurityInformation = 0x4;

// GetFileSecurityW: the file's self-relative security descriptor with the
// parts `information` asks for, into `descriptor` of `capacity` bytes.
// `needed` receives the descriptor's whole length whenever it is known (on
// success too); it is left alone when the file cannot be queried. False when
// the descriptor does not fit, or the file is missing or may not be queried.
bool QueryFileSecurity(std::u16string_view path, uint32_t information, void* descriptor,
                       uint32_t capacity, uint32_t* needed);

// GetSecurityDescriptorOwner: the owner SID, null when the descriptor has none.
bool DescriptorOwner(const void* descriptor, const void** owner);

// GetSecurityDescriptorDacl: whether the descriptor has a DACL, and the DACL
// (null for a null DACL).
bool DescriptorDacl(const void* descriptor, bool* present, const void** dacl);

// GetAclInformation(AclSizeInformation).
struct AclSize {
    uint32_t aceCount;
    uint32_t aclBytesInUse;
    uint32_t aclBytesFree;
};
bool GetAclSize(const void* acl, AclSize* information);

// GetAce, read as an access-allowed entry: the entry type (the first byte of
// its header), its access mask and the SID that follows the mask.
struct AccessEntry {
    uint8_t type;
    uint32_t mask;
    const void* sid;
};
bool GetAccessEntry(const void* acl, uint32_t index, AccessEntry* entry);

// LookupAccountSidW on the local system: the account's name and domain into
// buffers of `*nameUnits` and `*domainUnits` characters (NUL included). On
// success both counts become the characters written without the NUL; false
// when the SID does not resolve or a buffer is too small.
bool LookupSidAccount(const void* sid, char16_t* name, uint32_t* nameUnits, char16_t* domain,
                      uint32_t* domainUnits);

}  // namespace platform
