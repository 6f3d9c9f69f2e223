#pragma once
// Where the game's data lives: the directory of the running executable.

#include <string>

namespace kelvane {

// The full path of the running executable without its file name, ending in '/'.
std::string GameDir();

}  // namespace kelvane
