#include "media/Canvas.h"

#include <algorithm>

#include "media/Bitmap.h"
#include "media/Surface.h"
#include "media/SystemColors.h"

namespace kelvane {

namespace {

std::optional<uint32_t> ToPixel(uint32_t color) {
    const std::optional<uint32_t> rgb = ResolveColor(color);
    if (!rgb) return std::nullopt;
    return ColorToPixel(*rgb);
}

// One channel of coverage blending, rounded to nearest.
uint32_t BlendChannel(uint32_t fore, uint32_t back, uint32_t alpha) {
    return (fore * alpha + back * (255u - alpha) + 127u) / 255u;
}

}  // namespace

std::optional<uint32_t> Canvas::PenPixel() const {
    if (Pen.Style == PenStyle::Clear) return std::nullopt;
    return ToPixel(Pen.Color);
}

std::optional<uint32_t> Canvas::BrushPixel() const {
    if (Brush.Style == BrushStyle::Clear) return std::nullopt;
    return ToPixel(Brush.Color);
}

void Canvas::FillBox(int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t pixel) {
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, surface_.Width());
    bottom = std::min<int64_t>(bottom, surface_.Height());
    if (left >= right || top >= bottom) return;
    for (int64_t y = top; y < bottom; ++y) {
        uint32_t* row = surface_.Row(static_cast<int32_t>(y));
        std::fill(row + left, row + right, pixel);
    }
}

void Canvas::Plot(int64_t x, int64_t y, uint32_t pixel) {
    if (x < 0 || y < 0 || x >= surface_.Width() || y >= surface_.Height()) return;
    surface_.Row(static_cast<int32_t>(y))[x] = pixel;
}

void Canvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    // Corners may come in any order, as on the desktop.
    const int64_t left = std::min(x1, x2), right = std::max(x1, x2);
    const int64_t top = std::min(y1, y2), bottom = std::max(y1, y2);
    if (left == right || top == bottom) return;
    const std::optional<uint32_t> pen = PenPixel();
    const std::optional<uint32_t> brush = BrushPixel();
    if (!pen) {
        if (brush) FillBox(left, top, right, bottom, *brush);
        return;
    }
    if (brush) FillBox(left + 1, top + 1, right - 1, bottom - 1, *brush);
    FillBox(left, top, right, top + 1, *pen);
    FillBox(left, bottom - 1, right, bottom, *pen);
    FillBox(left, top, left + 1, bottom, *pen);
    FillBox(right - 1, top, right, bottom, *pen);
}

void Canvas::MoveTo(int32_t x, int32_t y) {
    penX_ = x;
    penY_ = y;
}

void Canvas::SetPixel(int32_t x, int32_t y, uint32_t color) {
    if (const std::optional<uint32_t> pixel = ToPixel(color)) Plot(x, y, *pixel);
}

void Canvas::TextOut(int32_t x, int32_t y, std::string_view text) {
    IFontRasteriser* font = surface_.Font();
    if (!font) return;
    font->Render(Font, text, coverage_);
    // The rasteriser is another module: take its cell only when it is consistent.
    if (coverage_.Width <= 0 || coverage_.Height <= 0 ||
        coverage_.Alpha.size() < static_cast<size_t>(coverage_.Width) * static_cast<size_t>(coverage_.Height))
        return;
    if (const std::optional<uint32_t> brush = BrushPixel())
        FillBox(x, y, static_cast<int64_t>(x) + coverage_.Width, static_cast<int64_t>(y) + coverage_.Height,
                *brush);
    if (const std::optional<uint32_t> ink = ToPixel(Font.Color)) BlendCoverage(x, y, coverage_, *ink);
}

void Canvas::BlendCoverage(int32_t x, int32_t y, const TextCoverage& cell, uint32_t pixel) {
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(static_cast<int64_t>(x) + cell.Width, surface_.Width());
    const int64_t bottom = std::min<int64_t>(static_cast<int64_t>(y) + cell.Height, surface_.Height());
    const uint32_t inkR = (pixel >> 16) & 0xFF, inkG = (pixel >> 8) & 0xFF, inkB = pixel & 0xFF;
    for (int64_t py = top; py < bottom; ++py) {
        const uint8_t* alpha = cell.Alpha.data() + static_cast<size_t>(py - y) * cell.Width;
        uint32_t* row = surface_.Row(static_cast<int32_t>(py));
        for (int64_t px = left; px < right; ++px) {
            const uint32_t a = alpha[px - x];
            if (a == 0) continue;
            if (a == 255) {
                row[px] = pixel;
                continue;
            }
            const uint32_t back = row[px];
            row[px] = (BlendChannel(inkR, (back >> 16) & 0xFF, a) << 16) |
                      (BlendChannel(inkG, (back >> 8) & 0xFF, a) << 8) | BlendChannel(inkB, back & 0xFF, a);
        }
    }
}

int Canvas::TextWidth(std::string_view text) {
    IFontRasteriser* font = surface_.Font();
    return font ? font->TextWidth(Font, text) : 0;
}

}  // namespace kelvane
