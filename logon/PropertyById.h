// Typed reads of a logon property named by a resource text: found under the
// text in the default language or in the caller's.
#pragma once

#include <cstdint>

#include "runtime/SWCharString.h"
#include "vldb/dbdriver.h"

// The property's value as text; empty when there is no such property.
SWCharString GetStringPropertyById(const DbPropertyCollection* collection, uint32_t id,
                                   const char16_t* locale);
bool GetBooleanPropertyById(const DbPropertyCollection* collection, uint32_t id,
                            const char16_t* locale, bool defaultValue);
// The property's single value converted to int32sValue; `defaultValue`
// when there is none or it does not convert.
int32_t GetIntegerPropertyById(const DbPropertyCollection* collection, uint32_t id,
                               const char16_t* locale, int32_t defaultValue);
