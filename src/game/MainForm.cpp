#include "game/MainForm.h"

#include <exception>

#include "console/InputState.h"
#include "game/FramePicture.h"
#include "game/FrameUpdate.h"
#include "base/FileError.h"
#include "world/PlayerSeats.h"

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
      console_{World, services.GameDir, [this] { CloseForSeat(); }, 0, 0, services.Folders.Data},
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
    if (!KeepsErrors) return;
    ++swallowedErrors_;
    errors_.push_back(message);
}

void TMainForm::KeyPressed(uint16_t key, ShiftState shift) {
    if (Observer) Observer->KeyDown(key, shift);
    const SeatScope seat(World, inputSeat_);
    kelvane::KeyPressed(World, key, shift);
    // Every key-down is kept in order too, so that keys typed faster than the frames all
    // reach the console.
    std::vector<TypedKey>& typed = inputSeat_ == 0 ? console_.KeysPressed : console_.SeatKeysPressed.at(inputSeat_);
    if (typed.size() < MaxKeysBetweenFrames) typed.push_back({key, shift, World.CapsLock});
}

void TMainForm::MouseClick(int button, ShiftState shift, int32_t x, int32_t y) {
    if (Observer) Observer->MouseDown(button);
    const SeatScope seat(World, inputSeat_);
    kelvane::MouseClick(World, button, shift, x, y);
}

void TMainForm::SetWorldField(std::string_view path, const FieldValue& value) {
    {
        const SeatScope seat(World, inputSeat_);
        SetField(World, path, value);
    }
    if (Observer) Observer->FieldWritten(path, value);
}

void TMainForm::DoConsoleCommand(const std::string& line) {
    if (Observer) Observer->ConsoleLine(line);
    try {
        const SeatScope seat(World, inputSeat_);
        console_.Seat = inputSeat_;
        kelvane::DoConsoleCommand(console_, line);
    } catch (const std::exception& error) {
        AppException(error.what());
    }
    console_.Seat = 0;
}

void TMainForm::SetInputSeat(int seat) {
    if (Observer) Observer->InputSeat(seat);
    inputSeat_ = seat;
}

void TMainForm::TakeSeat(int seat, const std::string& name) {
    if (Observer) Observer->SeatTaken(seat, name);
    kelvane::TakeSeat(World, seat, name);
}

void TMainForm::LeaveSeat(int seat) {
    if (Observer) Observer->SeatLeft(seat);
    kelvane::LeaveSeat(World, seat);
}

// QUIT and EXIT close the game of the one who typed them.
void TMainForm::CloseForSeat() {
    if (console_.Seat == 0 || console_.Seat == ViewSeat) Close();
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
        // The picture is one person's: their view, ship, panels and console.
        const SeatScope seat(World, ViewSeat);
        const View view = PictureView ? PictureView(World) : OwnView(World);
        FramePicture({Display.Back(), Images, ShipImages, FrameRate(), RecordedSteps, &Texts(), &console_.Hint,
                      ShowsFirstHint, ViewSeat},
                     World, view)
            .Draw();
        Record("Flip");
        Display.Flip();
    }
    FrameUpdate(arena_, console_, RecordedSteps);
}

}  // namespace kelvane
