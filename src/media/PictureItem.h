#pragma once
// A picture item of an image list: one picture cut into equally sized patterns,
// drawn plain (Draw) or scaled and rotated (DrawRotate) onto a surface.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/Bitmap.h"

namespace kelvane {

class Surface;

// The picture payload of an item as it came from an archive or a file.
struct Picture {
    std::string ClassName;      // "TDIB" or "TBitmap"; empty when the item has no picture
    std::vector<uint8_t> Data;  // the payload after the class tag, as held
    Bitmap Image;               // its decoded pixels

    bool HasPicture() const { return !Image.Empty(); }
};

struct PatternRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

class TPictureCollectionItem {
public:
    // Stored settings (archive properties).
    std::string Name;
    int32_t PatternWidth = 0;
    int32_t PatternHeight = 0;
    int32_t SkipWidth = 0;
    int32_t SkipHeight = 0;
    Picture Pic;
    bool SystemMemory = false;
    bool Transparent = true;
    uint32_t TransparentColor = 0;  // 0xBBGGRR, or a system colour 0x80000000 + index

    // Pattern width and height: the stored value when above 0, else the picture's.
    int32_t Width() const;
    int32_t Height() const;
    // Patterns built when initialised; otherwise the count computed from the settings.
    int32_t PatternCount() const;

    // Builds the patterns from the picture (nothing for an item without one).
    void Initialize();
    void Finalize();
    bool Initialized() const { return initialized_; }
    const std::vector<PatternRect>& Patterns() const { return patterns_; }

    void Draw(Surface& dest, int32_t x, int32_t y, int32_t pattern) const;
    void DrawRotate(Surface& dest, int32_t x, int32_t y, int32_t width, int32_t height, int32_t pattern,
                    double centreX, double centreY, int32_t angle) const;
    // Colour (0xBBGGRR) of the picture's own pixel; 0xFFFFFFFF outside the picture.
    uint32_t PixelColor(int32_t x, int32_t y) const;

private:
    bool initialized_ = false;
    std::vector<PatternRect> patterns_;
    uint32_t keyPixel_ = 0;  // TransparentColor as a surface pixel
};

// The items and palette an archive holds.
struct PictureCollection {
    std::array<uint8_t, 1024> ColorTable{};
    std::vector<std::unique_ptr<TPictureCollectionItem>> Items;
};

}  // namespace kelvane
