#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "combat/ArenaFixture.h"
#include "combat/Opponents.h"

namespace kelvane {
namespace {

using testing::ArenaFixture;

// Computer ship 2 at (1000, 1000) hunting ship 1, 500 pixels straight above it (bearing 0).
struct Hunt : ArenaFixture {
    Hunt() {
        PlaceShip(1, 1000, 500);
        PlaceShip(2, 1000, 1000).Target = 1;
        World.ControlledShip = 1;
    }
    TShip& ai() { return World.Ships[2]; }
};

TEST(ComputerSteering, AngleBandsTurnTheNoseOntoTheTarget) {
    // Heading = how far the nose lies clockwise of the bearing.
    struct Case { double heading; double turnRate; };
    const std::vector<Case> cases = {
        {5, 0},      {355, 0},    {0, 0},      {9, 0},      {350, 0},
        {10, -1.5},  {30, -1.5},  {89, -1.5},
        {90, 2.0},   {180, 2.0},  {269, 2.0},
        {270, 1.5},  {330, 1.5},  {349, 1.5},
        {359.6, 0},  // the nose rounds to 360
    };
    for (const Case& c : cases) {
        Hunt h;
        h.ai().Heading = c.heading;
        DoAIMove(h.arena, 2);
        EXPECT_EQ(h.ai().TurnRate, c.turnRate) << "heading " << c.heading;
        EXPECT_EQ(h.ai().Speed, 6.0);
        EXPECT_EQ(h.ai().EdgeTurn, 0);
    }
}

TEST(ComputerSteering, WithADestroyedTargetTheRandomWanderStands) {
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        Hunt h;
        h.World.Rng.Seed(seed);
        h.World.Ships[1].Dead = 1;
        h.World.Ships[1].InPlay = 0;
        RandomGenerator expected;
        expected.Seed(seed);
        const double wander = expected.Random(4) - 2;  // the first draw of the move
        DoAIMove(h.arena, 2);
        EXPECT_EQ(h.ai().TurnRate, wander) << seed;
        EXPECT_EQ(h.ai().Target, 2);  // nothing else to hunt
    }
}

TEST(ComputerSteering, TurnsAwayFromTheEdgeOnceAndClearsInside) {
    Hunt h;
    h.World.Rng.Seed(5);
    h.ai().X = 200;
    RandomGenerator expected;
    expected.Seed(5);
    const double turn = expected.Random(100) < 50 ? -2.0 : 2.0;
    DoAIMove(h.arena, 2);
    EXPECT_EQ(h.ai().TurnRate, turn);
    EXPECT_EQ(h.ai().EdgeTurn, 1);
    // Still outside: no new draw and the same turn.
    const uint32_t state = h.World.Rng.State();
    h.ai().Y = 1400;
    DoAIMove(h.arena, 2);
    EXPECT_EQ(h.World.Rng.State(), state);
    EXPECT_EQ(h.ai().TurnRate, turn);
    h.ai().X = 1000;
    h.ai().Y = 1000;
    DoAIMove(h.arena, 2);
    EXPECT_EQ(h.ai().EdgeTurn, 0);
}

TEST(ComputerSteering, OnTheLinesOfTheBoxTheTurnStays) {
    struct Case { int32_t x, y; };
    for (const Case& c : std::vector<Case>{{250, 1000}, {1797, 1000}, {1000, 250}, {1000, 1285}}) {
        Hunt h;
        h.ai().X = c.x;
        h.ai().Y = c.y;
        h.ai().TurnRate = 0.7;
        h.ai().EdgeTurn = 1;
        const uint32_t state = h.World.Rng.State();
        DoAIMove(h.arena, 2);
        EXPECT_EQ(h.ai().TurnRate, 0.7) << c.x << "," << c.y;
        EXPECT_EQ(h.ai().EdgeTurn, 1) << c.x << "," << c.y;
        EXPECT_EQ(h.World.Rng.State(), state);
    }
}

TEST(ComputerTargets, TakesTheNearestShipWhenItsTargetIsGone) {
    struct Case { const char* name; int target; int32_t targetDistance; uint8_t targetDead, targetInPlay;
                  int expected; };
    const std::vector<Case> cases = {
        {"in reach", 1, 1163, 0, 1, 1},
        {"too far", 1, 1164, 0, 1, 4},
        {"destroyed", 1, 300, 1, 1, 4},
        {"out of play", 1, 300, 0, 0, 4},
        {"itself", 2, 300, 0, 1, 1},  // ship 1, 300 away, is then the nearest
    };
    for (const Case& c : cases) {
        ArenaFixture f;
        f.PlaceShip(1, 300, 300 + c.targetDistance);
        f.World.Ships[1].Dead = c.targetDead;
        f.World.Ships[1].InPlay = c.targetInPlay;
        f.PlaceShip(2, 300, 300).Target = static_cast<uint8_t>(c.target);
        f.PlaceShip(4, 900, 300);  // 600 away
        f.PlaceShip(6, 300, 900);  // just as far: the lower slot wins
        DoAIMove(f.arena, 2);
        EXPECT_EQ(f.World.Ships[2].Target, c.expected) << c.name;
    }
}

TEST(ComputerPlay, ADestroyedShipDoesNothing) {
    Hunt h;
    h.ai().Dead = 1;
    h.ai().Speed = 0;
    h.ai().TurnRate = 0.25;
    h.ai().Target = 2;
    h.ai().SecondaryWeaponType = "TORPEDO_PHOTON";
    const uint32_t state = h.World.Rng.State();
    DoAIMove(h.arena, 2);
    EXPECT_EQ(h.ai().Speed, 0);
    EXPECT_EQ(h.ai().TurnRate, 0.25);
    EXPECT_EQ(h.ai().Target, 2);
    EXPECT_EQ(h.ActiveProjectiles(), 0);
    EXPECT_EQ(h.World.Rng.State(), state);
}

TEST(ComputerPlay, BeamShipsFireOnAFivePercentDraw) {
    bool sawFire = false, sawHold = false;
    for (uint32_t seed = 1; seed <= 400 && !(sawFire && sawHold); ++seed) {
        Hunt h;
        h.World.Ships[1].Y = 800;  // 200 pixels: within the beam range of 300
        h.World.Rng.Seed(seed);
        h.ai().PrimaryWeaponType = "PHASER_ORANGE";
        h.ai().Heading = 90;  // the target is off the nose: no launches
        RandomGenerator expected;
        expected.Seed(seed);
        expected.Random(4);
        const bool fires = expected.Random(100) < 5;
        DoAIMove(h.arena, 2);
        EXPECT_EQ(h.ActiveBeams(), fires ? 1 : 0) << seed;
        sawFire = sawFire || fires;
        sawHold = sawHold || !fires;
    }
    EXPECT_TRUE(sawFire && sawHold);
}

TEST(ComputerPlay, OnlyBeamShipsDrawTheBeamChance) {
    struct Case { const char* primary; int draws; };
    // Heading 90 keeps the target out of the cone.
    for (const Case& c : std::vector<Case>{{"DISRUPTOR_MARK1", 1}, {"NONE", 1}, {"BEAM_POLARON", 2}}) {
        Hunt h;
        h.World.Ships[1].Y = -100;  // 1100 pixels: beyond beam range, so a beam never fires
        h.ai().PrimaryWeaponType = c.primary;
        h.ai().Heading = 90;
        RandomGenerator expected;
        expected.Seed(12345);
        for (int i = 0; i < c.draws; ++i) expected.Random(1);
        DoAIMove(h.arena, 2);
        EXPECT_EQ(h.World.Rng.State(), expected.State()) << c.primary;
    }
}

TEST(ComputerPlay, LaunchesOnlyWithinTheTenDegreeCone) {
    // Target straight above: bearing 0. The cone is (h - 10, h + 10].
    struct Case { double heading; bool launches; };
    const std::vector<Case> cases = {{0, true},  {350, true}, {10, false},
                                     {355, true}, {5, true},  {340, false}};
    for (const Case& c : cases) {
        Hunt h;
        h.World.Ships[1].Y = -100;  // 1100 pixels, far beyond beam range: launches test no range
        h.ai().PrimaryWeaponType = "DISRUPTOR_MARK1";
        h.ai().SecondaryWeaponType = "TORPEDO_PHOTON";
        h.ai().SpecialDevice = "TACHYON_PULSE";
        h.ai().Heading = c.heading;
        DoAIMove(h.arena, 2);
        EXPECT_EQ(h.ActiveProjectiles(), c.launches ? 3 : 0) << c.heading;
        if (c.launches) {
            EXPECT_EQ(h.World.Projectiles[1].ImageIndex, 2);   // torpedo first
            EXPECT_EQ(h.World.Projectiles[2].ImageIndex, 13);  // then the disruptor
            EXPECT_EQ(h.World.Projectiles[3].ImageIndex, 21);  // then the device
        }
    }
}

}  // namespace
}  // namespace kelvane
