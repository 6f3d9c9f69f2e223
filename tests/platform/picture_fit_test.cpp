// Where the picture goes in a window of any size, and pointer positions back through it.

#include <gtest/gtest.h>

#include "platform/sdl/PictureFit.h"

namespace kelvane {
namespace {

TEST(PictureFit, ScaledCentredWithBlackBars) {
    struct Case {
        int width, height;
        PictureRect expected;
    };
    const Case cases[] = {
        {1024, 768, {0, 0, 1024, 768}},     // exactly the picture
        {1280, 1024, {0, 32, 1280, 960}},   // bars above and below
        {1920, 1080, {240, 0, 1440, 1080}}, // bars left and right
        {800, 700, {0, 50, 800, 600}},
        {2048, 1536, {0, 0, 2048, 1536}},
        {1366, 768, {171, 0, 1024, 768}},   // odd margin: the extra pixel goes right
        {333, 1000, {0, 375, 333, 250}},    // 249.75 rounds to 250
        {1, 1, {0, 0, 1, 1}},               // never an empty picture in a real window
        {0, 768, {}},
        {1024, -1, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitPicture(c.width, c.height, 1024, 768), c.expected) << c.width << "x" << c.height;
        const PictureRect rect = FitPicture(c.width, c.height, 1024, 768);
        if (rect.Width == 0) continue;
        // Inside the output, and the aspect kept to within a pixel.
        EXPECT_GE(rect.X, 0);
        EXPECT_GE(rect.Y, 0);
        EXPECT_LE(rect.X + rect.Width, c.width);
        EXPECT_LE(rect.Y + rect.Height, c.height);
        EXPECT_TRUE(rect.Width == c.width || rect.Height == c.height);
        EXPECT_NEAR(rect.Width * 768.0 / 1024.0, rect.Height, 1.0) << c.width << "x" << c.height;
    }
}

TEST(PictureFit, OutputPointsGoBackToPicturePixels) {
    const PictureRect rect = FitPicture(1920, 1080, 1024, 768);  // 1440 x 1080 at x 240
    struct Case {
        int x, y, pictureX, pictureY;
    };
    const Case cases[] = {
        {240, 0, 0, 0},        // the picture's corner
        {1679, 1079, 1023, 767},
        {960, 540, 512, 384},  // the middle
        {0, 500, 0, 355},      // on the left bar: the picture's left edge
        {1919, -40, 1023, 0},  // beyond the right bar and above
        {241, 1, 0, 0},        // 1.4 output pixels per picture pixel
        {242, 3, 1, 2},
    };
    for (const Case& c : cases) {
        int32_t x = -1, y = -1;
        OutputToPicture(rect, 1024, 768, c.x, c.y, x, y);
        EXPECT_EQ(x, c.pictureX) << c.x << "," << c.y;
        EXPECT_EQ(y, c.pictureY) << c.x << "," << c.y;
    }
    // Every picture column is reached from some output column: no gaps.
    int32_t last = -1;
    for (int x = rect.X; x < rect.X + rect.Width; ++x) {
        int32_t px = 0, py = 0;
        OutputToPicture(rect, 1024, 768, x, rect.Y, px, py);
        ASSERT_TRUE(px == last || px == last + 1) << x;
        last = px;
    }
    EXPECT_EQ(last, 1023);
}

}  // namespace
}  // namespace kelvane
