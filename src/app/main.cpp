// Kelvane: a two-dimensional space-combat game.

#include <cstdio>

#include "game/GameDir.h"
#include "platform/sdl/SdlGame.h"

int main(int argc, char** argv) {
    if (argc > 1) {
        std::fprintf(stderr, "usage: %s\nKelvane takes no options; everything comes from its data files.\n", argv[0]);
        return 2;
    }
    return kelvane::RunSdlGame(kelvane::GameDir());
}
