#include "game/MainForm.h"

#include <exception>

#include "console/InputState.h"
#include "game/Movement.h"

namespace kelvane {

TMainForm::TMainForm(const MainFormServices& services)
    : Services(services),
      Display(*services.Presenter, services.Font),
      Images(&Display),
      ShipImages(&Display),
      LoadingImages(&Display),
      SoundDevice(services.Audio),
      Waves(&SoundDevice),
      MainTimer(*services.Clock),
      console_{world, services.GameDir, [this] { Close(); }, 0, 0, services.Folders.Data},
      arena_{world, Images, ShipImages, Waves} {
    // The display initialises itself with the form, before the first frame.
    Display.Initialize();
}

TMainForm::~TMainForm() = default;

void TMainForm::TimerTick() {
    MainTimer.CountTick();
    Running();
}

void TMainForm::Running() {
    try {
        Frame();
    } catch (const std::exception& error) {
        if (!world.Loaded) {
            // A start that fails does not retry every tick: the game ends with the error.
            startError_ = error.what();
            Close();
        } else {
            AppException(error.what());
        }
    }
}

void TMainForm::AppException(const std::string& message) {
    ++swallowedErrors_;
    errors_.push_back(message);
    ShowErrorBox("Exception", message);
}

void TMainForm::ShowErrorBox(const std::string&, const std::string&) {
    // Shows nothing: an error during play only ends its frame.
}

void TMainForm::KeyPressed(uint16_t key, ShiftState shift) { kelvane::KeyPressed(world, key, shift); }

void TMainForm::MouseClick(int button, ShiftState shift, int32_t x, int32_t y) {
    kelvane::MouseClick(world, button, shift, x, y);
}

void TMainForm::DoConsoleCommand(const std::string& line) {
    try {
        kelvane::DoConsoleCommand(console_, line);
    } catch (const std::exception& error) {
        AppException(error.what());
    }
}

void TMainForm::Step(const char* name) {
    if (StepTrace) StepTrace->emplace_back(name);
}

void TMainForm::Pause(uint32_t milliseconds) {
    loadingPauseMs_ += milliseconds;
    if (Services.Sleeper) Services.Sleeper->Sleep(milliseconds);
}

// One frame. The picture shown is the world as the previous frame left it: drawing
// comes first, then the update, then the keys.
void TMainForm::Frame() {
    if (!world.Loaded) Loading();
    if (!world.Loaded || !Display.CanDraw()) return;

    Step("Fill");
    Display.Back().Fill(0);
    DrawBackground();
    DrawProjectiles();
    DrawBeams();
    if (world.ShowRange && world.ShipCount > 0 && !world.Controlled().Dead) DrawRangeRing();
    DrawShips();
    if (world.ShipCount > 0) DrawTargetMarker();
    DrawStatusPanels();
    DrawConsole();
    DrawRespawnCountdown();
    DrawPausePicture();
    DrawDiagnostics();
    Step("Flip");
    Display.Flip();
    UpdateWorld();
}

void TMainForm::UpdateWorldOnly() {
    if (!world.Loaded) return;
    try {
        UpdateWorld();
    } catch (const std::exception& error) {
        AppException(error.what());
    }
}

// The world update and then the keys: what the frame does after the picture is shown.
void TMainForm::UpdateWorld() {
    if (world.ShipCount > 0) {
        Step("CentreView");
        const TShip& controlled = world.Controlled();
        CentreView(world, controlled.X, controlled.Y);
    }
    if (!world.Paused) {
        MoveShips();
        Step("TurnSnap");
        TurnSnap(world);
        CountDownReloads();
        StartDestruction();
        RunExplosionClocks();
        EndExplosions();
        CountDownRespawns();
        AdvanceReEntries();
        AgeBeams();
        AnimateAndMoveProjectiles();
        CollideProjectiles();
        RecountShips();
        MoveComputerShips();
        AnimateTargetMarker();
        RepairHulls();
        ReturnShields();
    }

    Step("AgeInput");
    AgeInput(world);
    ToggleConsole();
    if (!world.ConsoleOpen && world.ControlledShip != 0 && !world.Controlled().Dead) PlayerControls();
    if (!world.ConsoleOpen && KeyActive(world, VK_PAUSE)) {
        Step("TogglePause");
        world.Paused = !world.Paused;
    }
    if (world.ConsoleOpen) TextEntry();
}

void TMainForm::MoveShips() {
    Step("MoveShips");
    for (int s = 1; s <= MaxShips; ++s) {
        if (world.Ships[s].InPlay) MoveShip(world, s);
    }
}

void TMainForm::RecountShips() {
    Step("RecountShips");
    int count = 0;
    for (const TShip& ship : world.Ships) count += ship.InPlay ? 1 : 0;
    world.ShipCount = static_cast<uint8_t>(count);
}

void TMainForm::AnimateTargetMarker() {
    Step("AnimateTargetMarker");
    ++world.TargetMarkerFrame;
    const int32_t patterns = Images.Count() > 17 ? Images.Item(17).PatternCount() : 0;
    if (world.TargetMarkerFrame > patterns - 1) world.TargetMarkerFrame = 0;
}

// A shared countdown: at most one ship, the lowest-numbered damaged one, gains one hull
// point, and at most every 40 frames.
void TMainForm::RepairHulls() {
    Step("RepairHulls");
    --world.HullRepairTimer;
    for (TShip& ship : world.Ships) {
        if (ship.InPlay && ship.Hull < ship.MaxHull && world.HullRepairTimer == 0) {
            world.HullRepairTimer = 40;
            ++ship.Hull;
        }
    }
}

}  // namespace kelvane
