// Picture items: cutting into patterns, plain Draw with its colour key and clipping, and
// the picture's own pixel colours.
#include <gtest/gtest.h>

#include <vector>

#include "draw_support.h"
#include "media/SystemColors.h"

namespace kelvane {
namespace {

using test::Background;
using test::DistinctPicture;
using test::MakeItem;
using test::MakeSurface;
using test::SourcePixel;

struct CuttingCase {
    const char* name;
    int32_t pictureWidth, pictureHeight;
    int32_t patternWidth, patternHeight, skipWidth, skipHeight;
    int32_t uncutCount;                 // PatternCount before Initialize
    std::vector<PatternRect> patterns;  // after Initialize
};

TEST(PictureItemPatterns, CutAsTheSettingsSay) {
    // clang-format off
    const std::vector<CuttingCase> cases = {
        {"size equals picture, skips ignored", 32, 32, 32, 32, 5, 7, 1, {{0, 0, 32, 32}}},
        {"stored size 0 means the picture's", 40, 30, 0, 0, 0, 0, 1, {{0, 0, 40, 30}}},
        {"ship 300 x 100", 300, 100, 100, 100, 0, 0, 3,
         {{0, 0, 100, 100}, {100, 0, 100, 100}, {200, 0, 100, 100}}},
        {"ship 301 x 100, last column unused", 301, 100, 100, 100, 0, 0, 3,
         {{0, 0, 100, 100}, {100, 0, 100, 100}, {200, 0, 100, 100}}},
        {"grid with skips, row by row", 50, 25, 10, 10, 5, 5, 6,
         {{0, 0, 10, 10}, {15, 0, 10, 10}, {30, 0, 10, 10},
          {0, 15, 10, 10}, {15, 15, 10, 10}, {30, 15, 10, 10}}},
        {"a pattern larger than the picture", 20, 20, 30, 20, 0, 0, 0, {}},
        {"negative skips that swallow the cell", 20, 20, 10, 10, -10, 0, 0, {}},
    };
    // clang-format on
    for (const CuttingCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto item =
            MakeItem(DistinctPicture(c.pictureWidth, c.pictureHeight), c.patternWidth, c.patternHeight);
        item->SkipWidth = c.skipWidth;
        item->SkipHeight = c.skipHeight;
        EXPECT_EQ(item->PatternCount(), c.uncutCount);
        item->Initialize();
        ASSERT_TRUE(item->Initialized());
        ASSERT_EQ(item->PatternCount(), static_cast<int32_t>(c.patterns.size()));
        for (size_t i = 0; i < c.patterns.size(); ++i) {
            const PatternRect& got = item->Patterns()[i];
            EXPECT_EQ(got.Left, c.patterns[i].Left) << "pattern " << i;
            EXPECT_EQ(got.Top, c.patterns[i].Top) << "pattern " << i;
            EXPECT_EQ(got.Width, c.patterns[i].Width) << "pattern " << i;
            EXPECT_EQ(got.Height, c.patterns[i].Height) << "pattern " << i;
        }
        item->Finalize();
        EXPECT_FALSE(item->Initialized());
        EXPECT_EQ(item->PatternCount(), c.uncutCount);
    }
}

TEST(PictureItemPatterns, UncutCountFollowsTheDivisionRule) {
    // 25 = 1 x (10 + 5) + 10: the remainder is exactly one more pattern.
    auto exact = MakeItem(DistinctPicture(25, 10), 10, 10);
    exact->SkipWidth = 5;
    EXPECT_EQ(exact->PatternCount(), 2);
    // 24 leaves 9 over: no extra pattern.
    auto shorter = MakeItem(DistinctPicture(24, 10), 10, 10);
    shorter->SkipWidth = 5;
    EXPECT_EQ(shorter->PatternCount(), 1);
}

TEST(PictureItemPatterns, ItemWithoutPictureHasNone) {
    TPictureCollectionItem item;
    EXPECT_EQ(item.Width(), 0);
    item.Initialize();
    EXPECT_TRUE(item.Initialized());
    EXPECT_EQ(item.PatternCount(), 0);
    auto surface = MakeSurface(8, 8);
    item.Draw(*surface, 0, 0, 0);
    EXPECT_EQ(surface->Pixels()[0], Background);
}

// Draws a 32 x 32 distinct picture at (x, y) and checks every surface pixel.
void ExpectPlacedCopy(int32_t x, int32_t y, int32_t surfaceWidth, int32_t surfaceHeight) {
    auto item = MakeItem(DistinctPicture(32, 32));
    item->Initialize();
    auto surface = MakeSurface(surfaceWidth, surfaceHeight);
    item->Draw(*surface, x, y, 0);
    for (int32_t py = 0; py < surfaceHeight; ++py) {
        for (int32_t px = 0; px < surfaceWidth; ++px) {
            const int64_t sx = int64_t{px} - x, sy = int64_t{py} - y;
            const bool covered = sx >= 0 && sy >= 0 && sx < 32 && sy < 32;
            ASSERT_EQ(surface->Row(py)[px],
                      covered ? SourcePixel(static_cast<int32_t>(sx), static_cast<int32_t>(sy)) : Background)
                << "at (" << px << ", " << py << ") drawn at (" << x << ", " << y << ")";
        }
    }
}

TEST(PictureItemDraw, ClipsToTheSurfaceAndKeepsPlaces) {
    ExpectPlacedCopy(-10, -10, 40, 40);  // lower-right 22 x 22 at the top-left corner
    ExpectPlacedCopy(5, 3, 40, 40);
    ExpectPlacedCopy(20, 25, 40, 40);   // runs off the right and bottom
    ExpectPlacedCopy(-31, 39, 40, 40);  // only the picture's top-right pixel shows
    ExpectPlacedCopy(-32, 0, 40, 40);   // wholly off
    ExpectPlacedCopy(40, 0, 40, 40);
    ExpectPlacedCopy(-2147483647, 2147483600, 40, 40);
}

TEST(PictureItemDraw, SelectsThePatternsRectangle) {
    auto item = MakeItem(DistinctPicture(30, 10), 10, 10);
    item->Initialize();
    auto surface = MakeSurface(10, 10);
    item->Draw(*surface, 0, 0, 1);
    EXPECT_EQ(surface->Row(0)[0], SourcePixel(10, 0));
    EXPECT_EQ(surface->Row(9)[9], SourcePixel(19, 9));
}

TEST(PictureItemDraw, NothingForUninitialisedItemsOrBadPatterns) {
    auto item = MakeItem(DistinctPicture(30, 10), 10, 10);
    auto surface = MakeSurface(10, 10);
    item->Draw(*surface, 0, 0, 0);
    item->Initialize();
    item->Draw(*surface, 0, 0, -1);
    item->Draw(*surface, 0, 0, 3);
    for (int32_t i = 0; i < 100; ++i) ASSERT_EQ(surface->Pixels()[i], Background);
}

// A 4 x 1 picture whose pixels 1 and 3 are the key colour.
std::unique_ptr<TPictureCollectionItem> KeyedStrip(uint32_t keyPixel) {
    Bitmap image;
    image.Resize(4, 1);
    image.Pixels = {0x000001u, keyPixel, 0x000003u, keyPixel};
    return MakeItem(std::move(image));
}

TEST(PictureItemDraw, ColourKeySkipsOnlyWhenTransparent) {
    struct Case {
        const char* name;
        bool transparent;
        uint32_t transparentColor;  // 0xBBGGRR or a special value
        uint32_t keyPixel;          // the picture's pixel of that colour
        bool keyedOut;
    };
    const std::vector<Case> cases = {
        {"plain colour, red in the low byte", true, 0x00FF00u, 0x00FF00u, true},
        {"red and blue swap", true, 0x0000FFu, 0xFF0000u, true},
        {"not transparent draws the key", false, 0x0000FFu, 0xFF0000u, false},
        {"system colour: window background", true, SystemColorBase + 5, 0xFFFFFFu, true},
        {"clNone keys out nothing", true, clNone, 0xFFFFFFu, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto item = KeyedStrip(c.keyPixel);
        item->Transparent = c.transparent;
        item->TransparentColor = c.transparentColor;
        item->Initialize();
        auto surface = MakeSurface(4, 1);
        item->Draw(*surface, 0, 0, 0);
        const uint32_t hidden = c.keyedOut ? Background : c.keyPixel;
        EXPECT_EQ(surface->Pixels()[0], 0x000001u);
        EXPECT_EQ(surface->Pixels()[1], hidden);
        EXPECT_EQ(surface->Pixels()[2], 0x000003u);
        EXPECT_EQ(surface->Pixels()[3], hidden);
    }
}

TEST(PictureItemDraw, LongRowsKeyEveryPixel) {
    // Long enough for the vector loop and its tail: key on every third pixel.
    Bitmap image;
    image.Resize(1003, 2);
    for (int32_t x = 0; x < 1003; ++x)
        image.At(x, 0) = image.At(x, 1) = x % 3 == 0 ? 0x00FF00u : SourcePixel(x, 0);
    auto item = MakeItem(std::move(image));
    item->TransparentColor = 0x00FF00u;
    item->Initialize();
    auto surface = MakeSurface(1024, 2);
    item->Draw(*surface, 7, 1, 0);
    for (int32_t x = 0; x < 1024; ++x) {
        const int32_t sx = x - 7;
        const bool drawn = sx >= 0 && sx < 1003 && sx % 3 != 0;
        ASSERT_EQ(surface->Row(1)[x], drawn ? SourcePixel(sx, 0) : Background) << x;
        ASSERT_EQ(surface->Row(0)[x], Background) << x;
    }
}

TEST(PictureItemPixelColor, ReadsThePictureAsGameColour) {
    Bitmap image;
    image.Resize(3, 2, 0x000000u);
    image.At(2, 1) = 0x112233u;
    auto item = MakeItem(std::move(image), 1, 1);
    item->Transparent = true;
    item->TransparentColor = 0x332211u;  // the key plays no part
    EXPECT_EQ(item->PixelColor(2, 1), 0x332211u);
    EXPECT_EQ(item->PixelColor(0, 0), 0x000000u);
    for (auto [x, y] : std::vector<std::pair<int32_t, int32_t>>{{-1, 0}, {0, -1}, {3, 0}, {0, 2}, {3, 2}})
        EXPECT_EQ(item->PixelColor(x, y), 0xFFFFFFFFu) << x << "," << y;
}

}  // namespace
}  // namespace kelvane
