#include "game/PlayerControls.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "combat/ArenaFixture.h"
#include "game/PlayerActions.h"

namespace kelvane {
namespace {

using testing::ArenaFixture;

// The player flies ship 2; ship 5 sits 200 pixels above it.
struct Cockpit : ArenaFixture {
    Cockpit() {
        PlaceShip(2, 1000, 1000).Target = 5;
        PlaceShip(5, 1000, 800);
        World.ControlledShip = 2;
        World.ShipCount = 2;
    }
    TShip& player() { return World.Ships[2]; }
    void Press(std::initializer_list<PlayerAction> actions) {
        for (PlayerAction action : actions) World.KeyState[KeyOf(action)] = 1;
        PlayerControls(arena);
        for (PlayerAction action : actions) World.KeyState[KeyOf(action)] = 0;
    }
};

TEST(PlayerTargets, NextTargetSkipsEmptySlotsAndWraps) {
    struct Case { int from; int to; };
    // Ships in play in slots 2, 5 and 9; the player flies slot 2.
    for (const Case& c : std::vector<Case>{{9, 2}, {2, 5}, {5, 9}, {64, 2}}) {
        Cockpit k;
        k.PlaceShip(9, 300, 300);
        k.World.ShipCount = 3;
        k.player().Target = static_cast<uint8_t>(c.from);
        k.Press({PlayerAction::NextTarget});
        EXPECT_EQ(k.player().Target, c.to) << c.from;
    }
}

TEST(PlayerTargets, SpecialCountsAndTheNearestShip) {
    Cockpit alone;
    alone.World.ShipCount = 1;
    alone.Press({PlayerAction::NextTarget});
    EXPECT_EQ(alone.player().Target, 2);

    Cockpit stale;  // a count that names ships no longer in play must not hang the frame
    stale.World.Ships[2].InPlay = 0;
    stale.World.Ships[5].InPlay = 0;
    stale.Press({PlayerAction::NextTarget});
    EXPECT_EQ(stale.player().Target, 2);

    Cockpit nearest;
    nearest.PlaceShip(7, 1000, 900);
    nearest.PlaceShip(8, 1000, 850).Dead = 1;
    nearest.Press({PlayerAction::NearestTarget});
    EXPECT_EQ(nearest.player().Target, 7);
}

TEST(PlayerWeapons, TriggersNeedALiveTargetAndBeamsTheRange) {
    struct Case {
        const char* name;
        PlayerAction action;
        uint8_t targetDead;
        int32_t targetY;
        int projectiles, beams;
    };
    const std::vector<Case> cases = {
        {"beam in range", PlayerAction::FirePrimary, 0, 800, 0, 1},
        {"beam out of range", PlayerAction::FirePrimary, 0, 600, 0, 0},
        {"beam at a wreck", PlayerAction::FirePrimary, 1, 800, 0, 0},
        {"torpedo at any range", PlayerAction::FireSecondary, 0, 100, 1, 0},
        {"torpedo at a wreck", PlayerAction::FireSecondary, 1, 800, 0, 0},
        {"device", PlayerAction::Special, 0, 100, 1, 0},
        {"device at a wreck", PlayerAction::Special, 1, 800, 0, 0},
    };
    for (const Case& c : cases) {
        Cockpit k;
        k.player().PrimaryWeaponType = "PHASER_ORANGE";
        k.player().SecondaryWeaponType = "TORPEDO_PHOTON";
        k.player().SpecialDevice = "TACHYON_PULSE";
        k.World.Ships[5].Dead = c.targetDead;
        k.World.Ships[5].Y = c.targetY;
        k.Press({c.action});
        EXPECT_EQ(k.ActiveProjectiles(), c.projectiles) << c.name;
        EXPECT_EQ(k.ActiveBeams(), c.beams) << c.name;
    }
}

TEST(PlayerShields, ShieldKeyLowersAndRestoresUnlessADeviceHoldsThemDown) {
    Cockpit k;
    k.player().Shields = 70;
    k.Press({PlayerAction::Shields});
    EXPECT_EQ(k.player().ShieldsUp, 0);
    EXPECT_EQ(k.player().Shields, 0);
    EXPECT_EQ(k.player().StoredShields, 70);
    k.Press({PlayerAction::Shields});
    EXPECT_EQ(k.player().ShieldsUp, 1);
    EXPECT_EQ(k.player().Shields, 70);
    EXPECT_EQ(k.player().StoredShields, 0);

    Cockpit held;
    held.player().ShieldsUp = 0;
    held.player().ShieldsDownTimer = 30;
    held.player().StoredShields = 70;
    held.Press({PlayerAction::Shields});
    EXPECT_EQ(held.player().ShieldsUp, 0);
    EXPECT_EQ(held.player().Shields, 0);
    EXPECT_EQ(held.player().ShieldsDownTimer, 30);
}

TEST(PlayerControls, SelfDestructAndRangeRing) {
    Cockpit k;
    k.Press({PlayerAction::SelfDestruct, PlayerAction::RangeRing});
    EXPECT_EQ(k.player().Hull, 0);
    EXPECT_TRUE(k.World.ShowRange);
    k.Press({PlayerAction::RangeRing});
    EXPECT_FALSE(k.World.ShowRange);
}

TEST(PlayerControls, NoKeyActsForADestroyedShipAnOpenConsoleOrNoShip) {
    struct Case { const char* name; uint8_t dead; bool console; uint8_t controlled; };
    const std::vector<Case> cases = {
        {"destroyed", 1, false, 2}, {"console", 0, true, 2}, {"no ship", 0, false, 0}};
    for (const Case& c : cases) {
        Cockpit k;
        k.player().Dead = c.dead;
        k.player().Shields = 70;
        k.player().PrimaryWeaponType = "PHASER_ORANGE";
        k.player().SecondaryWeaponType = "TORPEDO_PHOTON";
        k.World.ConsoleOpen = c.console;
        k.World.ControlledShip = c.controlled;
        for (const PlayerActionRow& row : PlayerActions) k.World.KeyState[row.Key] = 1;
        PlayerControls(k.arena);
        EXPECT_EQ(k.player().Target, 5) << c.name;
        EXPECT_EQ(k.player().Hull, 100) << c.name;
        EXPECT_EQ(k.player().ShieldsUp, 1) << c.name;
        EXPECT_FALSE(k.World.ShowRange) << c.name;
        EXPECT_EQ(k.ActiveProjectiles() + k.ActiveBeams(), 0) << c.name;
        EXPECT_EQ(k.World.Ships[0].Hull, 0) << c.name;
        EXPECT_EQ(k.World.Ships[0].Target, 0) << c.name;
    }
}

}  // namespace
}  // namespace kelvane
