#pragma once
// A full disk for tests of writing: a tiny tmpfs of its own, filled to the last byte, so
// that every write into it fails with "No space left on device" as a full disk does.
// Mounting needs root (the CI runs the tests as root) and the right to mount; where there
// is neither, Why() says so and the test skips with that reason.

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

namespace kelvane::testing {

class FullDisk {
public:
    // `files` (name, contents) are put on the disk before it is filled.
    explicit FullDisk(const std::map<std::string, std::string>& files = {}) {
        if (geteuid() != 0) {
            why_ = "a full disk is a tmpfs mounted by the test, which needs root";
            return;
        }
        std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-full-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            why_ = "cannot make a folder to mount on";
            return;
        }
        root_ = pattern;
        if (mount("tmpfs", root_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k,mode=0777") != 0) {
            why_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
            std::filesystem::remove(root_);
            root_.clear();
            return;
        }
        mounted_ = true;
        for (const auto& [name, contents] : files) std::ofstream(root_ / name, std::ios::binary) << contents;
        // Filled in small pieces, so the last bytes of the last page are taken too.
        std::FILE* filler = std::fopen((root_ / "filler").c_str(), "wb");
        setvbuf(filler, nullptr, _IONBF, 0);
        const char byte = 'x';
        while (std::fwrite(&byte, 1, 1, filler) == 1) {
        }
        std::fclose(filler);
    }
    ~FullDisk() {
        if (mounted_) umount2(root_.c_str(), MNT_DETACH);
        std::error_code error;
        if (!root_.empty()) std::filesystem::remove(root_, error);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Why() const { return why_; }
    const std::filesystem::path& Root() const { return root_; }

    // The names in the disk's top folder but the filler: what a failed write left behind.
    std::set<std::string> Left() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(root_))
            if (entry.path().filename() != "filler") names.insert(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path root_;
    bool mounted_ = false;
    std::string why_;
};

}  // namespace kelvane::testing
