// Items 4, 5 and 16: the status panels. The game draws its texts and bars at fixed
// screen positions; the panels leave dark wells exactly there. Coordinates below are
// relative to the panel's own top-left corner (own panel at 5,5; target panel at 812,5;
// list and map panel at 842,494).

#include "PanelStyle.h"
#include "Pictures.h"
#include "StrokeFont.h"

namespace kelvane::assets {

namespace {

const Rgb KeyColour = Rgb8(255, 0, 255);

// Everything outside the outline goes back to the colour key, whatever was painted there.
GeneratedPicture Finish(const char* name, Layer& layer, const Polygon& outline) {
    for (int y = 0; y < layer.Height(); ++y)
        for (int x = 0; x < layer.Width(); ++x)
            if (PixelCoverage(outline, x, y, 3) < 0.5f) layer.At(x, y) = KeyColour;
    GeneratedPicture out;
    out.Name = name;
    out.Image = ToBitmap(layer);
    out.Transparent = true;
    out.TransparentColor = PanelKey;
    return out;
}

// A column of small segments, brighter toward the top, for the panels' spare edges.
void PaintMeter(Layer& l, int x0, int y0, int x1, int y1, int segment) {
    int count = (y1 - y0) / segment;
    for (int i = 0; i < count; ++i) {
        int y = y0 + i * segment;
        float t = static_cast<float>(i) / std::max(1, count - 1);
        Rgb lit = Mix(ui::Accent, Rgb8(60, 80, 150), t) * (i % 4 == 0 ? 1.0f : 0.7f);
        BlendRect(l, x0, y, x1, y + segment - 1, Rgb8(8, 9, 18));
        BlendRect(l, x0 + 1, y + 1, x1 - 1, y + segment - 2, lit * 0.8f);
    }
}

}  // namespace

GeneratedPicture PaintOwnShipPanel() {
    constexpr int W = 330, H = 90;
    Layer l(W, H, KeyColour);
    const Polygon outline = ChamferedRect(0, 0, W, H, 8, 14, 8, 4);
    PaintPanelBody(l, outline, 401);
    PaintTitleStrip(l, 4, 4, W - 4, 20, "VESSEL STATUS", 3);
    // Texts start at x 18 on rows 27, 40, 53 and 66; bar frames at (60,28)-(202,39) and
    // (60,41)-(202,52); the reload texts run to about x 250.
    PaintWell(l, 12, 23, W - 8, H - 6);
    for (int i = 0; i < 6; ++i) BlendRect(l, W - 60 + i * 8, H - 4, W - 55 + i * 8, H - 3, ui::Accent * 0.9f);
    return Finish("OwnShipPanel", l, outline);
}

GeneratedPicture PaintTargetPanel() {
    constexpr int W = 207, H = 60;
    Layer l(W, H, KeyColour);
    const Polygon outline = ChamferedRect(0, 0, W, H, 6, 12, 6, 4);
    PaintPanelBody(l, outline, 402);
    PaintTitleStrip(l, 4, 4, W - 4, 20, "TARGET", 2);
    // Texts at x 2 on rows 27 and 40; bar frames at (44,28)-(186,39) and (44,41)-(186,52).
    PaintWell(l, 1, 23, 191, 56);
    PaintMeter(l, 194, 24, 202, 56, 4);
    return Finish("TargetPanel", l, outline);
}

GeneratedPicture PaintShipListPanel() {
    constexpr int W = 182, H = 274;
    Layer l(W, H, KeyColour);
    const Polygon outline = ChamferedRect(0, 0, W, H, 12, 0, 0, 0);
    PaintPanelBody(l, outline, 416);
    PaintTitleStrip(l, 4, 4, W - 4, 21, "TACTICAL MAP", 2);
    // The game frames its map at (2,28)-(156,144) and fills (3,29)-(155,143).
    PaintWell(l, 1, 25, 159, 147);
    PaintCornerBrackets(l, 0, 24, 160, 148, 6, ui::Accent);
    // Rows of names and scores at y 176 + 11 n, x 2 to 155.
    PaintTitleStrip(l, 4, 151, 159, 168, "VESSELS", 0);
    TextStyle style;
    style.Height = 7;
    style.Weight = 1.1f;
    style.Spacing = 1.6f;
    auto score = LayoutText("SCORE", 155 - TextWidth("SCORE", style), 155.5f, style);
    DrawStrokes(l, score, style.Weight, ui::Label * 0.85f);
    PaintWell(l, 1, 172, 159, 268);
    for (int n = 1; n < 8; ++n) BlendRect(l, 3, 175 + 11 * n, 157, 176 + 11 * n, Rgb8(12, 14, 26));
    PaintMeter(l, 164, 26, 176, 266, 5);
    return Finish("ShipListPanel", l, outline);
}

}  // namespace kelvane::assets
