#pragma once
// The graphics driver's shader cache. Mesa's drivers (the software one on a virtual
// screen too) open their cache in the player's cache folder while the window is made and
// map a file there; on a full disk touching that file kills the game with SIGBUS before
// it can say a word. So before the window is made the folder is tried: one that cannot
// take a file turns the driver's cache off for this game, with one line saying so.

#include <string>

#include "app/Folders.h"

namespace kelvane {

struct ShaderCacheCheck {
    std::string Folder;   // where the driver keeps its cache; empty: nothing to look at
    std::string Problem;  // why it cannot be written there; empty when it can
};

// Where Mesa would put its cache (MESA_SHADER_CACHE_DIR, else XDG_CACHE_HOME, else
// ~/.cache) and whether a file can be written there: the folder made when missing, not
// read-only, with room to spare, and a small file written and removed again. Nothing to
// look at when the cache is turned off already.
ShaderCacheCheck CheckShaderCache(const EnvironmentLookup& environment);

// Turns the driver's shader cache off for this process (the variable Mesa reads).
void TurnShaderCacheOff();

// "the shader cache folder FOLDER cannot be written (PROBLEM): ..." for the player.
std::string ShaderCacheOffLine(const ShaderCacheCheck& check);

}  // namespace kelvane
