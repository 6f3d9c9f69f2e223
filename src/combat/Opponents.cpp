#include "combat/Opponents.h"

#include "combat/Geometry.h"
#include "combat/VeteranPilot.h"
#include "combat/Weapons.h"
#include "base/Rounding.h"
#include "world/PlayerSeats.h"

namespace kelvane {

namespace {

// The inner box: outside it a ship turns away from the edge, inside it hunts.
constexpr int32_t BoxLeft = 250;
constexpr int32_t BoxRight = 1797;
constexpr int32_t BoxTop = 250;
constexpr int32_t BoxBottom = 1285;

constexpr double EdgeTurnRate = 2.0;
constexpr int32_t BeamChancePercent = 5;

int32_t BearingToTarget(const World& world, const TShip& ship) {
    const TShip& target = world.Ships[ship.Target];
    return Bearing(ship.X, ship.Y, target.X, target.Y);
}

// Turn rate that brings the nose onto the bearing; each band overwrites the one before.
double SteerAtTarget(int32_t bearing, int32_t nose, double turnRate) {
    // side(offset) is the turn direction from the bearing + offset to the nose.
    const auto side = [&](int32_t offset) { return TurnDirection(AngleDiff(bearing, -offset), nose); };
    if (side(-10) == 1 && side(10) == 2) turnRate = 0;
    if (side(-10) == 2 && side(-90) == 1) turnRate = 1.5;
    if (side(-90) == 2 && side(-180) == 1) turnRate = 2.0;
    if (side(10) == 1 && side(90) == 2) turnRate = -1.5;
    if (side(90) == 1 && side(180) == 2) turnRate = 2.0;
    return turnRate;
}

}  // namespace

bool InTrackingRange(const World& world, int s) {
    const TShip& ship = world.Ships[s];
    const TShip& target = world.Ships[ship.Target];
    int32_t distance = 0;  // a target on the very same point is at distance 0
    AngleAndDistance(ship.X, ship.Y, target.X, target.Y, distance);
    return distance < TrackingRange;
}

void DoAIMove(Arena& arena, int s) {
    World& world = arena.World;
    TShip& ship = world.Ships[s];
    if (ship.Dead) return;
    ship.Speed = ComputerSpeed;

    // Outside the inner box: pick a turn once per excursion and keep it.
    const bool outside = ship.X < BoxLeft || ship.X > BoxRight || ship.Y < BoxTop || ship.Y > BoxBottom;
    if (outside && !ship.EdgeTurn) {
        ship.TurnRate = world.Random(100) < 50 ? -EdgeTurnRate : EdgeTurnRate;
        ship.EdgeTurn = 1;
    }
    // Strictly inside: hunt. On the box's lines neither rule runs.
    const bool inside = BoxLeft < ship.X && ship.X < BoxRight && BoxTop < ship.Y && ship.Y < BoxBottom;
    if (inside) {
        ship.TurnRate = world.Random(4) - 2;
        // With a destroyed target the random wander stands.
        if (!world.Ships[ship.Target].Dead) {
            const int32_t bearing = BearingToTarget(world, ship);
            ship.TurnRate = SteerAtTarget(bearing, RoundEven(ship.Heading), ship.TurnRate);
        }
        ship.EdgeTurn = 0;
    }

    {
        const int t = ship.Target;
        const TShip& target = world.Ships[t];
        if (t == s || !target.InPlay || target.Dead || !InTrackingRange(world, s))
            ship.Target = static_cast<uint8_t>(FindNearestShip(world, s));
    }

    // The weapon type is tested first, so only beam ships draw the chance.
    if (IsWeaponOfKind(ship.PrimaryWeaponType, WeaponKind::Beam) && world.Random(100) < BeamChancePercent &&
        !world.Ships[ship.Target].Dead && InBeamRange(world, s))
        FirePrimaryWeapon(arena, s);

    // Launches need the target within (h - 10, h + 10] of the nose; no range is tested.
    const int32_t bearing = BearingToTarget(world, ship);
    const int32_t nose = RoundEven(ship.Heading);
    const bool inCone = TurnDirection(bearing, AngleDiff(nose, 10)) == 2 &&
                        TurnDirection(bearing, AngleDiff(nose, -10)) == 1;
    if (inCone && !world.Ships[ship.Target].Dead) {
        FireSecondaryWeapon(arena, s);
        // Also a pulse phaser named in the primary slot, though it fires nothing from there.
        if (IsWeaponOfKind(ship.PrimaryWeaponType, WeaponKind::Pulse)) FirePrimaryWeapon(arena, s);
    }
    if (IsWeaponOfKind(ship.SpecialDevice, WeaponKind::Tachyon) && inCone && !world.Ships[ship.Target].Dead)
        UseSpecialDevice(arena, s);
}

void MoveComputerShips(Arena& arena) {
    for (int s = 1; s <= MaxShips; ++s) {
        if (!arena.World.Ships[s].InPlay || FlownByPlayer(arena.World, s)) continue;
        if (arena.Pilots.Of(s) == Pilot::Veteran)
            FlyVeteran(arena, s);
        else
            DoAIMove(arena, s);
    }
}

}  // namespace kelvane
