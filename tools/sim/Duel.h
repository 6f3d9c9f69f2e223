#pragma once
// One duel: two ship types put into play as the console would put them, in a fresh copy
// of the loaded world, both flown by the computer, run frame by frame through the game's own
// frame update until one destroys the other or the frames run out.

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "DuelMeasures.h"
#include "TournamentOptions.h"
#include "combat/Arena.h"
#include "console/Commands.h"
#include "game/FrameObserver.h"
#include "media/ImageList.h"
#include "replay/ReplayWriter.h"
#include "world/World.h"

namespace kelvane::sim {

// What every duel reads and none writes: the world as loading left it and the loaded
// pictures (pattern counts and hit masks). Duels on several threads share one.
struct DuelGround {
    const kelvane::World& Loaded;
    const TImageList& Images;
    const TImageList& ShipImages;
    std::string GameDir;  // where EXEC would look for scripts; duels run none
};

enum class DuelWinner { First, Second, None };

// Two computer ships left to themselves settle into circling each other for good. When
// neither has lost shields or hull for this many frames (40 s of play), both are put at
// fresh random places and headings, as a re-entry places a ship, and fight on.
constexpr uint64_t StalemateFrames = 1000;

// How a duel is played beyond its ships and seed.
struct DuelSetup {
    Seating Pilots;        // who flies the first ship and who the second
    bool Scatter = true;   // stalemates broken by new places
    bool Measure = false;  // shots, hits and quiet stretches counted
};

struct DuelResult {
    DuelWinner Winner = DuelWinner::None;
    // The frame whose update started the loser's destruction (both ships: a draw);
    // for a duel that ran out of frames, the frames played.
    uint64_t Frames = 0;
    uint64_t Errors = 0;    // frames an error ended early, discarded as the game discards them
    uint64_t Scatters = 0;  // stalemates broken by new places
    std::optional<DuelMeasures> Measures;  // when asked for
};

class DuelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Duel {
public:
    // Copies the loaded world, seeds its generator, puts `first` and then `second` into play
    // as "CREATESHIP first" and "CREATESHIP second" would (without their console lines) and
    // hands both ships to the computer. DuelError when the console could not put both into
    // play.
    //
    // An observer (a recording) sees the duel as the game's own frame would have played
    // it, so that the recording plays back through the form: the tick that loaded the
    // world (and ran no frame), then the setup as the field writes it made (the
    // generator's state, the two ships put into play, the player's ship), then every frame,
    // each scatter's new places written between two frames.
    Duel(const DuelGround& ground, const std::string& first, const std::string& second, uint32_t seed,
         IFrameObserver* observer = nullptr, const DuelSetup& setup = {});
    Duel(const Duel&) = delete;
    Duel& operator=(const Duel&) = delete;

    // One frame of the game's update, then the stalemate watch; true once a ship's
    // destruction has started (and from then on, without running further frames).
    bool Step();
    // The result so far, with the measures up to now when they are taken.
    DuelResult Result() const;
    kelvane::World& World() { return world_; }
    int FirstSlot() const { return first_; }
    int SecondSlot() const { return second_; }

private:
    std::array<int32_t, 4> Strengths() const;
    void WatchStalemate();
    // Puts the type of that name into play; its slot.
    int EnterPlayAs(const std::string& name);
    // Both ships at new random places and headings.
    void Scatter();
    // Shows the observer a field the duel has written.
    void Tell(const std::string& path);

    kelvane::World world_;
    ConsoleContext console_;
    Arena arena_;
    IFrameObserver* observer_;
    DuelSetup setup_;
    std::optional<DuelWatch> watch_;
    int first_ = 0;
    int second_ = 0;
    bool decided_ = false;
    // What the stalemate watch compares: shields and hull of both ships a frame ago.
    std::array<int32_t, 4> lastStrengths_{};
    uint64_t lastDamageFrame_ = 0;
    DuelResult result_;
};

// A whole duel of at most maxFrames frames; recorded when `recording` is given (its end
// record written at the end).
DuelResult RunDuel(const DuelGround& ground, const std::string& first, const std::string& second, uint32_t seed,
                   uint64_t maxFrames, ReplayWriter* recording = nullptr, const DuelSetup& setup = {});

}  // namespace kelvane::sim
