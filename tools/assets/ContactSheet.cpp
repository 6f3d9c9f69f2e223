// kelvane-contact-sheet <game dir> <sheet.png> [<screen.png>]
//
// Reads the generated data back through the game's own readers and lays every picture
// out on one sheet (every pattern; transparent pixels show the starfield), plus an
// optional mock-up of a game screen with the panels, bars and map where the game puts
// them. For looking at the art; not part of the build.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "Paint.h"
#include "base/FailureReport.h"
#include "base/FileWriter.h"
#include "media/Archive.h"
#include "media/Dib.h"
#include "platform/png/PngFile.h"
#include "world/GameDataFiles.h"

namespace fs = std::filesystem;
using namespace kelvane;

namespace {

std::vector<uint32_t> Pixels(const Bitmap& image) {
    std::vector<uint32_t> pixels(static_cast<size_t>(image.Width) * image.Height);
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) pixels[static_cast<size_t>(y) * image.Width + x] = image.At(x, y);
    return pixels;
}

// Whole or not at all: a full disk leaves no cut sheet behind.
void WriteSheet(const std::string& path, const Bitmap& image) {
    WriteFile(path, EncodePng(Pixels(image), image.Width, image.Height));
}

struct Sheet {
    Bitmap Canvas;
    const Bitmap* Sky = nullptr;
    int X = 8, Y = 8, RowHeight = 0;

    // Places a picture on the shelf; transparent pixels show the sky.
    void Put(const Bitmap& picture, bool transparent, uint32_t keyPixel) {
        if (X + picture.Width > Canvas.Width - 8) {
            X = 8;
            Y += RowHeight + 12;
            RowHeight = 0;
        }
        if (Y + picture.Height > Canvas.Height) throw std::runtime_error("contact sheet too small");
        for (int y = 0; y < picture.Height; ++y)
            for (int x = 0; x < picture.Width; ++x) {
                uint32_t p = picture.At(x, y);
                if (transparent && p == keyPixel)
                    p = Sky ? Sky->At((X + x) % Sky->Width, (Y + y) % Sky->Height) : 0x202020;
                Canvas.At(X + x, Y + y) = p;
            }
        X += picture.Width + 12;
        RowHeight = std::max(RowHeight, picture.Height);
    }
};

void Blit(Bitmap& dst, const Bitmap& src, int sx, int sy, int w, int h, int dx, int dy, bool keyed, uint32_t key) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int tx = dx + x, ty = dy + y;
            if (tx < 0 || ty < 0 || tx >= dst.Width || ty >= dst.Height) continue;
            uint32_t p = src.At(sx + x, sy + y);
            if (keyed && p == key) continue;
            dst.At(tx, ty) = p;
        }
}

void Rect(Bitmap& dst, int x1, int y1, int x2, int y2, uint32_t pen, uint32_t brush, bool fill) {
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x) {
            bool edge = x == x1 || y == y1 || x == x2 - 1 || y == y2 - 1;
            if (edge) dst.At(x, y) = pen;
            else if (fill) dst.At(x, y) = brush;
        }
}

const TPictureCollectionItem& Item(const PictureCollection& c, size_t i) { return *c.Items.at(i); }

void DrawItem(Bitmap& screen, const PictureCollection& gfx, size_t i, int pattern, int x, int y) {
    const auto& item = Item(gfx, i);
    int w = item.Width(), h = item.Height();
    int cols = item.Pic.Image.Width / w;
    Blit(screen, item.Pic.Image, (pattern % cols) * w, (pattern / cols) * h, w, h, x, y, item.Transparent,
         ColorToPixel(item.TransparentColor));
}

