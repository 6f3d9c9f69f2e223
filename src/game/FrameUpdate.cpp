#include "game/FrameUpdate.h"

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

namespace kelvane {
namespace {

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

}  // namespace

void FrameUpdate(Arena& arena, ConsoleContext& console, std::vector<std::string>* recordedSteps) {
    World& world = arena.World;
    const auto step = [recordedSteps](const char* name) {
        if (recordedSteps) recordedSteps->emplace_back(name);
    };

    if (world.ShipCount > 0) {
        step("CentreView");
        CentreView(world, world.Controlled().X, world.Controlled().Y);
    }
    if (!world.Paused) {
        step("MoveShips");
        MoveShips(world);
        step("TurnSnap");
        TurnSnap(world);
        step("CountDownReloads");
        CountDownReloads(world);
        step("StartDestruction");
        StartDestruction(world);
        step("RunExplosionClocks");
        RunExplosionClocks(arena);
        step("EndExplosions");
        EndExplosions(world);
        step("CountDownRespawns");
        CountDownRespawns(world);
        ComeBack(world);
        step("AdvanceReEntries");
        AdvanceReEntries(world);
        step("AgeBeams");
        AgeBeams(world);
        step("AnimateAndMoveProjectiles");
        AnimateProjectiles(arena);
        MoveProjectiles(world);
        HomeProjectiles(arena);
        step("CollideProjectiles");
        CollideProjectiles(arena);
        step("RecountShips");
        RecountShips(world);
        step("MoveComputerShips");
        MoveComputerShips(arena);
        step("AnimateTargetMarker");
        AnimateTargetMarker(arena);
        step("RepairHulls");
        RepairHulls(world);
        step("ReturnShields");
        ReturnShields(world);
    }

    // The keys: only now, after the world has moved, so what they change shows next frame.
    step("AgeInput");
    AgeInput(world);
    step("ToggleConsole");
    ToggleConsole(world);
    if (!world.ConsoleOpen && world.ControlledShip != 0 && !world.Controlled().Dead) {
        step("PlayerControls");
        PlayerSteering(world);
        PlayerControls(arena);
    }
    if (!world.ConsoleOpen && KeyActive(world, KeyOf(PlayerAction::Pause))) {
        step("TogglePause");
        world.Paused = !world.Paused;
    }
    if (world.ConsoleOpen) {
        step("TextEntry");
        TextEntry(console);
    }
}

}  // namespace kelvane
