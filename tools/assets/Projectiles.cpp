// Items 2, 3, 9, 11, 12, 13, 14, 15 and 21: the animated shots. Each is a row of
// patterns that the game cycles every frame; black is the colour key. Shots fly nose
// up in the picture (the game turns them to their heading).

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "Paint.h"
#include "Pictures.h"

namespace kelvane::assets {

namespace {

constexpr float Pi = std::numbers::pi_v<float>;

using FramePainter = std::function<void(Layer&, int frame, float phase)>;

GeneratedPicture Animate(const char* name, int w, int h, int frames, const FramePainter& paint) {
    std::vector<Bitmap> patterns;
    for (int f = 0; f < frames; ++f) {
        Layer layer(w, h);
        paint(layer, f, static_cast<float>(f) / frames);
        patterns.push_back(ToKeyedBitmap(layer, 30.0f / 255.0f));
    }
    GeneratedPicture out;
    out.Name = name;
    out.Image = TilePatterns(patterns, frames);
    out.PatternWidth = w;
    out.PatternHeight = h;
    return out;
}

// A bolt: a bright head near the top and a fading tail below it.
void PaintBolt(Layer& l, float cx, float head, float tail, float radius, Rgb core, Rgb glow, float flicker) {
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) {
        float t = static_cast<float>(i) / steps;
        float y = head + (tail - head) * t;
        float fade = std::pow(1 - t, 1.6f);
        AddGlow(l, cx, y, radius * (1 - 0.45f * t), glow * (0.22f * fade * flicker), 1.6f);
    }
    AddLineGlow(l, cx, head, cx, head + (tail - head) * 0.6f, radius * 0.45f, core * (0.9f * flicker), 1.3f);
    AddGlow(l, cx, head + 1, radius * 0.9f, core * flicker, 1.8f);
}

}  // namespace

GeneratedPicture PaintPhotonTorpedo() {
    return Animate("PhotonTorpedo", 24, 24, 8, [](Layer& l, int f, float phase) {
        const float c = 12;
        AddGlow(l, c, c, 11, Rgb8(200, 40, 10) * 0.9f, 2.2f);
        AddGlow(l, c, c, 7, Rgb8(255, 120, 30), 1.8f);
        for (int k = 0; k < 4; ++k) {  // four rays turning a quarter turn per 8 frames
            float a = phase * Pi / 2 + k * Pi / 2;
            float len = 9.5f + 1.5f * std::sin(2 * Pi * phase * 2 + k);
            AddLineGlow(l, c, c, c + std::cos(a) * len, c + std::sin(a) * len, 2.2f, Rgb8(255, 150, 60) * 0.8f, 1.5f);
        }
        for (int k = 0; k < 4; ++k) {
            float a = -phase * Pi / 2 + k * Pi / 2 + Pi / 4;
            AddLineGlow(l, c, c, c + std::cos(a) * 6.5f, c + std::sin(a) * 6.5f, 1.6f, Rgb8(255, 90, 40) * 0.6f, 1.5f);
        }
        AddGaussian(l, c, c, 1.8f + 0.3f * (f % 2), Rgb8(255, 250, 230) * 1.4f);
    });
}

GeneratedPicture PaintQuantumTorpedo() {
    return Animate("QuantumTorpedo", 28, 28, 8, [](Layer& l, int, float phase) {
        const float c = 14;
        AddGlow(l, c, c, 13, Rgb8(40, 70, 220) * 0.8f, 2.0f);
        AddGlow(l, c, c, 8, Rgb8(120, 170, 255), 1.8f);
        for (int ring = 0; ring < 2; ++ring) {  // expanding shells, one every half cycle
            float p = std::fmod(phase + ring * 0.5f, 1.0f);
            float r = 3 + 9 * p;
            float strength = ring == 0 ? 0.9f : 0.55f;
            for (int y = 0; y < 28; ++y)
                for (int x = 0; x < 28; ++x) {
                    float d = std::fabs(std::hypot(x + 0.5f - c, y + 0.5f - c) - r);
                    if (d < 1.6f) l.Add(x, y, Rgb8(170, 210, 255) * ((1 - d / 1.6f) * (1 - p) * strength));
                }
        }
        // The core breathes once per cycle, so all eight patterns differ.
        AddGaussian(l, c, c, 2.0f + 0.5f * std::sin(2 * Pi * phase), Rgb8(240, 248, 255) * 1.5f);
    });
}

GeneratedPicture PaintPhaserPulse() {
    return Animate("PhaserPulse", 10, 26, 4, [](Layer& l, int f, float) {
        const float flicker[] = {1.0f, 0.85f, 0.95f, 0.8f};
        PaintBolt(l, 5, 5, 23, 5.0f, Rgb8(255, 240, 200), Rgb8(255, 120, 20), flicker[f]);
    });
}

GeneratedPicture PaintPolaronTorpedo() {
    return Animate("PolaronTorpedo", 24, 24, 8, [](Layer& l, int, float phase) {
        const float c = 12;
        AddGlow(l, c, c, 11.5f, Rgb8(110, 20, 170) * 0.9f, 2.0f);
        for (int arm = 0; arm < 3; ++arm) {  // three spiral arms, a third of a turn per cycle
            for (int i = 0; i < 14; ++i) {
                float t = i / 13.0f;
                float a = 2 * Pi * (phase / 3 + arm / 3.0f) + t * 2.4f;
                float r = 2 + 8 * t;
                AddGlow(l, c + std::cos(a) * r, c + std::sin(a) * r, 2.6f, Rgb8(210, 110, 255) * (0.55f * (1 - t * 0.7f)), 1.5f);
            }
        }
        AddGaussian(l, c, c, 2.0f, Rgb8(250, 220, 255) * 1.4f);
    });
}

