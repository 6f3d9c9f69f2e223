// Pictures written to a disk that is full: nothing is reported saved, the line names the
// file, and no file (whole or cut) is left under a picture's name.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "FullDisk.h"
#include "platform/png/PngFile.h"
#include "platform/sdl/Screenshot.h"
#include "world/World.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

// Files of this process may not grow beyond a few bytes while it lives: every write
// past them fails ("File too large") as on a full disk, root or not.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the process
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, SIG_DFL);
    }

private:
    rlimit saved_{};
};

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    return names;
}

TEST(PngFile, ASmallPictureOnAFullDeviceIsNotWritten) {
    // 16 x 16 pixels fit in any buffer: only the last flush and the close can tell.
    const std::vector<uint32_t> pixels(16 * 16, 0x00336699);
    for (const bool alpha : {false, true}) {
        const Result<void> written = WritePng("/dev/full", pixels, 16, 16, alpha);
        ASSERT_FALSE(written);
        EXPECT_EQ(written.Error().Status, ExitStatus::WriteFailed);
        EXPECT_EQ(written.Error().Reason, "cannot write /dev/full: No space left on device");
    }
    EXPECT_EQ(EncodePng(pixels, 16, 16).substr(1, 3), "PNG");
}

TEST(Screenshot, AFullDiskSavesNoScreenshot) {
    testing::FullDisk disk;
    const std::vector<uint32_t> frame(ScreenWidth * ScreenHeight, 0x00102030);
    const std::time_t now = std::time(nullptr);

    std::string pictures = (fs::temp_directory_path() / "kelvane-limited-XXXXXX").string();
    ASSERT_NE(mkdtemp(pictures.data()), nullptr);
    {
        fs::create_directory(fs::path(pictures) / "Kelvane");
        const FileSizeLimit limit(1000);
        const Result<std::string> shot = SaveScreenshot(pictures + "/", frame, ScreenWidth, ScreenHeight, now);
        ASSERT_FALSE(shot);
        EXPECT_NE(shot.Error().Reason.find(pictures + "/Kelvane/kelvane-"), std::string::npos) << shot.Error().Reason;
        EXPECT_NE(shot.Error().Reason.find("File too large"), std::string::npos) << shot.Error().Reason;
    }
    EXPECT_TRUE(Names(fs::path(pictures) / "Kelvane").empty());
    fs::remove_all(pictures);

    if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
    fs::create_directory(disk.Root() / "Kelvane");  // a folder costs no space on a tmpfs
    const Result<std::string> shot = SaveScreenshot(disk.Root().string() + "/", frame, ScreenWidth, ScreenHeight, now);
    ASSERT_FALSE(shot);
    EXPECT_NE(shot.Error().Reason.find("No space left on device"), std::string::npos) << shot.Error().Reason;
    EXPECT_TRUE(Names(disk.Root() / "Kelvane").empty());
}

}  // namespace
}  // namespace kelvane
