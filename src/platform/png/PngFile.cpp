#include "platform/png/PngFile.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace kelvane {
namespace {

bool WritePngFile(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height, bool alpha,
                  std::string& error) {
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * static_cast<size_t>(height)) {
        error = "no picture has been shown yet";
        return false;
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) {
        error = "cannot create " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        error = "out of memory";
        return false;
    }
    const int channels = alpha ? 4 : 3;
    std::vector<uint8_t> row(static_cast<size_t>(width) * channels);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "cannot write " + path;
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const uint32_t* source = pixels.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            uint8_t* pixel = &row[static_cast<size_t>(x) * channels];
            pixel[0] = static_cast<uint8_t>(source[x] >> 16);
            pixel[1] = static_cast<uint8_t>(source[x] >> 8);
            pixel[2] = static_cast<uint8_t>(source[x]);
            if (alpha) pixel[3] = static_cast<uint8_t>(source[x] >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
              std::string& error) {
    return WritePngFile(path, pixels, width, height, false, error);
}

bool WritePngWithAlpha(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
                       std::string& error) {
    return WritePngFile(path, pixels, width, height, true, error);
}

}  // namespace kelvane
