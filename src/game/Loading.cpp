#include <cstdio>
#include <stdexcept>

#include "console/WriteText.h"
#include "game/MainForm.h"
#include "game/ShipDefinition.h"
#include "media/Archive.h"
#include "media/Canvas.h"
#include "media/GamePaths.h"
#include "world/ArchiveItems.h"
#include "world/ConsoleLog.h"

namespace kelvane {
namespace {

constexpr uint32_t LoadingTextColor = 13073325;  // 0xC77BAD

}  // namespace

void TMainForm::DrawLoadingProgress(uint8_t cells, const std::string& text) {
    Surface& back = Display.Back();
    Canvas& canvas = back.GetCanvas();
    canvas.Pen.Color = 0;
    canvas.Brush.Color = 0;
    canvas.Rectangle(1, 747, 1023, 766);
    back.ReleaseCanvas();
    for (int k = 1; k <= cells; ++k) LoadingImages.Item(LoadingPicture::ProgressCell).Draw(back, 459 + 10 * k, 523, 0);
    WriteText(back, 5, 752, text, LoadingTextColor, FontStyle(), 7);
    Display.Flip();
}

std::string TMainForm::DataPath(const std::string& relative) const {
    return ResolveGamePath(Services.GameDir, relative);
}

// Brings the game from an empty world to the first playable frame, behind a loading
// picture with a progress bar. Every pause goes through the sleeper, so tests and the
// headless runner record them instead of waiting.
void TMainForm::Loading() {
    World.Rng.Seed(Services.Seed ? *Services.Seed : static_cast<uint32_t>(Services.Clock->Milliseconds()));
    // The loading screen's two pictures live in their own small archive beside the others.
    LoadingImages.LoadFromFile(DataPath("Data\\Loading.dxg"));
    LoadingImages.Item(LoadingPicture::Screen).Draw(Display.Back(), 191, 143, 0);
    Display.Flip();
    DrawLoadingProgress(1, "Initilaizing...");
    Pause(50);

    Images.LoadFromFile(DataPath("Data\\GFX.dxg"));
    DrawLoadingProgress(1, "Loading: Graphics (Data\\GFX.dxg)");
    Pause(50);

    SoundDevice.InitializeSound();
    Waves.LoadFromFile(DataPath("Data\\SFX.dxg"));
    DrawLoadingProgress(2, "Loading: Sounds (Data\\SFX.dxg)");
    Pause(50);
    DrawLoadingProgress(3, "Loading: Ships (Data\\Ships\\*.*)");
    Pause(50);

    LoadShipDefinitions();
    ShipImages.SaveToFile(DataPath("Data\\Ships.dxg"));
    ShipImages.LoadFromFile(DataPath("Data\\Ships.dxg"));
    DrawLoadingProgress(4, "Loading: Ships (Data\\Ships\\*.*)");
    Pause(75);

    World.ConsoleLog.clear();
    AddConsoleLine(World, "Welcome to Orvath : Kelvane", ConsoleColor6);
    AddConsoleLine(World, "version: 1.0 beta", ConsoleColor7);
    World.InputLine.clear();
    World.ConsoleOpen = false;
    World.ShipCount = 0;
    World.ViewX = 0;
    World.ViewY = 0;
    DrawLoadingProgress(5, "Setting interface...");
    Pause(150);

    if (Services.Pointer) {
        Services.Pointer->HideCursor();
        Services.Pointer->GetCursorPos(World.MouseX, World.MouseY);
    }
    DrawLoadingProgress(6, "Setting interface...");
    Pause(25);
    World.Loaded = true;
    DrawLoadingProgress(7, "Setting interface...");
    Pause(75);
    DrawLoadingProgress(8, "Initializing music...");
    Pause(25);
    DrawLoadingProgress(9, "Please wait...");
    LoadingImages.Clear();
    Pause(100);
}

// Every definition file of Data/Ships, in name order without regard to case, fills the
// next slot. The table has 64 slots; further files are left out with a word on stderr.
void TMainForm::LoadShipDefinitions() {
    const std::string shipsDir = DataPath("Data\\Ships");
    const std::vector<std::string> files = ListFilesNoCase(shipsDir, ".ini");
    if (files.empty()) throw std::runtime_error("No ship definitions found: " + shipsDir + " holds no .ini file");
    int slot = 0;
    PictureBudget pictures;
    for (const std::string& file : files) {
        if (slot == MaxShips) {
            std::fprintf(stderr, "kelvane: only %d ship types fit; %s and later files are left out\n", MaxShips,
                         file.c_str());
            break;
        }
        ++slot;
        LoadShipDefinition(World, ShipImages, Services.GameDir, file, slot);
        // The same budget as when Data/Ships.dxg is read back, checked here before the
        // pictures of 64 large ships could all be held at once.
        pictures.Take(ShipImages.Items.back()->Pic.Image);
    }
}

}  // namespace kelvane
