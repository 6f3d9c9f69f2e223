#pragma once
// Guards shared by the sprite operations: a pattern is read only while it lies inside
// a picture whose pixel buffer matches its stated size (the item's picture may have
// been replaced after its patterns were cut).

#include <cstddef>
#include <cstdint>

#include "media/Bitmap.h"
#include "media/PictureItem.h"

namespace kelvane {

inline bool PictureConsistent(const Bitmap& image) {
    return image.Width >= 0 && image.Height >= 0 &&
           image.Pixels.size() >= static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height);
}

inline bool PatternReadable(const Bitmap& image, const PatternRect& rect) {
    return PictureConsistent(image) && rect.Left >= 0 && rect.Top >= 0 && rect.Width > 0 && rect.Height > 0 &&
           static_cast<int64_t>(rect.Left) + rect.Width <= image.Width &&
           static_cast<int64_t>(rect.Top) + rect.Height <= image.Height;
}

}  // namespace kelvane
