#pragma once
// The window's icon: Data/Icon.bmp beside the game's data, read with the game's own BMP
// decoder. Pure green (#00FF00), the game's transparent colour, stays transparent.

#include <SDL2/SDL.h>

#include <optional>
#include <string>

#include "media/Bitmap.h"

namespace kelvane {

// Nothing, and no complaint, when the file is missing, unreadable or no picture: the
// window then simply has no icon of ours.
std::optional<Bitmap> LoadWindowIcon(const std::string& path);

// An SDL surface of the icon (ARGB), or nullptr when SDL cannot make one. The caller frees it.
SDL_Surface* IconSurface(const Bitmap& icon);

void SetWindowIcon(SDL_Window* window, const std::string& path);

}  // namespace kelvane
