// A full query of a tree through the driver's entry points, as the engine
// makes it: five cheap fields per row (directory, name, size, last written,
// attributes), or all 65.
//   query_bench DIR [all]
// Prints rows, seconds, rows per second and peak memory.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench/PeakMemory.h"
#include "driver/FieldId.h"
#include "host/DriverLibrary.h"
#include "host/LogonProperties.h"
#include "platform/TextEncoding.h"

// The identifiers of the five cheap fields, or of all.
std::vector<int64_t> FieldsToRead(bool all) {
    std::vector<int64_t> fields;
    if (all) {
        for (uint32_t index = 0; index < kFileTableFieldCount; ++index)
            fields.push_back(Ordinal(FieldAtIndex(index)));
        return fields;
    }
    for (FieldId id : {FieldId::Directory, FieldId::FileName, FieldId::FileSize,
                       FieldId::LastWritten, FieldId::Attributes})
        fields.push_back(Ordinal(id));
    return fields;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: query_bench DIR [all]\n");
        return 2;
    }
    std::string error;
    auto driver = host::DriverLibrary::Open(host::DefaultDriverPath(), &error);
    if (!driver) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const host::DriverEntryPoints& api = driver->api();
    const std::vector<int64_t> fields = FieldsToRead(argc > 2 && std::strcmp(argv[2], "all") == 0);

    auto begin = std::chrono::steady_clock::now();
    api.DbInitialize();
    host::LogonProperties properties(platform::Utf8ToUtf16(argv[1]), u"*.*", -1, false);
    DbLogonRef logon = nullptr;
    DbLogonInfo* info = nullptr;
    ErrorInfo* logonError = nullptr;
    if (api.DbLogonServer(properties.info(), &info, nullptr, nullptr, u"", &logon, &logonError) !=
        Status_Success) {
        std::fprintf(stderr, "logon refused\n");
        return 1;
    }
    int table = 0;
    DbRowsetRef rowset = nullptr;
    api.DbExecuteQuery(logon, QueryType_OpenTable, &table, nullptr, nullptr, nullptr, &rowset);
    long rows = 0;
    uint64_t checksum = 0;
    alignas(8) unsigned char buffer[1024];
    while (api.DbReadRecord(rowset, ReadMode_Next, nullptr, nullptr) == Status_Success) {
        ++rows;
        for (int64_t id : fields) {
            void* value = buffer;
            uint16_t isNull = 0;
            uint32_t type = 0, reserved = 0;
            api.DbReadFieldValue(rowset, id, nullptr, nullptr, &value, sizeof buffer, &isNull,
                                 &type, &reserved);
            checksum += static_cast<const unsigned char*>(value)[0] + isNull;
            if (value != buffer)
                api.DbFreeFieldValue(value);
        }
    }
    api.DbCloseRowset(rowset);
    api.DbLogoffServer(logon);
    api.DbFreeLogonInfo(info);
    api.DbTerminate();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::printf("rows %ld seconds %.3f rows/s %.0f peak_kib %ld checksum %llu\n", rows, seconds,
                rows / seconds, PeakMemoryKiB(), static_cast<unsigned long long>(checksum));
    return 0;
}
