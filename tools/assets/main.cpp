// kelvane-assets: paints and synthesises the game's data from nothing but code, and
// copies the hand-written ship definitions and scripts beside them.
//
//   kelvane-assets <repository data dir> <game dir>
//
// writes into <game dir>: Data/GFX.dxg, Data/SFX.dxg, Data/Loading.dxg,
// Data/Ships/*.bmp (one per ship design) with the *.ini files from <data dir>/Ships,
// Scripts/* from <data dir>/Scripts, the window's icon Data/Icon.bmp (64 x 64) and the
// desktop's icons icons/hicolor/<N>x<N>/apps/kelvane.png (N = 48, 128, 256) for
// installing. The output is the same on every run. Every file is written whole or not at
// all: a full disk ends the run (status 3) naming the file, and leaves none of it cut.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "GfxArchive.h"
#include "Icon.h"
#include "LoadingScreen.h"
#include "ShipPictures.h"
#include "Sounds.h"
#include "base/FailureReport.h"
#include "base/FileWriter.h"
#include "media/Archive.h"
#include "media/Dib.h"
#include "platform/png/PngFile.h"
#include "world/GameDataFiles.h"

namespace fs = std::filesystem;
using namespace kelvane;

namespace {

constexpr const char* Program = "kelvane-assets";

// Copies every regular file of `from` into `to`, sorted by name for a stable order.
std::vector<std::string> CopyFiles(const fs::path& from, const fs::path& to, const std::string& extension) {
    std::set<fs::path> files;
    for (const auto& entry : fs::directory_iterator(from))
        if (entry.is_regular_file() && (extension.empty() || entry.path().extension() == extension))
            files.insert(entry.path());
    std::vector<std::string> names;
    for (const fs::path& file : files) {
        WriteFile((to / file.filename()).string(), ReadWholeFile(file.string()));
        names.push_back(file.stem().string());
    }
    return names;
}

void WriteShips(const fs::path& source, const fs::path& shipsDir) {
    std::vector<std::string> definitions = CopyFiles(source / "Ships", shipsDir, ".ini");
    std::set<std::string> painted;
    for (const assets::ShipPicture& ship : assets::PaintShips()) {
        WriteFile((shipsDir / (ship.BaseName + ".bmp")).string(), EncodeBmpFile(ship.Image, 24));
        painted.insert(ship.BaseName);
    }
    // A definition without its picture would stop the game's loading; say so here instead.
    for (const std::string& name : definitions)
        if (!painted.count(name.substr(0, name.find('.'))))
            throw std::runtime_error("no ship picture is painted for definition " + name + ".ini");
}

// The desktop's icons as PNG files with alpha, and the window's icon as a BMP the game
// reads with its own decoder.
void WriteIcons(const fs::path& game) {
    constexpr int WindowIconSize = 64;
    const std::vector<assets::IconImage> icons = assets::PaintIcons({48, 128, 256, WindowIconSize});
    for (const assets::IconImage& icon : icons) {
        if (icon.Size == WindowIconSize) {
            Bitmap bitmap;
            bitmap.Width = bitmap.Height = icon.Size;
            bitmap.Pixels = assets::OpaqueIcon(icon);
            WriteFile((game / "Data" / "Icon.bmp").string(), EncodeBmpFile(bitmap, 24));
            continue;
        }
        const std::string size = std::to_string(icon.Size);
        const fs::path dir = game / "icons" / "hicolor" / (size + "x" + size) / "apps";
        fs::create_directories(dir);
        WriteFile((dir / "kelvane.png").string(), EncodePng(icon.Argb, icon.Size, icon.Size, true));
    }
}

void WriteGameData(const fs::path& source, const fs::path& game) {
    const GameDataFiles files = GameDataFiles::In(game.string() + "/");
    fs::create_directories(files.ShipsFolder);
    fs::create_directories(files.ScriptsFolder);
    WriteFile(files.Graphics, WritePictureArchive(assets::BuildGraphicsCollection()));
    WriteFile(files.Sounds, WriteWaveArchive(assets::BuildSoundCollection()));
    WriteFile(files.LoadingScreen, WritePictureArchive(assets::BuildLoadingCollection()));
    WriteShips(source, files.ShipsFolder);
    CopyFiles(source / "Scripts", files.ScriptsFolder, "");
    WriteIcons(game);
}

ExitStatus Run(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kelvane-assets <repository data dir> <game dir>\n");
        return ExitStatus::BadInput;
    }
    try {
        WriteGameData(argv[1], argv[2]);
        return ExitStatus::Success;
    } catch (const std::exception& error) {
        return ReportFailure(Program, FailureOf(error, ExitStatus::Failure));
    }
}

}  // namespace

int main(int argc, char** argv) { return EndProgram(Program, Run(argc, argv)); }
