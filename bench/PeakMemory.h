// The benchmarks' measure of memory: the process's peak resident size.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

// In KiB, from /proc; -1 where /proc does not say.
inline long PeakMemoryKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, 6, "VmHWM:") == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}
