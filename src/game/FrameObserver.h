#pragma once
// What the frame loop shows of itself to whoever watches a game go by (a recording of
// it): every input as the form takes it, in arrival order, and the end of every tick of
// the frame timer. The inputs arrive between ticks and the next tick consumes them.
// Watching changes nothing: the form calls these and goes on exactly as without them.

#include <cstdint>
#include <string>
#include <string_view>

#include "world/FieldRegistry.h"
#include "world/VirtualKeys.h"
#include "world/World.h"

namespace kelvane {

class IFrameObserver {
public:
    virtual ~IFrameObserver() = default;
    // A key-down handed to KeyPressed.
    virtual void KeyDown(uint16_t key, ShiftState shift) = 0;
    // A mouse-down handed to MouseClick (only the button counts for the game).
    virtual void MouseDown(int button) = 0;
    // A console line given to the form directly (the runner's "command" steps), not typed.
    virtual void ConsoleLine(std::string_view line) = 0;
    // A world field written from outside the game (the runner's "set" steps).
    virtual void FieldWritten(std::string_view path, const FieldValue& value) = 0;
    // A tick has ended. `advanced`: the frame ran (loaded and drawable) and moved the world
    // on; false when it stood still (the display could not draw, or loading failed).
    virtual void TickEnded(const World& world, bool advanced) = 0;

    // Network play only (a game for one never calls these): the inputs that follow are
    // those of this seat; someone took a seat; someone left theirs.
    virtual void InputSeat(int /*seat*/) {}
    virtual void SeatTaken(int /*seat*/, std::string_view /*name*/) {}
    virtual void SeatLeft(int /*seat*/) {}
};

}  // namespace kelvane
