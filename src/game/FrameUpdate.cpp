#include "game/FrameUpdate.h"

#include <utility>
#include <vector>

#include "combat/Damage.h"
#include "combat/Destruction.h"
#include "combat/Opponents.h"
#include "combat/Projectiles.h"
#include "combat/Shields.h"
#include "combat/Weapons.h"
#include "console/InputState.h"
#include "console/TextEntry.h"
#include "game/Movement.h"
#include "game/PlayerActions.h"
#include "game/PlayerControls.h"
#include "world/ArchiveItems.h"
#include "world/PlayerSeats.h"

namespace kelvane {
namespace {

using StepNames = std::vector<std::string>*;

void Step(StepNames names, const char* name) {
    if (names) names->emplace_back(name);
}

void RecountShips(World& world) {
    int count = 0;
    for (const TShip& ship : world.Ships) count += ship.InPlay ? 1 : 0;
    world.ShipCount = static_cast<uint8_t>(count);
}

// The marker cycles through the patterns of its picture.
void AnimateTargetMarker(Arena& arena) {
    World& world = arena.World;
    ++world.TargetMarkerFrame;
    const int32_t patterns =
        arena.Images.Count() > Gfx::TargetMarker ? arena.Images.Item(Gfx::TargetMarker).PatternCount() : 0;
    if (world.TargetMarkerFrame > patterns - 1) world.TargetMarkerFrame = 0;
}

// The view follows the player's ship.
void FollowShip(World& world, StepNames names) {
    if (world.ShipCount == 0) return;
    Step(names, "CentreView");
    CentreView(world, world.Controlled().X, world.Controlled().Y);
}

// The world moves on by one step.
void MoveWorld(Arena& arena, StepNames names) {
    World& world = arena.World;
    if (world.Paused) return;
    Step(names, "MoveShips");
    MoveShips(world);
    Step(names, "TurnSnap");
    TurnSnap(world);
    Step(names, "CountDownReloads");
    CountDownReloads(world);
    Step(names, "StartDestruction");
    StartDestruction(world);
    Step(names, "RunExplosionClocks");
    RunExplosionClocks(arena);
    Step(names, "EndExplosions");
    EndExplosions(world);
    Step(names, "CountDownRespawns");
    CountDownRespawns(world);
    ComeBack(world);
    Step(names, "AdvanceReEntries");
    AdvanceReEntries(world);
    Step(names, "AgeBeams");
    AgeBeams(world);
    Step(names, "AnimateAndMoveProjectiles");
    AnimateProjectiles(arena);
    MoveProjectiles(world);
    HomeProjectiles(arena);
    Step(names, "CollideProjectiles");
    CollideProjectiles(arena);
    Step(names, "RecountShips");
    RecountShips(world);
    Step(names, "MoveComputerShips");
    MoveComputerShips(arena);
    Step(names, "AnimateTargetMarker");
    AnimateTargetMarker(arena);
    Step(names, "RepairHulls");
    RepairHulls(world);
    Step(names, "ReturnShields");
    ReturnShields(world);
}

// The keys: only after the world has moved, so what they change shows next frame.
void ActOnKeys(Arena& arena, ConsoleContext& console, StepNames names) {
    World& world = arena.World;
    Step(names, "AgeInput");
    AgeInput(world);
    // The keys that came since the last frame are this frame's to type, like the key states.
    // At a table of several, each seat types the keys its own person pressed.
    std::vector<TypedKey> typed = std::exchange(console.KeysPressed, {});
    if (console.Seat != 0) typed = std::exchange(console.SeatKeysPressed.at(console.Seat), {});
    Step(names, "ToggleConsole");
    // A console opened or closed starts without a hint.
    if (ToggleConsole(world)) console.Hint = {};
    if (!world.ConsoleOpen && world.ControlledShip != 0 && !world.Controlled().Dead) {
        Step(names, "PlayerControls");
        PlayerSteering(world);
        PlayerControls(arena);
    }
    if (!world.ConsoleOpen && KeyActive(world, KeyOf(PlayerAction::Pause))) {
        Step(names, "TogglePause");
        world.Paused = !world.Paused;
    }
    if (world.ConsoleOpen) {
        Step(names, "TextEntry");
        TextEntry(console, typed);
    }
}

// The console knows whose line it runs while a seat's keys are acted on.
class ActingSeat {
public:
    ActingSeat(ConsoleContext& console, int seat) : console_(console) { console_.Seat = seat; }
    ~ActingSeat() { console_.Seat = 0; }
    ActingSeat(const ActingSeat&) = delete;
    ActingSeat& operator=(const ActingSeat&) = delete;

private:
    ConsoleContext& console_;
};

// A table of several: each seat's view follows its own ship, the world moves once, then
// each seat's keys are acted on in seat order, each with that seat's fields in the world.
void SeatedFrameUpdate(Arena& arena, ConsoleContext& console, StepNames names) {
    World& world = arena.World;
    ShareConsoleLines(world);
    for (int seat = 1; seat <= world.SeatCount; ++seat) {
        const SeatScope scope(world, seat);
        if (SeatJoined(world, seat)) FollowShip(world, names);
    }
    MoveWorld(arena, names);
    ShareConsoleLines(world);
    for (int seat = 1; seat <= world.SeatCount; ++seat) {
        if (!SeatJoined(world, seat)) continue;
        const bool paused = world.Paused;
        {
            const SeatScope scope(world, seat);
            const ActingSeat acting(console, seat);
            ActOnKeys(arena, console, names);
        }
        if (world.Paused != paused) world.PausedBy = static_cast<uint8_t>(world.Paused ? seat : 0);
    }
    // Keys of a seat nobody holds type nothing, now or later.
    for (std::vector<TypedKey>& keys : console.SeatKeysPressed) keys.clear();
}

}  // namespace

void FrameUpdate(Arena& arena, ConsoleContext& console, std::vector<std::string>* recordedSteps) {
    if (PlayersSeated(arena.World)) {
        SeatedFrameUpdate(arena, console, recordedSteps);
        return;
    }
    FollowShip(arena.World, recordedSteps);
    MoveWorld(arena, recordedSteps);
    ActOnKeys(arena, console, recordedSteps);
}

}  // namespace kelvane
