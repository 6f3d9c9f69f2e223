#pragma once
// The actions a pilot has in flight, and the set of them held in one frame. The player's
// keys become these actions through the table of game/PlayerActions (its names, keys, pad
// inputs and help); a computer pilot that flies like a player holds them directly. The
// steering and the triggers (ShipControls) read only this set, so both fly by one rule.

#include <cstdint>

namespace kelvane {

enum class PlayerAction : uint8_t {
    Thrust,
    Brake,
    TurnLeft,
    TurnRight,
    FirePrimary,
    FireSecondary,
    Special,
    NearestTarget,
    NextTarget,
    Shields,
    RangeRing,
    SelfDestruct,
    Pause,
};

// The actions held in one frame.
class HeldActions {
public:
    bool operator[](PlayerAction action) const { return (bits_ >> static_cast<unsigned>(action)) & 1u; }
    void Hold(PlayerAction action, bool held = true) {
        const uint32_t bit = 1u << static_cast<unsigned>(action);
        bits_ = held ? bits_ | bit : bits_ & ~bit;
    }
    bool operator==(const HeldActions&) const = default;

private:
    uint32_t bits_ = 0;
};

}  // namespace kelvane
