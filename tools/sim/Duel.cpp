#include "Duel.h"

#include <exception>

#include "combat/Geometry.h"
#include "game/FrameUpdate.h"
#include "base/Windows1250.h"
#include "world/FieldRegistry.h"

namespace kelvane::sim {

Duel::Duel(const DuelGround& ground, const std::string& first, const std::string& second, uint32_t seed,
           IFrameObserver* observer, const DuelSetup& setup)
    : world_(ground.Loaded),
      console_{world_, ground.GameDir, {}},
      arena_{world_, ground.Images, ground.ShipImages, nullptr},
      observer_(observer),
      setup_(setup) {
    if (observer_) observer_->TickEnded(world_, false);  // the loading's tick
    world_.Rng.Seed(seed);
    Tell(std::string(RandomStateField));
    first_ = EnterPlayAs(first);
    second_ = EnterPlayAs(second);
    // The first ship put into play became the player's. Slot 0 is the player's ship of a
    // world where none was ever created: the computer then flies every ship in play, the
    // player's controls stay idle, and the rules themselves are untouched.
    world_.ControlledShip = 0;
    for (const int slot : {first_, second_}) {
        for (const char* field : {".InPlay", ".Target"}) Tell("Ships[" + std::to_string(slot) + "]" + field);
    }
    Tell("ShipCount");
    Tell("ControlledShip");
    arena_.Pilots.Seat(first_, setup.Pilots.First);
    arena_.Pilots.Seat(second_, setup.Pilots.Second);
    // Loading placed every type once for the whole tournament; each duel draws its own
    // places and headings from its seed, the way a ship re-entering the field is placed.
    Scatter();
    lastStrengths_ = Strengths();
    if (setup.Measure) watch_.emplace(world_, first_, second_);
}

DuelResult Duel::Result() const {
    DuelResult result = result_;
    if (watch_) result.Measures = watch_->Finish();
    return result;
}

// The ships go into play as CREATESHIP puts them (the slot it takes for the name, aimed at
// the nearest ship), but without its lines: "is under your control" would name one of them
// the player's, who has none in a duel.
int Duel::EnterPlayAs(const std::string& name) {
    const int slot = FreeSlotNamed(world_, CommandArgument(ParseCommandWords("CREATESHIP " + name)));
    if (slot == 0) throw DuelError("the console cannot put " + Windows1250ToUtf8(name) + " into play");
    EnterPlay(world_, slot);
    return slot;
}

void Duel::Scatter() {
    PlaceAtRandom(world_, world_.Ships[first_]);
    PlaceAtRandom(world_, world_.Ships[second_]);
    if (!observer_) return;
    for (const int slot : {first_, second_}) {
        for (const char* field : {".X", ".Y", ".Heading"}) Tell("Ships[" + std::to_string(slot) + "]" + field);
    }
    Tell(std::string(RandomStateField));
}

void Duel::Tell(const std::string& path) {
    if (observer_) observer_->FieldWritten(path, GetField(world_, path));
}

std::array<int32_t, 4> Duel::Strengths() const {
    const TShip& first = world_.Ships[first_];
    const TShip& second = world_.Ships[second_];
    return {first.Shields, first.Hull, second.Shields, second.Hull};
}

// Repairs and shields coming back are no fighting; only a loss counts.
void Duel::WatchStalemate() {
    const std::array<int32_t, 4> now = Strengths();
    for (size_t i = 0; i < now.size(); ++i)
        if (now[i] < lastStrengths_[i]) lastDamageFrame_ = result_.Frames;
    lastStrengths_ = now;
    if (!setup_.Scatter || result_.Frames - lastDamageFrame_ < StalemateFrames) return;
    Scatter();
    lastDamageFrame_ = result_.Frames;
    ++result_.Scatters;
}

bool Duel::Step() {
    if (decided_) return true;
    ++result_.Frames;
    try {
        FrameUpdate(arena_, console_);
    } catch (const std::exception&) {
        // The game's own handler discards a frame's error and goes on with the next frame.
        ++result_.Errors;
    }
    if (observer_) observer_->TickEnded(world_, true);
    if (watch_) watch_->Frame(world_);
    // The destruction starts in the update (hull at 0 or below makes the ship Dead), so
    // a hull that a repair lifts off 0 before then is no kill, as in the game.
    const bool firstDown = world_.Ships[first_].Dead;
    const bool secondDown = world_.Ships[second_].Dead;
    if (!firstDown && !secondDown) {
        WatchStalemate();
        return false;
    }
    decided_ = true;
    // Both in the same frame: a draw.
    if (firstDown != secondDown) result_.Winner = firstDown ? DuelWinner::Second : DuelWinner::First;
    return true;
}

DuelResult RunDuel(const DuelGround& ground, const std::string& first, const std::string& second, uint32_t seed,
                   uint64_t maxFrames, ReplayWriter* recording, const DuelSetup& setup) {
    Duel duel(ground, first, second, seed, recording, setup);
    for (uint64_t frame = 0; frame < maxFrames; ++frame)
        if (duel.Step()) break;
    if (recording) recording->Finish(duel.World());
    return duel.Result();
}

}  // namespace kelvane::sim
