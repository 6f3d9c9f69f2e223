// The icon: sky and planet as on the loading screen, the Vigil turned to climb toward the
// upper right with its exhaust trailing behind, all inside a chamfered badge.

#include <cstddef>  // media/Bitmap.h uses size_t without it
#include "Icon.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "PanelStyle.h"
#include "Scenery.h"
#include "ShipPictures.h"

namespace kelvane::assets {

namespace {

constexpr int M = IconMasterSize;
constexpr float ShipX = 118, ShipY = 134, ShipTurn = 42, ShipScale = 1.42f;
const Rgb Ground = ui::BodyLow;

Polygon Badge() { return ChamferedRect(8, 8, M - 8, M - 8, 40, 12, 40, 12); }

ShipDesign IconShip() {
    for (const ShipDesign& d : ShipDesigns())
        if (d.BaseName == "Vigil") return Turned(d, ShipTurn, ShipScale, M, M);
    throw std::runtime_error("the icon's ship design is missing");
}

// Long soft trails behind each engine, drawn under the ship.
void PaintExhaust(Layer& l, const ShipDesign& ship) {
    const float angle = ShipTurn * 3.14159265f / 180;
    const float backX = -std::sin(angle), backY = std::cos(angle);  // from the nose toward the tail
    for (const Engine& e : ship.Engines) {
        const float x = ShipX + e.X, y = ShipY + e.Y, length = e.Radius * 9;
        AddLineGlow(l, x, y, x + backX * length, y + backY * length, e.Radius * 1.6f, e.Colour * 0.55f, 1.6f);
        AddLineGlow(l, x, y, x + backX * length * 0.5f, y + backY * length * 0.5f, e.Radius * 0.7f,
                    Mix(e.Colour, Rgb8(255, 255, 255), 0.5f) * 0.7f, 1.4f);
    }
}

void PasteShip(Layer& l, const ShipDesign& ship) {
    const Bitmap picture = RenderShip(ship).Image;  // pattern 0 is the ship on pure green
    const int left = static_cast<int>(std::lround(ShipX - ship.Width / 2.0f));
    const int top = static_cast<int>(std::lround(ShipY - ship.Height / 2.0f));
    for (int y = 0; y < ship.Height; ++y)
        for (int x = 0; x < ship.Width; ++x) {
            const uint32_t p = picture.At(x, y);
            if (p == ShipKeyPixel) continue;
            l.Blend(left + x, top + y, Rgb8((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF), 1.0f);
        }
}

struct Master {
    Layer Colour{M, M};
    std::vector<float> Alpha = std::vector<float>(static_cast<size_t>(M) * M);
};

Master PaintMaster() {
    Master m;
    Layer& l = m.Colour;
    l = SkyFromBackground(M, M, 1.1f);
    PaintPlanet(l, 236, 262, 150);
    const ShipDesign ship = IconShip();
    PaintExhaust(l, ship);
    PasteShip(l, ship);
    const Polygon badge = Badge();
    for (int y = 0; y < M; ++y)
        for (int x = 0; x < M; ++x) {
            const float cover = PixelCoverage(badge, x, y, 4);
            m.Alpha[static_cast<size_t>(y) * M + x] = cover;
            if (cover <= 0) continue;
            const float height = (y + 0.5f - 8) / (M - 16);
            l.At(x, y) = PanelRim(l.At(x, y), EdgeDistance(badge, x + 0.5f, y + 0.5f) / 1.5f, height);
        }
    return m;
}

uint32_t Channel(float v) { return static_cast<uint32_t>(std::lround(Clamp01(v) * 255.0f)); }

// Each pixel of the smaller icon averages the master's pixels under it, weighted by how
// much of each it covers; colours are weighted by alpha too, so the badge's edge does
// not darken.
IconImage ScaledIcon(const Master& master, int size) {
    if (size <= 0 || size > M) throw std::invalid_argument("icon size out of range");
    IconImage icon;
    icon.Size = size;
    icon.Argb.resize(static_cast<size_t>(size) * size);
    const float step = static_cast<float>(M) / size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float x0 = x * step, x1 = x0 + step, y0 = y * step, y1 = y0 + step;
            Rgb sum;
            float alpha = 0, area = 0;
            for (int my = static_cast<int>(y0); my < std::min<float>(M, std::ceil(y1)); ++my)
                for (int mx = static_cast<int>(x0); mx < std::min<float>(M, std::ceil(x1)); ++mx) {
                    const float w = (std::min<float>(x1, mx + 1) - std::max<float>(x0, mx)) *
                                    (std::min<float>(y1, my + 1) - std::max<float>(y0, my));
                    const float a = master.Alpha[static_cast<size_t>(my) * M + mx];
                    sum = sum + master.Colour.At(mx, my) * (w * a);
                    alpha += w * a;
                    area += w;
                }
            const Rgb c = alpha > 0 ? sum * (1 / alpha) : Rgb{};
            icon.Argb[static_cast<size_t>(y) * size + x] =
                Channel(alpha / area) << 24 | Channel(c.R) << 16 | Channel(c.G) << 8 | Channel(c.B);
        }
    return icon;
}

}  // namespace

std::vector<IconImage> PaintIcons(const std::vector<int>& sizes) {
    const Master master = PaintMaster();
    std::vector<IconImage> icons;
    for (int size : sizes) icons.push_back(ScaledIcon(master, size));
    return icons;
}

std::vector<uint32_t> OpaqueIcon(const IconImage& icon) {
    std::vector<uint32_t> pixels;
    pixels.reserve(icon.Argb.size());
    for (uint32_t p : icon.Argb) {
        const float a = (p >> 24) / 255.0f;
        const Rgb c = Mix(Ground, Rgb8((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF), a);
        pixels.push_back(Channel(c.R) << 16 | Channel(c.G) << 8 | Channel(c.B));
    }
    return pixels;
}

}  // namespace kelvane::assets
