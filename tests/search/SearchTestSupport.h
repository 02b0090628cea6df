// Helpers of the directory search tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/DirectorySearch.h"

namespace search_tests {

struct Listing {
    bool opened = false;
    std::vector<std::u16string> names;        // in the order returned
    std::vector<platform::FindData> entries;  // the same entries
};

// Runs one search to its end and closes it.
inline Listing List(const std::u16string& fileSpec,
                    platform::SearchScope scope = platform::SearchScope::AllEntries) {
    Listing listing;
    platform::FindData data{};
    platform::SearchHandle search = platform::FindFirstEntry(fileSpec, &data, scope);
    if (search == platform::kInvalidSearch) {
        return listing;
    }
    listing.opened = true;
    do {
        listing.names.push_back(data.cFileName);
        listing.entries.push_back(data);
    } while (platform::FindNextEntry(search, &data));
    EXPECT_TRUE(platform::FindCloseSearch(search));
    return listing;
}

}  // namespace search_tests
