// The canvas's rasterised shapes: lines and ellipses with a one-pixel pen.
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

#include "media/Canvas.h"
#include "media/Surface.h"

namespace kelvane {

namespace {

__extension__ typedef __int128 Int128;

// Visits the outline of the ellipse inscribed in the inclusive box (x0, y0)-(x1, y1)
// with x0 <= x1, y0 <= y1: the midpoint error walk of all four quadrants at once, with
// the tips of very flat ellipses finished afterwards. Boxes are at most
// Canvas::MaxEllipseExtent wide and tall, which keeps every error term in 64 bits.
template <class PlotFn>
void TraceEllipse(int64_t x0, int64_t y0, int64_t x1, int64_t y1, PlotFn plot) {
    int64_t a = x1 - x0, b = y1 - y0;
    int64_t b1 = b & 1;
    int64_t dx = 4 * (1 - a) * b * b, dy = 4 * (b1 + 1) * a * a;
    int64_t err = dx + dy + b1 * a * a;
    y0 += (b + 1) / 2;
    y1 = y0 - b1;
    a = 8 * a * a;
    b1 = 8 * b * b;
    do {
        plot(x1, y0);
        plot(x0, y0);
        plot(x0, y1);
        plot(x1, y1);
        const int64_t e2 = 2 * err;
        if (e2 <= dy) {
            ++y0;
            --y1;
            err += dy += a;
        }
        if (e2 >= dx || 2 * err > dy) {
            ++x0;
            --x1;
            err += dx += b1;
        }
    } while (x0 <= x1);
    while (y0 - y1 <= b) {
        plot(x0 - 1, y0);
        plot(x1 + 1, y0++);
        plot(x0 - 1, y1);
        plot(x1 + 1, y1--);
    }
}

// Visits the pixels i = 0..n-1 of the line from (x0, y0) towards (x1, y1), n being the
// longer of the two extents, that lie on the major axis's range 0..majorExtent-1. Pixel i
// is offset on the minor axis by round-half-up(i x minor / n), so a clipped line keeps
// exactly the pixels of the whole line and the work is bounded by the surface size.
template <class PlotFn>
void TraceLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t width, int64_t height, PlotFn plot) {
    const int64_t dx = x1 - x0, dy = y1 - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t majorStart = xMajor ? x0 : y0, minorStart = xMajor ? y0 : x0;
    const int64_t majorDelta = xMajor ? dx : dy, minorDelta = xMajor ? dy : dx;
    const int64_t n = std::llabs(majorDelta), m = std::llabs(minorDelta);
    if (n == 0) return;
    const int64_t majorStep = majorDelta > 0 ? 1 : -1, minorStep = minorDelta >= 0 ? 1 : -1;
    const int64_t extent = xMajor ? width : height;
    int64_t first = 0, last = n - 1;
    if (majorStep > 0) {
        first = std::max(first, -majorStart);
        last = std::min(last, extent - 1 - majorStart);
    } else {
        first = std::max(first, majorStart - (extent - 1));
        last = std::min(last, majorStart);
    }
    if (first > last) return;
    const int64_t twoN = 2 * n;
    const Int128 numerator = Int128{2} * first * m + n;
    int64_t q = static_cast<int64_t>(numerator / twoN);
    int64_t r = static_cast<int64_t>(numerator % twoN);
    for (int64_t i = first; i <= last; ++i) {
        const int64_t major = majorStart + majorStep * i, minor = minorStart + minorStep * q;
        if (xMajor)
            plot(major, minor);
        else
            plot(minor, major);
        r += 2 * m;
        if (r >= twoN) {
            r -= twoN;
            ++q;
        }
    }
}

}  // namespace

void Canvas::LineTo(int32_t x, int32_t y) {
    const int32_t fromX = penX_, fromY = penY_;
    MoveTo(x, y);
    const std::optional<uint32_t> pen = PenPixel();
    if (!pen) return;
    TraceLine(fromX, fromY, x, y, surface_.Width(), surface_.Height(),
              [&](int64_t px, int64_t py) { Plot(px, py, *pen); });
}

void Canvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const int64_t left = std::min(x1, x2), right = std::max(x1, x2);
    const int64_t top = std::min(y1, y2), bottom = std::max(y1, y2);
    if (left == right || top == bottom) return;
    if (right - left > MaxEllipseExtent || bottom - top > MaxEllipseExtent) return;
    const std::optional<uint32_t> pen = PenPixel();
    const std::optional<uint32_t> brush = BrushPixel();
    if (brush) {
        // Each visible row is filled between its outermost outline pixels.
        const int64_t firstRow = std::max<int64_t>(top, 0);
        const int64_t endRow = std::min<int64_t>(bottom, surface_.Height());
        if (firstRow < endRow) {
            const size_t rows = static_cast<size_t>(endRow - firstRow);
            std::vector<int64_t> rowLeft(rows, std::numeric_limits<int64_t>::max());
            std::vector<int64_t> rowRight(rows, std::numeric_limits<int64_t>::min());
            TraceEllipse(left, top, right - 1, bottom - 1, [&](int64_t px, int64_t py) {
                if (py < firstRow || py >= endRow) return;
                const size_t row = static_cast<size_t>(py - firstRow);
                rowLeft[row] = std::min(rowLeft[row], px);
                rowRight[row] = std::max(rowRight[row], px);
            });
            for (size_t row = 0; row < rows; ++row) {
                const int64_t py = firstRow + static_cast<int64_t>(row);
                if (rowLeft[row] <= rowRight[row])
                    FillBox(rowLeft[row], py, rowRight[row] + 1, py + 1, *brush);
            }
        }
    }
    if (pen)
        TraceEllipse(left, top, right - 1, bottom - 1, [&](int64_t px, int64_t py) { Plot(px, py, *pen); });
}

}  // namespace kelvane
