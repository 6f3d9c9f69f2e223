// Item 17: the target marker, 62 x 62, drawn centred on the target. Four corner brackets
// turn a quarter turn over the cycle (so the loop is seamless) while a ring of ticks
// breathes; the centre stays clear (black is the colour key).

#include <cmath>
#include <numbers>
#include <vector>

#include "Paint.h"
#include "Pictures.h"

namespace kelvane::assets {

GeneratedPicture PaintTargetMarker() {
    constexpr int Size = 62, Frames = 12;
    constexpr float Pi = std::numbers::pi_v<float>;
    const float c = Size / 2.0f;
    std::vector<Bitmap> frames;
    for (int f = 0; f < Frames; ++f) {
        float phase = static_cast<float>(f) / Frames;
        Layer l(Size, Size);
        float pulse = 0.75f + 0.25f * std::cos(2 * Pi * phase);
        for (int k = 0; k < 4; ++k) {
            float a = phase * Pi / 2 + k * Pi / 2 + Pi / 4;
            float r = 25.5f;
            float span = 0.32f;  // half the bracket's arc, in radians
            // A bracket: an arc with its ends bent inward.
            std::vector<std::pair<float, float>> pts;
            for (int i = 0; i <= 8; ++i) {
                float b = a - span + 2 * span * i / 8.0f;
                pts.push_back({c + std::cos(b) * r, c + std::sin(b) * r});
            }
            float ea = a - span, eb = a + span;
            pts.insert(pts.begin(), {c + std::cos(ea) * (r - 5), c + std::sin(ea) * (r - 5)});
            pts.push_back({c + std::cos(eb) * (r - 5), c + std::sin(eb) * (r - 5)});
            for (size_t i = 1; i < pts.size(); ++i) {
                AddLineGlow(l, pts[i - 1].first, pts[i - 1].second, pts[i].first, pts[i].second, 3.5f,
                            Rgb8(255, 70, 20) * (0.35f * pulse), 2.0f);
            }
            for (size_t i = 1; i < pts.size(); ++i)
                BlendLine(l, pts[i - 1].first, pts[i - 1].second, pts[i].first, pts[i].second, 1.6f, Rgb8(255, 120, 60));
        }
        for (int k = 0; k < 4; ++k) {  // inner ticks pointing at the target, counter-turning
            float a = -phase * Pi / 2 + k * Pi / 2;
            float r0 = 15 + 1.5f * pulse, r1 = 19 + 1.5f * pulse;
            BlendLine(l, c + std::cos(a) * r0, c + std::sin(a) * r0, c + std::cos(a) * r1, c + std::sin(a) * r1, 1.3f,
                      Rgb8(255, 200, 140) * pulse);
        }
        frames.push_back(ToKeyedBitmap(l, 40.0f / 255.0f));
    }
    GeneratedPicture out;
    out.Name = "TargetMarker";
    out.Image = TilePatterns(frames, Frames);
    out.PatternWidth = Size;
    out.PatternHeight = Size;
    return out;
}

}  // namespace kelvane::assets
