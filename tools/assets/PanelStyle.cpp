// Panel body, wells, title strips and brackets.

#include "PanelStyle.h"

#include <algorithm>
#include <cmath>

#include "StrokeFont.h"

namespace kelvane::assets {

void PaintPanelBody(Layer& layer, const Polygon& outline, uint32_t seed) {
    float top = outline[0].Y, bottom = outline[0].Y;
    for (const Vec2& v : outline) {
        top = std::min(top, v.Y);
        bottom = std::max(bottom, v.Y);
    }
    for (int y = 0; y < layer.Height(); ++y)
        for (int x = 0; x < layer.Width(); ++x) {
            float cover = PixelCoverage(outline, x, y, 3);
            if (cover <= 0) continue;
            float t = (y + 0.5f - top) / std::max(1.0f, bottom - top);
            Rgb body = Mix(ui::Body, ui::BodyLow, t);
            float grain = Fbm(x / 9.0f, y / 9.0f, seed, 3);
            body = body * (0.85f + 0.3f * grain);
            if (y % 3 == 0) body = body * 0.92f;  // faint scan lines
            body = PanelRim(body, EdgeDistance(outline, x + 0.5f, y + 0.5f), t);
            layer.Blend(x, y, body, cover >= 0.5f ? 1.0f : 0.0f);
        }
}

Rgb PanelRim(Rgb inside, float edge, float height) {
    Rgb rim = inside;
    if (edge < 1.0f) rim = ui::Rim;
    else if (edge < 2.0f) rim = ui::RimLight * 0.8f;
    else if (edge < 3.0f) rim = Mix(ui::Rim, inside, 0.5f);
    // Light from above: the upper rim reads brighter than the lower.
    if (edge < 3.0f) rim = rim * (1.1f - 0.35f * height);
    return rim;
}

void PaintWell(Layer& layer, int x0, int y0, int x1, int y1) {
    BlendRect(layer, x0, y0, x1, y1, ui::WellRim);
    BlendRect(layer, x0 + 1, y0 + 1, x1 - 1, y1 - 1, ui::Well);
    BlendRect(layer, x0 + 1, y0 + 1, x1 - 1, y0 + 2, Rgb8(2, 2, 5));  // shadow under the top lip
}

void PaintTitleStrip(Layer& layer, int x0, int y0, int x1, int y1, std::string_view caption, int lights) {
    for (int y = y0; y < y1; ++y) {
        float t = static_cast<float>(y - y0) / std::max(1, y1 - y0 - 1);
        BlendRect(layer, x0, y, x1, y + 1, Mix(Rgb8(40, 46, 88), Rgb8(22, 25, 50), t));
    }
    BlendRect(layer, x0, y1 - 1, x1, y1, ui::Accent * 0.8f);
    BlendRect(layer, x0, y0, x0 + 3, y1 - 1, ui::Accent);
    TextStyle style;
    style.Height = 7;
    style.Weight = 1.1f;
    style.Spacing = 1.6f;
    float ty = y0 + (y1 - y0 - 7) / 2.0f - 0.5f;
    auto strokes = LayoutText(caption, x0 + 8.0f, ty, style);
    GlowStrokes(layer, strokes, 3.0f, ui::Label * 0.25f);
    DrawStrokes(layer, strokes, style.Weight, ui::Label);
    for (int i = 0; i < lights; ++i) {
        float cx = x1 - 8.0f - i * 9.0f, cy = (y0 + y1 - 1) / 2.0f;
        Rgb on = i == 0 ? ui::AccentWarm : Rgb8(90, 200, 255);
        BlendDisc(layer, cx, cy, 2.2f, Rgb8(10, 10, 20));
        BlendDisc(layer, cx, cy, 1.5f, on);
        AddGlow(layer, cx, cy, 4.5f, on * 0.35f, 2.0f);
    }
}

void PaintCornerBrackets(Layer& layer, int x0, int y0, int x1, int y1, int arm, Rgb colour) {
    auto h = [&](int x, int y, int len) { BlendRect(layer, std::min(x, x + len), y, std::max(x, x + len), y + 1, colour); };
    auto v = [&](int x, int y, int len) { BlendRect(layer, x, std::min(y, y + len), x + 1, std::max(y, y + len), colour); };
    h(x0, y0, arm);
    v(x0, y0, arm);
    h(x1, y0, -arm);
    v(x1 - 1, y0, arm);
    h(x0, y1 - 1, arm);
    v(x0, y1, -arm);
    h(x1, y1 - 1, -arm);
    v(x1 - 1, y1, -arm);
}

}  // namespace kelvane::assets
