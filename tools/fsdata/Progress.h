// A query's progress on standard error: the rows found and the seconds
// spent, redrawn a few times a second (also while a long stretch of the walk
// finds nothing) and cleared at the end. Shown only when standard error is
// a terminal that standard output does not share, so rows and progress never
// meet on one screen and redirected runs stay quiet.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace fsdata {

class Progress {
public:
    Progress();
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void CountRow() { rows_.fetch_add(1, std::memory_order_relaxed); }

private:
    void Run();

    std::atomic<long> rows_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace fsdata
