// DrawRotate: placement, turning and scaling cases, and a pixel-for-pixel comparison with a
// plain reading of the sampling rule on many random calls.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "draw_support.h"

namespace kelvane {
namespace {

using test::Background;
using test::DistinctPicture;
using test::MakeItem;
using test::MakeSurface;
using test::SourcePixel;

__extension__ typedef __int128 Int128;

// Every destination pixel, straight from the rule: no bounding box, no spans, wide integers.
void ReferenceDrawRotate(Surface& dest, const TPictureCollectionItem& item, int32_t x, int32_t y, int32_t w,
                         int32_t h, int32_t p, double cx, double cy, int32_t a) {
    if (!item.Initialized() || p < 0 || p >= item.PatternCount() || w == 0 || h == 0) return;
    const PatternRect r = item.Patterns()[p];
    const auto c = [](int64_t i) { return std::cos(static_cast<double>(i) * 2 * std::numbers::pi / 256); };
    const auto mod256 = [](int64_t v) { return ((v % 256) + 256) % 256; };
    const int64_t k = static_cast<int64_t>(std::trunc(c(mod256(-static_cast<int64_t>(a))) * 65536));
    const int64_t s = -static_cast<int64_t>(std::trunc(c(mod256(192 - static_cast<int64_t>(a))) * 65536));
    const int64_t ax = (int64_t{r.Width} * k) / w, ay = -((int64_t{r.Height} * s) / h);
    const int64_t bx = (int64_t{r.Width} * s) / w, by = (int64_t{r.Height} * k) / h;
    const double offsetX = std::trunc(r.Width * cx * 65536), offsetY = std::trunc(r.Height * cy * 65536);
    if (!(std::fabs(offsetX) < 0x1p61) || !(std::fabs(offsetY) < 0x1p61)) return;
    const Int128 lowX = Int128{r.Left} * 65536, highX = (Int128{r.Left} + r.Width) * 65536;
    const Int128 lowY = Int128{r.Top} * 65536, highY = (Int128{r.Top} + r.Height) * 65536;
    const uint32_t key = ColorToPixel(item.TransparentColor);
    for (int32_t py = 0; py < dest.Height(); ++py) {
        for (int32_t px = 0; px < dest.Width(); ++px) {
            const Int128 sx = lowX + static_cast<int64_t>(offsetX) + Int128{px - int64_t{x}} * ax +
                              Int128{py - int64_t{y}} * bx;
            const Int128 sy = lowY + static_cast<int64_t>(offsetY) + Int128{px - int64_t{x}} * ay +
                              Int128{py - int64_t{y}} * by;
            if (sx < lowX || sx >= highX || sy < lowY || sy >= highY) continue;
            const uint32_t pixel =
                item.Pic.Image.At(static_cast<int32_t>(sx / 65536), static_cast<int32_t>(sy / 65536));
            if (item.Transparent && pixel == key) continue;
            dest.Row(py)[px] = pixel;
        }
    }
}

struct Call {
    int32_t x, y, w, h, pattern;
    double cx, cy;
    int32_t angle;
};

std::vector<uint32_t> Drawn(const TPictureCollectionItem& item, const Call& c, int32_t width, int32_t height,
                            bool reference) {
    auto surface = MakeSurface(width, height);
    if (reference)
        ReferenceDrawRotate(*surface, item, c.x, c.y, c.w, c.h, c.pattern, c.cx, c.cy, c.angle);
    else
        item.DrawRotate(*surface, c.x, c.y, c.w, c.h, c.pattern, c.cx, c.cy, c.angle);
    return {surface->Pixels(), surface->Pixels() + static_cast<size_t>(width) * height};
}

size_t CountDrawn(const std::vector<uint32_t>& pixels) {
    size_t count = 0;
    for (uint32_t pixel : pixels) count += pixel != Background;
    return count;
}

TEST(DrawRotate, AngleZeroPlacesTheTopLeftAtHalfTheSizeBack) {
    for (auto [w, h] : std::vector<std::pair<int32_t, int32_t>>{{8, 6}, {7, 5}, {1, 1}}) {
        auto item = MakeItem(DistinctPicture(w, h));
        item->Initialize();
        auto surface = MakeSurface(40, 30);
        item->DrawRotate(*surface, 20, 15, w, h, 0, 0.5, 0.5, 0);
        const int32_t left = 20 - w / 2, top = 15 - h / 2;
        for (int32_t py = 0; py < 30; ++py)
            for (int32_t px = 0; px < 40; ++px) {
                const bool inside = px >= left && px < left + w && py >= top && py < top + h;
                ASSERT_EQ(surface->Row(py)[px], inside ? SourcePixel(px - left, py - top) : Background)
                    << w << "x" << h << " at (" << px << ", " << py << ")";
            }
    }
}

TEST(DrawRotate, QuarterTurnIsClockwise) {
    auto item = MakeItem(DistinctPicture(8, 8));
    item->Initialize();
    auto surface = MakeSurface(40, 30);
    item->DrawRotate(*surface, 20, 15, 8, 8, 0, 0.5, 0.5, 64);
    // The pattern's top row becomes the right-hand column, read downwards.
    for (int32_t j = 0; j < 8; ++j)
        for (int32_t i = 0; i < 8; ++i)
            ASSERT_EQ(surface->Row(15 - 4 + i)[20 + 4 - j], SourcePixel(i, j)) << i << "," << j;
    EXPECT_EQ(CountDrawn({surface->Pixels(), surface->Pixels() + 40 * 30}), 64u);
}

TEST(DrawRotate, AnglesAreTakenModuloAWholeTurn) {
    auto item = MakeItem(DistinctPicture(13, 9));
    item->Initialize();
    for (int32_t angle : {0, 17, 64, 100, 192, 255}) {
        const Call base{30, 20, 15, 11, 0, 0.5, 0.5, angle};
        const auto expected = Drawn(*item, base, 60, 40, false);
        EXPECT_GT(CountDrawn(expected), 0u);
        for (int32_t turns : {-2, -1, 1, 5}) {
            Call turned = base;
            turned.angle = angle + turns * 256;
            EXPECT_EQ(Drawn(*item, turned, 60, 40, false), expected) << angle << " + " << turns << " turns";
        }
    }
    const Call minus64{30, 20, 13, 9, 0, 0.5, 0.5, -64};
    const Call plus192{30, 20, 13, 9, 0, 0.5, 0.5, 192};
    EXPECT_EQ(Drawn(*item, minus64, 60, 40, false), Drawn(*item, plus192, 60, 40, false));
}

TEST(DrawRotate, ZeroSizeOrBadPatternDrawsNothing) {
    auto item = MakeItem(DistinctPicture(8, 8));
    item->Initialize();
    for (const Call& c : {Call{10, 10, 0, 8, 0, 0.5, 0.5, 0}, Call{10, 10, 8, 0, 0, 0.5, 0.5, 30},
                          Call{10, 10, 8, 8, 1, 0.5, 0.5, 0}, Call{10, 10, 8, 8, -1, 0.5, 0.5, 0}})
        EXPECT_EQ(CountDrawn(Drawn(*item, c, 20, 20, false)), 0u);
    auto uninitialised = MakeItem(DistinctPicture(8, 8));
    EXPECT_EQ(CountDrawn(Drawn(*uninitialised, Call{10, 10, 8, 8, 0, 0.5, 0.5, 0}, 20, 20, false)), 0u);
}

TEST(DrawRotate, DoubleWidthDoublesEveryColumn) {
    auto item = MakeItem(DistinctPicture(6, 4));
    item->Initialize();
    auto surface = MakeSurface(40, 20);
    item->DrawRotate(*surface, 20, 10, 12, 4, 0, 0.5, 0.5, 0);
    for (int32_t j = 0; j < 4; ++j)
        for (int32_t i = 0; i < 6; ++i) {
            ASSERT_EQ(surface->Row(8 + j)[14 + 2 * i], SourcePixel(i, j));
            ASSERT_EQ(surface->Row(8 + j)[15 + 2 * i], SourcePixel(i, j));
        }
    EXPECT_EQ(CountDrawn({surface->Pixels(), surface->Pixels() + 40 * 20}), 48u);
}

TEST(DrawRotate, TransparentFalseDrawsTheKey) {
    Bitmap image;
    image.Resize(2, 1);
    image.Pixels = {0x00FF00u, 0x000001u};
    auto item = MakeItem(std::move(image));
    item->TransparentColor = 0x00FF00u;
    item->Initialize();
    auto surface = MakeSurface(4, 2);
    item->DrawRotate(*surface, 1, 0, 2, 1, 0, 0.0, 0.0, 0);
    EXPECT_EQ(surface->Row(0)[1], Background);
    EXPECT_EQ(surface->Row(0)[2], 0x000001u);
    item->Transparent = false;
    item->DrawRotate(*surface, 1, 0, 2, 1, 0, 0.0, 0.0, 0);
    EXPECT_EQ(surface->Row(0)[1], 0x00FF00u);
}

// A picture of three patterns with keyed pixels scattered over it.
std::unique_ptr<TPictureCollectionItem> KeyedTriptych(std::mt19937& random, int32_t w, int32_t h) {
    Bitmap image = DistinctPicture(3 * w + 1, h);
    for (uint32_t& pixel : image.Pixels)
        if (random() % 4 == 0) pixel = 0x00FF00u;
    auto item = MakeItem(std::move(image), w, h);
    item->TransparentColor = 0x00FF00u;
    item->Transparent = random() % 4 != 0;
    item->Initialize();
    return item;
}

TEST(DrawRotate, MatchesTheSamplingRuleOnRandomCalls) {
    std::mt19937 random(20240601);
    const auto between = [&](int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(random);
    };
    const auto centre = [&]() {
        switch (random() % 4) {
            case 0:
                return 0.5;
            case 1:
                return 0.0;
            case 2:
                return 1.0;
            default:
                return std::uniform_real_distribution<double>(-1.5, 2.5)(random);
        }
    };
    constexpr int32_t width = 71, height = 53;
    int drawnCases = 0;
    for (int n = 0; n < 3000; ++n) {
        auto item = KeyedTriptych(random, between(1, 24), between(1, 24));
        const int32_t pattern = random() % 10 == 0 ? between(-1, 3) : between(0, 2);
        Call c{between(-25, 95), between(-25, 75), between(-70, 70), between(-70, 70),
               pattern,          centre(),         centre(),         n < 256 ? n : between(-1000, 1000)};
        if (random() % 8 == 0) c.w = item->Width() * between(1, 3);
        const auto expected = Drawn(*item, c, width, height, true);
        drawnCases += CountDrawn(expected) > 0;
        ASSERT_EQ(Drawn(*item, c, width, height, false), expected)
            << "case " << n << ": at (" << c.x << ", " << c.y << ") size " << c.w << "x" << c.h << " pattern "
            << c.pattern << " centre (" << c.cx << ", " << c.cy << ") angle " << c.angle;
    }
    EXPECT_GT(drawnCases, 1500);  // most calls draw: the comparison is not vacuous
}

TEST(DrawRotate, MatchesTheSamplingRuleAtExtremes) {
    std::mt19937 random(7);
    auto item = KeyedTriptych(random, 9, 7);
    const std::vector<Call> calls = {
        {-2147483647 - 1, 10, 1, 7, 0, 0.5, 0.5, 3},  // far left, a single column stretched
        {2147483647, 20, -1, 3, 1, 0.5, 0.5, 200},    // far right, mirrored
        {20, 20, 2147483647, 1, 2, 0.5, 0.5, 64},     // huge width: steps of 0
        {20, 20, -2147483647 - 1, -2147483647 - 1, 0, 0.5, 0.5, 32},
        {20, 20, 9, 7, 0, 1e12, -1e12, 10},  // centre far away
        {20, 20, 9, 7, 0, 1e300, 0.5, 10},   // centre beyond 64 bits
        {20, 20, 9, 7, 0, std::nan(""), 0.5, 10},
        {20, -2147483647, 3, 2147483647, 0, 0.5, 0.0, 0},  // one tall column
        {35, 25, 500, 400, 1, 0.5, 0.5, 32},               // covers the whole surface
        {35, 25, -500, 400, 1, 0.25, 0.75, -2147483647 - 1},
    };
    for (const bool keyed : {false, true}) {
        item->Transparent = keyed;
        for (size_t i = 0; i < calls.size(); ++i)
            EXPECT_EQ(Drawn(*item, calls[i], 71, 53, false), Drawn(*item, calls[i], 71, 53, true))
                << "call " << i << (keyed ? " keyed" : "");
    }
}

}  // namespace
}  // namespace kelvane
