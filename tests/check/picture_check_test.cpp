// Ship pictures the game cannot use, or uses otherwise than their maker thinks.

#include <gtest/gtest.h>

#include <functional>

#include "CheckFixture.h"

namespace kelvane::check::testing {
namespace {

using enum Severity;

struct Case {
    const char* What;
    std::function<std::string()> Picture;
    std::vector<Expected> Findings;
    const char* File = "Probe.bmp";  // the file the findings are about
};

std::function<std::string()> Changed(const std::function<void(Bitmap&)>& change) {
    return [=] {
        Bitmap picture = ShipBitmap();
        change(picture);
        return Bmp(picture);
    };
}

TEST(PictureCheck, PicturesTheGameCannotReadOrUseAsMeant) {
    const std::vector<Case> cases = {
        {"a good picture", [] { return Bmp(ShipBitmap()); }, {}},
        {"missing",
         nullptr,
         {{Error, 0, "Probe.bmp is missing: the game cannot start without it (\"Cannot open file "}},
         "Probe.ini"},
        {"a PNG renamed",
         [] { return std::string("\x89PNG\r\n\x1A\n") + std::string(40, '\0'); },
         {{Error, 0,
           "the game cannot read this picture and cannot start: \"Bitmap image is not valid\" (it is a PNG "
           "picture, not a BMP file)"}}},
        {"cut short",
         [] { return Bmp(ShipBitmap()).substr(0, 200); },
         {{Error, 0, "\"Bitmap image is not valid\" (the file ends before its colour table or pixels do)"}}},
        {"an unknown header",
         [] {
             std::string b = Bmp(ShipBitmap());
             b[14] = 41;
             return b;
         },
         {{Error, 0, "(an info header of 41 bytes (12, 40, 52, 56, 64, 108 or 124 are read))"}}},
        {"one pattern",
         [] {
             Bitmap one;
             one.Resize(61, 60, Green);
             return Bmp(one);
         },
         {{Error, 0, "61 pixels wide, not three equal patterns side by side"},
          {Warning, 0, "the ship (the left third) is all pure green"},
          {Error, 0, "the hit mask (the middle third) has no pixel of exactly #FF00FF"}}},
        {"a mask of nearly magenta",
         Changed([](Bitmap& p) {
             for (uint32_t& pixel : p.Pixels)
                 if (pixel == Magenta) pixel = 0xFE00FF;
         }),
         {{Error, 0, "no pixel of exactly #FF00FF: shots pass through the ship (1600 pixels are nearly #FF00FF"}}},
        {"a mask drawn over the hull unshifted",
         Changed([](Bitmap& p) {
             for (int y = 0; y < 60; ++y)
                 for (int x = 0; x < 60; ++x) p.At(60 + x, y) = p.At(x, y) == HullGrey ? Magenta : 0;
         }),
         {{Warning, 0,
           "stand where no hull is drawn: a mask pixel stands for the hull pixel 7 to the right and 7 below "
           "it, so shots hit empty space there; the mask fits the hull unshifted: move it 7 pixels up and "
           "left"},
          {Warning, 0, "304 hit-mask pixels (the first at (46, 10) of the mask) lie in its last 14 columns or rows"}}},
        {"a mask a pixel generous",
         Changed([](Bitmap& p) {
             for (int y = 2; y < 44; ++y)
                 for (int x = 2; x < 44; ++x) p.At(60 + x, y) = Magenta;
         }),
         {}},
        {"mask pixels in the border never read",
         Changed([](Bitmap& p) { p.At(60 + 50, 30) = Magenta; }),
         {{Warning, 0,
           "1 hit-mask pixels (the first at (50, 30) of the mask) lie in its last 14 columns or rows, which "
           "the game never reads"}}},
        {"an invisible ship",
         Changed([](Bitmap& p) {
             for (int y = 0; y < 60; ++y)
                 for (int x = 0; x < 60; ++x) p.At(x, y) = Green;
         }),
         {{Warning, 0,
           "the ship (the left third) is all pure green #00FF00, which is transparent: the ship is invisible"},
          {Warning, 0, "stand where no hull is drawn"}}},
        {"too small for a hit box",
         [] {
             Bitmap small;
             small.Resize(36, 12, Green);
             small.At(12, 0) = Magenta;
             return Bmp(small);
         },
         {{Error, 0, "patterns of 12 x 12 pixels leave no room for hits"}, {Warning, 0, "is invisible"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        CheckGame game;
        game.Definition("Probe", GoodDefinition, false);
        if (c.Picture) game.Picture("Probe", c.Picture());
        const Report report = game.Run();
        ExpectFindings(About(report, c.File), c.Findings);
        EXPECT_EQ(report.Findings().size(), c.Findings.size()) << Listed(report.Findings());
    }
}

TEST(PictureCheck, APictureSharedByTwoDefinitionsIsCheckedOnce) {
    CheckGame game;
    game.Definition("Twin.One", Replaced(GoodDefinition, "=Probe", "=One"), false);
    game.Definition("Twin.Two", Replaced(GoodDefinition, "=Probe", "=Two"), false);
    Bitmap picture = ShipBitmap();
    picture.At(60 + 50, 30) = Magenta;
    game.Picture("Twin", Bmp(picture));
    const Report report = game.Run();
    EXPECT_EQ(report.Pictures, 1);
    EXPECT_EQ(About(report, "Twin.bmp").size(), 1u) << Listed(report.Findings());
}

}  // namespace
}  // namespace kelvane::check::testing
