#include "platform/sdl/Screenshot.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/png/PngFile.h"

namespace kelvane {

std::string ScreenshotName(const std::tm& when, const std::function<bool(const std::string&)>& taken) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &when);
    const std::string base = std::string("kelvane-") + stamp;
    std::string name = base + ".png";
    for (int suffix = 2; taken(name); ++suffix) name = base + "-" + std::to_string(suffix) + ".png";
    return name;
}

SavedScreenshot SaveScreenshot(const std::string& picturesFolder, const std::vector<uint32_t>& pixels, int width,
                               int height, std::time_t now) {
    SavedScreenshot result;
    if (picturesFolder.empty()) {
        result.Error = "no pictures folder (HOME is not set)";
        return result;
    }
    const std::filesystem::path folder = std::filesystem::path(picturesFolder) / "Kelvane";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        result.Error = "cannot make " + folder.string() + ": " + error.message();
        return result;
    }
    std::tm local{};
    localtime_r(&now, &local);
    const std::string name = ScreenshotName(local, [&](const std::string& candidate) {
        std::error_code ignored;
        return std::filesystem::exists(folder / candidate, ignored);
    });
    result.Path = (folder / name).string();
    // Written aside and then renamed, so a picture viewer never sees half a file.
    const std::string partial = result.Path + ".part";
    result.Ok = WritePng(partial, pixels, width, height, result.Error);
    if (result.Ok) {
        std::filesystem::rename(partial, result.Path, error);
        if (error) {
            result.Ok = false;
            result.Error = "cannot write " + result.Path + ": " + error.message();
        }
    }
    if (!result.Ok) std::filesystem::remove(partial, error);
    return result;
}

}  // namespace kelvane