// The game screen as the status display lays it out, with bars half full and
// placeholder blocks where the texts go.
Bitmap MockScreen(const PictureCollection& gfx, const std::vector<Bitmap>& ships) {
    Bitmap screen;
    screen.Resize(1024, 768);
    const Bitmap& sky = Item(gfx, 0).Pic.Image;
    for (int ty = 0; ty < 2; ++ty)
        for (int tx = 0; tx < 2; ++tx) Blit(screen, sky, 0, 0, 640, 480, tx * 640, ty * 480, false, 0);
    int sx = 140;
    for (const Bitmap& ship : ships) {
        int w = ship.Width / 3;
        Blit(screen, ship, 0, 0, w, ship.Height, sx, 420 - ship.Height / 2, true, 0x00FF00);
        sx += w + 6;
    }
    DrawItem(screen, gfx, 6, 8, 300, 180);
    DrawItem(screen, gfx, 7, 4, 400, 200);
    DrawItem(screen, gfx, 17, 0, 500 - 31, 250 - 31);
    DrawItem(screen, gfx, 8, 6, 600, 200);
    for (int k = 0; k < 7; ++k) {
        size_t items[] = {2, 3, 9, 11, 12, 13, 14};
        DrawItem(screen, gfx, items[k], 0, 250 + k * 40, 300);
    }
    DrawItem(screen, gfx, 15, 0, 530, 300);
    DrawItem(screen, gfx, 21, 0, 570, 300);
    const auto& beam = Item(gfx, 1).Pic.Image;
    for (int y = 0; y < 120; ++y) Blit(screen, beam, 0, y * beam.Height / 120, beam.Width, 1, 700, 150 + y, true, 0);
    const auto& beam2 = Item(gfx, 10).Pic.Image;
    for (int y = 0; y < 120; ++y) Blit(screen, beam2, 0, y * beam2.Height / 120, beam2.Width, 1, 730, 150 + y, true, 0);

    const uint32_t label = ColorToPixel(0xF2DCC6);
    DrawItem(screen, gfx, 4, 0, 5, 5);
    for (int row = 0; row < 4; ++row) Rect(screen, 23, 32 + row * 13 + 2, 23 + (row < 2 ? 30 : 210), 32 + row * 13 + 10, label, label, true);
    Rect(screen, 65, 33, 207, 44, ColorToPixel(0xC77BAD), 0, true);
    Rect(screen, 66, 34, 66 + 90, 43, ColorToPixel(0x8C3C71), ColorToPixel(0x8C3C71), true);
    Rect(screen, 65, 46, 207, 57, ColorToPixel(0xC67E7A), 0, true);
    Rect(screen, 66, 47, 66 + 120, 56, ColorToPixel(0x8C423C), ColorToPixel(0x8C423C), true);
    DrawItem(screen, gfx, 5, 0, 812, 5);
    for (int row = 0; row < 2; ++row) Rect(screen, 814, 32 + row * 13 + 2, 814 + 30, 32 + row * 13 + 10, label, label, true);
    Rect(screen, 856, 33, 998, 44, ColorToPixel(0xC77BAD), 0, true);
    Rect(screen, 857, 34, 857 + 60, 43, ColorToPixel(0x8C3C71), ColorToPixel(0x8C3C71), true);
    Rect(screen, 856, 46, 998, 57, ColorToPixel(0xC67E7A), 0, true);
    Rect(screen, 857, 47, 857 + 140, 56, ColorToPixel(0x8C423C), ColorToPixel(0x8C423C), true);
    DrawItem(screen, gfx, 16, 0, 842, 494);
    Rect(screen, 845, 523, 997, 637, 0x111111, 0x111111, true);
    Rect(screen, 845, 523, 921, 580, 0x303030, 0x101010, true);
    Rect(screen, 844, 522, 998, 638, ColorToPixel(0xC67E7A), 0, false);
    for (int n = 0; n < 8; ++n) {
        Rect(screen, 844, 670 + 11 * n + 2, 844 + 40, 670 + 11 * n + 10, label, label, true);
        Rect(screen, 997 - 18, 670 + 11 * n + 2, 997, 670 + 11 * n + 10, label, label, true);
    }
    DrawItem(screen, gfx, 18, 0, 160, 340);
    DrawItem(screen, gfx, 19, 7, 810, 340);
    DrawItem(screen, gfx, 20, 0, 370, 440);
    return screen;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: kelvane-contact-sheet <game dir> <sheet.png> [<screen.png>]\n";
        return static_cast<int>(ExitStatus::BadInput);
    }
    try {
        const GameDataFiles files = GameDataFiles::In(std::string(argv[1]) + "/");
        PictureCollection gfx, loading;
        ReadPictureArchive(ReadWholeFile(files.Graphics), gfx);
        ReadPictureArchive(ReadWholeFile(files.LoadingScreen), loading);
        std::set<fs::path> shipFiles;
        for (const auto& e : fs::directory_iterator(files.ShipsFolder))
            if (e.path().extension() == ".bmp") shipFiles.insert(e.path());
        std::vector<Bitmap> ships;
        for (const fs::path& f : shipFiles) ships.push_back(DecodeBmpFile(ReadWholeFile(f.string())));

        Sheet sheet;
        sheet.Canvas.Resize(1720, 3600, 0x303038);
        sheet.Sky = &gfx.Items.at(0)->Pic.Image;
        for (const auto& item : gfx.Items)
            sheet.Put(item->Pic.Image, item->Transparent, ColorToPixel(item->TransparentColor));
        for (const auto& item : loading.Items) sheet.Put(item->Pic.Image, false, 0);
        for (const Bitmap& ship : ships) {
            // Key green shows the sky in patterns 0 and 2; the mask is shown as it is.
            Bitmap keyed = ship;
            int w = ship.Width / 3;
            for (int y = 0; y < ship.Height; ++y)
                for (int x = w; x < 2 * w; ++x)
                    if (keyed.At(x, y) == 0x00FF00) keyed.At(x, y) = 0x010101;
            sheet.Put(keyed, true, 0x00FF00);
        }
        Bitmap out;
        out.Resize(sheet.Canvas.Width, std::min(sheet.Canvas.Height, sheet.Y + sheet.RowHeight + 8));
        for (int y = 0; y < out.Height; ++y)
            for (int x = 0; x < out.Width; ++x) out.At(x, y) = sheet.Canvas.At(x, y);
        WriteSheet(argv[2], out);
        if (argc > 3) WriteSheet(argv[3], MockScreen(gfx, ships));
    } catch (const std::exception& e) {
        return EndProgram("kelvane-contact-sheet", ReportFailure("kelvane-contact-sheet", FailureOf(e, ExitStatus::Failure)));
    }
    return EndProgram("kelvane-contact-sheet", ExitStatus::Success);
}
