#pragma once
// Reduces a full-colour picture to at most 256 colours (median cut, nearest colour, no
// dithering, so runs stay long for RLE8).

#include "media/Bitmap.h"
#include "media/Dib.h"

namespace kelvane::assets {

IndexedImage QuantiseMedianCut(const Bitmap& picture, int colours);

}  // namespace kelvane::assets
