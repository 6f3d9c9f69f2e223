// DrawRotate: a pattern scaled and turned about a point, sampled by nearest neighbour in
// 16.16 fixed point. Every destination pixel (px, py) takes the source position
//   sx = sx0 + (px - X) ax + (py - Y) bx,   sy = sy0 + (px - X) ay + (py - Y) by
// and is drawn when that position lies in the pattern. The set of such pixels in a row is
// one interval, whose ends move from row to row by a fixed quotient and remainder, so
// neither the rows nor the inner loop need a division or a test.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "media/Blit.h"
#include "media/PatternAccess.h"
#include "media/PictureItem.h"
#include "media/Surface.h"

namespace kelvane {

namespace {

__extension__ typedef __int128 Int128;

// cos(i x 2 pi / 256) in double precision; sine and cosine both come from it so that
// angles that differ by whole turns give the very same steps.
const std::array<double, 256>& CosineTable() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> values{};
        for (int i = 0; i < 256; ++i) values[i] = std::cos(i * 2.0 * std::numbers::pi / 256.0);
        return values;
    }();
    return table;
}

int64_t Mod256(int64_t value) { return ((value % 256) + 256) % 256; }

template <class Int>
Int FloorDiv(Int numerator, Int divisor) {  // divisor > 0
    Int quotient = numerator / divisor;
    if (numerator % divisor != 0 && numerator < 0) --quotient;
    return quotient;
}

// floor((start + v x perRow) / divisor) for the rows v = 0, 1, 2, ... in turn, with one
// division at the start instead of one per row. divisor > 0.
template <class Int>
class FloorSteps {
public:
    FloorSteps(Int start, Int perRow, Int divisor)
        : quotient_(FloorDiv<Int>(start, divisor)),
          remainder_(start - quotient_ * divisor),
          stepQuotient_(FloorDiv<Int>(perRow, divisor)),
          stepRemainder_(perRow - stepQuotient_ * divisor),
          divisor_(divisor) {}
    Int Value() const { return quotient_; }
    void Next() {
        quotient_ += stepQuotient_;
        remainder_ += stepRemainder_;  // both below the divisor: no overflow
        if (remainder_ >= divisor_) {
            remainder_ -= divisor_;
            ++quotient_;
        }
    }

private:
    Int quotient_, remainder_, stepQuotient_, stepRemainder_, divisor_;
};

// For one axis, row after row: the columns u for which low <= base + u x step < high,
// where base = start + v x perRow in row v. Each end of that interval is a floor
// division of a value that changes by a constant from row to row.
template <class Int>
class AxisSpan {
public:
    AxisSpan(Int start, Int perRow, Int step, Int low, Int high)
        : base_(start),
          perRow_(perRow),
          step_(step),
          low_(low),
          high_(high),
          aboveLow_(start - low, perRow, step < 0 ? -step : (step > 0 ? step : 1)),
          belowHigh_(high - 1 - start, -perRow, step < 0 ? -step : (step > 0 ? step : 1)) {}

    // Narrows [first, last] to the row's columns; false when none is left.
    bool Narrow(Int& first, Int& last) const {
        if (step_ > 0) {
            first = std::max(first, -aboveLow_.Value());
            last = std::min(last, belowHigh_.Value());
        } else if (step_ < 0) {
            first = std::max(first, -belowHigh_.Value());
            last = std::min(last, aboveLow_.Value());
        } else if (base_ < low_ || base_ >= high_) {
            return false;
        }
        return first <= last;
    }
    void NextRow() {
        base_ += perRow_;
        aboveLow_.Next();
        belowHigh_.Next();
    }

private:
    Int base_, perRow_, step_, low_, high_;
    FloorSteps<Int> aboveLow_;   // floor((base - low) / |step|)
    FloorSteps<Int> belowHigh_;  // floor((high - 1 - base) / |step|)
};

