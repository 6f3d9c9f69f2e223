#pragma once
// The game names its files Windows-style ("Data\GFX.dxg") and relies on a file system
// that ignores letter case. These helpers find such names on Linux.

#include <optional>
#include <string>
#include <vector>

namespace kelvane {

// The entry of `directory` whose name equals `name` without regard to case (an exact
// match wins); nothing when there is none.
std::optional<std::string> FindEntryNoCase(const std::string& directory, const std::string& name);

// gameDir (ending in '/') joined with a relative path whose parts are separated by
// '\' or '/'; every part is looked up without regard to case. Parts that do not exist
// are kept as written, so the result names where the file would be.
std::string ResolveGamePath(const std::string& gameDir, const std::string& relative);

// What a folder holds of the files of one kind.
struct FolderListing {
    struct SkippedEntry {
        std::string Name;
        std::string Reason;  // "it is a folder, not a file", "Too many levels of symbolic links"
    };
    std::vector<std::string> Names;  // the regular files, sorted by name without regard to case
    std::vector<SkippedEntry> Skipped;  // entries of the kind's name that are no file that can be read
    std::string Problem;             // why the folder itself cannot be read; empty when it can
    bool Missing = false;            // the folder is not there at all (no Problem then)
};

// The entries of `directory` whose names end in `extension` (compared without regard to
// case): the regular files (links to them included) in name order without regard to case,
// and those that are something else (a folder, a FIFO, a link that loops or leads nowhere).
FolderListing ListFolder(const std::string& directory, const std::string& extension);

// ListFolder's names alone: empty when the directory cannot be read.
std::vector<std::string> ListFilesNoCase(const std::string& directory, const std::string& extension);

}  // namespace kelvane
