#include "game/GameSession.h"

namespace kelvane {

void PlayedGame::KeyPressed(uint16_t key, ShiftState shift) {
    if (form_) form_->KeyPressed(key, shift);
}

void PlayedGame::MouseClick(int button, ShiftState shift, int32_t x, int32_t y) {
    if (form_) form_->MouseClick(button, shift, x, y);
}

// The console key pressed since the last frame flips the console at the next frame,
// before any other key of that frame is read: keys typed quickly after it are the
// console's (or, when it closes, the flight's) already.
bool PlayedGame::ConsoleOpen() const {
    if (!form_) return false;
    const World& world = form_->World;
    const bool consoleKeyWaiting = world.KeyState[ConsoleKey] == 2;
    return (world.ConsoleOpen != 0) != consoleKeyWaiting;
}

}  // namespace kelvane
