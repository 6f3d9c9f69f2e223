#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "console/InputState.h"
#include "game/MainForm.h"
#include "platform/headless/HeadlessMachine.h"
#include "TempGameDir.h"

namespace kelvane {
namespace {

// A form on the headless platform, ticking on a virtual 40 ms clock.
struct HeadlessForm {
    testing::TempGameDir dir;
    HeadlessMachine machine{false};
    HeadlessPresenter& presenter = machine.Presenter;
    RecordingSleeper& sleeper = machine.Sleeper;
    std::unique_ptr<TMainForm> form = std::make_unique<TMainForm>(machine.Services(dir.Path(), 1));

    void Tick() { machine.Tick(*form); }
    World& world() { return form->World; }
};

void PutShipInPlay(World& world, int slot, int x, int y) {
    TShip& ship = world.Ships[slot];
    ship.InPlay = 1;
    ship.X = x;
    ship.Y = y;
    ship.Hull = ship.MaxHull = 100;
    ship.MaxSpeed = 10;
    ship.Target = static_cast<uint8_t>(slot);
    if (world.ShipCount == 0) world.ControlledShip = static_cast<uint8_t>(slot);
    ++world.ShipCount;
}

size_t IndexOf(const std::vector<std::string>& trace, const std::string& step) {
    return static_cast<size_t>(std::find(trace.begin(), trace.end(), step) - trace.begin());
}

TEST(FrameLoop, FirstTickLoadsAndShowsTheFirstFrame) {
    HeadlessForm game;
    game.Tick();
    EXPECT_TRUE(game.world().Loaded);
    // The loading screen is shown 11 times as it fills its progress bar, then the first frame.
    EXPECT_EQ(game.presenter.PresentCount, 12u);
    EXPECT_EQ(game.sleeper.Pauses, (std::vector<uint32_t>{50, 50, 50, 50, 75, 150, 25, 75, 25, 100}));
    ASSERT_GE(game.world().ConsoleLog.size(), 2u);
    EXPECT_EQ(game.world().ConsoleLog[0], "6Welcome to Orvath : Kelvane");
    EXPECT_EQ(game.world().ConsoleLog[1], "7version: 1.0 beta");
}

TEST(FrameLoop, StepsRunInTheFrameOrder) {
    HeadlessForm game;
    game.Tick();
    PutShipInPlay(game.world(), 1, 500, 500);
    game.world().ShowRange = true;
    std::vector<std::string> trace;
    game.form->RecordedSteps = &trace;
    game.Tick();
    const std::vector<std::string> expected = {
        "Fill", "DrawBackground", "DrawProjectiles", "DrawBeams", "DrawRangeRing", "DrawShips",
        "DrawTargetMarker", "DrawStatusPanels", "DrawConsole", "DrawRespawnCountdown", "DrawPausePicture",
        "DrawDiagnostics", "Flip", "CentreView", "MoveShips", "TurnSnap", "CountDownReloads",
        "StartDestruction", "RunExplosionClocks", "EndExplosions", "CountDownRespawns", "AdvanceReEntries",
        "AgeBeams", "AnimateAndMoveProjectiles", "CollideProjectiles", "RecountShips", "MoveComputerShips",
        "AnimateTargetMarker", "RepairHulls", "ReturnShields", "AgeInput", "ToggleConsole", "PlayerControls"};
    EXPECT_EQ(trace, expected);
}

TEST(FrameLoop, WithoutShipsNothingShipRelatedIsDrawnAndTheViewStays) {
    HeadlessForm game;
    game.Tick();
    game.world().ViewX = 100;
    game.world().ShowRange = true;
    std::vector<std::string> trace;
    game.form->RecordedSteps = &trace;
    game.Tick();
    for (const char* step : {"DrawRangeRing", "DrawTargetMarker", "CentreView", "PlayerControls"}) {
        EXPECT_EQ(IndexOf(trace, step), trace.size()) << step;
    }
    EXPECT_EQ(game.world().ViewX, 100);
}

TEST(FrameLoop, APictureViewMovesThePictureAndNotTheWorld) {
    HeadlessForm own, watched;
    own.Tick();
    watched.Tick();
    const std::vector<uint32_t> fromTheCorner = watched.presenter.LastFrame;
    // Without ships in play the rules leave the view where it is put.
    own.world().ViewX = 300;
    own.world().ViewY = 200;
    watched.form->PictureView = [](const World&) { return View{300, 200}; };
    own.Tick();
    watched.Tick();
    EXPECT_TRUE(watched.presenter.LastFrame == own.presenter.LastFrame);
    EXPECT_FALSE(watched.presenter.LastFrame == fromTheCorner);
    EXPECT_EQ(watched.world().ViewX, 0);
    EXPECT_EQ(watched.world().ViewY, 0);
}

TEST(FrameLoop, PauseFreezesTheWorldButSteeringStillChangesSpeed) {
    HeadlessForm game;
    game.Tick();
    World& world = game.world();
    PutShipInPlay(world, 1, 1000, 700);
    world.Ships[1].Speed = 5;
    world.Ships[1].Heading = 90;
    world.Paused = true;
    KeyPressed(world, VK_UP, 0);
    game.Tick();
    EXPECT_EQ(world.Ships[1].X, 1000);
    EXPECT_EQ(world.Ships[1].Speed, 5.5);
    game.Tick();
    EXPECT_EQ(world.Ships[1].X, 1000);
    // The pause key toggles the pause back; the next frame moves the ship.
    KeyPressed(world, VK_PAUSE, 0);
    game.Tick();
    EXPECT_FALSE(world.Paused);
    game.Tick();
    EXPECT_EQ(world.Ships[1].X, 1000 + 6);  // 5.5 rounds to the even 6
}

TEST(FrameLoop, AnErrorEndsOnlyItsFrame) {
    HeadlessForm game;
    game.Tick();
    World& world = game.world();
    PutShipInPlay(world, 1, 500, 500);
    world.ShowRange = true;
    world.ControlledShip = 100;  // outside the ship table: the frame reading it fails
    game.Tick();
    EXPECT_EQ(game.form->SwallowedErrors(), 1u);
    ASSERT_EQ(game.form->Errors().size(), 1u);
    EXPECT_NE(game.form->Errors()[0].find("out of bounds"), std::string::npos);
    world.ControlledShip = 1;
    const uint64_t shown = game.presenter.PresentCount;
    game.Tick();
    EXPECT_EQ(game.form->SwallowedErrors(), 1u);
    EXPECT_EQ(game.presenter.PresentCount, shown + 1);
    EXPECT_FALSE(game.form->CloseRequested());
}

TEST(FrameLoop, AFrameThatCannotBeDrawnChangesNothing) {
    HeadlessForm game;
    game.Tick();
    World& world = game.world();
    PutShipInPlay(world, 1, 500, 500);
    world.Ships[1].Speed = 8;
    world.Ships[1].Heading = 180;
    KeyPressed(world, VK_UP, 0);
    game.presenter.Drawable = false;
    game.Tick();
    EXPECT_EQ(world.Ships[1].Y, 500);
    EXPECT_EQ(world.KeyState[VK_UP], 2);  // not even aged
    game.presenter.Drawable = true;
    game.Tick();
    EXPECT_EQ(world.Ships[1].Y, 508);
}

TEST(FrameLoop, HullRepairMendsOneShipEveryFortyFrames) {
    HeadlessForm game;
    game.Tick();
    World& world = game.world();
    PutShipInPlay(world, 1, 500, 500);
    PutShipInPlay(world, 2, 900, 500);
    world.Ships[1].Hull = 90;
    world.Ships[2].Hull = 90;
    world.HullRepairTimer = 1;
    game.Tick();
    EXPECT_EQ(world.Ships[1].Hull, 91);
    EXPECT_EQ(world.Ships[2].Hull, 90);
    EXPECT_EQ(world.HullRepairTimer, 40);
    for (int i = 0; i < 39; ++i) game.Tick();
    EXPECT_EQ(world.Ships[1].Hull, 91);
    game.Tick();
    EXPECT_EQ(world.Ships[1].Hull, 92);
    EXPECT_EQ(world.Ships[2].Hull, 90);
}

TEST(FrameLoop, FrameRateIsMeasuredOncePerSecond) {
    HeadlessForm game;
    for (int i = 0; i < 24; ++i) game.Tick();
    EXPECT_EQ(game.form->FrameRate(), 0);
    game.Tick();
    EXPECT_EQ(game.form->FrameRate(), 25);
}

TEST(FrameLoop, ShipCountIsRecountedFromTheTable) {
    HeadlessForm game;
    game.Tick();
    World& world = game.world();
    PutShipInPlay(world, 3, 500, 500);
    world.Ships[5].InPlay = 1;
    game.Tick();
    EXPECT_EQ(world.ShipCount, 2);
}

}  // namespace
}  // namespace kelvane
