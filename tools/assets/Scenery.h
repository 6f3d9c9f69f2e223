#pragma once
// Pieces of scenery shared by the title pictures (the loading screen, the icon): a part of
// the background sky and a lit planet.

#include "Paint.h"

namespace kelvane::assets {

// The background tile's sky from its top-left corner, w x h pixels (at most the tile's
// size), scaled in brightness.
Layer SkyFromBackground(int w, int h, float brightness);
// A planet of radius r centred at (cx, cy), lit from the upper left, with violet bands
// and a thin blue atmosphere; pixels beyond the atmosphere stay as they are.
void PaintPlanet(Layer& l, float cx, float cy, float r);

}  // namespace kelvane::assets
