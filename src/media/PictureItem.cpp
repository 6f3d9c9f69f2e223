#include "media/PictureItem.h"

#include <algorithm>
#include <limits>

#include "media/Blit.h"
#include "media/PatternAccess.h"
#include "media/Surface.h"
#include "media/SystemColors.h"

namespace kelvane {

namespace {

// Patterns along one axis of an item that is not cut yet: the picture's extent div the
// cell, plus one when what is left over is exactly one pattern. A stored pattern size of
// 0 without a skip would leave no cell to divide by; the size the item really draws
// with (the picture's) stands in for it then.
int64_t UncutPatternsAlong(int64_t pictureExtent, int64_t storedPattern, int64_t skip, int64_t drawnPattern) {
    int64_t pattern = storedPattern;
    int64_t cell = pattern + skip;
    if (cell <= 0) {
        pattern = drawnPattern;
        cell = pattern + skip;
    }
    if (cell <= 0) return 0;
    int64_t count = pictureExtent / cell;
    if (pictureExtent - count * cell == pattern) ++count;
    return std::max<int64_t>(count, 0);
}

}  // namespace

int32_t TPictureCollectionItem::Width() const { return PatternWidth > 0 ? PatternWidth : Pic.Image.Width; }

int32_t TPictureCollectionItem::Height() const {
    return PatternHeight > 0 ? PatternHeight : Pic.Image.Height;
}

int32_t TPictureCollectionItem::PatternCount() const {
    if (initialized_) return static_cast<int32_t>(patterns_.size());
    const int64_t across = UncutPatternsAlong(Pic.Image.Width, PatternWidth, SkipWidth, Width());
    const int64_t down = UncutPatternsAlong(Pic.Image.Height, PatternHeight, SkipHeight, Height());
    return static_cast<int32_t>(std::min<int64_t>(across * down, std::numeric_limits<int32_t>::max()));
}

void TPictureCollectionItem::Initialize() {
    Finalize();
    keyPixel_ = ColorKeyPixel(TransparentColor);
    initialized_ = true;
    if (!Pic.HasPicture()) return;
    const int64_t width = Width(), height = Height();
    const int64_t pictureWidth = Pic.Image.Width, pictureHeight = Pic.Image.Height;
    if (width == pictureWidth && height == pictureHeight) {
        patterns_.push_back({0, 0, Pic.Image.Width, Pic.Image.Height});
        return;
    }
    const int64_t cellWidth = width + SkipWidth, cellHeight = height + SkipHeight;
    if (cellWidth <= 0 || cellHeight <= 0) return;  // negative skips that swallow the pattern
    const int64_t columns = (pictureWidth + SkipWidth) / cellWidth;
    const int64_t rows = (pictureHeight + SkipHeight) / cellHeight;
    if (columns <= 0 || rows <= 0) return;
    // Every cell lies inside the picture: (columns - 1) x cell + pattern <= picture extent,
    // so there are never more patterns than pixels.
    patterns_.reserve(static_cast<size_t>(columns * rows));
    for (int64_t row = 0; row < rows; ++row)
        for (int64_t column = 0; column < columns; ++column)
            patterns_.push_back({static_cast<int32_t>(column * cellWidth),
                                 static_cast<int32_t>(row * cellHeight), static_cast<int32_t>(width),
                                 static_cast<int32_t>(height)});
}

void TPictureCollectionItem::Finalize() {
    initialized_ = false;
    patterns_.clear();
    patterns_.shrink_to_fit();
}

void TPictureCollectionItem::Draw(Surface& dest, int32_t x, int32_t y, int32_t pattern) const {
    if (!initialized_ || pattern < 0 || static_cast<size_t>(pattern) >= patterns_.size()) return;
    const PatternRect& rect = patterns_[pattern];
    const Bitmap& image = Pic.Image;
    if (!PatternReadable(image, rect)) return;
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(static_cast<int64_t>(x) + rect.Width, dest.Width());
    const int64_t bottom = std::min<int64_t>(static_cast<int64_t>(y) + rect.Height, dest.Height());
    if (left >= right || top >= bottom) return;
    const int32_t count = static_cast<int32_t>(right - left);
    const int64_t sourceX = rect.Left + (left - x);
    for (int64_t row = top; row < bottom; ++row) {
        const uint32_t* source =
            image.Pixels.data() + static_cast<size_t>(rect.Top + (row - y)) * image.Width + sourceX;
        uint32_t* target = dest.Row(static_cast<int32_t>(row)) + left;
        if (Transparent)
            CopyRowKeyed(target, source, count, keyPixel_);
        else
            CopyRow(target, source, count);
    }
}

uint32_t TPictureCollectionItem::PixelColor(int32_t x, int32_t y) const {
    const Bitmap& image = Pic.Image;
    if (!PictureConsistent(image) || x < 0 || y < 0 || x >= image.Width || y >= image.Height)
        return 0xFFFFFFFFu;
    return PixelToColor(image.At(x, y)) & 0xFFFFFFu;
}

}  // namespace kelvane
