#pragma once
// Data/GFX.dxg: the 22 graphics items at the indices the game addresses them by.

#include "media/PictureItem.h"

namespace kelvane::assets {

PictureCollection BuildGraphicsCollection();

}  // namespace kelvane::assets
