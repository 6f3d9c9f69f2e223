#pragma once
// Pictures, items and surfaces for the drawing tests.

#include <cstdint>
#include <memory>

#include "media/Bitmap.h"
#include "media/PictureItem.h"
#include "media/Surface.h"

namespace kelvane::test {

// A distinct value for every picture pixel, never 0 and never a test key colour.
inline uint32_t SourcePixel(int32_t x, int32_t y) {
    return 0x400000u | (static_cast<uint32_t>(x) << 10) | static_cast<uint32_t>(y);
}

inline Bitmap DistinctPicture(int32_t width, int32_t height) {
    Bitmap image;
    image.Resize(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) image.At(x, y) = SourcePixel(x, y);
    return image;
}

inline std::unique_ptr<TPictureCollectionItem> MakeItem(Bitmap image, int32_t patternWidth = 0,
                                                        int32_t patternHeight = 0) {
    auto item = std::make_unique<TPictureCollectionItem>();
    item->Pic.ClassName = "TBitmap";
    item->Pic.Image = std::move(image);
    item->PatternWidth = patternWidth;
    item->PatternHeight = patternHeight;
    return item;
}

// A surface whose every pixel differs from every picture pixel.
inline constexpr uint32_t Background = 0x00123456u;

inline std::unique_ptr<Surface> MakeSurface(int32_t width, int32_t height) {
    auto surface = std::make_unique<Surface>(width, height);
    surface->Fill(Background);
    return surface;
}

}  // namespace kelvane::test
