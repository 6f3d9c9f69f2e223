#pragma once
// Scratch files for the replay tests, removed with the test.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kelvane::testing {

inline std::string ReadFileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class ScratchFile {
public:
    explicit ScratchFile(const std::string& name) {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-replay-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        dir_ = pattern;
        path_ = (dir_ / name).string();
    }
    ~ScratchFile() {
        std::error_code error;
        std::filesystem::remove_all(dir_, error);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::filesystem::path dir_;
    std::string path_;
};

}  // namespace kelvane::testing
