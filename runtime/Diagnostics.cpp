#include "runtime/Diagnostics.h"

#include <mutex>
#include <string>

#include "platform/DynamicLibrary.h"
#include "platform/Registry.h"

namespace diagnostics {
std::atomic<bool> assertionsEnabled{false};
}

namespace {

using InitializeLoggerFn = void (*)(uint8_t* enableAssertions, int32_t level, intptr_t option);
using AssertToLogfileFn = void (*)(const char* sourceUnit, int32_t line, const char* expression);
using RuntimeInfoFn = void (*)(const void*, uint32_t, const void*, int32_t);
using RuntimeInfoBinaryFn = void (*)(const void*, uint32_t, const void*, uintptr_t, int32_t);
using RuntimeInfoArglistFn = void (*)(const void*, uint32_t, const void*, int32_t, va_list);
using GetLoggingLevelFn = int32_t (*)();
using SetLoggingLevelFn = void (*)(int32_t);

constexpr char16_t kLoggerKey[] = u"Software\\Tavrel Quillon\\Meridel 4.0\\Vellum\\";
constexpr char16_t kFolderValue[] = u"CommonFiles";
constexpr char16_t kLoggerBaseName[] = u"vllogger";
constexpr size_t kMaxPath = 260;
constexpr int32_t kMaxLogLevel = 31;

// A function pointer that may be read while another thread stores it. It is
// held as a generic function pointer and called through its own type, so the
// attributes that Windows' va_list carries (and that a template argument
// drops, with a warning) never matter.
template <class Fn>
class AtomicFunction {
public:
    AtomicFunction& operator=(Fn fn) {
        stored_.store(reinterpret_cast<void (*)()>(fn), std::memory_order_release);
        return *this;
    }
    operator Fn() const { return reinterpret_cast<Fn>(stored_.load(std::memory_order_acquire)); }

private:
    std::atomic<void (*)()> stored_{nullptr};
};

// Entry points are read without a lock by assertion sites and traces; they
// change only in LoadLogger and UnloadLogger, while no other call may run.
struct LoggerState {
    platform::LibraryHandle library = nullptr;
    AtomicFunction<InitializeLoggerFn> initializeLogger;
    AtomicFunction<AssertToLogfileFn> assertToLogfile;
    AtomicFunction<RuntimeInfoFn> runtimeInfo;
    AtomicFunction<RuntimeInfoFn> runtimeInfoA;
    AtomicFunction<RuntimeInfoBinaryFn> runtimeInfoBinary;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-attributes"
    AtomicFunction<RuntimeInfoArglistFn> runtimeInfoArglist;
#pragma GCC diagnostic pop
    AtomicFunction<GetLoggingLevelFn> getLoggingLevel;
    AtomicFunction<SetLoggingLevelFn> setLoggingLevel;
    std::atomic<bool> loaded{false};
    std::atomic<bool> unavailable{false};
};

LoggerState logger;
std::mutex loggerLock;

void ForgetEntryPoints() {
    logger.initializeLogger = nullptr;
    logger.assertToLogfile = nullptr;
    logger.runtimeInfo = nullptr;
    logger.runtimeInfoA = nullptr;
    logger.runtimeInfoBinary = nullptr;
    logger.runtimeInfoArglist = nullptr;
    logger.getLoggingLevel = nullptr;
    logger.setLoggingLevel = nullptr;
}

void FindEntryPoints(platform::LibraryHandle library) {
    using platform::FindLibraryFunction;
    logger.initializeLogger = FindLibraryFunction<InitializeLoggerFn>(library, "InitializeLogger");
    logger.assertToLogfile = FindLibraryFunction<AssertToLogfileFn>(library, "AssertToLogfile");
    logger.runtimeInfo = FindLibraryFunction<RuntimeInfoFn>(library, "RuntimeInfoToLogfile");
    logger.runtimeInfoA = FindLibraryFunction<RuntimeInfoFn>(library, "RuntimeInfoToLogfileA");
    logger.runtimeInfoBinary =
        FindLibraryFunction<RuntimeInfoBinaryFn>(library, "RuntimeInfoToLogfileBinary");
    logger.runtimeInfoArglist =
        FindLibraryFunction<RuntimeInfoArglistFn>(library, "RuntimeInfoToLogfileArglist");
    logger.getLoggingLevel = FindLibraryFunction<GetLoggingLevelFn>(library, "GetLoggingLevel");
    logger.setLoggingLevel = FindLibraryFunction<SetLoggingLevelFn>(library, "SetLoggingLevel");
}

bool StartUpDone(int32_t level) {
    return level < 0 && (logger.loaded || logger.unavailable);
}

// The library's path: the folder text and the file name with nothing between
// them, in room for kMaxPath units (the folder is expected to end with a
// separator).
std::u16string LoggerPath(const std::u16string& folder) {
    std::u16string path = folder + platform::SharedLibraryFileName(kLoggerBaseName);
    if (path.size() >= kMaxPath)
        path.resize(kMaxPath - 1);
    return path;
}

}  // namespace

