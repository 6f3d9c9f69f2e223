#pragma once
// The font rasteriser every build plugs into the game (SDL and headless alike).

#include <memory>

#include "media/Platform.h"

namespace kelvane {

// Throws std::runtime_error with the reason when no font can be used.
std::unique_ptr<IFontRasteriser> MakeFontRasteriser();

}  // namespace kelvane
