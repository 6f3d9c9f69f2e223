#pragma once
// The game's icon: a KSS Vigil climbing away from the violet planet of the loading screen,
// on a chamfered badge with the status panels' rim. Painted once at IconMasterSize and
// scaled down by area, so every size shows the same picture.

#include <cstdint>
#include <vector>

namespace kelvane::assets {

inline constexpr int IconMasterSize = 256;

struct IconImage {
    int Size = 0;                // width and height
    std::vector<uint32_t> Argb;  // 0xAARRGGBB, rows top first; alpha 0 outside the badge
};

// The icon at each of the sizes (each at most IconMasterSize).
std::vector<IconImage> PaintIcons(const std::vector<int>& sizes);
// The icon on an opaque ground the colour of the badge's dark edge, as 0x00RRGGBB pixels
// (for Data/Icon.bmp: a BMP carries no alpha here).
std::vector<uint32_t> OpaqueIcon(const IconImage& icon);

}  // namespace kelvane::assets
