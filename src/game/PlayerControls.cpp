#include "game/PlayerControls.h"

#include <cstdint>

#include "combat/Shields.h"
#include "combat/ShipControls.h"
#include "console/InputState.h"
#include "world/VirtualKeys.h"

namespace kelvane {

namespace {

constexpr uint16_t KeyNearestTarget = 'N';
constexpr uint16_t KeySelfDestruct = 'D';
constexpr uint16_t KeyShields = 'S';
constexpr uint16_t KeyRange = 'R';

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

    if (KeyActive(world, VK_BACK)) NextTarget(world);
    ShipControls keys;
    keys.NearestTarget = KeyActive(world, KeyNearestTarget);
    keys.FirePrimary = KeyActive(world, VK_SPACE);
    keys.FireSecondary = KeyActive(world, VK_MENU);
    keys.UseSpecial = KeyActive(world, VK_CONTROL);
    UseTargetAndTriggers(arena, s, keys);
    // The destruction starts in the next unpaused frame.
    if (KeyActive(world, KeySelfDestruct)) ship.Hull = 0;
    if (KeyActive(world, KeyShields)) LowerOrRaiseShields(ship);
    if (KeyActive(world, KeyRange)) world.ShowRange = !world.ShowRange;
}

}  // namespace kelvane
