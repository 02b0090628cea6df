#include "platform/FileSecurity.h"

#include <windows.h>

#include <string>

namespace platform {

bool QueryFileSecurity(std::u16string_view path, uint32_t information, void* descriptor,
                       uint32_t capacity, uint32_t* needed) {
    const std::wstring wide(path.begin(), path.end());
    DWORD length = *needed;
    const BOOL ok = GetFileSecurityW(wide.c_str(), information, descriptor, capacity, &length);
    *needed = length;
    return ok != FALSE;
}

bool DescriptorOwner(const void* descriptor, const void** owner) {
    PSID sid = nullptr;
    BOOL defaulted = FALSE;
    if (!::GetSecurityDescriptorOwner(const_cast<void*>(descriptor), &sid, &defaulted))
        return false;
    *owner = sid;
    return true;
}

bool DescriptorDacl(const void* descriptor, bool* present, const void** dacl) {
    BOOL hasDacl = FALSE, defaulted = FALSE;
    PACL list = nullptr;
    if (!::GetSecurityDescriptorDacl(const_cast<void*>(descriptor), &hasDacl, &list, &defaulted))
        return false;
    *present = hasDacl != FALSE;
    *dacl = list;
    return true;
}

bool GetAclSize(const void* acl, AclSize* information) {
    ACL_SIZE_INFORMATION size{};
    if (!GetAclInformation(static_cast<PACL>(const_cast<void*>(acl)), &size, sizeof size,
                           AclSizeInformation))
        return false;
    information->aceCount = size.AceCount;
    information->aclBytesInUse = size.AclBytesInUse;
    information->aclBytesFree = size.AclBytesFree;
    return true;
}

bool GetAccessEntry(const void* acl, uint32_t index, AccessEntry* entry) {
    void* ace = nullptr;
    if (!::GetAce(static_cast<PACL>(const_cast<void*>(acl)), index, &ace))
        return false;
    const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
    entry->type = allowed->Header.AceType;
    entry->mask = allowed->Mask;
    entry->sid = &allowed->SidStart;
    return true;
}

bool LookupSidAccount(const void* sid, char16_t* name, uint32_t* nameUnits, char16_t* domain,
                      uint32_t* domainUnits) {
    DWORD nameLength = *nameUnits, domainLength = *domainUnits;
    SID_NAME_USE use{};
    if (!LookupAccountSidW(nullptr, const_cast<void*>(sid), reinterpret_cast<wchar_t*>(name),
                           &nameLength, reinterpret_cast<wchar_t*>(domain), &domainLength, &use))
        return false;
    *nameUnits = nameLength;
    *domainUnits = domainLength;
    return true;
}

}  // namespace platform
