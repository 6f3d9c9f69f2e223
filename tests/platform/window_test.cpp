// The window, the presenter and its overlays, the icon, screenshots and the choice of
// video driver, on SDL's dummy video driver (no display needed).

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "media/Dib.h"
#include "platform/font/FontRasteriser.h"
#include "platform/sdl/GameWindow.h"
#include "platform/sdl/Screenshot.h"
#include "platform/sdl/SdlPresenter.h"
#include "platform/sdl/VideoDriver.h"
#include "platform/sdl/WindowIcon.h"
#include "world/World.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

fs::path TempFolder(const std::string& name) {
    fs::path folder = fs::temp_directory_path() / ("kelvane-window-test-" + name + "-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

TEST(VideoDriver, OnlyDriversThatShowSomethingAreTriedByThemselves) {
    for (const char* name : {"offscreen", "dummy", "evdev"}) EXPECT_TRUE(IsInvisibleVideoDriver(name)) << name;
    for (const char* name : {"x11", "wayland", "KMSDRM", "RPI"}) EXPECT_FALSE(IsInvisibleVideoDriver(name)) << name;
}

class DummyVideo : public ::testing::Test {
protected:
    void SetUp() override {
        // As a user who sets SDL_VIDEODRIVER=dummy: asked for, so taken.
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
        ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
        ASSERT_EQ(OpenVideo(), "");
        ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "dummy");
    }
    void TearDown() override {
        SDL_Quit();
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "");
    }
};

// The picture the renderer shows now, 0x00RRGGBB.
std::vector<uint32_t> Shown(GameWindow& window, int& width, int& height) {
    SDL_GetRendererOutputSize(window.Renderer(), &width, &height);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    SDL_RenderReadPixels(window.Renderer(), nullptr, SDL_PIXELFORMAT_XRGB8888, pixels.data(), width * 4);
    return pixels;
}

TEST_F(DummyVideo, AWindowShowsThePictureInItsPlaceWithBlackBars) {
    GameWindow window("test", false, 800, 700);
    int width = 0, height = 0;
    window.Size(width, height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 700);
    EXPECT_FALSE(window.Fullscreen());
    EXPECT_EQ(window.PicturePlace(), (PictureRect{0, 50, 800, 600}));
    int32_t x = 0, y = 0;
    window.WindowToPicture(400, 350, x, y);
    EXPECT_EQ(x, 512);
    EXPECT_EQ(y, 384);

    SdlPresenter presenter(window, nullptr);
    std::vector<uint32_t> frame(ScreenWidth * ScreenHeight, 0x00FF8040);
    presenter.Present(frame.data(), ScreenWidth, ScreenHeight);
    EXPECT_EQ(presenter.Frame(), frame);
    const std::vector<uint32_t> shown = Shown(window, width, height);
    ASSERT_EQ(width, 800);
    auto at = [&](int px, int py) { return shown[static_cast<size_t>(py) * width + px] & 0xFFFFFF; };
    EXPECT_EQ(at(400, 20), 0u);  // the bars
    EXPECT_EQ(at(400, 680), 0u);
    EXPECT_EQ(at(400, 350), 0xFF8040u);
    EXPECT_EQ(at(0, 50), 0xFF8040u);
    EXPECT_EQ(at(799, 649), 0xFF8040u);
}

TEST_F(DummyVideo, FullScreenCoversTheDisplayAndBackToTheWindowSize) {
    GameWindow window("test", true, 900, 600);
    SDL_Rect bounds;
    ASSERT_EQ(SDL_GetDisplayBounds(0, &bounds), 0);
    EXPECT_TRUE(window.Fullscreen());
    int width = 0, height = 0;
    window.Size(width, height);
    EXPECT_EQ(width, bounds.w);
    EXPECT_EQ(height, bounds.h);
    EXPECT_EQ(window.PicturePlace(), FitPicture(bounds.w, bounds.h, ScreenWidth, ScreenHeight));
    window.SetFullscreen(false, 900, 600);
    window.Size(width, height);
    EXPECT_EQ(width, 900);
    EXPECT_EQ(height, 600);
    EXPECT_EQ(window.PicturePlace(), (PictureRect{50, 0, 800, 600}));
}

