// Turns a ship design into its three patterns: shaded hull from a height field (bevelled
// parts lit from the upper left), plating seams, markings, windows, engine glow; the hit
// mask; and a scorched copy.

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "ShipPictures.h"

namespace kelvane::assets {

namespace {

constexpr int Samples = 4;  // per axis, for edge coverage
const Rgb Space = Rgb8(8, 8, 14);

struct HullPixel {
    float Coverage = 0;  // 0..1 of the pixel inside some part
    int Part = -1;       // topmost part at the pixel
    float Height = 0;
    Rgb Colour;          // shaded
};

class ShipPainter {
public:
    explicit ShipPainter(const ShipDesign& d) : d_(d), w_(d.Width), h_(d.Height), ox_(d.Width / 2.0f), oy_(d.Height / 2.0f) {
        for (const HullPart& p : d.Parts) parts_.push_back(Transform(p.Outline, 1, ox_, oy_));
        for (const Marking& m : d.Markings) marks_.push_back(Transform(m.Outline, 1, ox_, oy_));
        pixels_.resize(static_cast<size_t>(w_) * h_);
        Locate();
        Shade();
        PaintGlow();
    }

    Bitmap Compose(bool damaged) const {
        Layer colour(w_, h_);
        std::vector<bool> opaque(static_cast<size_t>(w_) * h_, false);
        const float engine = damaged ? 0.45f : 1.0f;
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                const HullPixel& p = At(x, y);
                Rgb g = glow_.At(x, y) * engine;
                if (p.Coverage >= 0.5f) {
                    colour.At(x, y) = p.Colour + g;
                    opaque[Index(x, y)] = true;
                } else if (p.Coverage >= 0.2f) {
                    colour.At(x, y) = Mix(Space, p.Colour, p.Coverage) + g;
                    opaque[Index(x, y)] = true;
                } else if (std::max({g.R, g.G, g.B}) > 0.24f) {
                    colour.At(x, y) = g;
                    opaque[Index(x, y)] = true;
                }
            }
        if (damaged) Scorch(colour);
        Bitmap out;
        out.Resize(w_, h_, ShipKeyPixel);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                if (!opaque[Index(x, y)]) continue;
                uint32_t px = Pack(colour.At(x, y));
                out.At(x, y) = px == ShipKeyPixel ? 0x00FE00u : px;
            }
        return out;
    }

