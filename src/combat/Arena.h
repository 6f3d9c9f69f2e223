#pragma once
// What a combat rule works on: the world, the pictures whose patterns and hit masks it
// reads, the sounds it starts, and who flies the computer's ships. Combat never draws.
// The pictures are only read, so several arenas (duels on threads, say) may share them.

#include <cstdint>

#include "combat/Pilot.h"
#include "media/ImageList.h"
#include "media/Sound.h"
#include "world/World.h"

namespace kelvane {

// Where a frame's sounds go instead of straight to the wave list: network play runs a
// frame again when late inputs arrive, and each sound of a frame must sound once.
class ISoundSink {
public:
    virtual ~ISoundSink() = default;
    virtual void Play(int32_t sound) = 0;
};

struct Arena {
    kelvane::World& World;
    const TImageList& Images;      // pattern counts of the projectile pictures
    const TImageList& ShipImages;  // pattern sizes and hit masks of the ships
    TWaveList* Waves = nullptr;    // sound effects, started by index; none: silent
    PilotSeats Pilots{};           // the pilot of every computer ship: classic unless chosen
    ISoundSink* Sounds = nullptr;  // when set, takes the sounds instead of Waves

    void Play(int32_t sound) {
        if (Sounds) Sounds->Play(sound);
        else if (Waves) Waves->Play(sound);
    }
};

}  // namespace kelvane
