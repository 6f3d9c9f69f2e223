#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "console/WriteText.h"
#include "game/MainForm.h"
#include "game/ShipDefinition.h"
#include "game/ShipDefinitionFiles.h"
#include "media/Archive.h"
#include "media/Canvas.h"
#include "base/FileError.h"
#include "base/GamePaths.h"
#include "world/ArchiveItems.h"
#include "world/ConsoleLog.h"
#include "world/GameDataFiles.h"

namespace kelvane {
namespace {

constexpr uint32_t LoadingTextColor = 13073325;  // 0xC77BAD

// The whole file under a private temporary name beside it, every write and the close
// checked, then renamed into place; what stood there stays until then. Throws
// "Cannot create file PATH: REASON".
void WriteArchiveInPlace(const std::string& path, const std::vector<uint8_t>& bytes) {
    const auto fail = [&path](int code) {
        throw std::runtime_error("Cannot create file " + path + ": " + std::strerror(code));
    };
    // ".Ships.dxg.XXXXXX" in the same folder, so that the rename cannot cross file systems.
    const std::filesystem::path target(path);
    std::string temporary = target.parent_path().string();
    if (!temporary.empty()) temporary += '/';
    temporary.append(".").append(target.filename().string()).append(".XXXXXX");
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);  // a name no one else has
    if (descriptor < 0) fail(errno);
    ::fchmod(descriptor, 0644);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            const int code = written < 0 ? errno : EIO;
            ::close(descriptor);
            ::unlink(temporary.c_str());
            fail(code);
        }
        done += static_cast<size_t>(written);
    }
    if (::close(descriptor) != 0 || std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int code = errno;
        ::unlink(temporary.c_str());
        fail(code);
    }
}

}  // namespace

void TMainForm::DrawLoadingProgress(uint8_t cells, const std::string& text) {
    Surface& back = Display.Back();
    Canvas& canvas = back.GetCanvas();
    canvas.Pen.Color = 0;
    canvas.Brush.Color = 0;
    canvas.Rectangle(1, 747, 1023, 766);
    back.ReleaseCanvas();
    for (int k = 1; k <= cells; ++k) LoadingImages.Item(LoadingPicture::ProgressCell).Draw(back, 459 + 10 * k, 523, 0);
    WriteText(back, 5, 752, text, LoadingTextColor, FontStyle(), 7);
    Display.Flip();
}

// Brings the game from an empty world to the first playable frame, behind a loading
// picture with a progress bar. Every pause goes through the sleeper, so tests and the
// headless runner record them instead of waiting.
void TMainForm::Loading() {
    World.Rng.Seed(Services.Seed ? *Services.Seed : static_cast<uint32_t>(Services.Clock->Milliseconds()));
    const GameDataFiles files = GameDataFiles::In(Services.GameDir);
    // The loading screen's two pictures live in their own small archive beside the others.
    LoadingImages.LoadFromFile(files.LoadingScreen);
    LoadingImages.Item(LoadingPicture::Screen).Draw(Display.Back(), 191, 143, 0);
    Display.Flip();
    DrawLoadingProgress(1, "Initilaizing...");
    Pause(50);

    Images.LoadFromFile(files.Graphics);
    DrawLoadingProgress(1, "Loading: Graphics (Data\\GFX.dxg)");
    Pause(50);

    SoundDevice.InitializeSound();
    Waves.LoadFromFile(files.Sounds);
    DrawLoadingProgress(2, "Loading: Sounds (Data\\SFX.dxg)");
    Pause(50);
    DrawLoadingProgress(3, "Loading: Ships (Data\\Ships\\*.*)");
    Pause(50);

    LoadShipDefinitions();
    const std::vector<uint8_t> archive = WritePictureArchive(ShipImages);
    const std::string written = SaveShipArchive(files.ShipArchive, archive);
    // Read back from the very bytes written, not from the path: another game starting at
    // the same moment may put its own archive there in between.
    WhileReading(written, [&] { ShipImages.LoadFromArchive(archive); });
    DrawLoadingProgress(4, "Loading: Ships (Data\\Ships\\*.*)");
    Pause(75);

    World.ConsoleLog.clear();
    AddConsoleLine(World, "Welcome to Orvath : Kelvane", ConsoleColor6);
    AddConsoleLine(World, "version: 1.0 beta", ConsoleColor7);
    World.InputLine.clear();
    World.ConsoleOpen = false;
    World.ShipCount = 0;
    World.ViewX = 0;
    World.ViewY = 0;
    DrawLoadingProgress(5, "Setting interface...");
    Pause(150);

    if (Services.Pointer) {
        Services.Pointer->HideCursor();
        Services.Pointer->GetCursorPos(World.MouseX, World.MouseY);
    }
    DrawLoadingProgress(6, "Setting interface...");
    Pause(25);
    World.Loaded = true;
    DrawLoadingProgress(7, "Setting interface...");
    Pause(75);
    DrawLoadingProgress(8, "Initializing music...");
    Pause(25);
    DrawLoadingProgress(9, "Please wait...");
    LoadingImages.Clear();
    Pause(100);
}