TEST_F(DummyVideo, OverlaysAreShownButNeverReachTheFrame) {
    std::unique_ptr<IFontRasteriser> font = MakeFontRasteriser();
    GameWindow window("test", false, ScreenWidth, ScreenHeight);
    SdlPresenter presenter(window, font.get());
    std::vector<uint32_t> frame(ScreenWidth * ScreenHeight, 0x00808080);
    presenter.Present(frame.data(), ScreenWidth, ScreenHeight);
    int width = 0, height = 0;
    const std::vector<uint32_t> plain = Shown(window, width, height);

    presenter.ToggleHelp();
    EXPECT_TRUE(presenter.HelpShown());
    presenter.Present(frame.data(), ScreenWidth, ScreenHeight);
    const std::vector<uint32_t> help = Shown(window, width, height);
    EXPECT_EQ(presenter.Frame(), frame);  // what a screenshot takes: the game's picture alone
    EXPECT_NE(help, plain);
    EXPECT_EQ(help[10 * ScreenWidth + 10], plain[10 * ScreenWidth + 10]);  // beside the help: untouched
    EXPECT_NE(help[300 * ScreenWidth + 512], plain[300 * ScreenWidth + 512]);

    presenter.ToggleHelp();
    presenter.ShowNotice("Screenshot saved", "in /tmp", 1000);
    EXPECT_FALSE(presenter.ExpireNotice(999));
    EXPECT_NE(Shown(window, width, height), plain);
    EXPECT_TRUE(presenter.ExpireNotice(1000));
    EXPECT_EQ(Shown(window, width, height), plain);
    EXPECT_EQ(presenter.Frame(), frame);
}

TEST(WindowIcon, ReadWithTheGamesBmpDecoderGreenTransparent) {
    const fs::path folder = TempFolder("icon");
    Bitmap picture;
    picture.Resize(64, 64, 0x00336699);
    picture.At(0, 0) = 0x0000FF00;  // the game's transparent green
    picture.At(63, 63) = 0x00FF0000;
    const std::vector<uint8_t> bmp = EncodeBmpFile(picture);
    std::ofstream(folder / "Icon.bmp", std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()), bmp.size());

    const std::optional<Bitmap> icon = LoadWindowIcon((folder / "Icon.bmp").string());
    ASSERT_TRUE(icon.has_value());
    EXPECT_EQ(icon->Width, 64);
    EXPECT_EQ(icon->Pixels, picture.Pixels);
    SDL_Surface* surface = IconSurface(*icon);
    ASSERT_NE(surface, nullptr);
    auto pixel = [&](int x, int y) {
        return reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch)[x];
    };
    EXPECT_EQ(pixel(0, 0), 0u);
    EXPECT_EQ(pixel(1, 0), 0xFF336699u);
    EXPECT_EQ(pixel(63, 63), 0xFFFF0000u);
    SDL_FreeSurface(surface);

    // No file, or no picture in it: no icon and no complaint.
    EXPECT_FALSE(LoadWindowIcon((folder / "Missing.bmp").string()).has_value());
    std::ofstream(folder / "Broken.bmp", std::ios::binary) << "BM not really";
    EXPECT_FALSE(LoadWindowIcon((folder / "Broken.bmp").string()).has_value());
    EXPECT_FALSE(LoadWindowIcon(folder.string()).has_value());
    fs::remove_all(folder);
}

TEST(Screenshot, NamedByTimeWithASuffixWhenTaken) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 7;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 3;
    std::vector<std::string> taken;
    auto isTaken = [&](const std::string& name) {
        return std::find(taken.begin(), taken.end(), name) != taken.end();
    };
    EXPECT_EQ(ScreenshotName(when, isTaken), "kelvane-20261207-090503.png");
    taken = {"kelvane-20261207-090503.png"};
    EXPECT_EQ(ScreenshotName(when, isTaken), "kelvane-20261207-090503-2.png");
    taken.push_back("kelvane-20261207-090503-2.png");
    EXPECT_EQ(ScreenshotName(when, isTaken), "kelvane-20261207-090503-3.png");
}

TEST(Screenshot, SavedIntoTheKelvaneFolderWhichIsMadeAsNeeded) {
    const fs::path pictures = TempFolder("shots") / "Pictures";  // does not exist yet
    std::vector<uint32_t> frame(ScreenWidth * ScreenHeight, 0x00102030);
    const std::time_t now = std::time(nullptr);
    const Result<std::string> first = SaveScreenshot(pictures.string() + "/", frame, ScreenWidth, ScreenHeight, now);
    ASSERT_TRUE(first) << first.Error().Reason;
    EXPECT_EQ(fs::path(*first).parent_path(), pictures / "Kelvane");
    EXPECT_GT(fs::file_size(*first), 0u);
    const Result<std::string> second = SaveScreenshot(pictures.string() + "/", frame, ScreenWidth, ScreenHeight, now);
    ASSERT_TRUE(second) << second.Error().Reason;
    EXPECT_NE(*second, *first);
    EXPECT_NE(second->find("-2.png"), std::string::npos);
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(pictures / "Kelvane")) files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 2u);  // no half-written leftovers

    EXPECT_FALSE(SaveScreenshot("", frame, ScreenWidth, ScreenHeight, now));
    std::ofstream(pictures / "file") << "x";  // a file where the folder should be
    const Result<std::string> blocked = SaveScreenshot((pictures / "file").string() + "/", frame, ScreenWidth,
                                                       ScreenHeight, now);
    ASSERT_FALSE(blocked);
    EXPECT_FALSE(blocked.Error().Reason.empty());
    fs::remove_all(pictures.parent_path());
}

}  // namespace
}  // namespace kelvane
