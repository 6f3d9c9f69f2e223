#pragma once
// Writes a frame (0x00RRGGBB pixels) as a PNG file.

#include <cstdint>
#include <string>
#include <vector>

namespace kelvane::sim {

// Returns false (with errno-style reason in `error`) when the file cannot be written.
bool WritePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
              std::string& error);

}  // namespace kelvane::sim
