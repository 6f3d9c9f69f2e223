// Whole archive files in and out of memory.

#include <cstdio>
#include <stdexcept>

#include "media/Archive.h"

namespace kelvane {

std::vector<uint8_t> ReadWholeFile(const std::string& path, FileLimit limit) { return ReadFileBytes(path, limit); }

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("Cannot create file " + path);
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) throw std::runtime_error("Cannot create file " + path);
}

}  // namespace kelvane
