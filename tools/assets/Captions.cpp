// Items 18, 19 and 20: the respawn caption (drawn at 160,340), its digits (at 810,340)
// and the pause picture (at 370,340), in the glowing stroke font.

#include <string>
#include <vector>

#include "Paint.h"
#include "Pictures.h"
#include "StrokeFont.h"

namespace kelvane::assets {

namespace {

// Big glowing text: a wide soft halo, a tighter glow and a bright core with a white heart.
void PaintGlowText(Layer& l, std::string_view text, float x, float y, const TextStyle& style, Rgb glow, Rgb core) {
    auto strokes = LayoutText(text, x, y, style);
    GlowStrokes(l, strokes, style.Weight * 4.0f, glow * 0.35f, 2.0f);
    GlowStrokes(l, strokes, style.Weight * 1.6f, glow * 0.7f, 1.5f);
    DrawStrokes(l, strokes, style.Weight, core);
    DrawStrokes(l, strokes, style.Weight * 0.35f, Mix(core, Rgb8(255, 255, 255), 0.6f));
}

TextStyle BigStyle(float height) {
    TextStyle s;
    s.Height = height;
    s.Weight = height / 9.0f;
    s.Spacing = 1.4f;
    s.Slant = 0.12f;
    return s;
}

const Rgb CaptionGlow = Rgb8(255, 90, 30);
const Rgb CaptionCore = Rgb8(255, 190, 120);

}  // namespace

GeneratedPicture PaintRespawnCaption() {
    constexpr int W = 600, H = 60;
    Layer l(W, H);
    TextStyle style = BigStyle(38);
    const std::string text = "RE-ENTRY IN";
    // Right-aligned, so the countdown digit at x 810 follows closely.
    float x = W - 18 - TextWidth(text, style);
    PaintGlowText(l, text, x, (H - style.Height) / 2, style, CaptionGlow, CaptionCore);
    GeneratedPicture out;
    out.Name = "RespawnCaption";
    out.Image = ToDitheredKeyedBitmap(l, 20.0f / 255.0f, 90.0f / 255.0f);
    return out;
}

GeneratedPicture PaintRespawnDigits() {
    constexpr int W = 60, H = 60;
    std::vector<Bitmap> digits;
    TextStyle style = BigStyle(42);
    for (int d = 0; d <= 9; ++d) {
        Layer l(W, H);
        std::string text(1, static_cast<char>('0' + d));
        float x = (W - TextWidth(text, style)) / 2 - style.Height * style.Slant / 2;
        PaintGlowText(l, text, x, (H - style.Height) / 2, style, Rgb8(255, 60, 20), Rgb8(255, 230, 170));
        digits.push_back(ToDitheredKeyedBitmap(l, 20.0f / 255.0f, 90.0f / 255.0f));
    }
    GeneratedPicture out;
    out.Name = "RespawnDigits";
    out.Image = TilePatterns(digits, 10);
    out.PatternWidth = W;
    out.PatternHeight = H;
    return out;
}

GeneratedPicture PaintPauseCaption() {
    constexpr int W = 280, H = 80;
    Layer l(W, H);
    TextStyle style = BigStyle(40);
    const std::string text = "PAUSED";
    float x = (W - TextWidth(text, style)) / 2 - style.Height * style.Slant / 2;
    // Thin rules above and below frame the word.
    AddLineGlow(l, 20, 8, W - 20, 8, 2.5f, Rgb8(90, 150, 255) * 0.8f, 1.5f);
    AddLineGlow(l, 20, H - 9, W - 20, H - 9, 2.5f, Rgb8(90, 150, 255) * 0.8f, 1.5f);
    PaintGlowText(l, text, x, (H - style.Height) / 2, style, Rgb8(70, 130, 255), Rgb8(190, 220, 255));
    GeneratedPicture out;
    out.Name = "Paused";
    out.Image = ToDitheredKeyedBitmap(l, 20.0f / 255.0f, 90.0f / 255.0f);
    return out;
}

}  // namespace kelvane::assets
