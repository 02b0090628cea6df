#include "tests/versioninfo/VersionFixtures.h"

#include <filesystem>

#include "tests/support/TestSupport.h"

namespace version_testing {

std::u16string FixtureFolder() {
    return testing_support::ProgramFolder() + u"versionfixtures";
}

std::u16string WineFolder(bool bits32) {
    const std::u16string folder = testing_support::IsWindowsBuild()
                                      ? u"Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\"
                                      : u"/usr/lib/x86_64-linux-gnu/wine/";
    const std::u16string path = folder + (bits32 ? u"i386-windows" : u"x86_64-windows");
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(path), error) ? path
                                                                             : std::u16string();
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
