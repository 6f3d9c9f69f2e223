#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "combat/ArenaFixture.h"
#include "combat/Projectiles.h"

namespace kelvane {
namespace {

using testing::ArenaFixture;
using testing::Magenta;

// Ship 3 at (1000, 1000) with a 40 x 40 picture: its hit box is 987..1012 on both axes.
// Ship 1, far away, fired the projectile in slot 1.
struct Range : ArenaFixture {
    int fullMask = AddShipImage(40, 40);
    Range() {
        PlaceShip(1, 200, 200, fullMask);
        PlaceShip(3, 1000, 1000, fullMask);
    }
    TProjectileWeapon& Shot(int32_t x, int32_t y, int32_t damage = 0, const char* effect = "NONE") {
        TProjectileWeapon& shot = World.Projectiles[1];
        shot.Active = 1;
        shot.X = x;
        shot.Y = y;
        shot.Owner = 1;
        shot.Target = 3;
        shot.Damage = damage;
        shot.Effect = effect;
        return shot;
    }
};

TEST(ProjectileCollision, HitBoxIsThePictureShrunkBySevenPixels) {
    struct Case { int32_t x, y; bool hit; };
    const std::vector<Case> cases = {
        {987, 1000, true},  {986, 1000, false}, {1012, 1000, true}, {1013, 1000, false},
        {1000, 987, true},  {1000, 986, false}, {1000, 1012, true}, {1000, 1013, false},
        {1000, 1000, true},  // right on the centre
    };
    for (const Case& c : cases) {
        Range r;
        r.Shot(c.x, c.y);
        DoProjectileCollision(r.arena, 1, 3);
        EXPECT_EQ(r.World.Projectiles[1].Active, c.hit ? 0 : 1) << c.x << "," << c.y;
    }
}

TEST(ProjectileCollision, TheMaskIsReadInTheShipsOwnFrame) {
    // Only the left wing (mask columns for lx 987..999) is solid.
    struct Case { double heading; int32_t x, y; bool hit; };
    const std::vector<Case> cases = {
        {0, 990, 1000, true},   {0, 1010, 1000, false},
        {90, 1000, 990, true},  {90, 1000, 1010, false},  // nose east: north is on the left
        {180, 1010, 1000, true}, {180, 990, 1000, false},
        {0, 1000, 995, false},  // between the wings it flies on
    };
    for (const Case& c : cases) {
        Range r;
        const int wing = r.AddShipImage(40, 40);
        Bitmap& picture = r.ShipPicture(wing);
        for (int32_t y = 0; y < 40; ++y)
            for (int32_t x = 53; x < 80; ++x) picture.At(x, y) = 0;
        r.World.Ships[3].ImageIndex = static_cast<uint8_t>(wing);
        r.World.Ships[3].Heading = c.heading;
        r.Shot(c.x, c.y);
        DoProjectileCollision(r.arena, 1, 3);
        EXPECT_EQ(r.World.Projectiles[1].Active, c.hit ? 0 : 1) << c.heading << " " << c.x << "," << c.y;
    }
}

TEST(ProjectileCollision, ShipsThatCannotBeHit) {
    struct Case { const char* name; int owner; uint8_t dead, inPlay, image; };
    const std::vector<Case> cases = {
        {"its own ship", 3, 0, 1, 0},
        {"a wreck", 1, 1, 1, 0},
        {"out of play", 1, 0, 0, 0},
        {"a ship whose picture is missing", 1, 0, 1, 40},
    };
    for (const Case& c : cases) {
        Range r;
        TShip& ship = r.World.Ships[3];
        ship.Dead = c.dead;
        ship.InPlay = c.inPlay;
        ship.ImageIndex = c.image;
        r.Shot(1000, 1000, 100).Owner = static_cast<uint8_t>(c.owner);
        EXPECT_NO_THROW(DoProjectileCollision(r.arena, 1, 3)) << c.name;
        EXPECT_EQ(r.World.Projectiles[1].Active, 1) << c.name;
        EXPECT_EQ(ship.Hull, 100) << c.name;
    }
}

TEST(ProjectileCollision, TheLowestShipThatCanBeHitTakesIt) {
    struct Case { const char* name; uint8_t lowerDead, lowerInPlay; int owner; int hitShip; };
    const std::vector<Case> cases = {
        {"both can be hit", 0, 1, 1, 3},
        {"the lower one is a wreck", 1, 1, 1, 5},
        {"the lower one is out of play", 0, 0, 1, 5},
        {"the lower one fired it", 0, 1, 3, 5},
    };
    for (const Case& c : cases) {
        Range r;
        r.PlaceShip(5, 1000, 1000, r.fullMask);
        r.World.Ships[3].Dead = c.lowerDead;
        r.World.Ships[3].InPlay = c.lowerInPlay;
        r.Shot(1000, 1000, 100).Owner = static_cast<uint8_t>(c.owner);
        CollideProjectiles(r.arena);
        EXPECT_EQ(r.World.Projectiles[1].Active, 0) << c.name;
        EXPECT_EQ(r.World.Ships[3].Hull, c.hitShip == 3 ? 25 : 100) << c.name;
        EXPECT_EQ(r.World.Ships[5].Hull, c.hitShip == 5 ? 25 : 100) << c.name;
    }
}

TEST(ProjectileCollision, DamageIsThreeQuartersToFiveQuartersOfTheBase) {
    // An owner with Accuracy 0 rolls nothing: exactly 0.75 of the base, rounded to even.
    struct Case { int32_t damage, shields, shieldsAfter, hullAfter; };
    const std::vector<Case> cases = {
        {100, 10, -65, 100}, {100, 0, 0, 25}, {101, 0, 0, 24}, {6, 0, 0, 96}, {2, 0, 0, 98}, {0, 5, 5, 100},
    };
    for (const Case& c : cases) {
        Range r;
        r.World.Ships[3].Shields = c.shields;
        r.Shot(1000, 1000, c.damage);
        DoProjectileCollision(r.arena, 1, 3);
        EXPECT_EQ(r.World.Ships[3].Shields, c.shieldsAfter) << c.damage;
        EXPECT_EQ(r.World.Ships[3].Hull, c.hullAfter) << c.damage;
    }
    bool sawLow = false, sawHigh = false;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        Range r;
        r.World.Rng.Seed(seed);
        r.World.Ships[1].Accuracy = 100;
        r.World.Ships[3].Hull = 1000;
        r.Shot(1000, 1000, 100);
        DoProjectileCollision(r.arena, 1, 3);
        const int32_t dealt = 1000 - r.World.Ships[3].Hull;
        ASSERT_GE(dealt, 75) << seed;
        ASSERT_LE(dealt, 125) << seed;
        sawLow = sawLow || dealt < 85;
        sawHigh = sawHigh || dealt > 115;
    }
    EXPECT_TRUE(sawLow && sawHigh);
}

TEST(ProjectileCollision, EffectsAndPoints) {
    struct Case { const char* effect; int32_t primary, secondary, primaryAfter, secondaryAfter; };
    const std::vector<Case> cases = {
        {"POLARON_EFFECT", 10, 0, 12, 0}, {"polaron_effect", 3, 7, 4, 9}, {"POLARON_EFFECT", 2, 6, 2, 8},
        {"NONE", 10, 10, 10, 10},
    };
    for (const Case& c : cases) {
        Range r;
        r.World.Ships[3].PrimaryReload = c.primary;
        r.World.Ships[3].SecondaryReload = c.secondary;
        r.Shot(1000, 1000, 0, c.effect);
        DoProjectileCollision(r.arena, 1, 3);
        EXPECT_EQ(r.World.Ships[3].PrimaryReload, c.primaryAfter) << c.effect << " " << c.primary;
        EXPECT_EQ(r.World.Ships[3].SecondaryReload, c.secondaryAfter) << c.effect << " " << c.secondary;
    }

    Range tachyon;
    TShip& hit = tachyon.World.Ships[3];
    hit.Shields = 120;
    tachyon.Shot(1000, 1000, 0, "TACHYON_EFFECT");
    DoProjectileCollision(tachyon.arena, 1, 3);
    EXPECT_EQ(hit.Shields, 0);
    EXPECT_EQ(hit.StoredShields, 120);
    EXPECT_EQ(hit.ShieldsUp, 0);
    EXPECT_EQ(hit.Hull, 100);
    EXPECT_TRUE(hit.ShieldsDownTimer == 60 || hit.ShieldsDownTimer == 80);

    Range kill;
    kill.World.Ships[1].StrengthRating = 200;
    kill.World.Ships[3].StrengthRating = 300;
    kill.World.Ships[3].Hull = 75;
    kill.Shot(1000, 1000, 100);
    DoProjectileCollision(kill.arena, 1, 3);
    EXPECT_EQ(kill.World.Ships[3].Hull, 0);
    EXPECT_EQ(kill.World.Ships[1].Score, 150);
}

TEST(ProjectileFlight, EndsOnlyBeyondThirtyTwoPixelsOffTheWorld) {
    struct Case { int32_t x, y; bool active; };
    const std::vector<Case> cases = {
        {-32, 500, true},  {-33, 500, false},  {2079, 500, true}, {2080, 500, false},
        {500, -32, true},  {500, -33, false},  {500, 1567, true}, {500, 1568, false},
    };
    for (const Case& c : cases) {
        ArenaFixture f;
        TProjectileWeapon& shot = f.World.Projectiles[4];
        shot.Active = 1;
        shot.X = c.x;
        shot.Y = c.y;
        MoveProjectiles(f.World);
        EXPECT_EQ(shot.Active, c.active ? 1 : 0) << c.x << "," << c.y;
        EXPECT_EQ(shot.Age, 1);
    }
    ArenaFixture f;
    TProjectileWeapon& shot = f.World.Projectiles[2];
    shot = {};
    shot.Active = 1;
    shot.X = 100;
    shot.Y = 100;
    shot.Speed = 17;
    shot.Heading = 90;
    MoveProjectile(f.World, 2);
    EXPECT_EQ(shot.X, 117);
    EXPECT_EQ(shot.Y, 100);
}

TEST(ProjectileFlight, AnimationCyclesThroughThePicturesPatterns) {
    ArenaFixture f;
    TProjectileWeapon& shot = f.World.Projectiles[1];
    shot.Active = 1;
    shot.ImageIndex = 2;  // four patterns
    std::vector<int> frames;
    for (int i = 0; i < 5; ++i) {
        AnimateProjectiles(f.arena);
        frames.push_back(shot.Frame);
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 0, 1}));

    shot.ImageIndex = 200;  // no such picture: nothing to cycle, and no error
    EXPECT_NO_THROW(AnimateProjectiles(f.arena));
    EXPECT_EQ(shot.Frame, 0);
}

