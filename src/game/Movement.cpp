#include "game/Movement.h"

#include <algorithm>
#include <cstdint>

#include "combat/Geometry.h"
#include "game/PlayerActions.h"

namespace kelvane {

namespace {

constexpr double TurnSnapLimit = 0.25; // smaller turn rates become 0
constexpr int32_t ViewOffsetX = 511;
constexpr int32_t ViewOffsetY = 383;

}  // namespace

void MoveShip(World& world, int s) {
    TShip& ship = world.Ships[s];
    HeadingStep(ship.X, ship.Y, ship.Speed, ship.Heading, ship.TurnRate);
    // The world does not wrap: a ship flying into an edge stays on it and slides along it.
    ship.X = std::clamp(ship.X, 0, WorldWidth - 1);
    ship.Y = std::clamp(ship.Y, 0, WorldHeight - 1);
}

void MoveShips(World& world) {
    for (int s = 1; s <= MaxShips; ++s)
        if (world.Ships[s].InPlay) MoveShip(world, s);
}

void TurnSnap(World& world) {
    for (TShip& ship : world.Ships) {
        const double rate = ship.TurnRate;
        if ((rate > -TurnSnapLimit && rate < 0) || (rate > 0 && rate < TurnSnapLimit)) ship.TurnRate = 0;
    }
}

void PlayerSteering(World& world) {
    // Slot 0 is the "no ship yet" slot and must stay zero.
    if (world.ControlledShip == 0) return;
    Steer(world.Ships[world.ControlledShip], HeldKeys(world));
}

View CentredView(int32_t x, int32_t y) {
    const int64_t viewX = static_cast<int64_t>(x) - ViewOffsetX;
    const int64_t viewY = static_cast<int64_t>(y) - ViewOffsetY;
    return {static_cast<int32_t>(std::clamp<int64_t>(viewX, 0, WorldWidth - ScreenWidth)),
            static_cast<int32_t>(std::clamp<int64_t>(viewY, 0, WorldHeight - ScreenHeight))};
}

void CentreView(World& world, int32_t x, int32_t y) {
    const View view = CentredView(x, y);
    world.ViewX = view.X;
    world.ViewY = view.Y;
}

View WatchersView(const World& world) {
    if (world.ShipCount == 0 || world.ControlledShip != 0) return OwnView(world);
    int64_t x = 0, y = 0, count = 0;
    for (const TShip& ship : world.Ships) {
        if (!ship.InPlay) continue;
        x += ship.X;
        y += ship.Y;
        ++count;
    }
    if (count == 0) return OwnView(world);
    return CentredView(static_cast<int32_t>(x / count), static_cast<int32_t>(y / count));
}

}  // namespace kelvane
