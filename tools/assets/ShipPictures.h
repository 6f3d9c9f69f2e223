#pragma once
// The ship pictures written beside the definition files as Data/Ships/<name>.bmp. Each
// holds three patterns side by side: 0 the ship on pure green (0x00FF00, the colour
// key), 1 its hit mask (0xFF00FF on the hull, black elsewhere), 2 a battle-damaged look.
//
// The game reads the mask at column (x - 7), row (y - 7) for a point that lies over the
// ship's pixel (x, y) (its hit box is the picture shrunk by 7 pixels on each side, and
// the mask is read from the box's corner), so the mask is painted shifted up and left
// by those 7 pixels: hits then land exactly on the hull as drawn.

#include <string>
#include <vector>

#include "ShipDesign.h"
#include "media/Bitmap.h"

namespace kelvane::assets {

inline constexpr int HitMaskShift = 7;
inline constexpr uint32_t ShipKeyPixel = 0x00FF00;   // pure green
inline constexpr uint32_t HitMaskPixel = 0xFF00FF;   // magenta

struct ShipPicture {
    std::string BaseName;
    Bitmap Image;  // 3 x pattern width by pattern height
};

ShipPicture RenderShip(const ShipDesign& design);
std::vector<ShipDesign> ShipDesigns();
std::vector<ShipPicture> PaintShips();

}  // namespace kelvane::assets
