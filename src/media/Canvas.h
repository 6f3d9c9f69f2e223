#pragma once
// The drawing context of a surface, with the pen, brush and font it keeps between
// batches. The operations behave as their desktop GDI namesakes do with a one-pixel
// pen: boxes exclude their right and bottom edge, lines leave out their end point.
// Colours are game colours (0xBBGGRR, system colours, clNone: see SystemColors.h);
// everything is clipped to the surface.

#include <cstdint>
#include <optional>
#include <string_view>

#include "media/Platform.h"

namespace kelvane {

class Surface;

enum class PenStyle { Solid, Clear };
enum class BrushStyle { Solid, Clear };

// The pen is always one pixel wide. A clear pen draws no outline; the brush then covers
// the outline's pixels too.
struct CanvasPen {
    uint32_t Color = 0;
    PenStyle Style = PenStyle::Solid;
};

struct CanvasBrush {
    uint32_t Color = 0xFFFFFF;
    BrushStyle Style = BrushStyle::Solid;
};

struct CanvasFont : FontSpec {
    uint32_t Color = 0;
};

class Canvas {
public:
    // Ellipses whose box is wider or taller than this are not drawn: their error terms
    // would leave 64-bit range, and none of them fits a screen anyway.
    static constexpr int64_t MaxEllipseExtent = 1 << 18;

    explicit Canvas(Surface& surface) : surface_(surface) {}
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    CanvasPen Pen;
    CanvasBrush Brush;
    CanvasFont Font;

    // Outline with the pen, inside with the brush; covers columns x1..x2-1, rows y1..y2-1.
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // The ellipse inscribed in the same box as Rectangle's.
    void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void MoveTo(int32_t x, int32_t y);
    // Line with the pen from the current point to (x, y) without (x, y); it becomes current.
    void LineTo(int32_t x, int32_t y);
    int32_t PenX() const { return penX_; }
    int32_t PenY() const { return penY_; }
    void SetPixel(int32_t x, int32_t y, uint32_t color);

    // Text cell's top-left at (x, y); a solid brush fills the cell first. Text is
    // Windows-1250. Without a font rasteriser on the surface nothing is drawn.
    void TextOut(int32_t x, int32_t y, std::string_view text);
    // Width in pixels of the text in the current font; 0 without a font rasteriser.
    int TextWidth(std::string_view text);

private:
    // The pen's and brush's surface pixel; nothing when they draw nothing.
    std::optional<uint32_t> PenPixel() const;
    std::optional<uint32_t> BrushPixel() const;
    // Fills columns left..right-1 of rows top..bottom-1, clipped.
    void FillBox(int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t pixel);
    void Plot(int64_t x, int64_t y, uint32_t pixel);
    void BlendCoverage(int32_t x, int32_t y, const TextCoverage& cell, uint32_t pixel);

    Surface& surface_;
    int32_t penX_ = 0;
    int32_t penY_ = 0;
    TextCoverage coverage_;  // reused from call to call
};

}  // namespace kelvane
