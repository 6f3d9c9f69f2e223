#pragma once
// A private game directory for one test: Data/ holds links to the generated archives
// (so tests running side by side each write their own Data/Ships.dxg), Data/Ships and
// Scripts link to the generated ones unless the test brings its own. Data/Ships holds the
// classic ship types, with which the committed recordings and scenarios were made, unless
// the test asks for the shipped, balanced ones.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kelvane::testing {

class TempGameDir {
public:
    struct Options {
        bool LinkArchives = true;  // GFX.dxg, SFX.dxg, Loading.dxg
        bool LinkShips = true;     // Data/Ships
        bool LinkScripts = true;   // Scripts
        bool ShippedShips = false; // Data/Ships as shipped rather than the classic types
    };

    TempGameDir() : TempGameDir(Options{}) {}
    explicit TempGameDir(Options options) {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "kelvane-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        root_ = pattern;
        const fs::path built = fs::path(KELVANE_BINARY_DIR);
        fs::create_directories(root_ / "Data");
        if (options.LinkArchives) {
            for (const char* name : {"GFX.dxg", "SFX.dxg", "Loading.dxg"}) {
                fs::create_symlink(built / "Data" / name, root_ / "Data" / name);
            }
        }
        const fs::path ships = options.ShippedShips ? built / "Data" / "Ships" : built / "ClassicShips";
        if (options.LinkShips) fs::create_directory_symlink(ships, root_ / "Data" / "Ships");
        else fs::create_directories(root_ / "Data" / "Ships");
        if (options.LinkScripts) fs::create_directory_symlink(built / "Scripts", root_ / "Scripts");
        else fs::create_directories(root_ / "Scripts");
    }
    ~TempGameDir() {
        std::error_code error;
        std::filesystem::remove_all(root_, error);
    }
    TempGameDir(const TempGameDir&) = delete;
    TempGameDir& operator=(const TempGameDir&) = delete;

    // The directory with a final '/', as the game wants it.
    std::string Path() const { return root_.string() + "/"; }
    std::filesystem::path Root() const { return root_; }

    void WriteFile(const std::string& relative, const std::string& contents) const {
        const std::filesystem::path path = root_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
    }
    void CopyFile(const std::filesystem::path& from, const std::string& relative) const {
        const std::filesystem::path path = root_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::filesystem::copy_file(from, path, std::filesystem::copy_options::overwrite_existing);
    }

private:
    std::filesystem::path root_;
};

}  // namespace kelvane::testing
