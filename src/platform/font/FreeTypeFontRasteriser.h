#pragma once
// Text through FreeType, with Fontconfig choosing the font file: the face the game asks
// for ("Verdana") where it is installed, else the closest match (DejaVu Sans on most
// Linux systems). Sizes are points on a 96-dpi screen, as on the machine the game was
// made for, so 7 points are 9 1/3 pixels. Glyphs are rendered once and cached.

#include <memory>
#include <string_view>

#include "media/Platform.h"

namespace kelvane {

class FreeTypeFontRasteriser : public IFontRasteriser {
public:
    // Throws std::runtime_error when FreeType or Fontconfig cannot start or no font
    // at all can be found.
    FreeTypeFontRasteriser();
    ~FreeTypeFontRasteriser() override;
    FreeTypeFontRasteriser(const FreeTypeFontRasteriser&) = delete;
    FreeTypeFontRasteriser& operator=(const FreeTypeFontRasteriser&) = delete;

    void Render(const FontSpec& font, std::string_view text, TextCoverage& out) override;
    int TextWidth(const FontSpec& font, std::string_view text) override;

    // Height of the text cell (ascender to descender) at this font.
    int CellHeight(const FontSpec& font);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kelvane
