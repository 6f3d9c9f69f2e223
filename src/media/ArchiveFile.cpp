// Whole archive files in and out of memory.

#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>

#include "base/FileError.h"
#include "base/FileWriter.h"
#include "media/Archive.h"

namespace kelvane {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) throw std::runtime_error("Cannot open file " + path);
    // Read in pieces rather than trusting a size asked for beforehand.
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    if (std::ferror(file.get())) throw std::runtime_error("Cannot open file " + path);  // e.g. a directory
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    // Whole or not at all: a game starting beside this one never reads half an archive.
    try {
        WriteFile(path, bytes);
    } catch (const FileError&) {
        std::throw_with_nested(std::runtime_error("Cannot create file " + path));
    }
}

}  // namespace kelvane
