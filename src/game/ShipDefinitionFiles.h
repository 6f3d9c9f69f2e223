#pragma once
// Which definition files fill the ship slots, and in what order: the one listing that the
// loading sequence reads, so anything else that looks at the definitions (a checker)
// reads exactly the same files.

#include <string>
#include <vector>

namespace kelvane {

struct ShipDefinitionFile {
    std::string Definition;  // full path of the .ini file
    std::string Picture;     // full path of its BMP picture (which may not exist)
};

// A folder or a definition entry that the listing could not take.
struct UnreadEntry {
    std::string Path;
    std::string Reason;  // the system's words, or what the entry is ("it is a folder, not a file")
};

struct ShipDefinitionFiles {
    std::string ShippedDir;                   // the game's Data/Ships, as found
    std::vector<ShipDefinitionFile> Files;    // the file of slot 1 first
    std::vector<ShipDefinitionFile> LeftOut;  // the files beyond the last slot
    // Folders that are there but cannot be read (the game's own first), and .ini entries
    // that are no file (a folder, a link that loops): the game skips the entries.
    std::vector<UnreadEntry> UnreadFolders;
    std::vector<UnreadEntry> Skipped;
};

// The .ini files of gameDir's Data/Ships in name order, then those of playerDir's Ships
// in name order (playerDir empty or without Ships: none); names are ordered without regard
// to case and the first MaxShips files get slots. A player's file named like a shipped one,
// without regard to case, takes that file's slot instead of a new one. A picture is the
// BMP of the definition's base name beside it; a player's definition without one beside it
// uses the shipped picture of that name, so changing a shipped type's numbers needs no
// copy of its picture.
ShipDefinitionFiles ListShipDefinitionFiles(const std::string& gameDir, const std::string& playerDir);

}  // namespace kelvane
