#include "platform/sdl/Screenshot.h"

#include <filesystem>
#include <system_error>

#include "base/FailureReport.h"
#include "base/FileError.h"
#include "base/FileWriter.h"
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

Result<std::string> SaveScreenshot(const std::string& picturesFolder, const std::vector<uint32_t>& pixels,
                                   int width, int height, std::time_t now) {
    if (picturesFolder.empty()) return Failure{ExitStatus::WriteFailed, "no pictures folder (HOME is not set)", {}};
    const std::filesystem::path folder = std::filesystem::path(picturesFolder) / "Kelvane";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return Failure{ExitStatus::WriteFailed, "cannot make " + folder.string() + ": " + error.message(), {}};
    const Result<std::string> png =
        Catching<std::exception>(ExitStatus::WriteFailed, [&] { return EncodePng(pixels, width, height); });
    if (!png) return png.Error();
    std::tm local{};
    localtime_r(&now, &local);
    const auto taken = [&](const std::string& candidate) {
        std::error_code ignored;
        return std::filesystem::exists(std::filesystem::symlink_status(folder / candidate, ignored));
    };
    // A name is never taken twice: a shot another game saved under it meanwhile stays, and
    // this one takes the next name.
    for (int attempt = 0;; ++attempt) {
        const std::string path = (folder / ScreenshotName(local, taken)).string();
        try {
            WriteFile(path, *png, FileWriter::Existing::Keep);
            return path;
        } catch (const FileError& written) {
            if (written.Code() != std::errc::file_exists || attempt == 100)
                return FailureOf(written, ExitStatus::WriteFailed);
        }
    }
}

}  // namespace kelvane
