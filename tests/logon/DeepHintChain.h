// A chain of `depth` nameless properties, each the only hint of the one before,
// ending in a set boolean `name`; flat arrays, so that nothing recurses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vldb/dbdriver.h"

namespace testing_support {

class DeepHintChain {
public:
    DeepHintChain(size_t depth, const char16_t* name)
        : name_(name), properties_(depth + 1), items_(depth + 1), collections_(depth + 1) {
        for (size_t i = 0; i <= depth; ++i) {
            properties_[i].structSize = sizeof(DbProperty);
            properties_[i].valueType = i < depth ? unknownValue : booleanValue;
            properties_[i].uiInfo = i < depth ? &collections_[i + 1] : nullptr;
            items_[i] = &properties_[i];
            collections_[i] = DbPropertyCollection{sizeof(DbPropertyCollection), 1, &items_[i]};
        }
        properties_[depth].name = name_.data();
        properties_[depth].value = &value_;
    }

    DbPropertyCollection* get() { return &collections_[0]; }

private:
    std::u16string name_;
    uint16_t flag_ = 1;
    DbValue value_{sizeof(DbValue), singleKind, booleanValue, 0, &flag_};
    std::vector<DbProperty> properties_;
    std::vector<DbProperty*> items_;
    std::vector<DbPropertyCollection> collections_;
};

}  // namespace testing_support