// A torpedo from ship 1 (picture 100 pixels high) flying north from (1000, 1000).
struct Torpedo : ArenaFixture {
    Torpedo(int32_t targetX, int32_t targetY, double speed, int32_t age) {
        PlaceShip(1, 1000, 1100, AddShipImage(40, 100));
        PlaceShip(2, targetX, targetY);
        TProjectileWeapon& shot = World.Projectiles[1];
        shot.Active = 1;
        shot.Homing = 1;
        shot.X = 1000;
        shot.Y = 1000;
        shot.Speed = speed;
        shot.Age = age;
        shot.Owner = 1;
        shot.Target = 2;
    }
    TProjectileWeapon& shot() { return World.Projectiles[1]; }
};

TEST(Homing, StartsOnceTheTorpedoHasClearedItsOwnShip) {
    Torpedo t(1900, 100, 15.0, 0);
    int startAge = 0;
    for (int frame = 0; frame < 20 && startAge == 0; ++frame) {
        MoveProjectiles(t.World);
        HomeProjectiles(t.arena);
        if (t.shot().TurnRate != 0) startAge = t.shot().Age;
    }
    EXPECT_EQ(startAge, 7);  // 7 x 15 = 105 > 100

    Torpedo straight(1900, 100, 15.0, 50);
    straight.shot().Homing = 0;
    HomeProjectiles(straight.arena);
    EXPECT_EQ(straight.shot().TurnRate, 0);
}

