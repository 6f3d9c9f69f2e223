// Whole archive files in and out of memory.

#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>

#include "base/FileError.h"
#include "base/FileWriter.h"
#include "media/Archive.h"

namespace kelvane {

std::vector<uint8_t> ReadWholeFile(const std::string& path, FileLimit limit) { return ReadFileBytes(path, limit); }

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    // Whole or not at all: a game starting beside this one never reads half an archive.
    try {
        WriteFile(path, bytes);
    } catch (const FileError&) {
        std::throw_with_nested(std::runtime_error("Cannot create file " + path));
    }
}

}  // namespace kelvane
