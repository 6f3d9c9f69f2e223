#pragma once
// What a combat rule works on: the world, the pictures whose patterns and hit masks it
// reads, and the sounds it starts. Combat never draws. The pictures are only read, so
// several arenas (duels on threads, say) may share them.

#include <cstdint>

#include "media/ImageList.h"
#include "media/Sound.h"
#include "world/World.h"

namespace kelvane {

struct Arena {
    kelvane::World& World;
    const TImageList& Images;      // pattern counts of the projectile pictures
    const TImageList& ShipImages;  // pattern sizes and hit masks of the ships
    TWaveList* Waves = nullptr;    // sound effects, started by index; none: silent

    void Play(int32_t sound) {
        if (Waves) Waves->Play(sound);
    }
};

}  // namespace kelvane
