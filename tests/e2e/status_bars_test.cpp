// The status bars, end to end: exact halves of the shipped ships' maxima are drawn
// rounded to even, as every other rounding of the game.

#include <gtest/gtest.h>

#include <string>

#include "DumpSeries.h"
#include "PngRead.h"
#include "SimRunner.h"
#include "TempGameDir.h"

namespace kelvane::testing {
namespace {

// Width of the fill of colour `rgb` that starts at (x, y), in pixels.
int FillWidth(const PngPicture& picture, int x, int y, uint32_t rgb) {
    int width = 0;
    while (picture.Inside(x + width, y) && picture.At(x + width, y) == rgb) ++width;
    return width;
}

TEST(StatusBars, ExactHalvesOfTheShippedShipsRoundToEven) {
    TempGameDir dir;
    const std::string png = (dir.Root() / "bars.png").string();
    // The player flies the Kestrel (hull 280) and targets the Bastion (shields 560).
    const DumpSeries run = RunWithDumps(dir, Scenario("status_exact_halves.json"), {2}, {"--shot", "3:" + png});
    ASSERT_EQ(run.Run.ExitCode, 0) << run.Run.Err;
    ASSERT_TRUE(run.Has(2));
    ASSERT_EQ(run.Ship(2, 4)["ShipName"], "Kestrel");
    ASSERT_EQ(run[2]["ControlledShip"], 4);
    ASSERT_EQ(run.Ship(2, 4)["Target"], 2);
    const PngPicture picture = ReadPng(png);
    ASSERT_FALSE(picture.Empty());

    constexpr uint32_t ShieldsFill = 0x713C8C;  // the game's 0x8C3C71, red in the low byte
    constexpr uint32_t HullFill = 0x3C428C;     // 0x8C423C
    EXPECT_EQ(FillWidth(picture, 66, 51, HullFill), 14);       // 29 / 280 x 140 = 14.5
    EXPECT_EQ(FillWidth(picture, 857, 38, ShieldsFill), 14);   // 58 / 560 x 140 = 14.5
    EXPECT_EQ(FillWidth(picture, 857, 51, HullFill), 13);      // 47 / 520 x 140 = 12.65
    EXPECT_EQ(FillWidth(picture, 66, 38, ShieldsFill), 140);   // full shields
}

}  // namespace
}  // namespace kelvane::testing
