#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "combat/ArenaFixture.h"
#include "combat/Shields.h"
#include "combat/Weapons.h"

namespace kelvane {
namespace {

using testing::ArenaFixture;

TEST(SpecialDevice, TachyonPulseLaunchesAHarmlessShot) {
    ArenaFixture f;
    TShip& ship = f.PlaceShip(1, 1000, 1000);
    f.PlaceShip(2, 1000, 500);
    ship.SpecialDevice = "TACHYON_PULSE";
    ship.Target = 2;
    UseSpecialDevice(f.arena, 1);
    ASSERT_EQ(f.ActiveProjectiles(), 1);
    const TProjectileWeapon& shot = f.World.Projectiles[1];
    EXPECT_EQ(shot.ImageIndex, 21);
    EXPECT_EQ(shot.Speed, 15.0);
    EXPECT_EQ(shot.Damage, 0);
    EXPECT_EQ(shot.Homing, 0);
    EXPECT_EQ(shot.Effect, "TACHYON_EFFECT");
    EXPECT_EQ(shot.Owner, 1);
    EXPECT_EQ(shot.Target, 2);
    EXPECT_EQ(shot.X, 990);
    EXPECT_EQ(ship.SpecialReload, 200);
    EXPECT_EQ(f.Waves.PlayCount(1), 1u);
}

TEST(SpecialDevice, NothingHappensWhenTheDeviceCannotFire) {
    struct Case { const char* device; int target; int32_t reload; bool fullTable; };
    const std::vector<Case> cases = {
        {"TACHYON_PULSE", 2, 1, false}, {"TACHYON_PULSE", 1, 0, false}, {"NONE", 2, 0, false},
        {"tachyon_pulse", 2, 0, false}, {"TACHYON_PULSE", 2, 0, true},
    };
    for (const Case& c : cases) {
        ArenaFixture f;
        TShip& ship = f.PlaceShip(1, 1000, 1000);
        f.PlaceShip(2, 1000, 500);
        ship.SpecialDevice = c.device;
        ship.Target = static_cast<uint8_t>(c.target);
        ship.SpecialReload = c.reload;
        if (c.fullTable)
            for (TProjectileWeapon& shot : f.World.Projectiles) shot.Active = 1;
        UseSpecialDevice(f.arena, 1);
        EXPECT_EQ(f.ActiveProjectiles(), c.fullTable ? MaxProjectiles : 0) << c.device;
        EXPECT_EQ(ship.SpecialReload, c.reload) << c.device;
        EXPECT_EQ(f.TotalPlays(), 0u) << c.device;
    }
}

// Frame of the shields' return, counting the frame of the hit (whose own shield step
// runs after the collision) as frame 1.
int ReturnFrame(World& world, int s) {
    for (int frame = 1; frame <= 200; ++frame) {
        ReturnShields(world);
        if (world.Ships[s].ShieldsUp) return frame;
    }
    return 0;
}

TEST(SpecialDevice, KnockedOutShieldsReturnInThe60thOr80thFrame) {
    std::set<int> frames;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        World world;
        world.Rng.Seed(seed);
        TShip& ship = world.Ships[5];
        ship.InPlay = 1;
        ship.ShieldsUp = 1;
        ship.Shields = 120;
        ship.Hull = 80;
        KnockOutShields(world, 5);
        EXPECT_EQ(ship.Shields, 0);
        EXPECT_EQ(ship.StoredShields, 120);
        EXPECT_EQ(ship.Hull, 80);
        const int timer = ship.ShieldsDownTimer;
        const int frame = ReturnFrame(world, 5);
        EXPECT_EQ(frame, timer);
        EXPECT_EQ(ship.Shields, 120);
        EXPECT_EQ(ship.StoredShields, 0);
        EXPECT_EQ(ship.ShieldsDownTimer, 0);
        frames.insert(frame);
    }
    EXPECT_EQ(frames, (std::set<int>{60, 80}));
}

TEST(SpecialDevice, ASecondHitOrHandLoweredShieldsComeBackEmpty) {
    struct Case { const char* name; bool secondHit; bool loweredByHand; };
    for (const Case& c : std::vector<Case>{{"second hit", true, false}, {"lowered by hand", false, true}}) {
        World world;
        TShip& ship = world.Ships[5];
        ship.InPlay = 1;
        ship.ShieldsUp = 1;
        ship.Shields = 120;
        if (c.loweredByHand) {
            ship.ShieldsUp = 0;
            ship.StoredShields = 120;
            ship.Shields = 0;
        }
        KnockOutShields(world, 5);
        if (c.secondHit) {
            ReturnShields(world);
            KnockOutShields(world, 5);
        }
        EXPECT_EQ(ship.StoredShields, 0) << c.name;
        EXPECT_GT(ReturnFrame(world, 5), 0) << c.name;
        EXPECT_EQ(ship.ShieldsUp, 1) << c.name;
        EXPECT_EQ(ship.Shields, 0) << c.name;
    }
}

TEST(SpecialDevice, ShieldReturnWaitsForPlayAndIgnoresHandLoweredShields) {
    World world;
    TShip& out = world.Ships[5];
    out.ShieldsDownTimer = 60;
    out.StoredShields = 120;
    TShip& byHand = world.Ships[6];
    byHand.InPlay = 1;
    byHand.StoredShields = 90;
    for (int frame = 0; frame < 100; ++frame) ReturnShields(world);
    EXPECT_EQ(out.ShieldsDownTimer, 60);  // frozen while out of play
    EXPECT_EQ(out.ShieldsUp, 0);
    EXPECT_EQ(byHand.ShieldsUp, 0);  // only the shield key raises these
    EXPECT_EQ(byHand.StoredShields, 90);
    out.InPlay = 1;
    EXPECT_EQ(ReturnFrame(world, 5), 60);
    EXPECT_EQ(out.Shields, 120);
}

}  // namespace
}  // namespace kelvane
