#pragma once
// The one routine that draws the game's text.

#include <cstdint>
#include <string_view>

#include "media/Surface.h"

namespace kelvane {

// A set of font styles.
class FontStyle {
public:
    enum Bit : uint8_t { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

    constexpr FontStyle() = default;
    constexpr FontStyle(Bit bit) : bits_(bit) {}

    constexpr bool Has(Bit bit) const { return (bits_ & bit) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr FontStyle operator|(FontStyle other) const { return FontStyle(bits_ | other.bits_); }
    constexpr bool operator==(const FontStyle&) const = default;

private:
    constexpr explicit FontStyle(int bits) : bits_(static_cast<uint8_t>(bits)) {}
    uint8_t bits_ = 0;
};

// Draws Windows-1250 text with its top-left corner at (x, y) in the face "Verdana" at
// `size` points, with no background box. Sets up the canvas font on every call.
void WriteText(Surface& back, int32_t x, int32_t y, std::string_view text, uint32_t color, FontStyle style,
               uint8_t size);

}  // namespace kelvane
