#pragma once
// What travels between the machines of a network game: each person's inputs, stamped
// with the frame before which they act. Nothing else of the world ever travels; every
// machine runs the same frames from the same inputs.

#include <cstdint>
#include <string>
#include <vector>

#include "world/VirtualKeys.h"

namespace kelvane::net {

enum class InputKind : uint8_t {
    Key,      // a key-down: Key, Shift
    Mouse,    // a mouse-down: Button
    Command,  // a console line given directly (the runner's "command" steps): Text
    Join,     // someone named Text takes seat Seat (only the host's inputs hold these)
    Leave,    // the person of this input's seat has left
};

struct PlayerInput {
    InputKind Kind = InputKind::Key;
    uint16_t Key = 0;
    ShiftState Shift = 0;
    uint8_t Button = 0;
    uint8_t Seat = 0;
    std::string Text;

    bool operator==(const PlayerInput&) const = default;
};

// One seat's inputs before one frame, in the order they came.
using FrameInputs = std::vector<PlayerInput>;

// Sizes a decoder accepts; the game never sends more.
inline constexpr size_t MaxInputsPerFrame = 64;
inline constexpr size_t MaxCommandLength = 1024;
inline constexpr size_t MaxNameLength = 32;

PlayerInput KeyInput(uint16_t key, ShiftState shift);
PlayerInput MouseInput(uint8_t button);
PlayerInput CommandInput(std::string line);
PlayerInput JoinInput(int seat, std::string name);
PlayerInput LeaveInput();

// A name anyone can type and every console can show: printable ASCII, no longer than
// MaxNameLength, blanks at either end dropped; "Player" when nothing is left.
std::string CleanPlayerName(std::string_view name);

}  // namespace kelvane::net