GeneratedPicture PaintIonTorpedo() {
    return Animate("IonTorpedo", 22, 22, 8, [](Layer& l, int f, float) {
        const float c = 11;
        AddGlow(l, c, c, 10, Rgb8(0, 120, 160) * 0.8f, 2.0f);
        Rng rng(0x10A0 + f);
        for (int arc = 0; arc < 3; ++arc) {  // crackling arcs, new ones every frame
            float a = rng.Range(0, 2 * Pi);
            float x = c, y = c;
            for (int seg = 0; seg < 4; ++seg) {
                float nx = x + std::cos(a) * 2.4f + rng.Range(-1.2f, 1.2f);
                float ny = y + std::sin(a) * 2.4f + rng.Range(-1.2f, 1.2f);
                AddLineGlow(l, x, y, nx, ny, 1.4f, Rgb8(170, 255, 255) * 0.9f, 1.2f);
                x = nx;
                y = ny;
                a += rng.Range(-0.7f, 0.7f);
            }
        }
        AddGlow(l, c, c, 5, Rgb8(80, 230, 255), 1.5f);
        AddGaussian(l, c, c, 1.6f, Rgb8(230, 255, 255) * 1.3f);
    });
}

GeneratedPicture PaintDisruptorMark1() {
    return Animate("DisruptorMark1", 10, 24, 4, [](Layer& l, int f, float) {
        const float flicker[] = {1.0f, 0.8f, 0.92f, 0.75f};
        PaintBolt(l, 5, 5, 22, 4.6f, Rgb8(200, 255, 190), Rgb8(30, 200, 40), flicker[f]);
    });
}

GeneratedPicture PaintDisruptorMark2() {
    return Animate("DisruptorMark2", 14, 30, 4, [](Layer& l, int f, float) {
        const float flicker[] = {1.0f, 0.85f, 0.95f, 0.8f};
        float wobble = (f % 2) ? 0.4f : -0.4f;
        PaintBolt(l, 4.5f + wobble, 6, 27, 4.2f, Rgb8(245, 255, 170), Rgb8(150, 230, 20), flicker[f]);
        PaintBolt(l, 9.5f - wobble, 6, 27, 4.2f, Rgb8(245, 255, 170), Rgb8(150, 230, 20), flicker[(f + 2) % 4]);
        AddGlow(l, 7, 6, 4, Rgb8(255, 255, 220) * 0.7f, 1.5f);
    });
}

GeneratedPicture PaintPlasmaTorpedo() {
    return Animate("PlasmaTorpedo", 26, 26, 8, [](Layer& l, int, float phase) {
        const float c = 13;
        for (int y = 0; y < 26; ++y)
            for (int x = 0; x < 26; ++x) {
                float dx = x + 0.5f - c, dy = y + 0.5f - c;
                float d = std::hypot(dx, dy);
                float a = std::atan2(dy, dx);
                // Turbulent edge: noise on a circle that loops once per cycle.
                float n = ValueNoise(std::cos(a) * 2 + 5 + std::cos(2 * Pi * phase) * 1.5f,
                                     std::sin(a) * 2 + 5 + std::sin(2 * Pi * phase) * 1.5f, 77);
                float edge = 7.5f + 4.0f * n;
                float t = Clamp01(1 - d / edge);
                Rgb col = Ramp({{0.0f, Rgb8(0, 60, 10)}, {0.35f, Rgb8(40, 200, 40)}, {0.7f, Rgb8(190, 255, 140)},
                                {1.0f, Rgb8(255, 255, 245)}},
                               t);
                if (t > 0) l.Add(x, y, col * std::pow(t, 0.6f));
            }
        AddGlow(l, c, c, 12.5f, Rgb8(20, 140, 40) * 0.5f, 2.2f);
    });
}

GeneratedPicture PaintTachyonShot() {
    return Animate("TachyonShot", 24, 24, 8, [](Layer& l, int, float phase) {
        const float c = 12;
        float r = 7.5f + 1.8f * std::sin(2 * Pi * phase);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) {
                float d = std::fabs(std::hypot(x + 0.5f - c, y + 0.5f - c) - r);
                if (d < 3.0f) l.Add(x, y, Rgb8(150, 200, 255) * (0.45f * std::pow(1 - d / 3.0f, 2.0f)));
                if (d < 1.1f) l.Add(x, y, Rgb8(225, 240, 255) * (0.9f * (1 - d / 1.1f)));
            }
        for (int k = 0; k < 3; ++k) {  // sparks running round the ring
            float a = 2 * Pi * (phase + k / 3.0f);
            AddGlow(l, c + std::cos(a) * r, c + std::sin(a) * r, 2.5f, Rgb8(235, 245, 255), 1.5f);
        }
        AddGaussian(l, c, c, 1.5f, Rgb8(150, 190, 255) * 0.6f);
    });
}

}  // namespace kelvane::assets
