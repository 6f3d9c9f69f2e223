#include "platform/png/PngFile.h"

#include <png.h>

#include <stdexcept>

#include "base/FailureReport.h"
#include "base/FileWriter.h"

namespace kelvane {
namespace {

// Where libpng's output and its error go; libpng leaves through longjmp, so nothing in
// here may throw through it.
struct Encoding {
    std::string Bytes;
    std::string Error;
};

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* encoding = static_cast<Encoding*>(png_get_io_ptr(png));
    bool appended = true;
    try {
        encoding->Bytes.append(reinterpret_cast<const char*>(data), length);
    } catch (const std::exception&) {
        appended = false;
    }
    if (!appended) png_error(png, "out of memory");
}

void NoFlush(png_structp) {}

void KeepError(png_structp png, png_const_charp message) {
    static_cast<Encoding*>(png_get_error_ptr(png))->Error = message;
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// False (with libpng's reason in encoding.Error) when libpng gave up.
bool Encode(Encoding& encoding, const std::vector<uint32_t>& pixels, int width, int height, bool alpha) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &encoding, KeepError, IgnoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        encoding.Error = "out of memory";
        return false;
    }
    const int channels = alpha ? 4 : 3;
    std::vector<uint8_t> row(static_cast<size_t>(width) * channels);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &encoding, AppendBytes, NoFlush);
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

std::string EncodePng(const std::vector<uint32_t>& pixels, int width, int height, bool alpha) {
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * static_cast<size_t>(height))
        throw std::runtime_error("no picture has been shown yet");
    Encoding encoding;
    if (!Encode(encoding, pixels, width, height, alpha)) throw std::runtime_error("cannot make a PNG: " + encoding.Error);
    return std::move(encoding.Bytes);
}

Result<void> WritePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
                      bool alpha) {
    return Catching<std::exception>(ExitStatus::WriteFailed,
                                    [&] { WriteFile(path, EncodePng(pixels, width, height, alpha)); });
}

}  // namespace kelvane
