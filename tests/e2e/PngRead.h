#pragma once
// Reads a screenshot written by kelvane-sim back into 0x00RRGGBB pixels.

#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace kelvane::testing {

struct PngPicture {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;  // row-major, top row first, 0x00RRGGBB

    bool Empty() const { return Pixels.empty(); }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

// An empty picture when the file is missing or not a PNG.
inline PngPicture ReadPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return {};
    }
    PngPicture picture;
    picture.Width = static_cast<int>(image.width);
    picture.Height = static_cast<int>(image.height);
    picture.Pixels.resize(static_cast<size_t>(picture.Width) * picture.Height);
    for (size_t i = 0; i < picture.Pixels.size(); ++i) {
        picture.Pixels[i] = uint32_t{rgb[3 * i]} << 16 | uint32_t{rgb[3 * i + 1]} << 8 | rgb[3 * i + 2];
    }
    return picture;
}

}  // namespace kelvane::testing
