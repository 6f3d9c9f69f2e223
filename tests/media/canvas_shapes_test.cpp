// Canvas rectangles, lines, ellipses and pixels on a surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "draw_support.h"
#include "media/Canvas.h"
#include "media/SystemColors.h"

namespace kelvane {
namespace {

using test::Background;
using test::MakeSurface;

constexpr uint32_t Red = 0x0000FFu;  // game colour
constexpr uint32_t RedPixel = 0xFF0000u;
constexpr uint32_t Blue = 0xFF0000u;  // game colour
constexpr uint32_t BluePixel = 0x0000FFu;

std::vector<std::pair<int32_t, int32_t>> PixelsOf(const Surface& surface, uint32_t pixel) {
    std::vector<std::pair<int32_t, int32_t>> found;
    for (int32_t y = 0; y < surface.Height(); ++y)
        for (int32_t x = 0; x < surface.Width(); ++x)
            if (surface.Row(y)[x] == pixel) found.emplace_back(x, y);
    return found;
}

TEST(CanvasRectangle, StatusStripCoversExactlyItsBox) {
    auto surface = MakeSurface(1024, 768);
    Canvas& canvas = surface->GetCanvas();
    canvas.Pen.Color = 0;
    canvas.Brush.Color = 0;
    canvas.Rectangle(1, 747, 1023, 766);
    surface->ReleaseCanvas();
    for (int32_t y = 0; y < 768; ++y)
        for (int32_t x = 0; x < 1024; ++x) {
            const bool inside = x >= 1 && x <= 1022 && y >= 747 && y <= 765;
            ASSERT_EQ(surface->Row(y)[x], inside ? 0u : Background) << x << "," << y;
        }
}

TEST(CanvasRectangle, OutlineWithPenInsideWithBrush) {
    struct Case {
        const char* name;
        BrushStyle brush;
        int32_t x1, y1, x2, y2;
    };
    for (const Case& c :
         {Case{"solid", BrushStyle::Solid, 2, 1, 7, 5}, Case{"clear", BrushStyle::Clear, 2, 1, 7, 5},
          Case{"corners swapped", BrushStyle::Solid, 7, 5, 2, 1}}) {
        SCOPED_TRACE(c.name);
        auto surface = MakeSurface(10, 8);
        Canvas& canvas = surface->GetCanvas();
        canvas.Pen.Color = Red;
        canvas.Brush.Color = Blue;
        canvas.Brush.Style = c.brush;
        canvas.Rectangle(c.x1, c.y1, c.x2, c.y2);
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 10; ++x) {
                const bool box = x >= 2 && x <= 6 && y >= 1 && y <= 4;
                const bool edge = box && (x == 2 || x == 6 || y == 1 || y == 4);
                const uint32_t inside = c.brush == BrushStyle::Solid ? BluePixel : Background;
                ASSERT_EQ(surface->Row(y)[x], edge ? RedPixel : box ? inside : Background) << x << "," << y;
            }
    }
}

TEST(CanvasRectangle, EmptyBoxesDrawNothingAndHugeOnesAreClipped) {
    auto surface = MakeSurface(10, 8);
    Canvas& canvas = surface->GetCanvas();
    canvas.Pen.Color = Red;
    canvas.Brush.Color = Red;
    canvas.Rectangle(3, 3, 3, 7);
    canvas.Rectangle(3, 3, 8, 3);
    EXPECT_TRUE(PixelsOf(*surface, RedPixel).empty());
    canvas.Rectangle(-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647);
    EXPECT_EQ(PixelsOf(*surface, RedPixel).size(), 80u);
}

TEST(CanvasLine, EndPointIsLeftOutAndBecomesCurrent) {
    auto surface = MakeSurface(16, 16);
    Canvas& canvas = surface->GetCanvas();
    canvas.Pen.Color = Red;
    canvas.MoveTo(2, 3);
    canvas.LineTo(10, 3);
    EXPECT_EQ(canvas.PenX(), 10);
    EXPECT_EQ(canvas.PenY(), 3);
    std::vector<std::pair<int32_t, int32_t>> expected;
    for (int32_t x = 2; x < 10; ++x) expected.emplace_back(x, 3);
    EXPECT_EQ(PixelsOf(*surface, RedPixel), expected);

    canvas.Pen.Color = Blue;
    canvas.LineTo(10, 8);  // continues from (10, 3), straight down
    canvas.LineTo(5, 13);  // then a diagonal
    canvas.LineTo(5, 13);  // a line of no length draws nothing
    expected = {{10, 3}, {10, 4}, {10, 5}, {10, 6}, {10, 7}, {10, 8}, {9, 9}, {8, 10}, {7, 11}, {6, 12}};
    EXPECT_EQ(PixelsOf(*surface, BluePixel), expected);
    EXPECT_EQ(PixelsOf(*surface, RedPixel).size(), 8u);  // (2..9, 3); (10, 3) is where the blue line starts
}

TEST(CanvasLine, OneStepOnTheMinorAxisPerMajorStep) {
    auto surface = MakeSurface(16, 16);
    Canvas& canvas = surface->GetCanvas();
    canvas.Pen.Color = Red;
    canvas.MoveTo(0, 0);
    canvas.LineTo(9, 3);  // shallow: one pixel per column
    const auto pixels = PixelsOf(*surface, RedPixel);
    ASSERT_EQ(pixels.size(), 9u);
    std::vector<int32_t> rowOfColumn(9, -1);
    for (auto [x, y] : pixels) rowOfColumn[x] = y;
    for (int32_t x = 0; x < 9; ++x) {
        EXPECT_NEAR(rowOfColumn[x], x * 3.0 / 9.0, 0.5) << x;  // within half a pixel of the true line
        if (x > 0) {
            EXPECT_GE(rowOfColumn[x], rowOfColumn[x - 1]);
        }
    }
}

TEST(CanvasLine, ClippingKeepsThePixelsOfTheWholeLine) {
    // The same lines drawn on a large surface and, shifted, on a small window of it.
    constexpr int32_t offsetX = 300, offsetY = 200;
    const std::vector<std::array<int32_t, 4>> lines = {{-50, -30, 200, 130},
                                                       {90, -70, -20, 140},
                                                       {-250, 47, 290, 13},
                                                       {30, 190, 31, -160},
                                                       {-3, -3, 70, 70}};
    for (const auto& line : lines) {
        auto large = MakeSurface(700, 500);
        auto small = MakeSurface(64, 48);
        Canvas& big = large->GetCanvas();
        Canvas& window = small->GetCanvas();
        big.Pen.Color = Red;
        window.Pen.Color = Red;
        big.MoveTo(line[0] + offsetX, line[1] + offsetY);
        big.LineTo(line[2] + offsetX, line[3] + offsetY);
        window.MoveTo(line[0], line[1]);
        window.LineTo(line[2], line[3]);
        int drawn = 0;
        for (int32_t y = 0; y < 48; ++y)
            for (int32_t x = 0; x < 64; ++x) {
                ASSERT_EQ(small->Row(y)[x], large->Row(y + offsetY)[x + offsetX]) << x << "," << y;
                drawn += small->Row(y)[x] == RedPixel;
            }
        EXPECT_GT(drawn, 0);
    }
    // Far-away end points are clipped without walking the whole line.
    auto surface = MakeSurface(64, 48);
    Canvas& canvas = surface->GetCanvas();
    canvas.Pen.Color = Red;
    canvas.MoveTo(-2147483647 - 1, 5);
    canvas.LineTo(2147483647, 5);
    EXPECT_EQ(PixelsOf(*surface, RedPixel).size(), 64u);
}

TEST(CanvasEllipse, InscribedInItsBoxAndSymmetric) {
    for (int32_t w = 1; w <= 24; ++w)
        for (int32_t h = 1; h <= 24; ++h) {
            auto surface = MakeSurface(30, 30);
            Canvas& canvas = surface->GetCanvas();
            canvas.Pen.Color = Red;
            canvas.Brush.Color = Blue;
            canvas.Ellipse(3, 2, 3 + w, 2 + h);
            std::vector<int> rowsTouched(h), columnsTouched(w);
            for (int32_t y = 0; y < 30; ++y)
                for (int32_t x = 0; x < 30; ++x) {
                    const uint32_t pixel = surface->Row(y)[x];
                    const bool inBox = x >= 3 && x < 3 + w && y >= 2 && y < 2 + h;
                    if (!inBox) {
                        ASSERT_EQ(pixel, Background) << w << "x" << h << " outside at " << x << "," << y;
                        continue;
                    }
                    const int32_t mirrorX = (3 + 3 + w - 1) - x, mirrorY = (2 + 2 + h - 1) - y;
                    ASSERT_EQ(pixel, surface->Row(y)[mirrorX]) << w << "x" << h;
                    ASSERT_EQ(pixel, surface->Row(mirrorY)[x]) << w << "x" << h;
                    if (pixel == RedPixel) {
                        rowsTouched[y - 2] = 1;
                        columnsTouched[x - 3] = 1;
                    }
                }
            // The outline reaches every row and column of the box: it touches all four sides.
            EXPECT_EQ(std::count(rowsTouched.begin(), rowsTouched.end(), 1), h) << w << "x" << h;
            EXPECT_EQ(std::count(columnsTouched.begin(), columnsTouched.end(), 1), w) << w << "x" << h;
        }
}

TEST(CanvasEllipse, BrushFillsTheInsideUnlessClear) {
    for (BrushStyle style : {BrushStyle::Solid, BrushStyle::Clear}) {
        auto surface = MakeSurface(30, 30);
        Canvas& canvas = surface->GetCanvas();
        canvas.Pen.Color = Red;
        canvas.Brush.Color = Blue;
        canvas.Brush.Style = style;
        canvas.Ellipse(5, 5, 25, 19);
        // The centre row runs outline, inside, outline.
        const uint32_t* row = surface->Row(12);
        EXPECT_EQ(row[4], Background);
        EXPECT_EQ(row[5], RedPixel);
        EXPECT_EQ(row[15], style == BrushStyle::Solid ? BluePixel : Background);
        EXPECT_EQ(row[24], RedPixel);
        EXPECT_EQ(row[25], Background);
        // The box's corners stay outside the ellipse.
        EXPECT_EQ(surface->Row(5)[5], Background);
        EXPECT_EQ(surface->Row(18)[24], Background);
    }
}

TEST(CanvasEllipse, RangeRingPartlyOffTheSurface) {
    // A ring around a ship near the corner, with a clear brush; must not touch the inside.
    auto surface = MakeSurface(64, 48);
    Canvas& canvas = surface->GetCanvas();
    canvas.Pen.Color = 0x333333u;
    canvas.Brush.Style = BrushStyle::Clear;
    canvas.Ellipse(10 - 40, 10 - 40, 10 + 40, 10 + 40);
    const auto ring = PixelsOf(*surface, 0x333333u);
    ASSERT_FALSE(ring.empty());
    for (auto [x, y] : ring) {
        const double distance = std::hypot(x + 0.5 - 10, y + 0.5 - 10);
        EXPECT_NEAR(distance, 40, 1.5) << x << "," << y;
    }
    canvas.Ellipse(-2000000, -2000000, 2000000, 2000000);  // too large: ignored, no long walk
    EXPECT_EQ(PixelsOf(*surface, 0x333333u), ring);
}

TEST(CanvasPixel, SetsGameColoursInsideTheSurfaceOnly) {
    auto surface = MakeSurface(4, 3);
    Canvas& canvas = surface->GetCanvas();
    canvas.SetPixel(1, 2, 0x0099FFu);
    canvas.SetPixel(-1, 0, Red);
    canvas.SetPixel(4, 0, Red);
    canvas.SetPixel(0, 3, Red);
    canvas.SetPixel(2, 0, SystemColorBase + 5);  // window background: white
    canvas.SetPixel(3, 0, clNone);
    EXPECT_EQ(surface->Row(2)[1], 0xFF9900u);
    EXPECT_EQ(surface->Row(0)[2], 0xFFFFFFu);
    EXPECT_EQ(surface->Row(0)[3], Background);
    EXPECT_TRUE(PixelsOf(*surface, RedPixel).empty());
}

TEST(CanvasState, KeptBetweenBatches) {
    Surface surface(4, 4);
    Canvas& first = surface.GetCanvas();
    EXPECT_TRUE(surface.CanvasHeld());
    first.Pen.Color = Red;
    first.Brush.Style = BrushStyle::Clear;
    first.MoveTo(3, 1);
    surface.ReleaseCanvas();
    EXPECT_FALSE(surface.CanvasHeld());
    Canvas& second = surface.GetCanvas();
    EXPECT_EQ(&second, &first);
    EXPECT_EQ(second.Pen.Color, Red);
    EXPECT_EQ(second.Brush.Style, BrushStyle::Clear);
    EXPECT_EQ(second.PenX(), 3);
}

}  // namespace
}  // namespace kelvane
