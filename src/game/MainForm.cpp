#include "game/MainForm.h"

#include <exception>

#include "console/InputState.h"
#include "game/FramePicture.h"
#include "game/FrameUpdate.h"
#include "base/FileError.h"

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
      console_{World, services.GameDir, [this] { Close(); }, 0, 0, services.Folders.Data},
      arena_{World, Images, ShipImages, &Waves, services.Pilots} {
    // The display initialises itself with the form, before the first frame.
    Display.Initialize();
}

TMainForm::~TMainForm() = default;

void TMainForm::TimerTick() {
    MainTimer.CountTick();
    tickAdvanced_ = false;
    Running();
    if (Observer) Observer->TickEnded(World, tickAdvanced_);
}

void TMainForm::Running() {
    try {
        Frame();
    } catch (const std::exception& error) {
        if (!World.Loaded) {
            // A start that fails does not retry every tick: the game ends with the error.
            startError_ = error.what();
            if (const auto* fileError = dynamic_cast<const FileError*>(&error)) startErrorContext_ = fileError->Context();
            Close();
        } else {
            AppException(error.what());
        }
    }
}

void TMainForm::AppException(const std::string& message) {
    // Nothing is shown: an error during play only ends its frame.
    ++swallowedErrors_;
    errors_.push_back(message);
}

void TMainForm::KeyPressed(uint16_t key, ShiftState shift) {
    if (Observer) Observer->KeyDown(key, shift);
    kelvane::KeyPressed(World, key, shift);
}

void TMainForm::MouseClick(int button, ShiftState shift, int32_t x, int32_t y) {
    if (Observer) Observer->MouseDown(button);
    kelvane::MouseClick(World, button, shift, x, y);
}

void TMainForm::SetWorldField(std::string_view path, const FieldValue& value) {
    SetField(World, path, value);
    if (Observer) Observer->FieldWritten(path, value);
}

void TMainForm::DoConsoleCommand(const std::string& line) {
    if (Observer) Observer->ConsoleLine(line);
    try {
        kelvane::DoConsoleCommand(console_, line);
    } catch (const std::exception& error) {
        AppException(error.what());
    }
}

void TMainForm::Record(const char* name) {
    if (RecordedSteps) RecordedSteps->emplace_back(name);
}

void TMainForm::Pause(uint32_t milliseconds) {
    loadingPauseMs_ += milliseconds;
    if (Services.Sleeper) Services.Sleeper->Sleep(milliseconds);
}

// One frame. The picture shown is the world as the previous frame left it: drawing
// comes first, then the update, then the keys.
void TMainForm::Frame() {
    if (!World.Loaded) Loading();
    if (!World.Loaded || !Display.CanDraw()) return;
    tickAdvanced_ = true;
    if (DrawsPictures) {
        const View view = PictureView ? PictureView(World) : OwnView(World);
        FramePicture({Display.Back(), Images, ShipImages, FrameRate(), RecordedSteps}, World, view).Draw();
        Record("Flip");
        Display.Flip();
    }
    FrameUpdate(arena_, console_, RecordedSteps);
}

}  // namespace kelvane
