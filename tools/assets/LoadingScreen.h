#pragma once
// Data/Loading.dxg: the loading screen's two pictures, read by the loading sequence.
//   item 0: 640 x 480, 8 bits, RLE8 "TDIB", not transparent; drawn at (191, 143). Its
//           progress well frames the cells at picture x 278..367, y 380..388.
//   item 1: 9 x 9, 4 bits, uncompressed "TDIB", not transparent (TransparentColor
//           14396362, never used): one progress-bar cell, drawn at (459 + 10 k, 523).

#include "media/PictureItem.h"

namespace kelvane::assets {

PictureCollection BuildLoadingCollection();

}  // namespace kelvane::assets