void LoadLogger(int32_t level, intptr_t option) {
    if (StartUpDone(level))
        return;
    std::lock_guard<std::mutex> guard(loggerLock);
    if (StartUpDone(level))
        return;

    auto key = platform::RegistryKey::Open(platform::RegistryRoot::LocalMachine, kLoggerKey);
    if (!key) {
        logger.unavailable = true;
        return;
    }
    std::u16string folder;
    if (!key->QueryText(kFolderValue, folder, kMaxPath)) {
        logger.unavailable = true;
        return;
    }
    std::u16string path = LoggerPath(folder);
    key.reset();

    if (logger.library != nullptr) {
        // A second load at a level of 0 or more replaces the first.
        ForgetEntryPoints();
        platform::FreeLibraryHandle(logger.library);
    }
    logger.library = platform::LoadLibraryFile(path);
    if (logger.library != nullptr)
        FindEntryPoints(logger.library);

    InitializeLoggerFn initialize = logger.initializeLogger;
    if (logger.library != nullptr && initialize != nullptr) {
        uint8_t enable = 0;
        initialize(&enable, level, option);
        diagnostics::assertionsEnabled = enable != 0;
        logger.loaded = true;
    } else {
        // A library without InitializeLogger stays loaded for the process.
        logger.unavailable = true;
    }
}

void UnloadLogger() {
    if (!logger.loaded || logger.unavailable)
        return;
    std::lock_guard<std::mutex> guard(loggerLock);
    if (!logger.loaded || logger.unavailable)
        return;
    ForgetEntryPoints();
    diagnostics::assertionsEnabled = false;
    platform::FreeLibraryHandle(logger.library);
    logger.library = nullptr;
    logger.loaded = false;
}

void ReportAssertion(const char* sourceUnit, int line, const char* expression) {
    if (AssertToLogfileFn report = logger.assertToLogfile)
        report(sourceUnit, line, expression);
}

bool IsLoggerActive() {
    return logger.loaded && !logger.unavailable;
}

int32_t GetLogLevel() {
    GetLoggingLevelFn get = logger.getLoggingLevel;
    if (get == nullptr)
        return 0;
    int32_t level = get();
    return level > kMaxLogLevel ? kMaxLogLevel : level;
}

bool IsLogLevelEnabled(int32_t level) {
    return IsLoggerActive() && GetLogLevel() >= level;
}

void TraceWide(const void* a, uint32_t b, const void* c, int32_t level) {
    RuntimeInfoFn trace = logger.runtimeInfo;
    if (trace != nullptr && IsLogLevelEnabled(level))
        trace(a, b, c, level);
}

void TraceNarrow(const void* a, uint32_t b, const void* c, int32_t level) {
    RuntimeInfoFn trace = logger.runtimeInfoA;
    if (trace != nullptr && IsLogLevelEnabled(level))
        trace(a, b, c, level);
}

void TraceBinary(const void* a, uint32_t b, const void* c, uintptr_t d, int32_t level) {
    RuntimeInfoBinaryFn trace = logger.runtimeInfoBinary;
    if (trace != nullptr && IsLogLevelEnabled(level))
        trace(a, b, c, d, level);
}

void TraceArglist(const void* a, uint32_t b, const void* c, int32_t level, va_list args) {
    RuntimeInfoArglistFn trace = logger.runtimeInfoArglist;
    if (trace != nullptr && IsLogLevelEnabled(level))
        trace(a, b, c, level, args);
}

void TraceFormat(const void* a, uint32_t b, const void* c, int32_t level, ...) {
    va_list args;
    va_start(args, level);
    TraceArglist(a, b, c, level, args);
    va_end(args);
}