    Bitmap HitMask() const {
        Bitmap out;
        out.Resize(w_, h_, 0);
        // The game never reads the mask's last 14 columns and rows (its hit box ends 7
        // pixels inside the picture, and the mask is read 7 up and left of that), so
        // nothing is painted there.
        const int readWidth = 2 * (w_ / 2) - 2 * HitMaskShift, readHeight = 2 * (h_ / 2) - 2 * HitMaskShift;
        for (int y = 0; y < readHeight; ++y)
            for (int x = 0; x < readWidth; ++x) {
                int sx = x + HitMaskShift, sy = y + HitMaskShift;
                if (At(sx, sy).Coverage >= 0.5f) out.At(x, y) = HitMaskPixel;
            }
        return out;
    }

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * w_ + x; }
    HullPixel& At(int x, int y) { return pixels_[Index(x, y)]; }
    const HullPixel& At(int x, int y) const { return pixels_[Index(x, y)]; }

    static uint32_t Pack(const Rgb& c) {
        auto ch = [](float v) { return static_cast<uint32_t>(std::lround(Clamp01(v) * 255.0f)); };
        return ch(c.R) << 16 | ch(c.G) << 8 | ch(c.B);
    }

    void Locate() {
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                HullPixel& p = At(x, y);
                int inside = 0;
                for (int j = 0; j < Samples; ++j)
                    for (int i = 0; i < Samples; ++i) {
                        float sx = x + (i + 0.5f) / Samples, sy = y + (j + 0.5f) / Samples;
                        for (const Polygon& part : parts_)
                            if (InsidePolygon(part, sx, sy)) {
                                ++inside;
                                break;
                            }
                    }
                p.Coverage = static_cast<float>(inside) / (Samples * Samples);
                if (inside == 0) continue;
                const float cx = x + 0.5f, cy = y + 0.5f;
                for (int k = static_cast<int>(parts_.size()) - 1; k >= 0; --k)
                    if (InsidePolygon(parts_[k], cx, cy)) {
                        p.Part = k;
                        break;
                    }
                if (p.Part < 0) {  // centre outside every part: the nearest part's rim
                    float best = 1e9f;
                    for (size_t k = 0; k < parts_.size(); ++k) {
                        float dist = EdgeDistance(parts_[k], cx, cy);
                        if (dist < best) {
                            best = dist;
                            p.Part = static_cast<int>(k);
                        }
                    }
                    p.Height = d_.Parts[p.Part].Elevation;
                    continue;
                }
                const HullPart& part = d_.Parts[p.Part];
                float dist = EdgeDistance(parts_[p.Part], cx, cy);
                float b = Clamp01(dist / std::max(0.5f, part.Bevel));
                p.Height = part.Elevation + part.Bevel * 0.9f * std::sqrt(1 - (1 - b) * (1 - b));
            }
    }

    float HeightAt(int x, int y) const {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return 0;
        const HullPixel& p = At(x, y);
        return p.Coverage > 0 ? p.Height : 0;
    }

    void Shade() {
        const float lx = -0.42f, ly = -0.62f, lz = 0.66f;  // upper left, normalised below
        const float ll = std::sqrt(lx * lx + ly * ly + lz * lz);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                HullPixel& p = At(x, y);
                if (p.Part < 0) continue;
                const HullPart& part = d_.Parts[p.Part];
                float gx = (HeightAt(x + 1, y) - HeightAt(x - 1, y)) / 2;
                float gy = (HeightAt(x, y + 1) - HeightAt(x, y - 1)) / 2;
                float nx = -gx, ny = -gy, nz = 1;
                float nl = std::sqrt(nx * nx + ny * ny + nz * nz);
                nx /= nl, ny /= nl, nz /= nl;
                float ndl = (nx * lx + ny * ly + nz * lz) / ll;
                float diffuse = std::max(0.0f, ndl);
                float rz = 2 * ndl * nz - lz / ll;  // reflection toward the viewer
                float spec = std::pow(std::max(0.0f, rz), 22.0f);

                const float cx = x + 0.5f, cy = y + 0.5f;
                const float ax = std::fabs(cx - ox_), ay = cy - oy_;
                Rgb base = part.Colour * (0.86f + 0.28f * Fbm(x / 5.0f, y / 5.0f, d_.Seed, 3));
                float rim = EdgeDistance(parts_[p.Part], cx, cy);
                if (part.PanelSize > 0 && rim > part.Bevel * 0.8f) {
                    int col = static_cast<int>(std::floor(ax / part.PanelSize));
                    int row = static_cast<int>(std::floor(ay / part.PanelSize));
                    base = base * (0.93f + 0.14f * Hash2(col, row, d_.Seed + 5));
                    float fx = ax - col * part.PanelSize, fy = ay - row * part.PanelSize;
                    bool seam = (fx < 0.9f && Hash2(col, row, d_.Seed + 6) > 0.55f) ||
                                (fy < 0.9f && Hash2(col, row, d_.Seed + 7) > 0.3f);
                    if (seam) base = base * 0.68f;
                }
                bool glowing = false;
                for (size_t m = 0; m < marks_.size(); ++m)
                    if (InsidePolygon(marks_[m], cx, cy)) {
                        glowing = d_.Markings[m].Glowing;
                        base = glowing ? d_.Markings[m].Colour
                                       : d_.Markings[m].Colour * (0.9f + 0.2f * Fbm(x / 4.0f, y / 4.0f, d_.Seed + 9, 2));
                    }
                p.Colour = glowing ? base : base * (0.26f + 0.95f * diffuse) + Rgb8(255, 250, 240) * (0.5f * spec);
            }
        for (const Vec2& wnd : d_.Windows) {
            int x = static_cast<int>(std::floor(ox_ + wnd.X)), y = static_cast<int>(std::floor(oy_ + wnd.Y));
            if (x >= 0 && y >= 0 && x < w_ && y < h_ && At(x, y).Part >= 0) At(x, y).Colour = d_.WindowColour;
        }
    }

    void PaintGlow() {
        glow_ = Layer(w_, h_);
        for (const Engine& e : d_.Engines) {
            float x = ox_ + e.X, y = oy_ + e.Y;
            AddGlow(glow_, x, y + e.Radius * 0.6f, e.Radius * 2.6f, e.Colour * 0.5f, 2.2f);
            AddGlow(glow_, x, y, e.Radius * 1.3f, e.Colour, 1.4f);
            AddGaussian(glow_, x, y, e.Radius * 0.4f, Mix(e.Colour, Rgb8(255, 255, 255), 0.7f) * 1.2f);
        }
        for (const Vec2& wnd : d_.Windows) AddGlow(glow_, ox_ + wnd.X + 0.5f, oy_ + wnd.Y + 0.5f, 2.0f, d_.WindowColour * 0.3f, 2.0f);
        for (const Vec2& l : d_.PortLights) {
            AddGlow(glow_, ox_ + l.X, oy_ + l.Y, 3.2f, Rgb8(255, 50, 40), 1.6f);
        }
        for (const Vec2& l : d_.StarboardLights) {
            AddGlow(glow_, ox_ + l.X, oy_ + l.Y, 3.2f, Rgb8(60, 255, 130), 1.6f);
        }
    }

    // Burn marks and holes with glowing edges, on the hull only.
    void Scorch(Layer& colour) const {
        Rng rng(d_.Seed * 7919u + 3);
        int made = 0;
        for (int tries = 0; tries < 400 && made < 3 + (w_ * h_) / 2500; ++tries) {
            int x = rng.Below(w_), y = rng.Below(h_);
            if (At(x, y).Coverage < 1.0f) continue;
            float r = rng.Range(3.5f, 7.5f);
            bool hole = rng.Uniform() < 0.6f;
            for (int j = -10; j <= 10; ++j)
                for (int i = -10; i <= 10; ++i) {
                    int px = x + i, py = y + j;
                    if (px < 0 || py < 0 || px >= w_ || py >= h_ || At(px, py).Coverage < 0.5f) continue;
                    float n = ValueNoise(px / 2.5f, py / 2.5f, d_.Seed + made);
                    float d = std::hypot(static_cast<float>(i), static_cast<float>(j)) / (r * (0.7f + 0.6f * n));
                    if (d >= 1) continue;
                    Rgb& c = colour.At(px, py);
                    c = Mix(c, Rgb8(24, 18, 15), 0.85f * (1 - d * d));
                    if (hole && d < 0.45f) c = d > 0.3f ? Rgb8(255, 120, 30) * (1.2f - d) : Rgb8(30, 10, 5);
                }
            ++made;
        }
        for (int y = 0; y < h_; ++y)  // a dimmer, dirtier hull overall
            for (int x = 0; x < w_; ++x)
                if (At(x, y).Coverage >= 0.2f) colour.At(x, y) = colour.At(x, y) * 0.82f;
    }

    const ShipDesign& d_;
    int w_, h_;
    float ox_, oy_;
    std::vector<Polygon> parts_, marks_;
    std::vector<HullPixel> pixels_;
    Layer glow_{1, 1};
};

}  // namespace

ShipPicture RenderShip(const ShipDesign& design) {
    if (design.Width <= 2 * HitMaskShift || design.Height <= 2 * HitMaskShift) throw std::invalid_argument("ship too small");
    ShipPainter painter(design);
    Bitmap normal = painter.Compose(false);
    Bitmap mask = painter.HitMask();
    Bitmap damaged = painter.Compose(true);
    ShipPicture out;
    out.BaseName = design.BaseName;
    out.Image.Resize(design.Width * 3, design.Height);
    const Bitmap* patterns[3] = {&normal, &mask, &damaged};
    for (int k = 0; k < 3; ++k)
        for (int y = 0; y < design.Height; ++y)
            for (int x = 0; x < design.Width; ++x) out.Image.At(k * design.Width + x, y) = patterns[k]->At(x, y);
    return out;
}

std::vector<ShipPicture> PaintShips() {
    std::vector<ShipPicture> out;
    for (const ShipDesign& d : ShipDesigns()) out.push_back(RenderShip(d));
    return out;
}

}  // namespace kelvane::assets
