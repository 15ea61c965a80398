#pragma once

// The rig of the writers' tests: a scratch folder and whole files read back.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace sample_test {

// A folder of its own for the test, removed with everything in it.
struct ScratchDir {
    ScratchDir()
        : path(std::filesystem::temp_directory_path() / ("flowdeck_samples_" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(path);
    }
    ~ScratchDir() { std::filesystem::remove_all(path); }
    std::string File(const char* name) const { return (path / name).string(); }
    std::filesystem::path path;
};

// The file's bytes; empty when it does not exist.
inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace sample_test
