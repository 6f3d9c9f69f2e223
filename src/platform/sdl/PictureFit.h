#pragma once
// Where the 1024 x 768 picture goes in a window of any size: scaled as large as fits with
// its aspect kept, centred, black bars around it. Pointer positions go back through the
// same rectangle. Pure arithmetic, no SDL.

#include <cstdint>

namespace kelvane {

struct PictureRect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const PictureRect&) const = default;
};

// The largest rectangle of the picture's shape inside output x output, centred; whole
// pixels. An empty output gives an empty rectangle.
PictureRect FitPicture(int outputWidth, int outputHeight, int pictureWidth, int pictureHeight);

// A point of the output (in output pixels) as a picture pixel; points on the bars are
// taken to the nearest edge of the picture.
void OutputToPicture(const PictureRect& rect, int pictureWidth, int pictureHeight, int outputX, int outputY,
                     int32_t& pictureX, int32_t& pictureY);

}  // namespace kelvane
