// Frame steps whose rules live with later parts of the game: each is called in its
// place of the frame and filled in as that part is built.

#include "game/MainForm.h"
#include "console/ConsoleDrawing.h"
#include "console/TextEntry.h"
#include "game/Movement.h"

namespace kelvane {

void TMainForm::DrawConsole() {
    Step("DrawConsole");
    kelvane::DrawConsole(Display.Back(), world);
}

void TMainForm::CountDownReloads() { Step("CountDownReloads"); }
void TMainForm::StartDestruction() { Step("StartDestruction"); }
void TMainForm::RunExplosionClocks() { Step("RunExplosionClocks"); }
void TMainForm::EndExplosions() { Step("EndExplosions"); }
void TMainForm::CountDownRespawns() { Step("CountDownRespawns"); }
void TMainForm::AdvanceReEntries() { Step("AdvanceReEntries"); }
void TMainForm::AgeBeams() { Step("AgeBeams"); }
void TMainForm::AnimateAndMoveProjectiles() { Step("AnimateAndMoveProjectiles"); }
void TMainForm::CollideProjectiles() { Step("CollideProjectiles"); }
void TMainForm::MoveComputerShips() { Step("MoveComputerShips"); }
void TMainForm::ReturnShields() { Step("ReturnShields"); }

void TMainForm::ToggleConsole() {
    Step("ToggleConsole");
    kelvane::ToggleConsole(world);
}
void TMainForm::PlayerControls() {
    Step("PlayerControls");
    PlayerSteering(world);
}
void TMainForm::TextEntry() {
    Step("TextEntry");
    kelvane::TextEntry(console_);
}

}  // namespace kelvane
