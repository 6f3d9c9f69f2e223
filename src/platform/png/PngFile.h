#pragma once
// Writes a picture (0x00RRGGBB pixels) as a PNG file: the runner's screenshots, the game's
// screenshot key and the icons of kelvane-assets.

#include <cstdint>
#include <string>
#include <vector>

namespace kelvane {

// Returns false (with errno-style reason in `error`) when the file cannot be written.
bool WritePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
              std::string& error);
// The same for pixels 0xAARRGGBB, written with their alpha channel (255: opaque).
bool WritePngWithAlpha(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
                       std::string& error);

}  // namespace kelvane
