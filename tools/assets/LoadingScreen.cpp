// The title picture shown while the game loads, and its progress cell.

#include "LoadingScreen.h"

#include <cmath>
#include <stdexcept>

#include "PanelStyle.h"
#include "world/ArchiveItems.h"
#include "Pictures.h"
#include "Quantise.h"
#include "Scenery.h"
#include "StrokeFont.h"
#include "media/Dib.h"

namespace kelvane::assets {

namespace {

constexpr int W = 640, H = 480;
// Progress cells, picture-relative: x 278 + 10 (k - 1), y 380, 9 x 9 each, k = 1..9.
constexpr int CellsLeft = 278, CellsTop = 380, CellsRight = 367, CellsBottom = 389;

void PaintLogo(Layer& l) {
    TextStyle big;
    big.Height = 64;
    big.Weight = 7;
    big.Spacing = 1.6f;
    big.Slant = 0.1f;
    const char* title = "KELVANE";
    float x = (W - TextWidth(title, big)) / 2 - big.Height * big.Slant / 2;
    auto strokes = LayoutText(title, x, 120, big);
    GlowStrokes(l, strokes, 26, Rgb8(255, 80, 20) * 0.45f, 2.0f);
    GlowStrokes(l, strokes, 11, Rgb8(255, 130, 40) * 0.8f, 1.5f);
    DrawStrokes(l, strokes, big.Weight, Rgb8(255, 200, 130));
    DrawStrokes(l, strokes, big.Weight * 0.35f, Rgb8(255, 250, 235));

    TextStyle small;
    small.Height = 12;
    small.Weight = 1.6f;
    small.Spacing = 3.0f;
    const char* over = "ORVATH";
    auto top = LayoutText(over, (W - TextWidth(over, small)) / 2, 92, small);
    GlowStrokes(l, top, 5, ui::Label * 0.4f);
    DrawStrokes(l, top, small.Weight, ui::Label);
    const char* under = "SPACE COMBAT";
    auto bottom = LayoutText(under, (W - TextWidth(under, small)) / 2, 206, small);
    DrawStrokes(l, bottom, small.Weight, ui::Accent);
    AddLineGlow(l, 150, 228, 490, 228, 2.5f, Rgb8(255, 120, 40) * 0.6f, 1.5f);
}

void PaintProgressFrame(Layer& l) {
    Polygon frame = ChamferedRect(CellsLeft - 14, CellsTop - 30, CellsRight + 14, CellsBottom + 12, 6, 6, 6, 6);
    PaintPanelBody(l, frame, 77);
    PaintWell(l, CellsLeft - 4, CellsTop - 4, CellsRight + 4, CellsBottom + 4);
    TextStyle s;
    s.Height = 7;
    s.Weight = 1.1f;
    s.Spacing = 1.6f;
    auto text = LayoutText("LOADING", CellsLeft - 6, CellsTop - 21, s);
    DrawStrokes(l, text, s.Weight, ui::Label);
    for (int i = 0; i < 3; ++i) BlendDisc(l, CellsRight - 2 - i * 7.0f, CellsTop - 17.5f, 1.6f, i == 0 ? ui::AccentWarm : ui::Accent);
}

Bitmap ProgressCell() {
    Layer l(9, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            bool rim = x == 0 || y == 0 || x == 8 || y == 8;
            float t = ((x + y) / 3) / 5.0f;  // six steps keep it within 16 colours
            l.At(x, y) = rim ? Rgb8(120, 50, 20) : Mix(Rgb8(255, 220, 150), Rgb8(230, 90, 20), t);
        }
    l.At(2, 2) = Rgb8(255, 250, 235);
    return ToBitmap(l);
}

std::unique_ptr<TPictureCollectionItem> IndexedItem(const char* name, const IndexedImage& picture, int bits, bool rle) {
    auto item = std::make_unique<TPictureCollectionItem>();
    item->Name = name;
    item->Transparent = false;
    item->Pic.ClassName = "TDIB";
    item->Pic.Data = EncodeDibIndexed(picture, bits, rle);
    item->Pic.Image = DecodeDib(item->Pic.Data);
    return item;
}

}  // namespace

PictureCollection BuildLoadingCollection() {
    Layer l = SkyFromBackground(W, H, 0.8f);
    PaintPlanet(l, 560, 560, 300);
    PaintLogo(l);
    PaintProgressFrame(l);
    for (int y = 0; y < H; ++y)  // a thin rim marks the picture's edge on the black screen
        for (int x = 0; x < W; ++x)
            if (x < 2 || y < 2 || x >= W - 2 || y >= H - 2) l.At(x, y) = (x < 1 || y < 1 || x >= W - 1 || y >= H - 1) ? ui::Rim : ui::RimLight * 0.6f;
    Bitmap title = ToBitmap(l);
    PictureCollection c;
    c.Items.resize(LoadingPicture::Count);
    c.Items[LoadingPicture::Screen] = IndexedItem("LoadingScreen", QuantiseMedianCut(title, 256), 8, true);

    Bitmap cell = ProgressCell();
    auto palette = PalettiseBitmap(cell, 16);
    if (!palette) throw std::runtime_error("progress cell has more than 16 colours");
    auto item = IndexedItem("ProgressCell", *palette, 4, false);
    item->TransparentColor = 14396362;
    c.Items[LoadingPicture::ProgressCell] = std::move(item);
    return c;
}

}  // namespace kelvane::assets
