#include "combat/Weapons.h"

#include "combat/Damage.h"
#include "combat/Geometry.h"
#include "combat/Projectiles.h"
#include "base/Extended.h"
#include "base/Rounding.h"

namespace kelvane {
namespace {

// A ship aiming at itself has no target. Target 0 is the "no ship" slot: firing at it
// would write damage into the slot that must stay zero, so it counts as no target too.
bool HasOtherTarget(const World& world, int s) {
    const int t = world.Ships[s].Target;
    return t != s && t != 0;
}

int32_t DamageBase(const WeaponRow& row, const TShip& ship) {
    switch (row.Damage) {
        case DamageSource::PrimaryStrength: return ship.PrimaryStrength;
        case DamageSource::SecondaryStrength: return ship.SecondaryStrength;
        case DamageSource::None: break;
    }
    return 0;
}

// A beam hits at once: no flight and no hit test.
void FireBeam(Arena& arena, int s, const WeaponRow& row) {
    World& world = arena.World;
    TShip& ship = world.Ships[s];
    const int t = ship.Target;
    static_cast<void>(world.Ships[t]);  // a bad index throws before anything changes
    const int b = FindFreeBeam(world);
    if (b == 0) return;  // every beam slot is shown: the beam waits like a weapon not ready
    arena.Play(row.Sound);

    TBeam& beam = world.Beams[b];
    beam.Source = static_cast<uint8_t>(s);
    beam.Target = static_cast<uint8_t>(t);
    beam.TimeLeft = BeamLifetime;
    beam.ImageIndex = row.Picture;
    beam.Active = 1;
    ReloadOf(ship, row.Slot) = ReloadFrames(row, ship);

    ApplyDamage(world, t, BeamDamage(world, s, t, row.HullFactor));
    AwardPoints(world, s, t);
}

// Pulse shots, torpedoes and the tachyon shot. With the projectile table full the weapon
// keeps its reload as it was.
void FireShot(Arena& arena, int s, const WeaponRow& row) {
    TShip& ship = arena.World.Ships[s];
    ProjectileLaunch launch;
    launch.ImageIndex = row.Picture;
    launch.Sound = row.Sound;
    launch.Speed = row.Speed;
    launch.Damage = DamageBase(row, ship);
    launch.Homing = row.Kind == WeaponKind::Torpedo;
    launch.Effect = row.Effect;
    if (LaunchProjectile(arena, s, launch)) ReloadOf(ship, row.Slot) = ReloadFrames(row, ship);
}

}  // namespace

void PullTrigger(Arena& arena, int s, Trigger trigger) {
    World& world = arena.World;
    for (const WeaponRow& row : WeaponTable()) {
        if (row.FiredBy != trigger) continue;
        TShip& ship = world.Ships[s];
        if (CarriedIn(ship, row.Slot) != row.Id || ReloadOf(ship, row.Slot) != 0 || !HasOtherTarget(world, s))
            continue;
        if (row.Kind == WeaponKind::Beam)
            FireBeam(arena, s, row);
        else
            FireShot(arena, s, row);
    }
}

int FindFreeBeam(const World& world) {
    for (int b = 1; b <= MaxBeams; ++b)
        if (!world.Beams[b].Active) return b;
    return 0;
}

int32_t BeamRange(const World& world) {
    const Extended accuracy(world.Ships[world.ControlledShip].Accuracy);
    return RoundEven(accuracy / Extended(2.25) + Extended(300.0));
}

bool InBeamRange(const World& world, int s) {
    const TShip& ship = world.Ships[s];
    const TShip& target = world.Ships[ship.Target];
    int32_t distance = 0;  // a target on the very same point is at distance 0
    AngleAndDistance(ship.X, ship.Y, target.X, target.Y, distance);
    return distance < BeamRange(world);
}

void CountDownReloads(World& world) {
    for (TShip& ship : world.Ships)
        if (ship.PrimaryReload > 0) --ship.PrimaryReload;
    for (TShip& ship : world.Ships)
        if (ship.SecondaryReload > 0) --ship.SecondaryReload;
    for (TShip& ship : world.Ships)
        if (ship.SpecialReload > 0) --ship.SpecialReload;
}

void AgeBeams(World& world) {
    for (TBeam& beam : world.Beams) {
        if (beam.TimeLeft <= 0)
            beam.Active = 0;
        else
            --beam.TimeLeft;
    }
}

}  // namespace kelvane
