#pragma once
// Data/GFX.dxg: the 22 graphics items at the indices the game addresses them by.

#include <cstddef>  // media/Bitmap.h uses size_t without it
#include "media/PictureItem.h"

namespace kelvane::assets {

PictureCollection BuildGraphicsCollection();

}  // namespace kelvane::assets
