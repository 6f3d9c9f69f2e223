// The frame's calls into the combat rules and the console, each in its place.

#include "combat/Destruction.h"
#include "combat/Opponents.h"
#include "combat/PrimaryWeapons.h"
#include "combat/Projectiles.h"
#include "combat/SpecialDevices.h"
#include "console/ConsoleDrawing.h"
#include "console/TextEntry.h"
#include "game/MainForm.h"
#include "game/Movement.h"
#include "game/PlayerControls.h"

namespace kelvane {

void TMainForm::DrawConsole() {
    Step("DrawConsole");
    kelvane::DrawConsole(Display.Back(), world);
}

void TMainForm::CountDownReloads() {
    Step("CountDownReloads");
    kelvane::CountDownReloads(world);
}

void TMainForm::StartDestruction() {
    Step("StartDestruction");
    kelvane::StartDestruction(world);
}

void TMainForm::RunExplosionClocks() {
    Step("RunExplosionClocks");
    kelvane::RunExplosionClocks(arena_);
}

void TMainForm::EndExplosions() {
    Step("EndExplosions");
    kelvane::EndExplosions(world);
}

// Waiting ships count down; those whose wait is over come back at a random place.
void TMainForm::CountDownRespawns() {
    Step("CountDownRespawns");
    kelvane::CountDownRespawns(world);
    kelvane::ComeBack(world);
}

void TMainForm::AdvanceReEntries() {
    Step("AdvanceReEntries");
    kelvane::AdvanceReEntries(world);
}

void TMainForm::AgeBeams() {
    Step("AgeBeams");
    kelvane::AgeBeams(world);
}

void TMainForm::AnimateAndMoveProjectiles() {
    Step("AnimateAndMoveProjectiles");
    AnimateProjectiles(arena_);
    MoveProjectiles(world);
    HomeProjectiles(arena_);
}

void TMainForm::CollideProjectiles() {
    Step("CollideProjectiles");
    kelvane::CollideProjectiles(arena_);
}

void TMainForm::MoveComputerShips() {
    Step("MoveComputerShips");
    for (int s = 1; s <= MaxShips; ++s) {
        if (world.Ships[s].InPlay && s != world.ControlledShip) DoAIMove(arena_, s);
    }
}

void TMainForm::ReturnShields() {
    Step("ReturnShields");
    kelvane::ReturnShields(world);
}

void TMainForm::ToggleConsole() {
    Step("ToggleConsole");
    kelvane::ToggleConsole(world);
}

void TMainForm::PlayerControls() {
    Step("PlayerControls");
    PlayerSteering(world);
    kelvane::PlayerControls(arena_);
}

void TMainForm::TextEntry() {
    Step("TextEntry");
    kelvane::TextEntry(console_);
}

}  // namespace kelvane
