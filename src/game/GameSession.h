#pragma once
// What the desktop game's ticks drive: the player's own game (recorded as it goes), or a
// recording being watched. The event loop keeps the window, the desktop keys and the
// frame timer; a session makes the form's services, runs each due tick and hears of
// the end. It knows no platform, so the programs make their sessions without one and
// tests run them on the headless platform.

#include <string>

#include "game/MainForm.h"

namespace kelvane {

class GameSession {
public:
    virtual ~GameSession() = default;
    // The form's services, made from the platform's.
    virtual MainFormServices Services(const MainFormServices& platform) { return platform; }
    // Once, with the form made, before its first tick.
    virtual void Begin(TMainForm&) {}
    // A tick of the frame timer. False once there is nothing more to play (a watched
    // recording has ended): the last picture then stays with EndText over it.
    virtual bool Tick(TMainForm& form) {
        form.TimerTick();
        return true;
    }
    // The game ends: the window closed, QUIT, or the start failed.
    virtual void End(TMainForm&) {}

    // True while a recording is watched: the player's keys do nothing to the game, Esc
    // pauses and resumes the playback, and the watched game's QUIT does not close the window.
    virtual bool Watching() const { return false; }
    // The standing line once Tick has said no more, and its dimmer second line
    // (Windows-1250 text).
    virtual std::string EndText() const { return {}; }
    virtual std::string EndDetail() const { return {}; }
};

}  // namespace kelvane
