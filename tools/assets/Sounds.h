#pragma once
// Data/SFX.dxg: the nine sound effects of world/ArchiveItems.h, 16-bit mono PCM at
// 22050 Hz, each peaking at -3 dBFS.

#include "media/WaveItem.h"

namespace kelvane::assets {

WaveCollection BuildSoundCollection();

}  // namespace kelvane::assets