TEST(Homing, TurnRateCyclesWhileTheTargetStaysOnOneSide) {
    struct Case { const char* side; int32_t x, y; std::vector<double> rates; };
    const std::vector<Case> cases = {
        {"right", 1500, 1000, {0.5, 1.0, 1.5, 2.0, 0, 0.5}},
        {"left", 500, 1000, {-0.5, -1.0, -1.5, -2.0, 0, -0.5}},
        {"dead ahead", 1000, 500, {-0.5, -1.0, -1.5, -2.0, 0, -0.5}},
    };
    for (const Case& c : cases) {
        Torpedo t(c.x, c.y, 1.0, 500);
        std::vector<double> rates;
        for (size_t i = 0; i < c.rates.size(); ++i) {
            HomeProjectiles(t.arena);
            rates.push_back(t.shot().TurnRate);
        }
        EXPECT_EQ(rates, c.rates) << c.side;
    }
}

TEST(Homing, FliesStraightAfter2047Pixels) {
    struct Case { double speed; int32_t age; double rate; };
    const std::vector<Case> cases = {{15.0, 136, 0.5}, {15.0, 137, 0}, {1.0, 2047, 0.5}, {1.0, 2048, 0}};
    for (const Case& c : cases) {
        Torpedo t(1500, 1000, c.speed, c.age);
        HomeProjectiles(t.arena);
        EXPECT_EQ(t.shot().TurnRate, c.rate) << c.speed << " x " << c.age;
    }
}

TEST(Homing, AnOwnerWithoutAPictureDoesNotStopTheFrame) {
    Torpedo t(1500, 1000, 1.0, 1);
    t.World.Ships[1].ImageIndex = 99;
    EXPECT_NO_THROW(HomeProjectiles(t.arena));
    EXPECT_EQ(t.shot().TurnRate, 0.5);
}

TEST(ProjectileTable, FirstFreeSlotOrNone) {
    ArenaFixture f;
    EXPECT_EQ(FindFreeProjectile(f.World), 1);
    f.World.Projectiles[1].Active = 1;
    f.World.Projectiles[2].Active = 1;
    EXPECT_EQ(FindFreeProjectile(f.World), 3);
    for (TProjectileWeapon& shot : f.World.Projectiles) shot.Active = 1;
    EXPECT_EQ(FindFreeProjectile(f.World), 0);
}

}  // namespace
}  // namespace kelvane