struct RotateSetup {
    int64_t ax, ay, bx, by;            // source steps per destination column and row
    int64_t sx0, sy0;                  // source position of the destination pixel (X, Y)
    int64_t lowX, highX, lowY, highY;  // the pattern in 16.16, high ends excluded
};

// Destination rows that can hold a drawn pixel: the rows of the pattern's parallelogram,
// found in floating point with a margin well above its rounding error.
void RowRange(const RotateSetup& s, int64_t y, int64_t& firstRow, int64_t& lastRow) {
    const Int128 det = Int128{s.ax} * s.by - Int128{s.bx} * s.ay;
    if (det == 0) return;  // a degenerate map: every row is a candidate
    const double detValue = static_cast<double>(det);
    double lowest = std::numeric_limits<double>::infinity(), highest = -lowest, error = 0;
    for (const int64_t cornerX : {s.lowX, s.highX}) {
        for (const int64_t cornerY : {s.lowY, s.highY}) {
            const double dx = static_cast<double>(cornerX) - static_cast<double>(s.sx0);
            const double dy = static_cast<double>(cornerY) - static_cast<double>(s.sy0);
            const double termX = static_cast<double>(s.ax) * dy, termY = static_cast<double>(s.ay) * dx;
            const double v = (termX - termY) / detValue;
            lowest = std::min(lowest, v);
            highest = std::max(highest, v);
            error = std::max(error, (std::fabs(termX) + std::fabs(termY)) / std::fabs(detValue));
        }
    }
    const double margin = 2.0 + error * 0x1p-40;
    const double first = std::floor(static_cast<double>(y) + lowest - margin);
    const double last = std::ceil(static_cast<double>(y) + highest + margin);
    if (!(first <= last)) return;  // not finite: keep every row
    const double from = std::max(first, static_cast<double>(firstRow));
    const double to = std::min(last, static_cast<double>(lastRow));
    if (from > to) {
        firstRow = 1;
        lastRow = 0;
        return;
    }
    firstRow = static_cast<int64_t>(from);
    lastRow = static_cast<int64_t>(to);
}

template <class Int, bool Keyed>
void RotateRows(Surface& dest, const Bitmap& image, const RotateSetup& s, int64_t x, int64_t y,
                uint32_t key) {
    int64_t firstRow = 0, lastRow = dest.Height() - 1;
    RowRange(s, y, firstRow, lastRow);
    if (firstRow > lastRow) return;
    const uint32_t* picture = image.Pixels.data();
    const Int v0 = static_cast<Int>(firstRow - y);
    AxisSpan<Int> spanX(static_cast<Int>(s.sx0) + v0 * s.bx, s.bx, s.ax, s.lowX, s.highX);
    AxisSpan<Int> spanY(static_cast<Int>(s.sy0) + v0 * s.by, s.by, s.ay, s.lowY, s.highY);
    for (int64_t py = firstRow; py <= lastRow; ++py, spanX.NextRow(), spanY.NextRow()) {
        const Int v = static_cast<Int>(py - y);
        const Int baseX = static_cast<Int>(s.sx0) + v * s.bx;
        const Int baseY = static_cast<Int>(s.sy0) + v * s.by;
        Int first = static_cast<Int>(-x), last = static_cast<Int>(dest.Width() - 1 - x);
        if (!spanX.Narrow(first, last)) continue;
        if (!spanY.Narrow(first, last)) continue;
        // Both positions lie inside the pattern here, so they fit 64 bits.
        const int64_t sx = static_cast<int64_t>(baseX + first * s.ax);
        const int64_t sy = static_cast<int64_t>(baseY + first * s.ay);
        const int32_t count = static_cast<int32_t>(last - first + 1);
        uint32_t* target = dest.Row(static_cast<int32_t>(py)) + (x + static_cast<int64_t>(first));
        if (s.ay == 0) {  // unrotated (or half-turned) rows read one source row
            const uint32_t* sourceRow = picture + static_cast<size_t>(sy >> 16) * image.Width;
            if (Keyed)
                ScaleRowKeyed(target, sourceRow, count, sx, s.ax, key);
            else
                ScaleRow(target, sourceRow, count, sx, s.ax);
        } else if (Keyed) {
            SampleRowKeyed(target, picture, image.Width, count, sx, sy, s.ax, s.ay, key);
        } else {
            SampleRow(target, picture, image.Width, count, sx, sy, s.ax, s.ay);
        }
    }
}

