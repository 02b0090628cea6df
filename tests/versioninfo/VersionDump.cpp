// version_dump DIR [PASSES]: the version group of every file in DIR, one line
// each, and on standard error the mean cost of loading the version and the
// security group per file. Run on both builds over the same folder, the
// outputs must be equal but for the Language column.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fileinfo/FileRecord.h"
#include "tests/support/ScopedResources.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: version_dump DIR [PASSES]\n");
        return 2;
    }
    const std::u16string folder = U16(argv[1]);
    const int passes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    std::vector<std::u16string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(folder)))
        if (entry.is_regular_file())
            names.push_back(entry.path().filename().u16string());
    std::sort(names.begin(), names.end());

    ScopedResources resources;
    FileRecord record(u"");
    platform::FindData data{};
    double versionSeconds = 0, securitySeconds = 0;
    for (int pass = 0; pass < passes; ++pass) {
        for (const std::u16string& name : names) {
            data = platform::FindData{};
            name.copy(data.cFileName, 259);
            record.Reset();
            record.Fill(&data, folder, 0, 0);
            const Clock::time_point start = Clock::now();
            const VersionGroup& version = record.Version();
            const Clock::time_point middle = Clock::now();
            record.Security();
            const Clock::time_point end = Clock::now();
            versionSeconds += std::chrono::duration<double>(middle - start).count();
            securitySeconds += std::chrono::duration<double>(end - middle).count();
            if (pass != 0)
                continue;
            std::string line = U8(name);
            for (const SWCharString& text : version.texts)
                line += "\t" + U8(text.str());
            for (VersionFlagState flag : version.flags)
                line += "\t" + std::to_string(flag);
            std::printf("%s\n", line.c_str());
        }
    }
    const double loads = static_cast<double>(names.size()) * passes;
    std::fprintf(stderr, "%zu files x %d passes: version %.1f us/file, security %.1f us/file\n",
                 names.size(), passes, versionSeconds * 1e6 / loads, securitySeconds * 1e6 / loads);
    return 0;
}
