#include "platform/sdl/WindowIcon.h"

#include <exception>

#include "media/Archive.h"
#include "media/Dib.h"

namespace kelvane {

namespace {
// Bigger than any window manager shows; anything larger is not meant as an icon.
constexpr int32_t MaxIconSide = 1024;
constexpr uint32_t TransparentPixel = 0x00FF00;
}  // namespace

std::optional<Bitmap> LoadWindowIcon(const std::string& path) {
    try {
        Bitmap icon = DecodeBmpFile(ReadWholeFile(path));
        if (icon.Empty() || icon.Width > MaxIconSide || icon.Height > MaxIconSide) return std::nullopt;
        return icon;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

SDL_Surface* IconSurface(const Bitmap& icon) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, icon.Width, icon.Height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return nullptr;
    for (int32_t y = 0; y < icon.Height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int32_t x = 0; x < icon.Width; ++x) {
            const uint32_t pixel = icon.At(x, y) & 0xFFFFFF;
            row[x] = pixel == TransparentPixel ? 0 : 0xFF000000u | pixel;
        }
    }
    return surface;
}

void SetWindowIcon(SDL_Window* window, const std::string& path) {
    const std::optional<Bitmap> icon = LoadWindowIcon(path);
    if (!icon) return;
    SDL_Surface* surface = IconSurface(*icon);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

}  // namespace kelvane
