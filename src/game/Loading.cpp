#include "game/MainForm.h"

namespace kelvane {

// The start-up sequence. The data steps (archives, ship definitions, the loading
// screen) join this as they are built; for now it seeds the generator, writes the
// banner and resets the interface state.
void TMainForm::Loading() {
    const uint32_t seed =
        Services.Seed ? *Services.Seed : static_cast<uint32_t>(Services.Clock->Milliseconds());
    world.Rng.Seed(seed);

    world.ConsoleLog.clear();
    world.ConsoleLog.push_back("6Welcome to Orvath : Kelvane");
    world.ConsoleLog.push_back("7version: 1.0 beta");
    world.InputLine.clear();
    world.ConsoleOpen = false;
    world.ShipCount = 0;
    world.ViewX = 0;
    world.ViewY = 0;
    if (Services.Pointer) {
        Services.Pointer->HideCursor();
        Services.Pointer->GetCursorPos(world.MouseX, world.MouseY);
    }
    world.Loaded = true;
}

}  // namespace kelvane
