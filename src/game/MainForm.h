#pragma once
// The game object: owns the display, the image and wave lists, the sound device, the
// frame timer and the world, and runs one frame per timer tick (Running). The platform
// hands it narrow interfaces at construction; the SDL game and the headless runner
// differ only in what they plug in.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "combat/Arena.h"
#include "console/Commands.h"
#include "game/FrameObserver.h"
#include "game/FrameTimer.h"
#include "game/PlayerFolders.h"
#include "media/Display.h"
#include "media/ImageList.h"
#include "media/Platform.h"
#include "media/Sound.h"
#include "text/Language.h"
#include "world/View.h"
#include "world/VirtualKeys.h"
#include "world/World.h"

namespace kelvane {

struct MainFormServices {
    IPresenter* Presenter = nullptr;
    IFontRasteriser* Font = nullptr;
    IAudioOutput* Audio = nullptr;
    IClock* Clock = nullptr;
    ISleeper* Sleeper = nullptr;
    IPointer* Pointer = nullptr;
    std::string GameDir;          // the folder holding Data/ and Scripts/, ending in '/'
    PlayerFolders Folders;        // the player's own ships and scripts, and the cache
    std::optional<uint32_t> Seed;  // a fixed seed instead of the clock
    // The language the player reads the game in; none: the original texts.
    const Language* Texts = nullptr;
    PilotSeats Pilots{};           // who flies the computer's ships: the classic pilot unless chosen
};

class TMainForm {
public:
    static constexpr const char* Caption = "Orvath: Kelvane v1.0";
    static constexpr const char* ApplicationTitle = "Orvath: Kelvane";
    static constexpr int32_t ClientWidth = 1024;
    static constexpr int32_t ClientHeight = 753;

    explicit TMainForm(const MainFormServices& services);
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // The frame timer's tick: counts it for the frame rate, then runs one frame.
    void TimerTick();
    // One frame: loading when not loaded yet, drawing, world update, input.
    void Running();
    // Brings the game from an empty world to the first playable frame.
    void Loading();

    // Event handlers: they only mark the input tables.
    void KeyPressed(uint16_t key, ShiftState shift);
    void MouseClick(int button, ShiftState shift, int32_t x, int32_t y);

    // Network play: the seat whose inputs the handlers above and below take from now on
    // (0: the world's own fields, as in a game for one); someone takes or leaves a seat.
    void SetInputSeat(int seat);
    int InputSeat() const { return inputSeat_; }
    void TakeSeat(int seat, const std::string& name);
    void LeaveSeat(int seat);

    // Executes one console line as if typed (the headless runner's "command" steps);
    // an error in it is handled like an error in a frame.
    void DoConsoleCommand(const std::string& line);
    // Writes one world field by its registry name (the headless runner's "set" steps);
    // throws FieldError for a bad name or value, writing nothing.
    void SetWorldField(std::string_view path, const FieldValue& value);

    // The close query always agrees.
    bool Closing() const { return true; }
    // Asks the form to close after the current frame (the console's QUIT and EXIT).
    void Close() { closeRequested_ = true; }
    bool CloseRequested() const { return closeRequested_; }

    // The application-wide handler: errors of a frame are discarded, counted and kept.
    void AppException(const std::string& message);
    uint64_t SwallowedErrors() const { return swallowedErrors_; }
    const std::vector<std::string>& Errors() const { return errors_; }

    // Set when the start failed: the game then ends with this message.
    const std::optional<std::string>& StartError() const { return startError_; }
    // When that failure came from a file: "while reading PATH" (or "while writing PATH").
    const std::optional<std::string>& StartErrorContext() const { return startErrorContext_; }

    int32_t FrameRate() const { return MainTimer.FrameRate(); }
    // The language of every text the form draws.
    const Language& Texts() const { return Services.Texts ? *Services.Texts : OriginalLanguage(); }
    // What the console's hint line says (its player's, not the world's).
    const CommandOutcome& ConsoleHint() const { return console_.Hint; }
    uint64_t LoadingPauseMs() const { return loadingPauseMs_; }

    // When set, every frame step appends its name as it runs (the frame order's tests
    // read it); it only records.
    std::vector<std::string>* RecordedSteps = nullptr;
    // False: frames advance the world and read the keys without drawing a picture (the
    // runner's fast runs). The world goes exactly as it would with pictures.
    bool DrawsPictures = true;
    // False: the first hint is never drawn (a recording watched, where no key starts a battle).
    bool ShowsFirstHint = true;
    // When set, sees every input the form takes and the end of every tick (recordings).
    IFrameObserver* Observer = nullptr;
    // When set, gives the view each picture is drawn from (a watched duel, in which no ship
    // is the player's, follows the fight); otherwise the world's own. The world is only
    // read for the picture, so the game goes exactly as without it.
    std::function<View(const kelvane::World&)> PictureView;
    // Network play: whose view, panels and console the picture shows, and whose QUIT
    // closes this form (another person's QUIT ends only their own game).
    int ViewSeat = 0;
    // False while a frame runs on predicted inputs: network play runs it again once the
    // inputs are known, and only that run's errors are counted and kept.
    bool KeepsErrors = true;
    // Where the rules' sounds go instead of the wave list (none: the wave list).
    void SetSoundSink(ISoundSink* sink) { arena_.Sounds = sink; }

    kelvane::World World;
    MainFormServices Services;
    TDisplay Display;
    TImageList Images;
    TImageList ShipImages;
    TImageList LoadingImages;
    TSoundDevice SoundDevice;
    TWaveList Waves;
    TFrameTimer MainTimer;

private:
    void Frame();
    void Record(const char* name);
    void CloseForSeat();
    void Pause(uint32_t milliseconds);
    void DrawLoadingProgress(uint8_t cells, const std::string& text);
    void LoadShipDefinitions();
    // Writes the ship picture archive beside the data, or else into the cache folder;
    // returns where it went.
    std::string SaveShipArchive(const std::string& besideData, const std::vector<uint8_t>& archive);

    ConsoleContext console_;
    Arena arena_;
    bool closeRequested_ = false;
    bool tickAdvanced_ = false;  // the last tick's frame moved the world on
    int inputSeat_ = 0;
    uint64_t swallowedErrors_ = 0;
    std::vector<std::string> errors_;
    std::optional<std::string> startError_;
    std::optional<std::string> startErrorContext_;
    uint64_t loadingPauseMs_ = 0;
};

}  // namespace kelvane
