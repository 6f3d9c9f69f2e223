// Start-up and scene, end to end: what the screenshots show of ships, the range ring and the
// target marker, and how the definition files fill the ship table.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "CraftedShips.h"
#include "DumpSeries.h"
#include "PngRead.h"
#include "SimRunner.h"
#include "TempGameDir.h"
#include "media/Archive.h"

namespace kelvane::testing {
namespace {

struct Box {
    int left, top, right, bottom;  // right and bottom excluded
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// A run's screenshot after one tick and its dump after the tick before: the picture of a
// tick shows the world as the previous tick left it.
struct Frame {
    PngPicture picture;
    nlohmann::json state;  // after the previous tick
};

Frame Shoot(const TempGameDir& dir, const std::string& scenario, uint64_t tick) {
    const std::string png = (dir.Root() / (std::to_string(tick) + "-" + scenario + ".png")).string();
    const DumpSeries run =
        RunWithDumps(dir, Scenario(scenario), {tick - 1}, {"--shot", std::to_string(tick) + ":" + png});
    EXPECT_EQ(run.Run.ExitCode, 0) << run.Run.Err;
    Frame frame;
    frame.picture = ReadPng(png);
    if (run.Has(tick - 1)) frame.state = run[tick - 1];
    return frame;
}

int SlotNamed(const nlohmann::json& state, const std::string& name) {
    for (size_t i = 0; i < state["Ships"].size(); ++i) {
        if (state["Ships"][i]["ShipName"] == name) return static_cast<int>(i) + 1;
    }
    return 0;
}

// Screen position of a ship in the frame drawn from `state`.
std::pair<int, int> OnScreen(const nlohmann::json& state, int slot) {
    const nlohmann::json& ship = state["Ships"][slot - 1];
    return {ship["X"].get<int>() - state["ViewX"].get<int>(),
            ship["Y"].get<int>() - state["ViewY"].get<int>()};
}

// Pixels where two pictures of the same size differ; none for pictures of different sizes.
std::vector<std::pair<int, int>> Differences(const PngPicture& a, const PngPicture& b) {
    std::vector<std::pair<int, int>> points;
    if (a.Width != b.Width || a.Height != b.Height) return points;
    for (int y = 0; y < a.Height; ++y) {
        for (int x = 0; x < a.Width; ++x) {
            if (a.At(x, y) != b.At(x, y)) points.emplace_back(x, y);
        }
    }
    return points;
}

// Parts of the screen that show the ship list, the map, the console lines and the diagnostic
// key codes: they change with every ship created or key pressed.
bool InStatusOrText(int x, int y) {
    const Box list{842, 494, 1024, 768}, console{0, 690, 842, 768}, diagnostics{430, 0, 600, 50};
    const Box targetPanel{812, 0, 1024, 100};
    return list.Contains(x, y) || console.Contains(x, y) || diagnostics.Contains(x, y) ||
           targetPanel.Contains(x, y);
}

// Pattern size of a ship picture: three patterns side by side.
std::pair<int, int> ShipPatternSize(const std::string& name) {
    const Bitmap picture = DecodeBmpFile(ReadWholeFile(ShippedPicture(name)));
    return {picture.Width / 3, picture.Height};
}

TEST(Scene, AShipInPlayIsDrawnAtItsScreenPosition) {
    // Both runs place Kestrel (the player's ship) and Wisp alike; only the first puts Wisp in play.
    TempGameDir dir;
    const Frame with = Shoot(dir, "scene_two_ships.json", 3);
    const Frame without = Shoot(dir, "scene_one_ship.json", 3);
    ASSERT_FALSE(with.picture.Empty());
    ASSERT_FALSE(without.picture.Empty());
    ASSERT_EQ(with.picture.Width, 1024);
    ASSERT_EQ(with.picture.Height, 768);
    const int wisp = SlotNamed(with.state, "Wisp");
    ASSERT_NE(wisp, 0);
    ASSERT_EQ(with.state["Ships"][wisp - 1]["InPlay"], 1);
    ASSERT_EQ(without.state["Ships"][wisp - 1]["InPlay"], 0);
    ASSERT_EQ(with.state["ViewX"], without.state["ViewX"]);
    ASSERT_EQ(with.state["ViewY"], without.state["ViewY"]);

    const auto [sx, sy] = OnScreen(with.state, wisp);
    const auto [w, h] = ShipPatternSize("Wisp");
    // Drawn upright (heading 0) with its centre on the ship's position; a pixel of slack.
    const Box sprite{sx - w / 2 - 1, sy - h / 2 - 1, sx + w / 2 + 2, sy + h / 2 + 2};
    int inside = 0;
    for (const auto& [x, y] : Differences(with.picture, without.picture)) {
        if (sprite.Contains(x, y))
            ++inside;
        else
            EXPECT_TRUE(InStatusOrText(x, y)) << "changed at " << x << "," << y;
    }
    EXPECT_GT(inside, w * h / 10) << "the ship's picture is missing";
}

bool HasColourNear(const PngPicture& picture, double x, double y, uint32_t colour) {
    const int cx = static_cast<int>(std::lround(x)), cy = static_cast<int>(std::lround(y));
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (picture.Inside(cx + dx, cy + dy) && picture.At(cx + dx, cy + dy) == colour) return true;
        }
    }
    return false;
}

TEST(Scene, RKeyShowsTheRangeRingAtBeamRange) {
    // R goes down after tick 2: the controls of tick 3 set ShowRange, the picture of tick 4
    // shows the ring.
    TempGameDir dir;
    const Frame before = Shoot(dir, "scene_range_ring.json", 3);
    const Frame after = Shoot(dir, "scene_range_ring.json", 4);
    ASSERT_FALSE(before.picture.Empty());
    ASSERT_FALSE(after.picture.Empty());
    EXPECT_EQ(before.state["ShowRange"], 0);
    EXPECT_EQ(after.state["ShowRange"], 1);
    const int player = after.state["ControlledShip"];
    ASSERT_NE(player, 0);
    const auto [x0, y0] = OnScreen(after.state, player);
    const nlohmann::json& ship = after.state["Ships"][player - 1];
    ASSERT_EQ(ship["Heading"], 0.0);
    const int range = static_cast<int>(std::lrint(ship["Accuracy"].get<int>() / 2.25 + 300));
    constexpr uint32_t ringGrey = 0x333333;

    for (int degrees = 30; degrees <= 330; degrees += 30) {
        const double a = degrees * M_PI / 180;
        const auto at = [&](double r) { return std::make_pair(x0 + r * std::sin(a), y0 - r * std::cos(a)); };
        const auto [rx, ry] = at(range);
        EXPECT_TRUE(HasColourNear(after.picture, rx, ry, ringGrey)) << degrees << " degrees";
        EXPECT_FALSE(HasColourNear(before.picture, rx, ry, ringGrey)) << degrees << " degrees, before R";
        for (int off : {-5, 5}) {
            const auto [ox, oy] = at(range + off);
            EXPECT_FALSE(HasColourNear(after.picture, ox, oy, ringGrey)) << degrees << " degrees, " << off;
        }
    }
    // The two lines 10 degrees either side of the nose.
    for (int degrees : {-10, 10}) {
        const double a = degrees * M_PI / 180;
        const double r = range * 0.6;
        EXPECT_TRUE(HasColourNear(after.picture, x0 + r * std::sin(a), y0 - r * std::cos(a), ringGrey))
            << degrees;
    }
}

TEST(Scene, TargetMarkerSurroundsTheTarget) {
    // The same two ships; in the second run N (after tick 2) makes Wisp the player's target.
    TempGameDir dir;
    const Frame self = Shoot(dir, "scene_two_ships.json", 4);
    const Frame other = Shoot(dir, "scene_target_marker.json", 4);
    ASSERT_FALSE(self.picture.Empty());
    ASSERT_FALSE(other.picture.Empty());
    const int player = other.state["ControlledShip"];
    const int wisp = SlotNamed(other.state, "Wisp");
    ASSERT_NE(wisp, 0);
    ASSERT_EQ(self.state["Ships"][player - 1]["Target"], player);
    ASSERT_EQ(other.state["Ships"][player - 1]["Target"], wisp);
    ASSERT_EQ(self.state["Ships"][wisp - 1]["X"], other.state["Ships"][wisp - 1]["X"]);
    ASSERT_EQ(self.state["Ships"][wisp - 1]["Y"], other.state["Ships"][wisp - 1]["Y"]);

    PictureCollection graphics;
    ReadPictureArchive(ReadWholeFile(std::string(KELVANE_BINARY_DIR) + "/Data/GFX.dxg"), graphics);
    ASSERT_GT(graphics.Items.size(), 17u);
    const int markerW = graphics.Items[17]->Width(), markerH = graphics.Items[17]->Height();
    const auto markerAround = [&](int slot) {
        const auto [x, y] = OnScreen(other.state, slot);
        return Box{x - 31, y - 31, x - 31 + markerW, y - 31 + markerH};
    };
    const Box aroundWisp = markerAround(wisp), aroundPlayer = markerAround(player);
    int atWisp = 0, atPlayer = 0;
    for (const auto& [x, y] : Differences(self.picture, other.picture)) {
        if (aroundWisp.Contains(x, y))
            ++atWisp;
        else if (aroundPlayer.Contains(x, y))
            ++atPlayer;
        else
            EXPECT_TRUE(InStatusOrText(x, y)) << "changed at " << x << "," << y;
    }
    EXPECT_GT(atWisp, 0) << "no marker around the new target";
    EXPECT_GT(atPlayer, 0) << "the marker did not leave the player's ship";
}

// Definition files made for a test, with pictures copied from a shipped ship.
void WriteDefinition(const TempGameDir& dir, const std::string& base, const std::string& iniName,
                     const std::string& shipName) {
    dir.WriteFile("Data/Ships/" + iniName,
                  ShipIni(shipName, "The " + shipName, "Shields=50\r\nHull=40\r\n", ""));
    dir.CopyFile(ShippedPicture("Wisp"), "Data/Ships/" + base + ".bmp");
}

nlohmann::json StartOnly(const TempGameDir& dir, SimResult* result = nullptr) {
    const SimResult run = RunSim({"--data", dir.Path(), "--dump", "last:-"}, dir.Root().string());
    if (result) *result = run;
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    return run.ExitCode == 0 ? run.Json() : nlohmann::json();
}

TEST(ShipDefinitions, SlotsFollowTheFileNamesWithoutRegardToCase) {
    TempGameDir dir({true, false, true});
    WriteDefinition(dir, "delta", "delta.ini", "Delta");
    WriteDefinition(dir, "Alpha", "Alpha.ini", "Alpha");
    WriteDefinition(dir, "charlie", "charlie.ini", "Charlie");
    WriteDefinition(dir, "Echo", "Echo.INI", "Echo");
    WriteDefinition(dir, "Bravo", "Bravo.ini", "Bravo");
    dir.WriteFile("Data/Ships/notes.txt", "not a definition");
    const nlohmann::json state = StartOnly(dir);
    ASSERT_FALSE(state.is_null());
    const std::vector<std::string> expected = {"Alpha", "Bravo", "Charlie", "Delta", "Echo"};
    EXPECT_EQ(state["ShipImagesCount"], static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(state["Ships"][i]["ShipName"], expected[i]) << "slot " << i + 1;
        EXPECT_EQ(state["Ships"][i]["ImageIndex"], static_cast<int>(i));
        EXPECT_EQ(state["Ships"][i]["Shields"], 50);
    }
    EXPECT_EQ(state["Ships"][expected.size()]["ShipName"], "");
}

TEST(ShipDefinitions, ASixtyFifthDefinitionIsLeftOutWithAWord) {
    TempGameDir dir({true, false, true});
    const auto name = [](int n) { return std::string(n < 10 ? "s0" : "s") + std::to_string(n); };
    for (int n = 65; n >= 1; --n) WriteDefinition(dir, name(n), name(n) + ".ini", "Ship" + name(n));
    SimResult run;
    const nlohmann::json state = StartOnly(dir, &run);
    ASSERT_FALSE(state.is_null());
    EXPECT_EQ(state["ShipImagesCount"], 64);
    EXPECT_EQ(state["Ships"][0]["ShipName"], "Ships01");
    EXPECT_EQ(state["Ships"][63]["ShipName"], "Ships64");
    EXPECT_NE(run.Err.find("s65.ini"), std::string::npos) << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
    EXPECT_EQ(state["SwallowedErrors"], 0);
}

TEST(ShipDefinitions, AMissingPictureEndsTheStart) {
    TempGameDir dir({true, false, true});
    WriteDefinition(dir, "Alpha", "Alpha.ini", "Alpha");
    dir.WriteFile("Data/Ships/Ghost.ini", ShipIni("Ghost", "The Ghost", "Shields=50\r\n", ""));
    const SimResult run = RunSim({"--data", dir.Path(), "--dump", "last:-"}, dir.Root().string());
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("Cannot open file"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("Ghost.bmp"), std::string::npos) << run.Err;
    EXPECT_TRUE(run.Out.empty());
}

}  // namespace
}  // namespace kelvane::testing
