#pragma once
// Painting in floating-point RGB before a picture is stored: soft discs, glows,
// anti-aliased strokes, value noise, additive and alpha blending. Everything here is
// deterministic: noise and the random generator are pure functions of their seeds.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/Bitmap.h"

namespace kelvane::assets {

struct Rgb {
    float R = 0, G = 0, B = 0;
};
inline Rgb operator+(Rgb a, Rgb b) { return {a.R + b.R, a.G + b.G, a.B + b.B}; }
inline Rgb operator-(Rgb a, Rgb b) { return {a.R - b.R, a.G - b.G, a.B - b.B}; }
inline Rgb operator*(Rgb a, float k) { return {a.R * k, a.G * k, a.B * k}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.R * b.R, a.G * b.G, a.B * b.B}; }
inline Rgb Mix(Rgb a, Rgb b, float t) { return a + (b - a) * t; }
// 0..255 channel values as written in colour tables.
inline Rgb Rgb8(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f}; }

float Clamp01(float v);
float SmoothStep(float e0, float e1, float v);

// A colour ramp: stops at increasing positions 0..1, linear between them.
struct RampStop {
    float At;
    Rgb Colour;
};
Rgb Ramp(const std::vector<RampStop>& stops, float t);

// Small deterministic generator (SplitMix64) for placing stars, sparks and the like.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint32_t Next();
    float Uniform();                 // [0, 1)
    float Range(float lo, float hi);  // [lo, hi)
    int Below(int n);                // 0..n-1
private:
    uint64_t state_;
};

// Hash of a lattice point to [0, 1).
float Hash2(int x, int y, uint32_t seed);
// Smooth value noise in [0, 1). With periods above 0 the lattice wraps, so noise sampled
// over [0, periodX) x [0, periodY) tiles seamlessly.
float ValueNoise(float x, float y, uint32_t seed, int periodX = 0, int periodY = 0);
// Sum of octaves of value noise, normalised to [0, 1); each octave doubles frequency and period.
float Fbm(float x, float y, uint32_t seed, int octaves, int periodX = 0, int periodY = 0);

// A picture being painted: linear-ish RGB, 1.0 = full channel.
class Layer {
public:
    Layer(int width, int height, Rgb fill = {});
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Rgb& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    const Rgb& At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    void Add(int x, int y, Rgb c);               // additive, clipped to the layer
    void Blend(int x, int y, Rgb c, float alpha);  // over, clipped to the layer

    // Copies another layer with its top-left at (x, y).
    void Paste(const Layer& from, int x, int y);

private:
    int width_, height_;
    std::vector<Rgb> pixels_;
};

// Additive glow: intensity (1 - d / radius)^power inside the radius.
void AddGlow(Layer& layer, float cx, float cy, float radius, Rgb colour, float power = 2.0f);
// Additive Gaussian spot.
void AddGaussian(Layer& layer, float cx, float cy, float sigma, Rgb colour);
// Alpha-blended disc with a one-pixel soft edge.
void BlendDisc(Layer& layer, float cx, float cy, float radius, Rgb colour, float alpha = 1.0f);
// Stroke of a segment with round caps; soft edge one pixel wide.
void BlendLine(Layer& layer, float x0, float y0, float x1, float y1, float width, Rgb colour, float alpha = 1.0f);
// Additive segment whose intensity falls off over `radius` from its centre line.
void AddLineGlow(Layer& layer, float x0, float y0, float x1, float y1, float radius, Rgb colour,
                 float power = 2.0f);
// Axis-aligned rectangle [x0, x1) x [y0, y1) filled by blending.
void BlendRect(Layer& layer, int x0, int y0, int x1, int y1, Rgb colour, float alpha = 1.0f);

// Distance from point p to the segment a-b.
float SegmentDistance(float px, float py, float ax, float ay, float bx, float by);

// The painted layer as stored pixels (0x00RRGGBB), channels clamped to 0..255.
Bitmap ToBitmap(const Layer& layer);
// The same for a picture drawn with black as its colour key: pixels whose brightest
// channel is below `cutoff` become black (transparent), and no other pixel is black.
Bitmap ToKeyedBitmap(const Layer& layer, float cutoff = 10.0f / 255.0f);

// The same, but faint pixels fade out by ordered (4 x 4 Bayer) dithering instead of a hard
// edge: a pixel whose brightest channel is below `low` is transparent, above `high` always
// kept, in between kept where its brightness beats the dither threshold. Glows then thin
// out over the scene instead of ending in a dark opaque rim.
Bitmap ToDitheredKeyedBitmap(const Layer& layer, float low, float high);
// Ordered dither threshold of a pixel, in (0, 1).
float BayerThreshold(int x, int y);

// Places pattern pictures in a grid of `columns`, row by row, all of one size.
Bitmap TilePatterns(const std::vector<Bitmap>& patterns, int columns);

}  // namespace kelvane::assets
