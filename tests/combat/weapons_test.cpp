#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "combat/ArenaFixture.h"
#include "combat/Weapons.h"
#include "base/Extended.h"
#include "base/Rounding.h"

namespace kelvane {
namespace {

using testing::ArenaFixture;

// Ship 1 aims at ship 2, 200 pixels above it.
struct Duel : ArenaFixture {
    Duel() {
        PlaceShip(1, 1000, 1000).Target = 2;
        PlaceShip(2, 1000, 800);
        World.ControlledShip = 1;
    }
    TShip& shooter() { return World.Ships[1]; }
    TShip& target() { return World.Ships[2]; }
};

TEST(PrimaryWeapons, ReloadsComeFromThePrimaryStrength) {
    struct Case { const char* primary; const char* secondary; int32_t primaryReload, secondaryReload; };
    const std::vector<Case> cases = {
        {"PHASER_ORANGE", "NONE", 78, 0},   {"BEAM_POLARON", "NONE", 78, 0},
        {"DISRUPTOR_MARK1", "NONE", 31, 0}, {"DISRUPTOR_MARK2", "NONE", 31, 0},
        {"NONE", "PHASER_PULSE", 0, 31},
    };
    for (const Case& c : cases) {
        Duel d;
        d.shooter().PrimaryStrength = 50;
        d.shooter().SecondaryStrength = 7;
        d.shooter().PrimaryWeaponType = c.primary;
        d.shooter().SecondaryWeaponType = c.secondary;
        FirePrimaryWeapon(d.arena, 1);
        EXPECT_EQ(d.shooter().PrimaryReload, c.primaryReload) << c.primary << "/" << c.secondary;
        EXPECT_EQ(d.shooter().SecondaryReload, c.secondaryReload) << c.primary << "/" << c.secondary;
    }
}

TEST(PrimaryWeapons, WhatEachWeaponPutsIntoTheTables) {
    struct Case { const char* primary; const char* secondary; int beams, projectiles, beamImage;
                  int projectileImage; double speed; int32_t damage; int wave; };
    const std::vector<Case> cases = {
        {"PHASER_ORANGE", "NONE", 1, 0, 1, 0, 0, 0, 0},
        {"BEAM_POLARON", "NONE", 1, 0, 10, 0, 0, 0, 0},
        {"DISRUPTOR_MARK1", "NONE", 0, 1, 0, 13, 16.0, 50, 6},
        {"DISRUPTOR_MARK2", "NONE", 0, 1, 0, 14, 17.0, 50, 6},
        {"NONE", "PHASER_PULSE", 0, 1, 0, 9, 17.0, 7, 7},  // damage from the secondary strength
        {"PHASER_PULSE", "NONE", 0, 0, 0, 0, 0, 0, -1},    // not a primary-slot weapon
        {"phaser_orange", "NONE", 0, 0, 0, 0, 0, 0, -1},   // compared exactly
        {"NONE", "TORPEDO_PHOTON", 0, 0, 0, 0, 0, 0, -1},  // belongs to the other trigger
    };
    for (const Case& c : cases) {
        Duel d;
        d.shooter().PrimaryStrength = 50;
        d.shooter().SecondaryStrength = 7;
        d.shooter().PrimaryWeaponType = c.primary;
        d.shooter().SecondaryWeaponType = c.secondary;
        FirePrimaryWeapon(d.arena, 1);
        SCOPED_TRACE(std::string(c.primary) + "/" + c.secondary);
        EXPECT_EQ(d.ActiveBeams(), c.beams);
        EXPECT_EQ(d.ActiveProjectiles(), c.projectiles);
        EXPECT_EQ(d.TotalPlays(), c.wave < 0 ? 0u : 1u);
        if (c.wave >= 0) {
            EXPECT_EQ(d.Waves.PlayCount(c.wave), 1u);
        }
        if (c.beams) {
            const TBeam& beam = d.World.Beams[1];
            EXPECT_EQ(beam.Source, 1);
            EXPECT_EQ(beam.Target, 2);
            EXPECT_EQ(beam.TimeLeft, 15);
            EXPECT_EQ(beam.ImageIndex, c.beamImage);
        }
        if (c.projectiles) {
            const TProjectileWeapon& shot = d.World.Projectiles[1];
            EXPECT_EQ(shot.ImageIndex, c.projectileImage);
            EXPECT_EQ(shot.Speed, c.speed);
            EXPECT_EQ(shot.Damage, c.damage);
            EXPECT_EQ(shot.X, 990);
            EXPECT_EQ(shot.Y, 1000);
            EXPECT_EQ(shot.Heading, 0);  // the target lies dead ahead
            EXPECT_EQ(shot.Owner, 1);
            EXPECT_EQ(shot.Target, 2);
            EXPECT_EQ(shot.Homing, 0);
            EXPECT_EQ(shot.Effect, "NONE");
        }
    }
}

TEST(PrimaryWeapons, BeamAndPulseGoOffInOneCall) {
    Duel d;
    d.shooter().PrimaryStrength = 50;
    d.shooter().PrimaryWeaponType = "PHASER_ORANGE";
    d.shooter().SecondaryWeaponType = "PHASER_PULSE";
    FirePrimaryWeapon(d.arena, 1);
    EXPECT_EQ(d.ActiveBeams(), 1);
    EXPECT_EQ(d.ActiveProjectiles(), 1);
    EXPECT_EQ(d.Waves.PlayCount(0), 1u);
    EXPECT_EQ(d.Waves.PlayCount(7), 1u);
    EXPECT_EQ(d.shooter().PrimaryReload, 78);
    EXPECT_EQ(d.shooter().SecondaryReload, 31);
}

TEST(PrimaryWeapons, NothingFiresWithoutAReadyWeaponOrATarget) {
    struct Case { const char* name; int target; int32_t primaryReload, secondaryReload; int fullBeams;
                  int fullProjectiles; };
    const std::vector<Case> cases = {
        {"aims at itself", 1, 0, 0, 0, 0},
        {"aims at the empty slot 0", 0, 0, 0, 0, 0},
        {"reloading", 2, 1, 1, 0, 0},
        {"every beam shown and every projectile in flight", 2, 0, 0, MaxBeams, MaxProjectiles},
    };
    for (const Case& c : cases) {
        Duel d;
        d.shooter().PrimaryStrength = 50;
        d.shooter().PrimaryWeaponType = "PHASER_ORANGE";
        d.shooter().SecondaryWeaponType = "PHASER_PULSE";
        d.shooter().Target = static_cast<uint8_t>(c.target);
        d.shooter().PrimaryReload = c.primaryReload;
        d.shooter().SecondaryReload = c.secondaryReload;
        d.target().Shields = 10;
        for (int b = 1; b <= c.fullBeams; ++b) d.World.Beams[b].Active = 1;
        for (int p = 1; p <= c.fullProjectiles; ++p) d.World.Projectiles[p].Active = 1;
        const uint32_t rngBefore = d.World.Rng.State();
        FirePrimaryWeapon(d.arena, 1);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(d.TotalPlays(), 0u);
        EXPECT_EQ(d.ActiveBeams(), c.fullBeams);
        EXPECT_EQ(d.ActiveProjectiles(), c.fullProjectiles);
        EXPECT_EQ(d.shooter().PrimaryReload, c.primaryReload);
        EXPECT_EQ(d.shooter().SecondaryReload, c.secondaryReload);
        EXPECT_EQ(d.target().Shields, 10);
        EXPECT_EQ(d.World.Rng.State(), rngBefore);  // no hit roll either
        EXPECT_EQ(d.World.Ships[0].Hull, 0);
        EXPECT_EQ(d.World.Ships[0].Shields, 0);
    }
}

TEST(PrimaryWeapons, ATargetOutsideTheShipTableThrowsBeforeAnythingChanges) {
    for (const char* secondary : {"PHASER_PULSE", "TORPEDO_PHOTON"}) {
        Duel d;
        d.shooter().PrimaryWeaponType = "PHASER_ORANGE";
        d.shooter().SecondaryWeaponType = secondary;
        d.shooter().Target = 70;
        EXPECT_THROW(FirePrimaryWeapon(d.arena, 1), TableIndexError);
        if (std::string(secondary) == "TORPEDO_PHOTON") {
            EXPECT_THROW(FireSecondaryWeapon(d.arena, 1), TableIndexError);
        }
        EXPECT_EQ(d.TotalPlays(), 0u);
        EXPECT_EQ(d.ActiveBeams() + d.ActiveProjectiles(), 0);
        EXPECT_EQ(d.shooter().PrimaryReload + d.shooter().SecondaryReload, 0);
    }
}

TEST(PrimaryWeapons, BeamDamageGoesToShieldsUntilTheyAreGoneThenToTheHull) {
    // Accuracy 0 rolls nothing: the beam deals exactly half its strength, no 0 / 0.
    Duel d;
    d.shooter().PrimaryStrength = 100;
    d.shooter().Accuracy = 0;
    d.shooter().PrimaryWeaponType = "PHASER_ORANGE";
    d.target().Shields = 1;
    d.target().Hull = 200;
    FirePrimaryWeapon(d.arena, 1);
    EXPECT_EQ(d.target().Shields, -49);
    EXPECT_EQ(d.target().Hull, 200);
    d.shooter().PrimaryReload = 0;
    FirePrimaryWeapon(d.arena, 1);
    EXPECT_EQ(d.target().Shields, -49);
    EXPECT_EQ(d.target().Hull, 150);
}

TEST(PrimaryWeapons, BeamDamageStaysWithinItsBoundsAndPolaronWeakensOnTheHull) {
    // Strength and accuracy 100 make the base a whole number: roll + 50.
    bool sawLow = false, sawHigh = false;
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        int32_t shieldDamage = 0, hullDamage = 0, orangeHullDamage = 0;
        for (int variant = 0; variant < 3; ++variant) {
            Duel d;
            d.World.Rng.Seed(seed);
            d.shooter().PrimaryStrength = 100;
            d.shooter().Accuracy = 100;
            d.shooter().PrimaryWeaponType = variant == 2 ? "PHASER_ORANGE" : "BEAM_POLARON";
            d.target().Manoeuvrability = 0;
            d.target().Shields = variant == 0 ? 1000 : 0;
            d.target().Hull = 1000;
            FirePrimaryWeapon(d.arena, 1);
            if (variant == 0) shieldDamage = 1000 - d.target().Shields;
            if (variant == 1) hullDamage = 1000 - d.target().Hull;
            if (variant == 2) orangeHullDamage = 1000 - d.target().Hull;
        }
        ASSERT_GE(shieldDamage, 50) << seed;
        ASSERT_LT(shieldDamage, 150) << seed;
        EXPECT_EQ(hullDamage, RoundEven(Extended(shieldDamage) * Extended::Ratio(9, 10))) << seed;
        EXPECT_EQ(orangeHullDamage, shieldDamage) << seed;
        sawLow = sawLow || shieldDamage < 75;
        sawHigh = sawHigh || shieldDamage > 125;
    }
    EXPECT_TRUE(sawLow && sawHigh);  // the roll really spreads the damage
}

TEST(PrimaryWeapons, AKillingBeamScoresTheStrengthRatio) {
    struct Case { int32_t hull, targetRating, shooterRating, score; };
    const std::vector<Case> cases = {{50, 300, 200, 150}, {51, 300, 200, 0}, {50, 300, 0, 0}};
    for (const Case& c : cases) {
        Duel d;
        d.shooter().PrimaryStrength = 100;
        d.shooter().PrimaryWeaponType = "PHASER_ORANGE";
        d.shooter().StrengthRating = c.shooterRating;
        d.target().StrengthRating = c.targetRating;
        d.target().Hull = c.hull;
        FirePrimaryWeapon(d.arena, 1);
        EXPECT_EQ(d.shooter().Score, c.score) << c.hull << " " << c.shooterRating;
    }
}

TEST(BeamRange, UsesThePlayersAccuracyAndAStrictDistance) {
    struct Case { int32_t controlledAccuracy, askingAccuracy, distance; bool inRange; };
    // Accuracy 225 gives 400 pixels; Accuracy 0 gives 300.
    const std::vector<Case> cases = {{225, 0, 399, true},  {225, 0, 400, false}, {0, 225, 299, true},
                                     {0, 225, 300, false}, {0, 0, 0, true}};
    for (const Case& c : cases) {
        ArenaFixture f;
        f.PlaceShip(1, 1000, 1000).Accuracy = c.controlledAccuracy;
        f.PlaceShip(3, 500, 500).Accuracy = c.askingAccuracy;
        f.PlaceShip(4, 500 + c.distance, 500);
        f.World.Ships[3].Target = 4;
        f.World.ControlledShip = 1;
        EXPECT_EQ(InBeamRange(f.World, 3), c.inRange) << c.controlledAccuracy << " " << c.distance;
    }
    ArenaFixture f;  // before the first ship the empty slot 0 gives the shortest range
    EXPECT_EQ(BeamRange(f.World), 300);
}

TEST(PrimaryWeapons, BeamsAreShownForSixteenFramesAndReloadsCountDown) {
    Duel d;
    d.shooter().PrimaryWeaponType = "PHASER_ORANGE";
    FirePrimaryWeapon(d.arena, 1);
    int framesShown = 0;
    while (d.World.Beams[1].Active) {
        ++framesShown;  // drawn in this frame, then aged
        AgeBeams(d.World);
        ASSERT_LT(framesShown, 100);
    }
    EXPECT_EQ(framesShown, 16);
    EXPECT_EQ(FindFreeBeam(d.World), 1);

    TShip& ship = d.World.Ships[64];
    ship.PrimaryReload = 2;
    ship.SecondaryReload = 1;
    ship.SpecialReload = 0;
    CountDownReloads(d.World);
    EXPECT_EQ(ship.PrimaryReload, 1);
    EXPECT_EQ(ship.SecondaryReload, 0);
    EXPECT_EQ(ship.SpecialReload, 0);
    CountDownReloads(d.World);
    EXPECT_EQ(ship.PrimaryReload, 0);
    EXPECT_EQ(ship.SecondaryReload, 0);
}

TEST(SecondaryWeapons, EachTorpedoTypeLaunchesOneHomingTorpedo) {
    struct Case { const char* type; int image; double speed; const char* effect; };
    const std::vector<Case> cases = {
        {"TORPEDO_PHOTON", 2, 15.0, "NONE"}, {"TORPEDO_QUANTUM", 3, 10.0, "NONE"},
        {"TORPEDO_POLARON", 11, 12.0, "POLARON_EFFECT"}, {"TORPEDO_ION", 12, 9.0, "NONE"},
        {"TORPEDO_PLASMA", 15, 12.0, "NONE"},
    };
    for (const Case& c : cases) {
        for (int32_t secondaryStrength : {5, 500}) {
            Duel d;
            d.shooter().PrimaryStrength = 50;
            d.shooter().SecondaryStrength = secondaryStrength;
            d.shooter().SecondaryWeaponType = c.type;
            d.shooter().Heading = 90;  // target not ahead: the torpedo leaves along the nose
            FireSecondaryWeapon(d.arena, 1);
            SCOPED_TRACE(c.type);
            ASSERT_EQ(d.ActiveProjectiles(), 1);
            const TProjectileWeapon& shot = d.World.Projectiles[1];
            EXPECT_EQ(shot.ImageIndex, c.image);
            EXPECT_EQ(shot.Speed, c.speed);
            EXPECT_EQ(shot.Effect, c.effect);
            EXPECT_EQ(shot.Homing, 1);
            EXPECT_EQ(shot.Damage, secondaryStrength);
            EXPECT_EQ(shot.Heading, 90);
            EXPECT_EQ(shot.X, 990);  // 10 pixels left of the centre whatever the heading
            EXPECT_EQ(shot.Y, 1000);
            EXPECT_EQ(d.shooter().SecondaryReload, 78);
            EXPECT_EQ(d.Waves.PlayCount(1), 1u);
            FireSecondaryWeapon(d.arena, 1);  // reloading now
            EXPECT_EQ(d.ActiveProjectiles(), 1);
        }
    }
}

TEST(SecondaryWeapons, NothingLaunchesWithoutATorpedoAReloadOrATarget) {
    struct Case { const char* type; int target; int32_t reload; bool fullTable; };
    const std::vector<Case> cases = {
        {"PHASER_PULSE", 2, 0, false}, {"NONE", 2, 0, false},         {"TORPEDO_PHOTON", 1, 0, false},
        {"TORPEDO_PHOTON", 2, 3, false}, {"TORPEDO_PHOTON", 2, 0, true},
    };
    for (const Case& c : cases) {
        Duel d;
        d.shooter().SecondaryWeaponType = c.type;
        d.shooter().Target = static_cast<uint8_t>(c.target);
        d.shooter().SecondaryReload = c.reload;
        if (c.fullTable)
            for (TProjectileWeapon& shot : d.World.Projectiles) shot.Active = 1;
        FireSecondaryWeapon(d.arena, 1);
        EXPECT_EQ(d.TotalPlays(), 0u) << c.type;
        EXPECT_EQ(d.ActiveProjectiles(), c.fullTable ? MaxProjectiles : 0) << c.type;
        EXPECT_EQ(d.shooter().SecondaryReload, c.reload) << c.type;
    }
}

}  // namespace
}  // namespace kelvane
