// Helpers of the directory search tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/CaseMapping.h"
#include "platform/DirectorySearch.h"
#include "tests/search/WildcardTable.h"

namespace search_tests {

// The names of a "/"-separated list; "<all>" is every fixture name with "."
// and "..".
inline std::set<std::u16string> ExpandNames(std::u16string_view list) {
    std::set<std::u16string> names;
    if (list == u"<all>") {
        names = {u".", u".."};
        for (const char16_t* name : kFixtureNames) {
            names.insert(name);
        }
        return names;
    }
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find(u'/', start);
        if (end == std::u16string_view::npos) {
            end = list.size();
        }
        names.insert(std::u16string(list.substr(start, end - start)));
        start = end + 1;
    }
    return names;
}

// "." and ".." first, then by the upper-cased names, ties by the exact ones.
inline std::vector<std::u16string> InSearchOrder(const std::set<std::u16string>& names) {
    std::vector<std::u16string> ordered(names.begin(), names.end());
    auto rank = [](const std::u16string& name) { return name == u"." ? 0 : name == u".." ? 1 : 2; };
    auto upper = [](std::u16string name) {
        platform::UpperCaseInPlace(name.data(), name.size());
        return name;
    };
    std::sort(ordered.begin(), ordered.end(),
              [&](const std::u16string& a, const std::u16string& b) {
                  if (rank(a) != rank(b)) {
                      return rank(a) < rank(b);
                  }
                  const std::u16string ua = upper(a), ub = upper(b);
                  return ua != ub ? ua < ub : a < b;
              });
    return ordered;
}

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
