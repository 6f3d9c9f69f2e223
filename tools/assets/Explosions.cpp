// Items 6 and 7 (fireball explosions, 28 square patterns each: flash, growing fireball,
// then smoke thinning out) and item 8 (the re-entry flash, 16 patterns of 100 x 101).
// Smoke cannot be translucent with a colour key, so it thins by dithering: a pixel is
// kept with the probability of its density.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "Paint.h"
#include "Pictures.h"

namespace kelvane::assets {

namespace {

constexpr float Pi = std::numbers::pi_v<float>;
constexpr int ExplosionFrames = 28;
constexpr int ExplosionColumns = 7;

struct Spark {
    float Angle, Speed, Life;
};

// One billow of the fireball: where it drifts (as a fraction of the largest radius) and
// how big it grows.
struct Billow {
    float Dx, Dy, Radius;
};

Rgb FireColour(float heat) {
    return Ramp({{0.00f, Rgb8(90, 22, 6)},
                 {0.25f, Rgb8(185, 48, 10)},
                 {0.48f, Rgb8(250, 125, 22)},
                 {0.72f, Rgb8(255, 210, 80)},
                 {1.00f, Rgb8(255, 250, 225)}},
                heat);
}

struct ExplosionLook {
    int Size;
    uint32_t Seed;
    std::vector<Billow> Billows;
    std::vector<Spark> Sparks;
    bool Shockwave;
};

Bitmap ExplosionFrame(const ExplosionLook& look, int t) {
    const int size = look.Size;
    const uint32_t seed = look.Seed;
    Layer l(size, size);
    std::vector<bool> solid(static_cast<size_t>(size) * size, false);
    const float c = size / 2.0f;
    const float maxRadius = size * 0.40f;
    const float grow = 1 - std::exp(-(t + 1) / 3.0f);
    const float temperature = Clamp01(1.35f * std::exp(-t / 6.5f));
    // The cloud holds together for ten frames, then thins out to a few wisps by the last pattern.
    const float fade = t < 10 ? 1.0f : std::pow(Clamp01(1 - (t - 10) / 19.0f), 1.2f);
    const float scale = 4.0f / size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float px = x + 0.5f - c, py = y + 0.5f - c;
            float n = Fbm(px * scale * 1.6f + 7, py * scale * 1.6f - t * 0.06f, seed, 4);
            float detail = Fbm(px * scale * 3.5f - t * 0.08f, py * scale * 3.5f + 3, seed + 9, 3);
            float inside = -1;
            for (const Billow& b : look.Billows) {
                float drift = maxRadius * (0.25f + 0.75f * grow) * (1 + 0.012f * t);
                float r = maxRadius * b.Radius * (0.2f + 0.8f * grow) * (1 + 0.01f * t);
                float d = std::hypot(px - b.Dx * drift, py - b.Dy * drift) / (r * (0.78f + 0.44f * n));
                inside = std::max(inside, 1 - d);
            }
            if (inside <= 0) continue;
            float alpha = SmoothStep(0.0f, 0.18f, inside) * fade;
            if (alpha < BayerThreshold(x, y)) continue;
            float heat = Clamp01(std::pow(inside, 0.6f) * temperature * (0.6f + 0.8f * detail));
            float smokeLight = 0.28f + 0.3f * detail + 0.3f * temperature;
            Rgb smoke = Mix(Rgb8(70, 60, 56), Rgb8(120, 108, 100), detail) * smokeLight;
            l.At(x, y) = Mix(smoke, FireColour(heat), SmoothStep(0.04f, 0.3f, heat));
            solid[static_cast<size_t>(y) * size + x] = true;
        }
    Layer glow(size, size);
    if (t < 3) AddGlow(glow, c, c, size * (0.24f + 0.1f * t), Rgb8(255, 245, 220) * (1.1f - 0.3f * t), 1.4f);
    if (look.Shockwave && t >= 1 && t < 9) {
        float r = size * (0.14f + 0.042f * t);
        float k = 1 - t / 9.0f;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                float d = std::fabs(std::hypot(x + 0.5f - c, y + 0.5f - c) - r);
                if (d < 2.2f) glow.Add(x, y, Rgb8(255, 200, 140) * (0.9f * k * (1 - d / 2.2f)));
            }
    }
    for (const Spark& s : look.Sparks) {
        if (t > s.Life) continue;
        float k = 1 - t / s.Life;
        float r0 = s.Speed * t, r1 = s.Speed * (t + 0.9f);
        float dx = std::cos(s.Angle), dy = std::sin(s.Angle);
        AddLineGlow(glow, c + dx * r0, c + dy * r0, c + dx * r1, c + dy * r1, 1.5f, Rgb8(255, 210, 120) * (1.3f * k), 1.0f);
    }
    // The cloud is kept as painted; glows on top of it add, glows beyond it dither out.
    Bitmap cloud = ToKeyedBitmap(l, 1.0f / 255.0f);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (solid[static_cast<size_t>(y) * size + x]) l.At(x, y) = l.At(x, y) + glow.At(x, y);
            else l.At(x, y) = glow.At(x, y);
    Bitmap lit = ToDitheredKeyedBitmap(l, 40.0f / 255.0f, 140.0f / 255.0f);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (solid[static_cast<size_t>(y) * size + x] && lit.At(x, y) == 0) lit.At(x, y) = cloud.At(x, y);
    return lit;
}

