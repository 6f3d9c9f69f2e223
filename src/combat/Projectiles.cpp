#include "combat/Projectiles.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "combat/Damage.h"
#include "combat/Geometry.h"
#include "combat/Shields.h"
#include "base/Extended.h"
#include "base/Rounding.h"
#include "world/TextUtil.h"

namespace kelvane {

namespace {

// The flight area: a projectile ends once it is more than 32 pixels off the world.
constexpr int32_t AreaLeft = -32;
constexpr int32_t AreaRight = WorldWidth + 31;
constexpr int32_t AreaTop = -32;
constexpr int32_t AreaBottom = WorldHeight + 31;

constexpr double HomingStep = 0.5;
constexpr double HomingLimit = 2.0;
constexpr double StraightAfter = 2047.0;  // pixels of flight after which a torpedo stops steering


// The picture of an item, or nullptr when the list has no such item: a missing picture
// must not throw in the middle of the collision loop.
const TPictureCollectionItem* ItemOrNull(const TImageList& list, int32_t index) {
    if (index < 0 || index >= list.Count()) return nullptr;
    return &list.Item(index);
}

// True when the projectile lies so far from the ship's centre that no turn can bring it
// into the hit box: the turned point keeps its distance up to rounding (under 1.25
// pixels), and the box reaches at most half its diagonal from the centre. Collisions
// test every projectile against every ship each frame, so this spares the arctangent,
// the roots and the four sines of the exact test for all the far pairs. Only sane
// positions, sizes and headings take the shortcut; anything else goes the exact way.
bool SurelyMisses(const TProjectileWeapon& shot, const TShip& ship, int64_t w, int64_t h) {
    constexpr int64_t SaneCoordinate = int64_t{1} << 30;
    constexpr int64_t SaneSize = int64_t{1} << 20;
    const auto sane = [](int64_t value, int64_t limit) { return value >= -limit && value <= limit; };
    if (!sane(ship.X, SaneCoordinate) || !sane(ship.Y, SaneCoordinate)) return false;
    if (!sane(w, SaneSize) || !sane(h, SaneSize)) return false;
    if (!(ship.Heading >= 0.0 && ship.Heading <= 360.0)) return false;
    const double dx = static_cast<double>(int64_t{shot.X} - ship.X);
    const double dy = static_cast<double>(int64_t{shot.Y} - ship.Y);
    const double reach = std::sqrt(static_cast<double>(w * w + h * h)) / 2.0 + 2.0;
    return dx * dx + dy * dy > reach * reach;
}

}  // namespace

int FindFreeProjectile(const World& world) {
    for (int p = 1; p <= MaxProjectiles; ++p)
        if (!world.Projectiles[p].Active) return p;
    return 0;
}

bool LaunchProjectile(Arena& arena, int s, const ProjectileLaunch& launch) {
    World& world = arena.World;
    const TShip& ship = world.Ships[s];
    static_cast<void>(world.Ships[ship.Target]);  // a bad target index throws before anything changes
    const int p = FindFreeProjectile(world);
    if (p == 0) return false;  // a full table: the weapon is treated as not ready
    arena.Play(launch.Sound);
    TProjectileWeapon& shot = world.Projectiles[p];
    shot.X = SaturatingAdd(ship.X, -10);  // 10 pixels left of the centre, whatever the heading
    shot.Y = ship.Y;
    shot.Speed = launch.Speed;
    shot.Heading = AimAngle(world, s, ship.Target);
    shot.TurnRate = 0;
    shot.Target = ship.Target;
    shot.Owner = static_cast<uint8_t>(s);
    shot.ImageIndex = launch.ImageIndex;
    shot.Frame = 0;
    shot.Damage = launch.Damage;
    shot.Age = 0;
    shot.Homing = launch.Homing ? 1 : 0;
    shot.Effect = launch.Effect;
    shot.Active = 1;
    return true;
}

void AnimateProjectiles(Arena& arena) {
    for (TProjectileWeapon& shot : arena.World.Projectiles) {
        if (!shot.Active) continue;
        ++shot.Frame;
        // A projectile whose picture is missing has no patterns to cycle through.
        const TPictureCollectionItem* item = ItemOrNull(arena.Images, shot.ImageIndex);
        const int64_t patterns = item ? item->PatternCount() : 0;
        if (shot.Frame > patterns - 1) shot.Frame = 0;
    }
}

void MoveProjectile(World& world, int p) {
    TProjectileWeapon& shot = world.Projectiles[p];
    HeadingStep(shot.X, shot.Y, shot.Speed, shot.Heading, shot.TurnRate);
    if (shot.X < AreaLeft || shot.X > AreaRight || shot.Y < AreaTop || shot.Y > AreaBottom) shot.Active = 0;
    shot.Age = SaturatingAdd(shot.Age, 1);
}

void MoveProjectiles(World& world) {
    for (int p = 1; p <= MaxProjectiles; ++p)
        if (world.Projectiles[p].Active) MoveProjectile(world, p);
}

void HomeProjectiles(Arena& arena) {
    World& world = arena.World;
    for (TProjectileWeapon& shot : world.Projectiles) {
        if (!shot.Active || !shot.Homing) continue;
        // A torpedo first clears its own ship; an owner without a picture has nothing to clear.
        const TPictureCollectionItem* ownerPicture =
            ItemOrNull(arena.ShipImages, world.Ships[shot.Owner].ImageIndex);
        const double clearance = ownerPicture ? ownerPicture->PatternHeight : 0;
        const double flown = static_cast<double>(shot.Age) * shot.Speed;
        if (!(flown > clearance)) continue;

        // The target is followed whatever its state, also while it is destroyed.
        const TShip& target = world.Ships[shot.Target];
        const int32_t bearing = Bearing(shot.X, shot.Y, target.X, target.Y);
        const int32_t nose = RoundEven(shot.Heading);
        if (TurnDirection(bearing, nose) == 1) shot.TurnRate -= HomingStep;
        if (TurnDirection(bearing, nose) == 2) shot.TurnRate += HomingStep;
        // Beyond the limit the turn starts again from straight: 0.5, 1.0, 1.5, 2.0, 0, ...
        if (shot.TurnRate > HomingLimit) shot.TurnRate = 0;
        if (shot.TurnRate < -HomingLimit) shot.TurnRate = 0;
        if (flown > StraightAfter) shot.TurnRate = 0;
    }
}

void DoProjectileCollision(Arena& arena, int p, int s) {
    World& world = arena.World;
    TProjectileWeapon& shot = world.Projectiles[p];
    TShip& ship = world.Ships[s];
    // The cheap refusals first: the shooter, ships out of play and wrecks are never hit.
    if (s == shot.Owner || !ship.InPlay || ship.Dead) return;
    // A ship without a picture has no hit mask, so nothing can hit it.
    const TPictureCollectionItem* picture = ItemOrNull(arena.ShipImages, ship.ImageIndex);
    if (!picture) return;

    const int64_t w = picture->PatternWidth;
    const int64_t h = picture->PatternHeight;
    if (SurelyMisses(shot, ship, w, h)) return;

    // The projectile's position turned into the frame of the unrotated ship (nose up).
    int32_t distance = 0;  // stays 0 for a projectile right on the ship's centre
    const int32_t bearing = AngleAndDistance(ship.X, ship.Y, shot.X, shot.Y, distance);
    const int32_t relative = AngleDiff(bearing, RoundEven(ship.Heading));
    const int64_t lx = PolarOffset(ship.X, ship.Y, distance, "X", relative);
    const int64_t ly = PolarOffset(ship.X, ship.Y, distance, "Y", relative);

    // The picture's rectangle shrunk by 7 pixels on every side (PtInRect: right and
    // bottom edges are outside).
    const int64_t left = ship.X - w / 2 + HitBoxInset;
    const int64_t top = ship.Y - h / 2 + HitBoxInset;
    const int64_t right = ship.X + w / 2 - HitBoxInset;
    const int64_t bottom = ship.Y + h / 2 - HitBoxInset;
    if (!(left <= lx && lx < right && top <= ly && ly < bottom)) return;

    // The hit mask is the pattern beside the drawn one.
    const int64_t column = w + (lx - left);
    const int64_t row = ly - top;
    if (column > std::numeric_limits<int32_t>::max() || row > std::numeric_limits<int32_t>::max()) return;
    if (picture->PixelColor(static_cast<int32_t>(column), static_cast<int32_t>(row)) != HitMaskColor) return;

    const int owner = shot.Owner;
    ApplyDamage(world, s, ShotDamage(world, owner, s, shot.Damage));

    const std::string effect = UpperCaseText(shot.Effect);
    if (effect == "TACHYON_EFFECT") {
        KnockOutShields(world, s);
    } else if (effect == "POLARON_EFFECT") {
        // Polaron hits slow the target's guns.
        const Extended slower(1.25);
        ship.PrimaryReload = RoundEven(Extended(ship.PrimaryReload) * slower);
        ship.SecondaryReload = RoundEven(Extended(ship.SecondaryReload) * slower);
    }
    shot.Active = 0;
    AwardPoints(world, owner, s);
}

void CollideProjectiles(Arena& arena) {
    World& world = arena.World;
    for (int p = 1; p <= MaxProjectiles; ++p) {
        // A hit only ever ends a projectile, so one that is not flying now meets no ship
        // in this pass: skipping it whole spares 64 tests for each idle slot.
        if (!world.Projectiles[p].Active) continue;
        for (int s = 1; s <= MaxShips; ++s) {
            if (world.Ships[s].InPlay && world.Projectiles[p].Active) DoProjectileCollision(arena, p, s);
        }
    }
}

}  // namespace kelvane
