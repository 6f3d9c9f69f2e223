#include "check/PictureCheck.h"

#include <algorithm>
#include <cstdlib>

#include "combat/Projectiles.h"
#include "game/ShipDefinition.h"

namespace kelvane::check {
namespace {

std::string Size(int width, int height) { return std::to_string(width) + " x " + std::to_string(height); }

std::string Where(int x, int y) {
    return std::string("(").append(std::to_string(x)).append(", ").append(std::to_string(y)).append(")");
}

bool NearlyMagenta(uint32_t pixel) {
    const int red = static_cast<int>(pixel >> 16) & 0xFF, green = static_cast<int>(pixel >> 8) & 0xFF,
              blue = static_cast<int>(pixel) & 0xFF;
    return pixel != HitMaskColor && red >= 0xE0 && blue >= 0xE0 && green <= 0x20;
}

class PictureJudge {
public:
    PictureJudge(const std::string& path, const Bitmap& picture, Report& report)
        : path_(path), picture_(picture), report_(report), width_(picture.Width / 3), height_(picture.Height) {}

    void Judge() {
        if (picture_.Empty()) {
            report_.Error(path_, 0, "the picture is empty (" + Size(picture_.Width, picture_.Height) + " pixels)");
            return;
        }
        if (picture_.Width % 3 != 0)
            report_.Error(path_, 0,
                          "the picture is " + std::to_string(picture_.Width) +
                              " pixels wide, not three equal patterns side by side: the game cuts it into patterns " +
                              std::to_string(width_) +
                              " pixels wide, so the ship and its hit mask are taken from "
                              "the wrong columns");
        if (width_ == 0) return;
        if (!AnyHull())
            report_.Warning(path_, 0,
                            "the ship (the left third) is all pure green #00FF00, which is transparent: the ship is "
                            "invisible");
        Mask();
    }

private:
    uint32_t Hull(int x, int y) const { return picture_.At(x, y); }
    uint32_t Mask(int x, int y) const { return picture_.At(width_ + x, y); }
    bool IsHull(int x, int y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_ && Hull(x, y) != ShipKeyColor;
    }

    bool AnyHull() const {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (IsHull(x, y)) return true;
        return false;
    }

    bool HullNear(int x, int y) const {
        for (int dy = -MaskSlack; dy <= MaskSlack; ++dy)
            for (int dx = -MaskSlack; dx <= MaskSlack; ++dx)
                if (IsHull(x + dx, y + dy)) return true;
        return false;
    }

    void Mask() {
        // Shots are tested from the inset up to the half-widths (rounded down) less the
        // inset; the mask is read HitBoxInset up and left of the shot.
        const int readableWidth = 2 * (width_ / 2) - 2 * HitBoxInset;
        const int readableHeight = 2 * (height_ / 2) - 2 * HitBoxInset;
        int magenta = 0, nearly = 0, unreachable = 0, overGreen = 0, overGreenUnshifted = 0;
        int firstUnreachableX = -1, firstUnreachableY = -1, firstOverGreenX = -1, firstOverGreenY = -1;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const uint32_t pixel = Mask(x, y);
                if (NearlyMagenta(pixel)) ++nearly;
                if (pixel != HitMaskColor) continue;
                ++magenta;
                if (x >= readableWidth || y >= readableHeight) {
                    if (unreachable++ == 0) firstUnreachableX = x, firstUnreachableY = y;
                    continue;
                }
                if (!HullNear(x + HitBoxInset, y + HitBoxInset)) {
                    if (overGreen++ == 0) firstOverGreenX = x, firstOverGreenY = y;
                    if (!HullNear(x, y)) ++overGreenUnshifted;
                }
            }
        }
        if (magenta == 0) {
            report_.Error(path_, 0,
                          "the hit mask (the middle third) has no pixel of exactly #FF00FF: shots pass through the "
                          "ship" +
                              (nearly > 0 ? " (" + std::to_string(nearly) +
                                                " pixels are nearly #FF00FF, but only exactly #FF00FF counts)"
                                          : std::string()));
            return;
        }
        if (readableWidth <= 0 || readableHeight <= 0) {
            report_.Error(path_, 0,
                          "patterns of " + Size(width_, height_) +
                              " pixels leave no room for hits: the game tests "
                              "shots only inside the pattern shrunk by 7 pixels on each side");
            return;
        }
        if (unreachable > 0)
            report_.Warning(path_, 0,
                            std::to_string(unreachable) + " hit-mask pixels (the first at " +
                                Where(firstUnreachableX, firstUnreachableY) + " of the mask) lie in its last " +
                                std::to_string(2 * HitBoxInset) +
                                " columns or rows, which the game never reads: it tests shots only inside the "
                                "pattern shrunk by 7 pixels on each side and reads the mask 7 pixels up and left "
                                "of the shot, so these can never be hit");
        if (overGreen > 0)
            report_.Warning(
                path_, 0,
                std::to_string(overGreen) + " hit-mask pixels (the first at " +
                    Where(firstOverGreenX, firstOverGreenY) +
                    " of the mask) stand where no hull is drawn: a mask pixel stands for the hull pixel 7 "
                    "to the right and 7 below it, so shots hit empty space there" +
                    (overGreenUnshifted == 0 ? "; the mask fits the hull unshifted: move it 7 pixels up and left"
                                             : ""));
    }

    const std::string& path_;
    const Bitmap& picture_;
    Report& report_;
    const int width_;
    const int height_;
};

}  // namespace

void CheckShipPicture(const std::string& path, const Bitmap& picture, Report& report) {
    PictureJudge(path, picture, report).Judge();
}

}  // namespace kelvane::check
