#pragma once
// F12: the picture as a PNG in the player's pictures folder, subfolder Kelvane, named by
// the local time, kelvane-YYYYMMDD-HHMMSS.png, with -2, -3 ... when that name is taken.

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace kelvane {

// The first free name for a shot taken at `when` (local time).
std::string ScreenshotName(const std::tm& when, const std::function<bool(const std::string&)>& taken);

// Writes the 1024 x 768 picture into picturesFolder + "Kelvane/", making the folders:
// the path of the file written, or why there is none (a full disk leaves no file).
Result<std::string> SaveScreenshot(const std::string& picturesFolder, const std::vector<uint32_t>& pixels,
                                   int width, int height, std::time_t now);

}  // namespace kelvane
