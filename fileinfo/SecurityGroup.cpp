#include "fileinfo/SecurityGroup.h"

#include <cstdio>
#include <iterator>
#include <new>
#include <vector>

#include "platform/FileSecurity.h"
#include "resources/TextIds.h"
#include "runtime/ResourceTexts.h"

namespace {

constexpr uint32_t kFirstDescriptorBytes = 512;
constexpr uint32_t kAccountUnits = 256;

// The word of each access entry type, by type; later types end the text.
constexpr uint32_t kEntryTypeTexts[] = {kTextAccessAllowed, kTextAccessDenied, kTextSystemAudit,
                                        kTextSystemAlarm};

constexpr uint32_t kStandardRights = 0x1F0000;
constexpr uint32_t kDelete = 0x10000;
constexpr uint32_t kReadControl = 0x20000;

struct Account {
    char16_t name[kAccountUnits];
    char16_t domain[kAccountUnits];
};

bool Lookup(const void* sid, Account& account) {
    uint32_t nameUnits = kAccountUnits, domainUnits = kAccountUnits;
    return platform::LookupSidAccount(sid, account.name, &nameUnits, account.domain, &domainUnits);
}

uint32_t RightsText(uint32_t mask) {
    if ((mask & kStandardRights) == kStandardRights)
        return kTextFullControl;
    if ((mask & kDelete) != 0 && (mask & kReadControl) != 0)
        return kTextChange;
    if ((mask & kReadControl) != 0)
        return kTextRead;
    return kTextNoAccess;
}

// The owner and DACL part of the file's descriptor, in a buffer enlarged once
// when the first is too small; false when it cannot be read.
bool QueryDescriptor(std::u16string_view path, std::vector<uint8_t>& descriptor) {
    constexpr uint32_t information =
        platform::kOwnerSecurityInformation | platform::kDaclSecurityInformation;
    uint32_t needed = 0;
    bool queried = false;
    try {
        descriptor.resize(kFirstDescriptorBytes);
        queried = platform::QueryFileSecurity(path, information, descriptor.data(),
                                              kFirstDescriptorBytes, &needed);
        if (needed > kFirstDescriptorBytes) {
            const uint32_t enlarged = needed;
            descriptor.resize(enlarged);
            needed = 0;
            queried = platform::QueryFileSecurity(path, information, descriptor.data(), enlarged,
                                                  &needed);
            // A query that succeeds also reports the descriptor's length;
            // accept it as long as the descriptor fitted.
            if (needed != 0 && !(queried && needed <= enlarged))
                return false;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return queried;
}

// One line per access entry: account, type and rights; false when an entry
// or its account cannot be read.
bool AclText(const void* dacl, const char16_t* locale, SWCharString& acl) {
    platform::AclSize size{};
    if (!platform::GetAclSize(dacl, &size))
        return false;
    Account account;
    for (uint32_t index = 0; index < size.aceCount; ++index) {
        platform::AccessEntry entry{};
        if (!platform::GetAccessEntry(dacl, index, &entry) || !Lookup(entry.sid, account))
            return false;
        if (index > 0)
            acl += u'\n';
        acl += account.name;
        acl += u"   ";
        if (entry.type >= std::size(kEntryTypeTexts))
            break;
        acl += LoadResourceText(kEntryTypeTexts[entry.type], locale);
        acl += u' ';
        acl += LoadResourceText(RightsText(entry.mask), locale);
        char mask[24];
        std::snprintf(mask, sizeof mask, " (0x%lx)", static_cast<unsigned long>(entry.mask));
        SWCharString maskText;
        maskText.copyFrom(mask);
        acl += maskText;
    }
    return true;
}

}  // namespace

SecurityGroup LoadSecurityGroup(std::u16string_view path, const char16_t* locale) {
    std::vector<uint8_t> descriptor;
    if (!QueryDescriptor(path, descriptor))
        return {};

    SecurityGroup loaded;
    const void* owner = nullptr;
    Account account;
    if (!platform::DescriptorOwner(descriptor.data(), &owner) || !Lookup(owner, account))
        return {};
    loaded.owner = account.name;
    loaded.ownerDomain = account.domain;

    bool present = false;
    const void* dacl = nullptr;
    if (!platform::DescriptorDacl(descriptor.data(), &present, &dacl))
        return {};
    if (present && dacl != nullptr && !AclText(dacl, locale, loaded.acl))
        return {};
    return loaded;
}
