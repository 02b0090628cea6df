#include "tools/fsdata/InfoCommand.h"

#include <cstdio>
#include <string>

#include "platform/TextEncoding.h"

namespace fsdata {
namespace {

// DbGetInfo codes are asked up to here; the driver answers some of 1 to 26.
constexpr int32_t kLastInfoCode = 32;

}  // namespace

int RunInfo(const host::DriverLibrary& driver, const CommandLine& line, Output& out) {
    const host::DriverEntryPoints& api = driver.api();
    std::u16string language = platform::Utf8ToUtf16(line.Get("--lang"));

    api.DbInitialize();
    std::string typeName = "(none)";
    char16_t* text = nullptr;
    DbStatus status = api.DbFetchDatabaseType(language.c_str(), &text);
    if (status == Status_Success && text != nullptr)
        typeName = platform::Utf16ToUtf8(text);
    else
        typeName += " (status " + std::to_string(status) + ")";
    api.DbFreeString(text);

    out.Write("fsdata         " FSDATA_VERSION "\n");
    out.Write("driver         " + platform::Utf16ToUtf8(driver.path()) + "\n");
    out.Write("database type  " + typeName + "\n");
    out.Write(std::string("thread-safe    ") + (api.IsThreadSafe() == 1 ? "yes" : "no") + "\n");
    out.Write("info codes     code  value\n");
    for (int32_t code = 0; code <= kLastInfoCode; ++code) {
        uint32_t value = 0;
        char text[64];
        if (api.DbGetInfo(nullptr, code, &value) == Status_Success) {
            std::snprintf(text, sizeof text, "               %4d  %u (0x%08X)\n", code, value,
                          value);
            out.Write(text);
        }
    }
    api.DbTerminate();
    return kExitSuccess;
}

}  // namespace fsdata
