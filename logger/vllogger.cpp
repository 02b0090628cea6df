// vllogger: the logging library that the driver loads when the registry names
// its folder. It appends a line for each load, assertion reports and traces
// as text lines to the file named by VLLOGGER_FILE (nothing when unset), asks
// the driver for
// assertion reports when VLLOGGER_ASSERTIONS=1, and reports the level in
// VLLOGGER_LEVEL.
//
// Trace arguments, in the driver's pass-through order:
//   RuntimeInfoToLogfile        (const char16_t* source, uint32_t line, const char16_t* text,
//   level) RuntimeInfoToLogfileA       (const char* source, uint32_t line, const char* text, level)
//   RuntimeInfoToLogfileBinary  (const char* source, uint32_t line, const void* data, size, level)
//   RuntimeInfoToLogfileArglist (const char* source, uint32_t line, const char* format, level,
//   args)
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/TextEncoding.h"

namespace {

std::mutex fileLock;

void AppendLine(const std::string& line) {
    const char* path = std::getenv("VLLOGGER_FILE");
    if (path == nullptr || *path == 0)
        return;
    std::lock_guard<std::mutex> guard(fileLock);
    if (FILE* file = std::fopen(path, "ab")) {
        std::fwrite(line.data(), 1, line.size(), file);
        std::fputc('\n', file);
        std::fclose(file);
    }
}

std::string Narrow(const char* text) {
    return text != nullptr ? text : "(null)";
}

std::string Narrow(const char16_t* text) {
    return text != nullptr ? platform::Utf16ToUtf8(text) : "(null)";
}

template <class Source>
std::string Prefix(const char* kind, int32_t level, Source source, uint32_t line) {
    return std::string(kind) + " " + std::to_string(level) + " " + Narrow(source) + "(" +
           std::to_string(line) + "): ";
}

}  // namespace

extern "C" {

int32_t GetLoggingLevel();

// Each load is one line, so a set-up can be checked before anything fails.
void InitializeLogger(uint8_t* enableAssertions, int32_t, intptr_t) {
    const char* assertions = std::getenv("VLLOGGER_ASSERTIONS");
    const bool enabled = assertions != nullptr && std::strcmp(assertions, "1") == 0;
    if (enableAssertions != nullptr)
        *enableAssertions = enabled ? 1 : 0;
    AppendLine(std::string("START assertions ") + (enabled ? "on" : "off") + ", level " +
               std::to_string(GetLoggingLevel()));
}

void AssertToLogfile(const char* sourceUnit, int32_t line, const char* expression) {
    AppendLine("ASSERT " + Narrow(sourceUnit) + "(" + std::to_string(line) +
               "): " + Narrow(expression));
}

int32_t GetLoggingLevel() {
    const char* level = std::getenv("VLLOGGER_LEVEL");
    return level != nullptr ? static_cast<int32_t>(std::strtol(level, nullptr, 10)) : 0;
}

void SetLoggingLevel(int32_t) {}

void RuntimeInfoToLogfile(const char16_t* source, uint32_t line, const char16_t* text,
                          int32_t level) {
    AppendLine(Prefix("TRACE", level, source, line) + Narrow(text));
}

void RuntimeInfoToLogfileA(const char* source, uint32_t line, const char* text, int32_t level) {
    AppendLine(Prefix("TRACE", level, source, line) + Narrow(text));
}

void RuntimeInfoToLogfileBinary(const char* source, uint32_t line, const void* data, uintptr_t size,
                                int32_t level) {
    std::string hex;
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (uintptr_t i = 0; bytes != nullptr && i < size; ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
        hex += pair;
    }
    AppendLine(Prefix("TRACE", level, source, line) + hex);
}

void RuntimeInfoToLogfileArglist(const char* source, uint32_t line, const char* format,
                                 int32_t level, va_list args) {
    char text[1024] = "";
    if (format != nullptr)
        std::vsnprintf(text, sizeof text, format, args);
    AppendLine(Prefix("TRACE", level, source, line) + text);
}

}  // extern "C"
