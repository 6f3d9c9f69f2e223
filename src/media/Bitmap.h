#pragma once
// A decoded picture: 32-bit pixels 0x00RRGGBB, rows top to bottom. Game colours are
// 24-bit values with red in the low byte (0xBBGGRR); the two helpers convert.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelvane {

inline constexpr uint32_t ColorToPixel(uint32_t color) {
    return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}
inline constexpr uint32_t PixelToColor(uint32_t pixel) {
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}

struct Bitmap {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Pixels;  // Width * Height, row-major, top row first

    bool Empty() const { return Width <= 0 || Height <= 0; }
    uint32_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
    uint32_t& At(int32_t x, int32_t y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
    void Resize(int32_t w, int32_t h, uint32_t fill = 0) {
        Width = w;
        Height = h;
        Pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), fill);
    }
};

}  // namespace kelvane
