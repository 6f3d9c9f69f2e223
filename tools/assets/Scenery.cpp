// The sky and the planet of the title pictures.

#include "Scenery.h"

#include <algorithm>
#include <cmath>

#include "Pictures.h"

namespace kelvane::assets {

Layer SkyFromBackground(int w, int h, float brightness) {
    GeneratedPicture sky = PaintStarfield();
    Layer l(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t p = sky.Image.At(x, y);
            l.At(x, y) = Rgb8((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) * brightness;
        }
    return l;
}

void PaintPlanet(Layer& l, float cx, float cy, float r) {
    const float lx = -0.62f, ly = -0.62f, lz = 0.48f;
    for (int y = 0; y < l.Height(); ++y)
        for (int x = 0; x < l.Width(); ++x) {
            float dx = (x + 0.5f - cx) / r, dy = (y + 0.5f - cy) / r;
            float d2 = dx * dx + dy * dy;
            float d = std::sqrt(d2);
            if (d < 1) {
                float dz = std::sqrt(1 - d2);
                float lit = std::max(0.0f, dx * lx + dy * ly + dz * lz);
                float bands = Fbm(dx * 3 + 10, dy * 14 + 3, 88, 4);
                Rgb ground = Ramp({{0, Rgb8(40, 30, 60)}, {0.5f, Rgb8(110, 80, 120)}, {1, Rgb8(190, 150, 170)}}, bands);
                Rgb c = ground * (0.04f + 0.9f * std::pow(lit, 1.2f));
                c = c + Rgb8(60, 110, 220) * (0.6f * std::pow(1 - dz, 3.0f) * (0.3f + lit));
                l.At(x, y) = c;
            } else if (d < 1.08f) {
                float k = 1 - (d - 1) / 0.08f;
                float side = std::max(0.0f, (dx * lx + dy * ly) / d);
                l.Add(x, y, Rgb8(70, 130, 255) * (0.7f * k * k * (0.2f + side)));
            }
        }
}

}  // namespace kelvane::assets
