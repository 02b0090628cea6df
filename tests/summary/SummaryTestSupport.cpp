#include "tests/summary/SummaryTestSupport.h"

#include <sstream>

#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"

namespace testing_summary {

const std::u16string kSummaryStreamName = u"\x05SummaryInformation";

std::filesystem::path SourceFile(const std::string& relative) {
    std::string root = FSDATA_SOURCE_DIR;
    // The Windows build runs under Wine, where the source tree is on Z:.
    if (testing_support::IsWindowsBuild() && !root.empty() && root[0] == '/')
        root = "Z:" + root;
    return std::filesystem::path(root) / relative;
}

std::filesystem::path DataFile(const std::string& name) {
    if (name.rfind("docfile_", 0) == 0)
        return SourceFile("tests/summary/data/" + name);
    return testing_support::ReferenceFolder() / "ole" / name;
}

std::u16string PathText(const std::filesystem::path& path) {
    return path.u16string();
}

std::string HexDumpBytes(const std::string& listing) {
    std::string bytes;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        // Offset, then up to 16 bytes, then the text between bars.
        const size_t bar = line.find('|');
        std::istringstream fields(line.substr(0, bar));
        std::string field;
        fields >> field;  // offset
        while (fields >> field)
            bytes += static_cast<char>(std::stoi(field, nullptr, 16));
    }
    return bytes;
}

std::string ReadToEnd(platform::StorageStream& stream, uint32_t piece) {
    std::string bytes;
    std::string buffer(piece, '\0');
    for (;;) {
        uint32_t got = 0;
        if (!stream.Read(&buffer[0], piece, got) || got == 0)
            break;
        bytes.append(buffer, 0, got);
    }
    return bytes;
}

SummaryGroup LoadSummary(const std::filesystem::path& file) {
    platform::FindData data{};
    data.dwFileAttributes = 0x20;
    const std::u16string name = file.filename().u16string();
    name.copy(data.cFileName, 259);
    FileRecord record(u"");
    record.Fill(&data, PathText(file.parent_path()), 0, 0);
    return record.Summary();
}

std::string StreamBytes(const std::filesystem::path& file, const std::u16string& name,
                        bool* found) {
    std::unique_ptr<platform::Storage> storage = platform::OpenStorage(PathText(file));
    std::unique_ptr<platform::StorageStream> stream = storage ? storage->OpenStream(name) : nullptr;
    if (found != nullptr)
        *found = stream != nullptr;
    return stream ? ReadToEnd(*stream) : std::string();
}

}  // namespace testing_summary