// True when every per-row position of the scan stays far inside 64 bits.
bool FitsInt64(const RotateSetup& s, int64_t x, int64_t y, const Surface& dest) {
    const double maxU =
        std::max(std::fabs(static_cast<double>(x)), std::fabs(static_cast<double>(dest.Width() - x)));
    const double maxV =
        std::max(std::fabs(static_cast<double>(y)), std::fabs(static_cast<double>(dest.Height() - y)));
    const auto reach = [&](int64_t start, int64_t perColumn, int64_t perRow) {
        return std::fabs(static_cast<double>(start)) + maxU * std::fabs(static_cast<double>(perColumn)) +
               maxV * std::fabs(static_cast<double>(perRow));
    };
    constexpr double limit = 0x1p60;
    return reach(s.sx0, s.ax, s.bx) < limit && reach(s.sy0, s.ay, s.by) < limit;
}

}  // namespace

void TPictureCollectionItem::DrawRotate(Surface& dest, int32_t x, int32_t y, int32_t width, int32_t height,
                                        int32_t pattern, double centreX, double centreY,
                                        int32_t angle) const {
    if (!initialized_ || pattern < 0 || static_cast<size_t>(pattern) >= patterns_.size()) return;
    if (width == 0 || height == 0 || dest.Width() == 0 || dest.Height() == 0) return;
    const PatternRect& rect = patterns_[pattern];
    if (!PatternReadable(Pic.Image, rect)) return;

    const std::array<double, 256>& cosine = CosineTable();
    const int64_t k =
        static_cast<int64_t>(std::trunc(cosine[Mod256(-static_cast<int64_t>(angle))] * 65536.0));
    const int64_t s =
        -static_cast<int64_t>(std::trunc(cosine[Mod256(192 - static_cast<int64_t>(angle))] * 65536.0));
    const int64_t sw = rect.Width, sh = rect.Height;

    // The centre fractions are free doubles; a centre that leaves 64-bit range cannot be
    // placed and draws nothing.
    const double offsetX = std::trunc(static_cast<double>(sw) * centreX * 65536.0);
    const double offsetY = std::trunc(static_cast<double>(sh) * centreY * 65536.0);
    if (!(std::fabs(offsetX) < 0x1p61) || !(std::fabs(offsetY) < 0x1p61)) return;

    RotateSetup setup{};
    setup.ax = (sw * k) / width;
    setup.ay = -((sh * s) / height);
    setup.bx = (sw * s) / width;
    setup.by = (sh * k) / height;
    setup.lowX = static_cast<int64_t>(rect.Left) * 65536;
    setup.highX = (static_cast<int64_t>(rect.Left) + sw) * 65536;
    setup.lowY = static_cast<int64_t>(rect.Top) * 65536;
    setup.highY = (static_cast<int64_t>(rect.Top) + sh) * 65536;
    setup.sx0 = setup.lowX + static_cast<int64_t>(offsetX);
    setup.sy0 = setup.lowY + static_cast<int64_t>(offsetY);

    if (FitsInt64(setup, x, y, dest)) {
        if (Transparent)
            RotateRows<int64_t, true>(dest, Pic.Image, setup, x, y, keyPixel_);
        else
            RotateRows<int64_t, false>(dest, Pic.Image, setup, x, y, keyPixel_);
    } else {
        if (Transparent)
            RotateRows<Int128, true>(dest, Pic.Image, setup, x, y, keyPixel_);
        else
            RotateRows<Int128, false>(dest, Pic.Image, setup, x, y, keyPixel_);
    }
}

}  // namespace kelvane
