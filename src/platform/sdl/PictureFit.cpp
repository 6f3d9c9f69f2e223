#include "platform/sdl/PictureFit.h"

#include <algorithm>

namespace kelvane {

PictureRect FitPicture(int outputWidth, int outputHeight, int pictureWidth, int pictureHeight) {
    if (outputWidth <= 0 || outputHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return {};
    // Compare the two aspects in integers: whichever side is the tighter one fills.
    const int64_t widthLimited = static_cast<int64_t>(outputWidth) * pictureHeight;
    const int64_t heightLimited = static_cast<int64_t>(outputHeight) * pictureWidth;
    PictureRect rect;
    if (widthLimited <= heightLimited) {
        rect.Width = outputWidth;
        rect.Height = static_cast<int>((widthLimited + pictureWidth / 2) / pictureWidth);
    } else {
        rect.Height = outputHeight;
        rect.Width = static_cast<int>((heightLimited + pictureHeight / 2) / pictureHeight);
    }
    rect.Width = std::clamp(rect.Width, 1, outputWidth);
    rect.Height = std::clamp(rect.Height, 1, outputHeight);
    rect.X = (outputWidth - rect.Width) / 2;
    rect.Y = (outputHeight - rect.Height) / 2;
    return rect;
}

namespace {
int32_t ToPicture(int offset, int span, int pictureSpan) {
    if (span <= 0) return 0;
    const int64_t scaled = (static_cast<int64_t>(offset) * pictureSpan) / span;
    return static_cast<int32_t>(std::clamp<int64_t>(offset < 0 ? 0 : scaled, 0, pictureSpan - 1));
}
}  // namespace

void OutputToPicture(const PictureRect& rect, int pictureWidth, int pictureHeight, int outputX, int outputY,
                     int32_t& pictureX, int32_t& pictureY) {
    pictureX = ToPicture(outputX - rect.X, rect.Width, pictureWidth);
    pictureY = ToPicture(outputY - rect.Y, rect.Height, pictureHeight);
}

}  // namespace kelvane
