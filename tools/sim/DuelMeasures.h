#pragma once
// How the two ships of a duel fight, counted frame by frame from the world alone: the
// shots each fires and how many of them hit, tachyon shots at a target whose shields are
// already down, and the frames spent in long stretches in which neither ship loses any
// shields or hull.

#include <array>
#include <cstdint>

#include "world/World.h"

namespace kelvane::sim {

// A stretch of at least this many frames without a loss counts as quiet (10 s of play).
constexpr uint64_t QuietStretch = 250;

struct ShotCounts {
    uint64_t Damage = 0;  // shields and hull the other ship lost (shields knocked out are not lost)
    uint64_t Beams = 0;
    uint64_t Pulses = 0;
    uint64_t PulseHits = 0;
    uint64_t Torpedoes = 0;
    uint64_t TorpedoHits = 0;
    uint64_t Tachyons = 0;
    uint64_t TachyonHits = 0;
    uint64_t TachyonsAtBareShields = 0;  // fired at a target whose shields were down or gone
    ShotCounts& operator+=(const ShotCounts& more);
    bool operator==(const ShotCounts&) const = default;
};

struct DuelMeasures {
    uint64_t QuietFrames = 0;        // frames inside quiet stretches
    std::array<ShotCounts, 2> Shots;  // of the first ship, of the second
    bool operator==(const DuelMeasures&) const = default;
};

// Watches one duel: shown the world after every frame, from the frame the ships are placed.
class DuelWatch {
public:
    DuelWatch(const World& world, int firstSlot, int secondSlot);
    void Frame(const World& world);
    // The measures, the stretch running at the end included.
    DuelMeasures Finish() const;

private:
    // What a projectile slot held after the previous frame.
    struct ShotSeen {
        bool Active = false;
        uint8_t Owner = 0;
        uint8_t ImageIndex = 0;
        int32_t X = 0;
        int32_t Y = 0;
        double Speed = 0;
        double Heading = 0;
        double TurnRate = 0;
    };
    void Remember(const World& world);
    int Seat(int owner) const;

    std::array<int, 2> slots_;
    std::array<ShotSeen, MaxProjectiles + 1> shots_{};
    std::array<int32_t, 2> strengths_{};  // what each ship has left
    std::array<bool, 2> shieldsUp_{};
    uint64_t run_ = 0;  // frames without a loss so far
    DuelMeasures measures_;
};

}  // namespace kelvane::sim
