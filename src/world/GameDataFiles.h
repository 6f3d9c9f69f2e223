#pragma once
// The files of a game folder, by what they hold. The game names them Windows-style and
// finds them without regard to case; `In` resolves every name of one game folder once,
// so that loading, the data fingerprint of recordings and the asset tool that writes
// the folder all mean the same files.

#include <string>

namespace kelvane {

// The names as the game writes them, relative to the game folder.
namespace DataFileName {
inline constexpr const char* Graphics = "Data\\GFX.dxg";
inline constexpr const char* Sounds = "Data\\SFX.dxg";
inline constexpr const char* LoadingScreen = "Data\\Loading.dxg";
inline constexpr const char* ShipsFolder = "Data\\Ships";
inline constexpr const char* ShipArchive = "Data\\Ships.dxg";
inline constexpr const char* ScriptsFolder = "Scripts";
}  // namespace DataFileName

struct GameDataFiles {
    std::string Graphics;
    std::string Sounds;
    std::string LoadingScreen;
    std::string ShipsFolder;   // the shipped definitions and their pictures
    std::string ShipArchive;   // written afresh at every start
    std::string ScriptsFolder;

    // gameDir ends in '/'. A name that does not exist (yet) is kept as written, so the
    // result says where the file would be.
    static GameDataFiles In(const std::string& gameDir);
};

}  // namespace kelvane
