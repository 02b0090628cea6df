#include "tools/fsdata/Progress.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/Console.h"

namespace fsdata {
namespace {

constexpr auto kRedrawEvery = std::chrono::milliseconds(250);
constexpr auto kQuietStart = std::chrono::seconds(1);  // short runs show nothing

}  // namespace

Progress::Progress() {
    if (platform::IsStandardErrorTerminal() && !platform::IsStandardOutputOnErrorTerminal())
        thread_ = std::thread(&Progress::Run, this);
}

Progress::~Progress() {
    if (!thread_.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void Progress::Run() {
    const auto start = std::chrono::steady_clock::now();
    size_t shown = 0;  // the length of the line on screen
    std::unique_lock<std::mutex> lock(mutex_);
    while (!wake_.wait_for(lock, kRedrawEvery, [this] { return stopping_; })) {
        const auto spent = std::chrono::steady_clock::now() - start;
        if (spent < kQuietStart)
            continue;
        const std::string line =
            std::to_string(rows_.load(std::memory_order_relaxed)) + " rows, " +
            std::to_string(std::chrono::duration_cast<std::chrono::seconds>(spent).count()) + " s";
        std::fprintf(stderr, "\r%s", line.c_str());
        std::fflush(stderr);
        shown = line.size();
    }
    if (shown > 0)
        std::fprintf(stderr, "\r%s\r", std::string(shown, ' ').c_str());
}

}  // namespace fsdata
