// Walks a tree with the driver's iterator and reads what
// `find DIR -type f -printf '%h\t%f\t%s\t%T@\n'` prints for every row: the
// directory, the name, the size and the last-written time.
//   walk_bench DIR [REPEATS]
// Prints one line per run: rows, seconds, rows per second, peak memory.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/PeakMemory.h"
#include "fileinfo/FileRecord.h"
#include "fs/FileSystemIterator.h"
#include "platform/TextEncoding.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: walk_bench DIR [REPEATS]\n");
        return 2;
    }
    const SWCharString start(platform::Utf8ToUtf16(argv[1]));
    const int repeats = argc > 2 ? std::atoi(argv[2]) : 1;
    for (int run = 0; run < repeats; ++run) {
        auto begin = std::chrono::steady_clock::now();
        FileSystemIterator iterator(start, u"*.*", -1, false);
        FileRecord record(u"");
        long rows = 0;
        uint64_t checksum = 0;  // keeps the reads from being optimised away
        bool found = false;
        for (iterator.ReadRow(found, record); found; iterator.ReadRow(found, record)) {
            ++rows;
            checksum += record.directory().length();
            checksum += record.findData()->cFileName[0];
            checksum += record.FileSizeField().value;
            checksum += static_cast<uint64_t>(record.LastWrittenField().time);
        }
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        std::printf("rows %ld seconds %.3f rows/s %.0f peak_kib %ld checksum %llu\n", rows, seconds,
                    rows / seconds, PeakMemoryKiB(), static_cast<unsigned long long>(checksum));
    }
    return 0;
}
