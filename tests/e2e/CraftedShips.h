#pragma once
// Ship definitions made by a test: INI text and pictures whose hit mask the test knows.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "TempGameDir.h"
#include "media/Bitmap.h"
#include "media/Dib.h"

namespace kelvane::testing {

constexpr uint32_t PictureGreen = 0x00FF00;    // transparent in pattern 0
constexpr uint32_t PictureMagenta = 0xFF00FF;  // a hit-mask pixel that counts
constexpr uint32_t PictureHull = 0x8899AA;

// A ship picture of three patterns side by side: pattern 0 the hull on green, drawn where the
// mask counts (less a border), pattern 1 the hit mask (magenta where `hits` says so, black
// elsewhere), pattern 2 black.
inline std::vector<uint8_t> ShipPictureBmp(int width, int height, const std::function<bool(int, int)>& hits) {
    Bitmap picture;
    picture.Resize(3 * width, height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool inner =
                x >= width / 8 && x < width - width / 8 && y >= height / 8 && y < height - height / 8;
            picture.At(x, y) = inner && hits(x, y) ? PictureHull : PictureGreen;
            picture.At(width + x, y) = hits(x, y) ? PictureMagenta : 0;
        }
    }
    return EncodeBmpFile(picture);
}

// A definition file: the ship's names and the text of its other sections.
inline std::string ShipIni(const std::string& shipName, const std::string& fullName,
                           const std::string& strengths, const std::string& weapons) {
    return "[OverallInfo]\r\nShipName=" + shipName + "\r\nFullShipName=" + fullName +
           "\r\n\r\n[StrengthIndices]\r\n" + strengths + "\r\n[Weapons]\r\n" + weapons + "\r\n";
}

inline void WriteBytes(const TempGameDir& dir, const std::string& relative,
                       const std::vector<uint8_t>& bytes) {
    dir.WriteFile(relative, std::string(bytes.begin(), bytes.end()));
}

// A shipped picture of the generated data, for definitions whose mask does not matter.
inline std::string ShippedPicture(const std::string& name) {
    return std::string(KELVANE_BINARY_DIR) + "/Data/Ships/" + name + ".bmp";
}

}  // namespace kelvane::testing
