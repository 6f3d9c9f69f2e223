// Painting primitives on float layers.

#include "Paint.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kelvane::assets {

float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

float SmoothStep(float e0, float e1, float v) {
    float t = Clamp01((v - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

Rgb Ramp(const std::vector<RampStop>& stops, float t) {
    if (stops.empty()) return {};
    if (t <= stops.front().At) return stops.front().Colour;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].At) {
            float span = stops[i].At - stops[i - 1].At;
            float k = span > 0 ? (t - stops[i - 1].At) / span : 1.0f;
            return Mix(stops[i - 1].Colour, stops[i].Colour, k);
        }
    }
    return stops.back().Colour;
}

uint32_t Rng::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
}

float Rng::Uniform() { return static_cast<float>(Next() >> 8) / 16777216.0f; }
float Rng::Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }
int Rng::Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint32_t>(n)); }

float Hash2(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return static_cast<float>(h >> 8) / 16777216.0f;
}

namespace {

int Wrap(int v, int period) {
    if (period <= 0) return v;
    int m = v % period;
    return m < 0 ? m + period : m;
}

}  // namespace

float ValueNoise(float x, float y, uint32_t seed, int periodX, int periodY) {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    int x0 = Wrap(ix, periodX), x1 = Wrap(ix + 1, periodX);
    int y0 = Wrap(iy, periodY), y1 = Wrap(iy + 1, periodY);
    float a = Hash2(x0, y0, seed), b = Hash2(x1, y0, seed);
    float c = Hash2(x0, y1, seed), d = Hash2(x1, y1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fbm(float x, float y, uint32_t seed, int octaves, int periodX, int periodY) {
    float sum = 0, amplitude = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += ValueNoise(x, y, seed + static_cast<uint32_t>(o) * 1013u, periodX, periodY) * amplitude;
        norm += amplitude;
        amplitude *= 0.5f;
        x *= 2;
        y *= 2;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / norm;
}

Layer::Layer(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("empty layer");
}

void Layer::Add(int x, int y, Rgb c) {
    if (Inside(x, y)) At(x, y) = At(x, y) + c;
}

void Layer::Blend(int x, int y, Rgb c, float alpha) {
    if (Inside(x, y) && alpha > 0) At(x, y) = Mix(At(x, y), c, Clamp01(alpha));
}

void Layer::Paste(const Layer& from, int x, int y) {
    for (int j = 0; j < from.Height(); ++j)
        for (int i = 0; i < from.Width(); ++i)
            if (Inside(x + i, y + j)) At(x + i, y + j) = from.At(i, j);
}

namespace {

// Visits the pixels whose centres lie within `reach` of the box, calling f(x, y, px, py).
template <typename F>
void ForBox(Layer& layer, float x0, float y0, float x1, float y1, float reach, F f) {
    int ix0 = std::max(0, static_cast<int>(std::floor(std::min(x0, x1) - reach)));
    int iy0 = std::max(0, static_cast<int>(std::floor(std::min(y0, y1) - reach)));
    int ix1 = std::min(layer.Width() - 1, static_cast<int>(std::ceil(std::max(x0, x1) + reach)));
    int iy1 = std::min(layer.Height() - 1, static_cast<int>(std::ceil(std::max(y0, y1) + reach)));
    for (int y = iy0; y <= iy1; ++y)
        for (int x = ix0; x <= ix1; ++x) f(x, y, x + 0.5f, y + 0.5f);
}

}  // namespace

void AddGlow(Layer& layer, float cx, float cy, float radius, Rgb colour, float power) {
    if (radius <= 0) return;
    ForBox(layer, cx, cy, cx, cy, radius, [&](int x, int y, float px, float py) {
        float d = std::hypot(px - cx, py - cy);
        if (d < radius) layer.Add(x, y, colour * std::pow(1 - d / radius, power));
    });
}

void AddGaussian(Layer& layer, float cx, float cy, float sigma, Rgb colour) {
    if (sigma <= 0) return;
    ForBox(layer, cx, cy, cx, cy, sigma * 3.5f, [&](int x, int y, float px, float py) {
        float d2 = (px - cx) * (px - cx) + (py - cy) * (py - cy);
        layer.Add(x, y, colour * std::exp(-d2 / (2 * sigma * sigma)));
    });
}

void BlendDisc(Layer& layer, float cx, float cy, float radius, Rgb colour, float alpha) {
    ForBox(layer, cx, cy, cx, cy, radius + 1, [&](int x, int y, float px, float py) {
        float cover = Clamp01(radius + 0.5f - std::hypot(px - cx, py - cy));
        layer.Blend(x, y, colour, cover * alpha);
    });
}

float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
    float dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? Clamp01(((px - ax) * dx + (py - ay) * dy) / len2) : 0;
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

void BlendLine(Layer& layer, float x0, float y0, float x1, float y1, float width, Rgb colour, float alpha) {
    float half = width / 2;
    ForBox(layer, x0, y0, x1, y1, half + 1, [&](int x, int y, float px, float py) {
        float cover = Clamp01(half + 0.5f - SegmentDistance(px, py, x0, y0, x1, y1));
        layer.Blend(x, y, colour, cover * alpha);
    });
}

void AddLineGlow(Layer& layer, float x0, float y0, float x1, float y1, float radius, Rgb colour, float power) {
    ForBox(layer, x0, y0, x1, y1, radius, [&](int x, int y, float px, float py) {
        float d = SegmentDistance(px, py, x0, y0, x1, y1);
        if (d < radius) layer.Add(x, y, colour * std::pow(1 - d / radius, power));
    });
}

void BlendRect(Layer& layer, int x0, int y0, int x1, int y1, Rgb colour, float alpha) {
    for (int y = std::max(0, y0); y < std::min(layer.Height(), y1); ++y)
        for (int x = std::max(0, x0); x < std::min(layer.Width(), x1); ++x) layer.Blend(x, y, colour, alpha);
}

namespace {

uint32_t Channel(float v) { return static_cast<uint32_t>(std::lround(Clamp01(v) * 255.0f)); }
uint32_t Pack(const Rgb& c) { return Channel(c.R) << 16 | Channel(c.G) << 8 | Channel(c.B); }

}  // namespace

Bitmap ToBitmap(const Layer& layer) {
    Bitmap out;
    out.Resize(layer.Width(), layer.Height());
    for (int y = 0; y < layer.Height(); ++y)
        for (int x = 0; x < layer.Width(); ++x) out.At(x, y) = Pack(layer.At(x, y));
    return out;
}

Bitmap ToKeyedBitmap(const Layer& layer, float cutoff) {
    Bitmap out;
    out.Resize(layer.Width(), layer.Height());
    for (int y = 0; y < layer.Height(); ++y)
        for (int x = 0; x < layer.Width(); ++x) {
            const Rgb& c = layer.At(x, y);
            if (std::max({c.R, c.G, c.B}) < cutoff) continue;
            uint32_t p = Pack(c);
            out.At(x, y) = p == 0 ? 0x010101u : p;
        }
    return out;
}

float BayerThreshold(int x, int y) {
    static const int matrix[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (matrix[y & 3][x & 3] + 0.5f) / 16.0f;
}

Bitmap ToDitheredKeyedBitmap(const Layer& layer, float low, float high) {
    Bitmap out;
    out.Resize(layer.Width(), layer.Height());
    for (int y = 0; y < layer.Height(); ++y)
        for (int x = 0; x < layer.Width(); ++x) {
            const Rgb& c = layer.At(x, y);
            float level = (std::max({c.R, c.G, c.B}) - low) / (high - low);
            if (level < BayerThreshold(x, y)) continue;
            uint32_t p = Pack(c);
            out.At(x, y) = p == 0 ? 0x010101u : p;
        }
    return out;
}

Bitmap TilePatterns(const std::vector<Bitmap>& patterns, int columns) {
    if (patterns.empty() || columns <= 0) throw std::invalid_argument("no patterns");
    const int w = patterns.front().Width, h = patterns.front().Height;
    const int rows = (static_cast<int>(patterns.size()) + columns - 1) / columns;
    Bitmap out;
    out.Resize(w * std::min<int>(columns, static_cast<int>(patterns.size())), h * rows);
    for (size_t i = 0; i < patterns.size(); ++i) {
        const Bitmap& p = patterns[i];
        if (p.Width != w || p.Height != h) throw std::invalid_argument("patterns differ in size");
        int ox = static_cast<int>(i % columns) * w, oy = static_cast<int>(i / columns) * h;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) out.At(ox + x, oy + y) = p.At(x, y);
    }
    return out;
}

}  // namespace kelvane::assets
