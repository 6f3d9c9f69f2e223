#pragma once
// Pictures (0x00RRGGBB pixels) as PNG files: the runner's screenshots, the game's
// screenshot key, the icons of kelvane-assets and its contact sheet.

#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"

namespace kelvane {

// The PNG file's bytes; with `alpha`, pixels are 0xAARRGGBB and keep their alpha channel
// (255: opaque). Throws std::runtime_error when there is no picture (a side of 0, too
// few pixels) or libpng cannot make one (no memory).
std::string EncodePng(const std::vector<uint32_t>& pixels, int width, int height, bool alpha = false);

// Encodes and writes the file whole or not at all (FileWriter); a failure (WriteFailed)
// names the file and the system's reason.
Result<void> WritePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
                      bool alpha = false);

}  // namespace kelvane
