#include "game/PlayerControls.h"

#include <cstdint>

#include "combat/Shields.h"
#include "combat/ShipControls.h"
#include "game/PlayerActions.h"

namespace kelvane {

namespace {

uint8_t NextSlot(int slot) { return static_cast<uint8_t>(slot >= MaxShips ? 1 : slot + 1); }

void NextTarget(World& world) {
    TShip& ship = world.Controlled();
    ship.Target = NextSlot(ship.Target);
    if (world.ShipCount == 1) {
        ship.Target = world.ControlledShip;
    } else if (world.ShipCount > 1) {
        // The search may end on the player's own ship. A stale count with no ship in play
        // would search for ever: after a full round the ship targets itself.
        for (int step = 0; !world.Ships[ship.Target].InPlay; ++step) {
            if (step == MaxShips) {
                ship.Target = world.ControlledShip;
                break;
            }
            ship.Target = NextSlot(ship.Target);
        }
    }
}

}  // namespace

void PlayerControls(Arena& arena) {
    World& world = arena.World;
    if (world.ConsoleOpen || world.ControlledShip == 0 || world.Controlled().Dead) return;
    const int s = world.ControlledShip;
    TShip& ship = world.Ships[s];

    const HeldActions held = HeldKeys(world);
    if (held[PlayerAction::NextTarget]) NextTarget(world);
    UseTargetAndTriggers(arena, s, held);
    // The destruction starts in the next unpaused frame.
    if (held[PlayerAction::SelfDestruct]) ship.Hull = 0;
    if (held[PlayerAction::Shields]) LowerOrRaiseShields(ship);
    if (held[PlayerAction::RangeRing]) world.ShowRange = !world.ShowRange;
}

}  // namespace kelvane