// Every definition file, the shipped ones and then the player's own (see
// ListShipDefinitionFiles), fills the next slot. The table has 64 slots; further files
// are left out with a word on stderr.
void TMainForm::LoadShipDefinitions() {
    const ShipDefinitionFiles listing = ListShipDefinitionFiles(Services.GameDir, Services.Folders.Data);
    // The game's own ships cannot be read: that is no folder without ships.
    if (!listing.UnreadFolders.empty() && listing.UnreadFolders.front().Path == listing.ShippedDir)
        throw FileError("Cannot read the folder " + listing.ShippedDir + ": " + listing.UnreadFolders.front().Reason,
                        listing.ShippedDir, FileError::Action::Reading);
    if (listing.Files.empty())
        throw FileError("No ship definitions found: " + listing.ShippedDir + " holds no .ini file",
                        listing.ShippedDir, FileError::Action::Reading);
    if (!listing.LeftOut.empty()) {
        std::fprintf(stderr, "kelvane: only %d ship types fit; %s and later files are left out\n", MaxShips,
                     listing.LeftOut.front().Definition.c_str());
    }
    int slot = 0;
    PictureBudget pictures;
    for (const ShipDefinitionFile& file : listing.Files) {
        ++slot;
        LoadShipDefinitionFile(World, ShipImages, file.Definition, file.Picture, slot);
        // The same budget as when Data/Ships.dxg is read back, checked here before the
        // pictures of 64 large ships could all be held at once.
        WhileReading(file.Picture, [&] { pictures.Take(ShipImages.Items.back()->Pic.Image); });
    }
}

// The ship picture archive is written afresh at every start: beside the data when that
// can be written, else (an installed game, whose data folder is read-only) in the player's
// cache folder. Either way it is written under a name of its own and then renamed, so that
// another game or runner reading it at the same moment never sees half of it, and a full
// disk never leaves a cut archive behind.
std::string TMainForm::SaveShipArchive(const std::string& besideData, const std::vector<uint8_t>& archive) {
    try {
        WriteArchiveInPlace(besideData, archive);
        return besideData;
    } catch (const std::runtime_error& dataError) {
        const std::string& cache = Services.Folders.Cache;
        if (cache.empty()) {
            throw FileError(std::string(dataError.what()) +
                                "\nThere is no cache folder to write it to instead "
                                "(neither XDG_CACHE_HOME nor HOME is set).",
                            besideData, FileError::Action::Writing);
        }
        const std::string inCache = cache + "Ships.dxg";
        std::error_code error;
        std::filesystem::create_directories(cache, error);
        try {
            WriteArchiveInPlace(inCache, archive);
        } catch (const std::runtime_error& cacheError) {
            throw FileError(std::string(dataError.what()) + "\nThe cache folder " + cache + " cannot be written either (" +
                                cacheError.what() + ").",
                            besideData, FileError::Action::Writing);
        }
        return inCache;
    }
}

}  // namespace kelvane
