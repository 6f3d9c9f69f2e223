// Canvas text: the rasteriser's coverage blended in the font colour, the brush behind it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw_support.h"
#include "media/Canvas.h"

namespace kelvane {
namespace {

using test::Background;
using test::MakeSurface;

// Every character is a 2 x 3 cell: full coverage, none, then half, per row.
class FakeRasteriser : public IFontRasteriser {
public:
    void Render(const FontSpec& font, std::string_view text, TextCoverage& out) override {
        lastFont = font;
        lastText = std::string(text);
        out.Width = 2 * static_cast<int>(text.size());
        out.Height = 3;
        out.Alpha.assign(static_cast<size_t>(out.Width) * out.Height, 0);
        for (int x = 0; x < out.Width; ++x) {
            out.Alpha[x] = 255;
            out.Alpha[2 * out.Width + x] = 128;
        }
    }
    int TextWidth(const FontSpec& font, std::string_view text) override {
        lastFont = font;
        return 2 * static_cast<int>(text.size()) + 1;
    }
    FontSpec lastFont;
    std::string lastText;
};

constexpr uint32_t Ink = 0x0000FFu;  // red, as a game colour
constexpr uint32_t InkPixel = 0xFF0000u;

uint32_t Blend(uint32_t fore, uint32_t back, uint32_t alpha) {
    uint32_t result = 0;
    for (int shift : {0, 8, 16}) {
        const uint32_t f = (fore >> shift) & 0xFF, b = (back >> shift) & 0xFF;
        result |= ((f * alpha + b * (255 - alpha) + 127) / 255) << shift;
    }
    return result;
}

TEST(CanvasText, ClearBrushLeavesTheBackground) {
    FakeRasteriser font;
    auto surface = MakeSurface(10, 6);
    surface->SetFont(&font);
    Canvas& canvas = surface->GetCanvas();
    canvas.Brush.Style = BrushStyle::Clear;
    canvas.Font.Color = Ink;
    canvas.Font.Face = "Verdana";
    canvas.Font.SizePoints = 7;
    canvas.Font.Bold = true;
    canvas.TextOut(3, 1, "\x8A\xED");  // "Ší" in Windows-1250, passed through as bytes
    EXPECT_EQ(font.lastText, "\x8A\xED");
    EXPECT_EQ(font.lastFont.Face, "Verdana");
    EXPECT_EQ(font.lastFont.SizePoints, 7);
    EXPECT_TRUE(font.lastFont.Bold);
    EXPECT_EQ(canvas.TextWidth("ab"), 5);  // the rasteriser's measure
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 10; ++x) {
            uint32_t expected = Background;
            if (x >= 3 && x < 7 && y == 1) expected = InkPixel;
            if (x >= 3 && x < 7 && y == 3) expected = Blend(InkPixel, Background, 128);
            ASSERT_EQ(surface->Row(y)[x], expected) << x << "," << y;
        }
}

TEST(CanvasText, SolidBrushFillsTheCellFirst) {
    FakeRasteriser font;
    auto surface = MakeSurface(10, 6);
    surface->SetFont(&font);
    Canvas& canvas = surface->GetCanvas();
    canvas.Brush.Color = 0x00FF00u;
    canvas.Font.Color = Ink;
    canvas.TextOut(-1, 4, "ab");  // clipped on the left and at the bottom
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 10; ++x) {
            uint32_t expected = Background;
            if (x < 3 && y == 4) expected = InkPixel;
            if (x < 3 && y == 5) expected = 0x00FF00u;
            ASSERT_EQ(surface->Row(y)[x], expected) << x << "," << y;
        }
}

TEST(CanvasText, NoRasteriserNoText) {
    auto surface = MakeSurface(4, 4);
    Canvas& canvas = surface->GetCanvas();
    canvas.TextOut(0, 0, "abc");
    EXPECT_EQ(canvas.TextWidth("abc"), 0);
    for (int32_t i = 0; i < 16; ++i) EXPECT_EQ(surface->Pixels()[i], Background);
}

}  // namespace
}  // namespace kelvane
