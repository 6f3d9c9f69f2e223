#pragma once
// Data/SFX.dxg: the nine sound effects, 16-bit mono PCM at 22050 Hz, each peaking at
// -3 dBFS. Item 0 beam, 1 launch, 2/3/4/8 the four explosion parts, 5 a blip the game
// does not play, 6 disruptor, 7 phaser pulse.

#include <cstddef>  // media/Bitmap.h uses size_t without it
#include "media/WaveItem.h"

namespace kelvane::assets {

WaveCollection BuildSoundCollection();

}  // namespace kelvane::assets
