// The veteran pilot in real duels of the shipped types: it flies with nothing but the
// player's keys, every frame of a long duel, and it beats the classic pilot.

#include <gtest/gtest.h>

#include <array>

#include "Duel.h"
#include "LoadedGround.h"
#include "combat/ShipControls.h"

namespace kelvane::sim {
namespace {

using testing::Shipped;

// Whether some way of holding the four arrow keys takes a ship's turn rate and speed
// (as the frame's snap left them) to `after`.
bool SomeKeysGive(const TShip& before, const TShip& after) {
    for (int held = 0; held < 16; ++held) {
        TShip ship;
        ship.TurnRate = before.TurnRate;
        ship.Speed = before.Speed;
        ship.MaxSpeed = before.MaxSpeed;
        HeldActions keys;
        keys.Hold(PlayerAction::TurnLeft, held & 1);
        keys.Hold(PlayerAction::TurnRight, held & 2);
        keys.Hold(PlayerAction::Thrust, held & 4);
        keys.Hold(PlayerAction::Brake, held & 8);
        Steer(ship, keys);
        if (ship.TurnRate == after.TurnRate && ship.Speed == after.Speed) return true;
    }
    return false;
}

TEST(VeteranDuel, EveryFrameTheShipChangesOnlyAsThePlayersKeysCould) {
    DuelSetup setup;
    setup.Pilots = {Pilot::Veteran, Pilot::Classic};
    setup.Scatter = false;
    Duel duel(Shipped().Ground, "Kestrel", "Vigil", 11, nullptr, setup);
    const int veteran = duel.FirstSlot();
    kelvane::World& world = duel.World();
    int frames = 0, turnsSeen = 0, stops = 0;
    for (; frames < 3000; ++frames) {
        TShip before = world.Ships[veteran];
        // The move and the snap come first in a frame; the keys act on what they leave.
        if (before.TurnRate > -0.25 && before.TurnRate < 0.25) before.TurnRate = 0;
        const int primary = before.PrimaryReload, secondary = before.SecondaryReload, special = before.SpecialReload;
        if (duel.Step()) break;
        const TShip& after = world.Ships[veteran];
        if (after.Dead) break;
        ASSERT_TRUE(SomeKeysGive(before, after)) << "frame " << frames + 1 << ": turn " << before.TurnRate << " -> "
                                                 << after.TurnRate << ", speed " << before.Speed << " -> " << after.Speed;
        ASSERT_LE(after.Speed, std::max(after.MaxSpeed, StartSpeed));
        ASSERT_LE(std::abs(after.TurnRate), TopTurnRate);
        // A reload starts only when it had run out, as the triggers rule (no polaron
        // torpedo in this duel lengthens one).
        if (after.PrimaryReload > primary - 1 && after.PrimaryReload > 0) {
            ASSERT_LE(primary, 1) << frames;
        }
        if (after.SecondaryReload > secondary - 1 && after.SecondaryReload > 0) {
            ASSERT_LE(secondary, 1) << frames;
        }
        if (after.SpecialReload > special - 1 && after.SpecialReload > 0) {
            ASSERT_LE(special, 1) << frames;
        }
        turnsSeen += after.TurnRate != 0;
        stops += after.Speed == 0;
    }
    EXPECT_GT(frames, 200);
    EXPECT_GT(turnsSeen, 0);  // it does fly, with turns and stops of its own
    EXPECT_GT(stops, 0);
}

TEST(VeteranDuel, BeatsTheClassicPilotInEitherSeat) {
    int veteranWins = 0, duels = 0;
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        for (const bool veteranFirst : {true, false}) {
            DuelSetup setup;
            setup.Pilots = veteranFirst ? Seating{Pilot::Veteran, Pilot::Classic} : Seating{Pilot::Classic, Pilot::Veteran};
            const DuelResult result = RunDuel(Shipped().Ground, "Halberd", "Sable", seed, 15000, nullptr, setup);
            ++duels;
            if (result.Winner == (veteranFirst ? DuelWinner::First : DuelWinner::Second)) ++veteranWins;
        }
    }
    EXPECT_GE(veteranWins, 5) << "of " << duels;
}

}  // namespace
}  // namespace kelvane::sim
