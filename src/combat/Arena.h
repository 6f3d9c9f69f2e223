#pragma once
// What a combat rule works on: the world, the pictures whose patterns and hit masks
// it reads, and the sounds it starts. Combat never draws.

#include "media/ImageList.h"
#include "media/Sound.h"
#include "world/World.h"

namespace kelvane {

struct Arena {
    World& world;
    const TImageList& Images;      // pattern counts of the projectile pictures
    const TImageList& ShipImages;  // pattern sizes and hit masks of the ships
    TWaveList& Waves;              // sound effects, started by index
};

}  // namespace kelvane
