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

// Names of the regular files in `directory` whose names end in `extension` (compared
// without regard to case), sorted by name without regard to case. Empty when the
// directory cannot be read.
std::vector<std::string> ListFilesNoCase(const std::string& directory, const std::string& extension);

}  // namespace kelvane
