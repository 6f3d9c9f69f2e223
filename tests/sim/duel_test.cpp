// One duel: both ships flown by the computer, the first destruction decides it on the
// frame it starts, stalemates are broken by new places, and duels share nothing.

#include <gtest/gtest.h>

#include <string>

#include "Duel.h"
#include "LoadedGround.h"
#include "combat/Opponents.h"

namespace kelvane::sim {
namespace {

using testing::Shipped;

// Ships that cannot hurt each other: only the stalemate watch changes anything.
void Disarm(kelvane::World& world, int slot) {
    TShip& ship = world.Ships[slot];
    ship.PrimaryWeaponType = ship.SecondaryWeaponType = ship.SpecialDevice = "NONE";
}

TEST(Duel, BothShipsAreFlownByTheComputer) {
    Duel duel(Shipped().Ground, "Vigil", "Kestrel", 5);
    kelvane::World& world = duel.World();
    EXPECT_EQ(world.ShipCount, 2);
    EXPECT_EQ(world.ControlledShip, 0);
    EXPECT_EQ(world.Ships[duel.FirstSlot()].ShipName, "Vigil");
    EXPECT_EQ(world.Ships[duel.SecondSlot()].ShipName, "Kestrel");
    EXPECT_FALSE(duel.Step());
    // Only the computer sets a ship going at its fixed speed; both start at a standstill.
    EXPECT_EQ(world.Ships[duel.FirstSlot()].Speed, ComputerSpeed);
    EXPECT_EQ(world.Ships[duel.SecondSlot()].Speed, ComputerSpeed);
}

TEST(Duel, TheFirstDestructionDecidesOnTheFrameItStarts) {
    struct Case {
        bool firstDown, secondDown;
        DuelWinner winner;
    };
    for (const Case& c : {Case{false, true, DuelWinner::First}, Case{true, false, DuelWinner::Second},
                          Case{true, true, DuelWinner::None}}) {
        Duel duel(Shipped().Ground, "Bastion", "Wisp", 77);
        for (int frame = 1; frame <= 37; ++frame) ASSERT_FALSE(duel.Step()) << frame;
        // Hull gone after frame 37: the destruction starts in frame 38's update.
        if (c.firstDown) duel.World().Ships[duel.FirstSlot()].Hull = 0;
        if (c.secondDown) duel.World().Ships[duel.SecondSlot()].Hull = 0;
        ASSERT_TRUE(duel.Step());
        EXPECT_EQ(duel.Result().Winner, c.winner);
        EXPECT_EQ(duel.Result().Frames, 38u);
        // Decided is decided: no further frame runs.
        EXPECT_TRUE(duel.Step());
        EXPECT_EQ(duel.Result().Frames, 38u);
    }
}

TEST(Duel, RunDuelReportsTheLoserAsLosingOnTheRightFrame) {
    // A kill on a frame the duel has not chosen: the result names the survivor and the frame
    // in which the other's hull gone made it Dead.
    const DuelResult result = RunDuel(Shipped().Ground, "Bastion", "Wisp", 3, 15000);
    ASSERT_NE(result.Winner, DuelWinner::None);
    Duel replay(Shipped().Ground, "Bastion", "Wisp", 3);
    for (uint64_t frame = 1; frame < result.Frames; ++frame) ASSERT_FALSE(replay.Step()) << frame;
    ASSERT_TRUE(replay.Step());
    const int loser = result.Winner == DuelWinner::First ? replay.SecondSlot() : replay.FirstSlot();
    const int winner = result.Winner == DuelWinner::First ? replay.FirstSlot() : replay.SecondSlot();
    EXPECT_EQ(replay.World().Ships[loser].Dead, 1);
    EXPECT_EQ(replay.World().Ships[loser].ExplosionTimer, 1);  // the explosion's first frame
    EXPECT_EQ(replay.World().Ships[winner].Dead, 0);
}

TEST(Duel, AStalemateIsBrokenByNewPlacesAfterAThousandQuietFrames) {
    Duel duel(Shipped().Ground, "Ardent", "Halberd", 11);
    kelvane::World& world = duel.World();
    Disarm(world, duel.FirstSlot());
    Disarm(world, duel.SecondSlot());
    for (int frame = 1; frame <= 499; ++frame) duel.Step();
    world.Ships[duel.FirstSlot()].Shields -= 5;  // a loss, seen in frame 500, restarts the count
    for (int frame = 500; frame <= 1499; ++frame) duel.Step();
    EXPECT_EQ(duel.Result().Scatters, 0u);
    const TShip& ship = world.Ships[duel.FirstSlot()];
    const int32_t x = ship.X, y = ship.Y;
    duel.Step();  // frame 1500: a thousand frames without a loss
    EXPECT_EQ(duel.Result().Scatters, 1u);
    EXPECT_TRUE(ship.X != x || ship.Y != y);
    EXPECT_TRUE(ship.X >= 300 && ship.X <= 1746 && ship.Y >= 300 && ship.Y <= 1234);
    for (int frame = 1501; frame <= 2499; ++frame) duel.Step();
    EXPECT_EQ(duel.Result().Scatters, 1u);
    duel.Step();
    EXPECT_EQ(duel.Result().Scatters, 2u);
    EXPECT_EQ(duel.Result().Winner, DuelWinner::None);
}

TEST(Duel, TheSameSeedPlaysTheSameDuelAndTheLoadedWorldStaysUntouched) {
    const kelvane::World& loaded = Shipped().Form.World;
    const uint32_t rngBefore = loaded.Rng.State();
    const DuelResult one = RunDuel(Shipped().Ground, "Sable", "Talon", 42, 15000);
    const DuelResult two = RunDuel(Shipped().Ground, "Sable", "Talon", 42, 15000);
    EXPECT_EQ(one.Winner, two.Winner);
    EXPECT_EQ(one.Frames, two.Frames);
    EXPECT_EQ(one.Scatters, two.Scatters);
    EXPECT_EQ(loaded.Rng.State(), rngBefore);
    EXPECT_EQ(loaded.ShipCount, 0);
    for (const TShip& ship : loaded.Ships) EXPECT_EQ(ship.InPlay, 0);
}

TEST(Duel, ANameTheConsoleCannotPutIntoPlayIsAnError) {
    EXPECT_THROW(Duel(Shipped().Ground, "Vigil", "Nobody", 1), DuelError);
    EXPECT_THROW(Duel(Shipped().Ground, "Vigil", "Vigil", 1), DuelError);  // one slot per type
}

}  // namespace
}  // namespace kelvane::sim
