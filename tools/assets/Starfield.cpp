// Item 0: the 640 x 480 background tile. Everything wraps at the edges (periodic noise,
// stars drawn again across the borders), so 4 x 4 tiles show no seams.

#include <cmath>

#include "Paint.h"
#include "Pictures.h"

namespace kelvane::assets {

namespace {

constexpr int TileWidth = 640;
constexpr int TileHeight = 480;
constexpr float Cell = 80.0f;  // noise lattice cell: 8 x 6 cells per tile
constexpr int PeriodX = 8;
constexpr int PeriodY = 6;

void PaintNebula(Layer& sky) {
    for (int y = 0; y < TileHeight; ++y)
        for (int x = 0; x < TileWidth; ++x) {
            float u = x / Cell, v = y / Cell;
            // Domain warp makes the clouds stringy instead of blobby.
            float wx = Fbm(u, v, 11, 3, PeriodX, PeriodY) * 2.0f;
            float wy = Fbm(u, v, 12, 3, PeriodX, PeriodY) * 2.0f;
            float ix = std::fmod(u + wx + 2 * PeriodX, static_cast<float>(PeriodX));
            float iy = std::fmod(v + wy + 2 * PeriodY, static_cast<float>(PeriodY));
            float cloud = Fbm(ix, iy, 21, 5, PeriodX, PeriodY);
            float veil = Fbm(u, v, 31, 4, PeriodX, PeriodY);
            float dust = Fbm(u, v, 41, 5, PeriodX, PeriodY);
            float violet = SmoothStep(0.45f, 0.78f, cloud);
            float teal = SmoothStep(0.50f, 0.80f, veil) * (1 - violet * 0.6f);
            float dark = SmoothStep(0.55f, 0.75f, dust);  // dark lanes cut through the glow
            Rgb c = Rgb8(3, 4, 10);
            c = c + Rgb8(30, 12, 44) * violet + Rgb8(8, 26, 40) * teal;
            c = c + Rgb8(44, 26, 52) * std::pow(violet, 4.0f);
            c = c * (1 - 0.55f * dark);
            sky.At(x, y) = c;
        }
}

// Draws a star and its copies across the tile edges.
void WrappedGlow(Layer& sky, float x, float y, float radius, Rgb colour, float power) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) AddGlow(sky, x + dx * TileWidth, y + dy * TileHeight, radius, colour, power);
}

void WrappedSpikes(Layer& sky, float x, float y, float length, Rgb colour) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            float cx = x + dx * TileWidth, cy = y + dy * TileHeight;
            AddLineGlow(sky, cx - length, cy, cx + length, cy, 1.2f, colour, 1.5f);
            AddLineGlow(sky, cx, cy - length, cx, cy + length, 1.2f, colour, 1.5f);
        }
}

Rgb StarTint(Rng& rng) {
    float t = rng.Uniform();
    if (t < 0.15f) return Rgb8(255, 210, 170);   // warm
    if (t < 0.45f) return Rgb8(190, 210, 255);   // blue-white
    if (t < 0.52f) return Rgb8(255, 170, 150);   // red giant
    return Rgb8(235, 235, 245);
}

void PaintStars(Layer& sky) {
    Rng rng(0x5EED0001);
    for (int i = 0; i < 1400; ++i) {  // faint dust of tiny stars
        float x = rng.Range(0, TileWidth), y = rng.Range(0, TileHeight);
        float b = std::pow(rng.Uniform(), 2.2f) * 0.55f + 0.06f;
        WrappedGlow(sky, x, y, 1.3f, StarTint(rng) * b, 1.0f);
    }
    for (int i = 0; i < 120; ++i) {  // brighter stars with a soft halo
        float x = rng.Range(0, TileWidth), y = rng.Range(0, TileHeight);
        float b = rng.Range(0.5f, 1.0f);
        Rgb tint = StarTint(rng);
        WrappedGlow(sky, x, y, 1.6f, tint * b, 1.0f);
        WrappedGlow(sky, x, y, 4.0f, tint * (0.18f * b), 2.0f);
    }
    for (int i = 0; i < 9; ++i) {  // a few beacons with diffraction spikes
        float x = rng.Range(0, TileWidth), y = rng.Range(0, TileHeight);
        Rgb tint = StarTint(rng);
        WrappedGlow(sky, x, y, 2.2f, tint, 1.0f);
        WrappedGlow(sky, x, y, 9.0f, tint * 0.25f, 2.5f);
        WrappedSpikes(sky, x, y, rng.Range(5, 10), tint * 0.35f);
    }
}

}  // namespace

GeneratedPicture PaintStarfield() {
    Layer sky(TileWidth, TileHeight);
    PaintNebula(sky);
    PaintStars(sky);
    GeneratedPicture out;
    out.Name = "Background";
    out.Image = ToBitmap(sky);
    out.Transparent = false;
    return out;
}

}  // namespace kelvane::assets
