#include "tests/versioninfo/VersionFixtures.h"

#include <algorithm>
#include <filesystem>

#include "tests/support/TestSupport.h"

namespace version_testing {

std::u16string FixtureFolder() {
    return testing_support::ProgramFolder() + u"versionfixtures";
}

bool WineFile(const std::string& sameBytes, const std::string& unixPath, std::u16string& folder,
              std::u16string& name) {
    const std::string identical = "identical: ";
    std::string path =
        sameBytes.rfind(identical, 0) == 0 ? sameBytes.substr(identical.size()) : unixPath;
    if (path.rfind("/usr/lib/", 0) != 0)
        return false;
    const size_t slash = path.rfind('/');
    name = testing_support::U16(path.substr(slash + 1));
    path.resize(slash);
    if (testing_support::IsWindowsBuild()) {
        std::replace(path.begin(), path.end(), '/', '\\');
        path = "Z:" + path;
    }
    folder = testing_support::U16(path);
    std::error_code error;
    return std::filesystem::is_regular_file(
        std::filesystem::path(folder + (testing_support::IsWindowsBuild() ? u"\\" : u"/") + name),
        error);
}

VersionRow LoadVersionRow(FileRecord& record, const std::u16string& directory,
                          const std::u16string& name) {
    static platform::FindData data;
    data = platform::FindData{};
    name.copy(data.cFileName, 259);
    data.dwFileAttributes = 0x20;
    record.Reset();
    record.Fill(&data, directory, 0, 0);
    const VersionGroup& version = record.Version();
    VersionRow row;
    for (const SWCharString& text : version.texts)
        row.texts.push_back(testing_support::U8(text.str()));
    for (VersionFlagState flag : version.flags)
        row.flags.push_back(flag);
    return row;
}

VersionRow EmptyVersionRow() {
    return {std::vector<std::string>(15), std::vector<int>(5, -1)};
}

}  // namespace version_testing
