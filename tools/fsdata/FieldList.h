// The fields a --fields list names, bound on a rowset.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/Session.h"

namespace fsdata {

struct BoundField {
    int64_t id;
    uint32_t ordinal;
};

// Binds the fields of `list`: names (any case) or ordinals separated by
// commas, spaces around them ignored, or "all"; `list` null means the
// default fields. False with `error` set for an empty list or item, an
// unknown name, an ordinal out of range, or a field named twice.
bool BindFieldList(const host::Session& session, DbRowsetRef rowset, const std::string* list,
                   std::vector<BoundField>& fields, std::string& error);

}  // namespace fsdata
