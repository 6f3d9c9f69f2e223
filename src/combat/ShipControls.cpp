#include "combat/ShipControls.h"

#include "combat/Geometry.h"
#include "combat/Weapons.h"

namespace kelvane {

void Steer(TShip& ship, const HeldActions& controls) {
    if (controls[PlayerAction::TurnLeft]) {
        if (ship.TurnRate <= 0 && ship.TurnRate >= -TurnLimitTest) ship.TurnRate -= TurnStep;
        if (ship.TurnRate > 0) ship.TurnRate = 0;  // the opposite key stops a turn at once
    } else if (ship.TurnRate <= -TurnDecay) {
        ship.TurnRate += TurnDecay;
    }
    if (controls[PlayerAction::TurnRight]) {
        if (ship.TurnRate >= 0 && ship.TurnRate <= TurnLimitTest) ship.TurnRate += TurnStep;
        if (ship.TurnRate < 0) ship.TurnRate = 0;
    } else if (ship.TurnRate >= TurnDecay) {
        ship.TurnRate -= TurnDecay;
    }

    if (controls[PlayerAction::Thrust]) {
        // The first thrust from standstill always gives the start speed, even above MaxSpeed.
        if (ship.Speed == 0)
            ship.Speed = StartSpeed;
        else if (ship.Speed <= ship.MaxSpeed - SpeedStep)
            ship.Speed += SpeedStep;
    }
    if (controls[PlayerAction::Brake]) {
        if (ship.Speed >= BrakeCutOff)
            ship.Speed -= SpeedStep;
        else
            ship.Speed = 0;
    }
}

void UseTargetAndTriggers(Arena& arena, int s, const HeldActions& controls) {
    World& world = arena.World;
    TShip& ship = world.Ships[s];
    const auto targetAlive = [&] { return !world.Ships[ship.Target].Dead; };
    if (controls[PlayerAction::NearestTarget]) ship.Target = static_cast<uint8_t>(FindNearestShip(world, s));
    if (controls[PlayerAction::FirePrimary] && targetAlive() && InBeamRange(world, s)) FirePrimaryWeapon(arena, s);
    if (controls[PlayerAction::FireSecondary] && targetAlive()) FireSecondaryWeapon(arena, s);
    if (controls[PlayerAction::Special] && targetAlive()) UseSpecialDevice(arena, s);
}

void ApplyControls(Arena& arena, int s, const HeldActions& controls) {
    Steer(arena.World.Ships[s], controls);
    UseTargetAndTriggers(arena, s, controls);
}

}  // namespace kelvane