GeneratedPicture Explosion(const char* name, int size, uint32_t seed, int billows, int sparkCount, bool shockwave) {
    Rng rng(seed);
    ExplosionLook look{size, seed, {{0, 0, 0.85f}}, {}, shockwave};
    for (int i = 1; i < billows; ++i) {
        float a = rng.Range(0, 2 * Pi), d = rng.Range(0.3f, 0.6f);
        look.Billows.push_back({std::cos(a) * d, std::sin(a) * d, rng.Range(0.4f, 0.62f)});
    }
    for (int i = 0; i < sparkCount; ++i)
        look.Sparks.push_back({rng.Range(0, 2 * Pi), rng.Range(0.9f, 2.0f) * size / 64.0f, rng.Range(7, 15)});
    std::vector<Bitmap> frames;
    for (int t = 0; t < ExplosionFrames; ++t) frames.push_back(ExplosionFrame(look, t));
    GeneratedPicture out;
    out.Name = name;
    out.Image = TilePatterns(frames, ExplosionColumns);
    out.PatternWidth = size;
    out.PatternHeight = size;
    return out;
}

}  // namespace

GeneratedPicture PaintLargeExplosion() { return Explosion("ExplosionLarge", 96, 0xB00A, 7, 22, true); }

GeneratedPicture PaintSmallExplosion() { return Explosion("ExplosionSmall", 56, 0xB00B, 5, 10, false); }

GeneratedPicture PaintReentryFlash() {
    constexpr int W = 100, H = 101, Frames = 16;
    std::vector<Bitmap> frames;
    for (int t = 0; t < Frames; ++t) {
        Layer l(W, H);
        const float cx = W / 2.0f, cy = H / 2.0f;
        // Brightness climbs for five frames, holds, then dies away.
        float power = t < 5 ? (t + 1) / 5.0f : std::exp(-(t - 5) / 4.0f);
        float streak = t < 6 ? 8 + 7.0f * t : 50 * std::exp(-(t - 6) / 3.0f);
        AddLineGlow(l, cx - streak, cy, cx + streak, cy, 3.5f, Rgb8(150, 190, 255) * (0.9f * power), 1.6f);
        AddLineGlow(l, cx, cy - streak * 0.35f, cx, cy + streak * 0.35f, 2.5f, Rgb8(150, 190, 255) * (0.6f * power), 1.6f);
        AddGlow(l, cx, cy, 10 + 2.5f * t, Rgb8(90, 130, 255) * (0.8f * power), 2.0f);
        AddGaussian(l, cx, cy, 3.0f + 0.4f * std::min(t, 6), Rgb8(240, 248, 255) * (1.6f * power));
        if (t >= 3) {  // the ring of displaced space running outward
            float r = 6 + 3.2f * (t - 3);
            float k = std::pow(1 - (t - 3) / 13.0f, 1.3f);
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    float d = std::fabs(std::hypot(x + 0.5f - cx, y + 0.5f - cy) - r);
                    if (d < 2.5f) l.Add(x, y, Rgb8(130, 180, 255) * (0.8f * k * (1 - d / 2.5f)));
                }
        }
        Rng rng(0xF1A5 + t);
        for (int i = 0; i < 10; ++i) {  // motes drawn inward
            float a = rng.Range(0, 2 * Pi);
            float r = (44 - 2.6f * t) * rng.Range(0.6f, 1.0f);
            if (r > 2) AddGlow(l, cx + std::cos(a) * r, cy + std::sin(a) * r, 2.2f, Rgb8(200, 220, 255) * power, 1.5f);
        }
        frames.push_back(ToDitheredKeyedBitmap(l, 30.0f / 255.0f, 110.0f / 255.0f));
    }
    GeneratedPicture out;
    out.Name = "ReentryFlash";
    out.Image = TilePatterns(frames, 8);
    out.PatternWidth = W;
    out.PatternHeight = H;
    return out;
}

}  // namespace kelvane::assets
