// Runs a fuzz target's entry point once on each input, without the fuzzing engine, so that
// the test suite replays the corpora under the compiler's sanitizers. Every argument is a
// file or a folder; the files of a folder run in name order.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

bool Run(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // A heap copy of exactly the input's size, so that reading past it is caught; never
    // null, as the engine's is not.
    const std::unique_ptr<uint8_t[]> data(new uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), data.get());
    fprintf(stderr, "%s\n", file.c_str());
    LLVMFuzzerTestOneInput(data.get(), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    if (argc < 2) {
        fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg = argv[i];
        std::vector<fs::path> files;
        std::error_code error;
        if (fs::is_directory(arg, error)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(arg, error))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
        } else {
            files.push_back(arg);
        }
        if (error) {
            fprintf(stderr, "cannot read %s: %s\n", arg.c_str(), error.message().c_str());
            return 1;
        }
        for (const fs::path& file : files) {
            if (!Run(file))
                return 1;
            ++runs;
        }
    }
    printf("%d inputs ran\n", runs);
    return runs > 0 ? 0 : 1;
}
