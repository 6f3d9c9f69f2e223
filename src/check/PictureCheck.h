#pragma once
// The findings of a ship picture as the game decoded it: three patterns side by side (the
// ship on transparent green, its hit mask, a free third), and a hit mask that shots can
// reach.

#include <string>

#include "check/Report.h"
#include "media/Bitmap.h"

namespace kelvane::check {

// A hit-mask pixel counts as over the hull when a hull pixel lies this close to the place
// it stands for, so a mask drawn a little generous is no finding.
constexpr int MaskSlack = 2;

void CheckShipPicture(const std::string& path, const Bitmap& picture, Report& report);

}  // namespace kelvane::check
