#pragma once
// What the desktop's ticks drive and where the player's keys go: the player's own game
// (recorded as it goes), or a recording being watched. The desktop keeps the window, the
// desktop keys and the frame timer; a session makes the form's services, takes the key
// and mouse events, runs each due tick, says when the window is to close and hears of the
// end. Nothing of the platform is in it, so sessions are tested on the headless platform.

#include <cstdint>
#include <string>

#include "base/ExitStatus.h"
#include "game/MainForm.h"
#include "world/VirtualKeys.h"

namespace kelvane {

// The game side of the window's events, in the game's own key codes.
class GameInput {
public:
    virtual ~GameInput() = default;
    virtual void KeyPressed(uint16_t key, ShiftState shift) = 0;
    // x, y in picture pixels.
    virtual void MouseClick(int button, ShiftState shift, int32_t x, int32_t y) = 0;
    // True while the keys pressed now are typed into the console: the player's own key
    // bindings never apply to them, and Esc closes the console instead of pausing.
    virtual bool ConsoleOpen() const = 0;
};

// A line standing over the picture lower down (a watched recording paused or ended), and
// its dimmer second line; Windows-1250 text, none while Text is empty.
struct StandingLine {
    std::string Text;
    std::string Detail;
    bool operator==(const StandingLine&) const = default;
};

// Where a watched recording stands: the frames played of how many; Frames 0 for a game
// being played.
struct PlaybackPosition {
    uint64_t Frame = 0;
    uint64_t Frames = 0;
    bool operator==(const PlaybackPosition&) const = default;
};

class GameSession {
public:
    virtual ~GameSession() = default;
    // The form's services, made from the platform's.
    virtual MainFormServices Services(const MainFormServices& platform) { return platform; }
    // Once, with the form made, before its first tick and before any key arrives.
    virtual void Begin(TMainForm&) {}
    // Where the player's keys and clicks go.
    virtual GameInput& Input() = 0;
    // False while the session wants no ticks (a watched recording paused or at its end).
    virtual bool Ticking() const { return true; }
    // True when the game goes on while its window has no focus (others play in it).
    virtual bool TicksUnfocused() const { return false; }
    // A due tick of the frame timer.
    virtual void Tick(TMainForm& form) { form.TimerTick(); }
    // Asked after every tick: true when the window is to close.
    virtual bool Closes(const TMainForm& form) const = 0;
    // The game ends: the window closed, QUIT, or the start failed.
    virtual void End(TMainForm&) {}
    virtual StandingLine Standing() const { return {}; }
    virtual PlaybackPosition Playback() const { return {}; }
    // How the game ended, once it has: Failure when it stopped for a fault of its own
    // (a network game gone out of step).
    virtual ExitStatus Outcome() const { return ExitStatus::Success; }
};

// The player's own game, unrecorded: the keys and clicks go to the form, and the game's
// QUIT closes the window.
class PlayedGame : public GameSession, private GameInput {
public:
    void Begin(TMainForm& form) override { form_ = &form; }
    GameInput& Input() override { return *this; }
    bool Closes(const TMainForm& form) const override { return form.CloseRequested() && form.Closing(); }

private:
    void KeyPressed(uint16_t key, ShiftState shift) override;
    void MouseClick(int button, ShiftState shift, int32_t x, int32_t y) override;
    bool ConsoleOpen() const override;

    TMainForm* form_ = nullptr;
};

}  // namespace kelvane
