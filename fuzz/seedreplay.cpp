// Runs a fuzz target once on every file of a seed folder, without libFuzzer,
// so that the committed seeds are checked with the normal compiler on every
// test run. A target reports a fault by aborting, which fails the run.
//
//   fuzzseeds_TARGET SEED_FOLDER
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED_FOLDER\n", argv[0]);
        return 2;
    }
    std::error_code error;
    std::vector<std::filesystem::path> seeds;
    for (const auto &entry : std::filesystem::directory_iterator(argv[1], error)) {
        if (entry.is_regular_file())
            seeds.push_back(entry.path());
    }
    // A folder that is missing or empty would pass without checking anything.
    if (error || seeds.empty()) {
        std::fprintf(stderr, "no seeds in %s\n", argv[1]);
        return 1;
    }
    std::sort(seeds.begin(), seeds.end());

    for (const auto &seed : seeds) {
        std::ifstream file(seed, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "cannot open %s\n", seed.c_str());
            return 1;
        }
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                      std::istreambuf_iterator<char>()};
        // Named first: a target that aborts prints only the text it failed on.
        std::printf("%s\n", seed.filename().c_str());
        std::fflush(stdout);
        // Like libFuzzer, never a null pointer, not even for an empty seed.
        static const uint8_t empty = 0;
        LLVMFuzzerTestOneInput(bytes.empty() ? &empty
                                             : reinterpret_cast<const uint8_t *>(bytes.data()),
                               bytes.size());
    }
    std::printf("%zu seeds passed\n", seeds.size());
    return 0;
}
