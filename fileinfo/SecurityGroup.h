// The security group of a row: the owner's account and the DACL as text, one
// line per access entry.
#pragma once

#include <string_view>

#include "runtime/SWCharString.h"

struct SecurityGroup {
    SWCharString owner;
    SWCharString ownerDomain;
    SWCharString acl;
};

// The group of the file at `path`, its words in the language `locale`; the
// defaults (all empty) when the descriptor or an account cannot be read.
SecurityGroup LoadSecurityGroup(std::u16string_view path, const char16_t* locale);
