#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "combat/ArenaFixture.h"
#include "combat/Destruction.h"

namespace kelvane {
namespace {

using testing::ArenaFixture;

// Frame numbers (from 1, the frame destruction starts) at which ship s's state changes.
struct Timeline {
    int explosionEnded = 0;
    int appearing = 0;
    int back = 0;
};

Timeline RunUntilBack(ArenaFixture& f, int s) {
    Timeline t;
    const TShip& ship = f.World.Ships[s];
    for (int frame = 1; frame <= 400 && !t.back; ++frame) {
        f.Frame();
        if (!t.explosionEnded && ship.AwaitingRespawn) t.explosionEnded = frame;
        if (!t.appearing && ship.Appearing) t.appearing = frame;
        if (t.appearing && !ship.Dead) t.back = frame;
    }
    return t;
}

TEST(Destruction, ExplosionWaitAndReEntryTakeTheirFrames) {
    ArenaFixture f;
    TShip& ship = f.PlaceShip(2, 500, 600);
    ship.Hull = 0;
    ship.Speed = 5;
    ship.TurnRate = 1.5;
    f.Frame();
    EXPECT_EQ(ship.Dead, 1);
    EXPECT_EQ(ship.Exploding, 1);
    EXPECT_EQ(ship.ExplosionTimer, 1);
    EXPECT_EQ(ship.Speed, 0);
    EXPECT_EQ(ship.TurnRate, 0);
    EXPECT_EQ(ship.X, 500);  // the wreck stays where it is

    ArenaFixture g;
    g.PlaceShip(2, 500, 600).Hull = -5;
    const Timeline t = RunUntilBack(g, 2);
    EXPECT_EQ(t.explosionEnded, 26);
    EXPECT_EQ(t.appearing - t.explosionEnded, 178);  // the wait starts counting in the ending frame
    EXPECT_EQ(t.back - t.appearing + 1, 15);             // re-entry frames
}

TEST(Destruction, ExplosionPartsSoundWhenTheClockReachesTheirDelay) {
    // Parts 1..4 sound items 2, 3, 4 and 8. Delay 0 and delays above 26 never come up.
    struct Case { int32_t delay; bool enabled; int plays; };
    const std::vector<Case> cases = {{1, true, 1}, {0, true, 0}, {26, true, 1}, {27, true, 0},
                                     {25, false, 0}, {13, true, 1}};
    const int waves[4] = {2, 3, 4, 8};
    for (const Case& c : cases) {
        for (int n = 1; n <= 4; ++n) {
            ArenaFixture f;
            TShip& ship = f.PlaceShip(1, 500, 500);
            ship.Hull = 0;
            ship.ExplosionParts[n].Enabled = c.enabled ? 1 : 0;
            ship.ExplosionParts[n].Delay = c.delay;
            for (int frame = 0; frame < 30; ++frame) f.Frame();
            EXPECT_EQ(f.Waves.PlayCount(waves[n - 1]), static_cast<uint64_t>(c.plays))
                << "part " << n << " delay " << c.delay;
            EXPECT_EQ(f.TotalPlays(), static_cast<uint64_t>(c.plays)) << "part " << n << " delay " << c.delay;
        }
    }
}

TEST(Destruction, DestructionMessagesNameTheShip) {
    struct Case { int controlled; std::string line; };
    const std::vector<Case> cases = {{4, "2Your ship (Raven) is destroyed..."},
                                     {1, "4Raven is destroyed..."}};
    for (const Case& c : cases) {
        ArenaFixture f;
        f.PlaceShip(1, 100, 100);
        TShip& ship = f.PlaceShip(4, 500, 500);
        ship.ShipName = "Raven";
        ship.Hull = 0;
        f.World.ControlledShip = static_cast<uint8_t>(c.controlled);
        for (int frame = 0; frame < 26; ++frame) f.Frame();
        ASSERT_EQ(f.World.ConsoleLog.size(), 1u);
        EXPECT_EQ(f.World.ConsoleLog.back(), c.line);
    }
}

TEST(Destruction, ClocksRunOnlyForShipsInPlay) {
    ArenaFixture f;
    // Every empty slot of a fresh world has Hull 0: marked, but its clock never runs.
    for (int frame = 0; frame < 40; ++frame) f.Frame();
    const TShip& empty = f.World.Ships[40];
    EXPECT_EQ(empty.Exploding, 1);
    EXPECT_EQ(empty.Dead, 1);
    EXPECT_EQ(empty.ExplosionTimer, 0);
    EXPECT_TRUE(f.World.ConsoleLog.empty());

    ArenaFixture g;
    TShip& ship = g.PlaceShip(3, 500, 500);
    ship.Hull = 0;
    for (int frame = 0; frame < 10; ++frame) g.Frame();
    ship.InPlay = 0;
    for (int frame = 0; frame < 30; ++frame) g.Frame();
    EXPECT_EQ(ship.ExplosionTimer, 10);
    EXPECT_EQ(ship.Exploding, 1);
    ship.InPlay = 1;
    g.Frame();
    EXPECT_EQ(ship.ExplosionTimer, 11);
}

TEST(Destruction, AShipComesBackWholeAtARandomPlace) {
    ArenaFixture f;
    f.World.Rng.Seed(777);
    TShip& ship = f.PlaceShip(2, 50, 60);
    ship.MaxShields = 80;
    ship.MaxHull = 120;
    ship.Hull = 0;
    ship.Shields = -30;
    ship.Score = 450;
    ship.PrimaryReload = 1000;
    ship.Target = 2;
    f.PlaceShip(6, 1500, 1200);
    f.PlaceShip(5, 1400, 1100).Dead = 1;
    f.World.ControlledShip = 6;  // the player's ship stays where it is

    // Ships flown by the computer draw random numbers every frame; the place is the first
    // draw of the frame in which the wait runs out, in the order X, Y, heading.
    int frames = 0;
    while (!(ship.AwaitingRespawn && ship.RespawnTimer == 1)) {
        f.Frame();
        ASSERT_LT(++frames, 400);
    }
    RandomGenerator expected = f.World.Rng;
    const int32_t x = expected.Random(1447) + 300;
    const int32_t y = expected.Random(935) + 300;
    const double heading = expected.Random(3) * 90;

    const Timeline t = RunUntilBack(f, 2);
    ASSERT_GT(t.back, 0);
    frames += t.back;
    EXPECT_EQ(ship.X, x);
    EXPECT_EQ(ship.Y, y);
    EXPECT_EQ(ship.Heading, heading);
    EXPECT_EQ(ship.Shields, 80);
    EXPECT_EQ(ship.Hull, 120);
    EXPECT_EQ(ship.Score, 450);                 // kept between lives
    EXPECT_EQ(ship.PrimaryReload, 1000 - frames);  // only counted down: re-entry leaves reloads alone
    EXPECT_EQ(ship.Target, 6);                  // the nearest live ship: the wreck in slot 5 is passed over
    EXPECT_EQ(ship.Exploding + ship.AwaitingRespawn + ship.Appearing + ship.ExplosionTimer, 0);

    // Destroyed again: the score still carries over.
    ship.Hull = 0;
    ASSERT_GT(RunUntilBack(f, 2).back, 0);
    EXPECT_EQ(ship.Score, 450);
}

TEST(Destruction, WithNoOtherShipTheReturningShipTargetsItself) {
    ArenaFixture f;
    f.PlaceShip(9, 500, 500).Hull = 0;
    f.World.Ships[9].Target = 3;
    ASSERT_GT(RunUntilBack(f, 9).back, 0);
    EXPECT_EQ(f.World.Ships[9].Target, 9);
}

}  // namespace
}  // namespace kelvane
