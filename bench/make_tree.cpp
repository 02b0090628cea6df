// Makes a deterministic directory tree for the walk benchmarks:
//   make_tree DIR FILES DIRECTORIES [SEED]
// Directories form a random tree, plus a few chains 60 deep;
// files are spread over all directories with sizes up to 1 MiB (sparse, so
// the tree is quick to make and takes little space).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Random {
    uint64_t state;
    uint32_t Next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(state >> 33);
    }
    uint32_t Below(uint32_t bound) { return Next() % bound; }
};

const char* const kExtensions[] = {".txt", ".doc", ".log", ".dat", ".cpp", ".h", "", ".tar.gz"};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: make_tree DIR FILES DIRECTORIES [SEED]\n");
        return 2;
    }
    const fs::path root = argv[1];
    const long files = std::atol(argv[2]);
    const long directories = std::atol(argv[3]);
    Random random{argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 42};

    fs::create_directories(root);
    std::vector<fs::path> all{root};
    const long chains = 4, chainDepth = 60;
    for (long i = 1; i < directories - chains * chainDepth; ++i) {
        // A parent chosen uniformly among the directories made so far gives a
        // tree about e * ln(n) deep.
        fs::path child = all[random.Below(uint32_t(all.size()))] / ("dir" + std::to_string(i));
        all.push_back(child);
        fs::create_directory(all.back());
    }
    for (long c = 0; c < chains; ++c) {
        fs::path path = all[random.Below(uint32_t(all.size()))];
        for (long d = 0; d < chainDepth; ++d) {
            path /= "chain" + std::to_string(c) + "_" + std::to_string(d);
            fs::create_directory(path);
            all.push_back(path);
        }
    }
    for (long i = 0; i < files; ++i) {
        const fs::path& parent = all[random.Below(uint32_t(all.size()))];
        fs::path file = parent / ("file" + std::to_string(i) + kExtensions[random.Below(8)]);
        std::ofstream(file).close();
        fs::resize_file(file, random.Below(1 << 20));
    }
    std::printf("%ld files in %zu directories under %s\n", files, all.size(),
                root.string().c_str());
    return 0;
}
