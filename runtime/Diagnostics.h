// Assertions and traces, reported through the optional logging library.
#pragma once

#include <atomic>
#include <cstdarg>
#include <cstddef>
#include <cstdint>

namespace diagnostics {

// Set by the logging library when it asks for assertion reports.
extern std::atomic<bool> assertionsEnabled;

inline bool AssertionsEnabled() {
    return assertionsEnabled.load(std::memory_order_relaxed);
}

}  // namespace diagnostics

// Loads the logging library named in the registry (first DbInitialize).
void LoadLogger(int32_t level, intptr_t option);
// Unloads it (last DbTerminate).
void UnloadLogger();

void ReportAssertion(const char* sourceUnit, int line, const char* expression);

bool IsLoggerActive();
int32_t GetLogLevel();
bool IsLogLevelEnabled(int32_t level);

void TraceWide(const void* a, uint32_t b, const void* c, int32_t level);
void TraceNarrow(const void* a, uint32_t b, const void* c, int32_t level);
void TraceBinary(const void* a, uint32_t b, const void* c, uintptr_t d, int32_t level);
void TraceArglist(const void* a, uint32_t b, const void* c, int32_t level, va_list args);
void TraceFormat(const void* a, uint32_t b, const void* c, int32_t level, ...);

// The consistency check of every source unit. `kSourceUnit` names the unit
// (a constant of the including file); `text` is the expression as reported.
// The condition is evaluated only while assertions are enabled.
#define VL_ASSERT_TEXT(condition, text)                         \
    do {                                                        \
        if (::diagnostics::AssertionsEnabled() && !(condition)) \
            ::ReportAssertion(kSourceUnit, __LINE__, text);     \
    } while (0)

#define VL_ASSERT(condition) VL_ASSERT_TEXT(condition, #condition)

// A branch that must not be reached.
#define VL_ASSERT_UNREACHABLE(text)                         \
    do {                                                    \
        if (::diagnostics::AssertionsEnabled())             \
            ::ReportAssertion(kSourceUnit, __LINE__, text); \
    } while (0)
