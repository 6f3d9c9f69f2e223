#pragma once
// Reads a screenshot written by kelvane-sim back into 0x00RRGGBB pixels.

#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace kelvane::testing {

struct PngPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // row-major, top row first, 0x00RRGGBB

    bool Empty() const { return pixels.empty(); }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
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
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        picture.pixels[i] = uint32_t{rgb[3 * i]} << 16 | uint32_t{rgb[3 * i + 1]} << 8 | rgb[3 * i + 2];
    }
    return picture;
}

}  // namespace kelvane::testing
