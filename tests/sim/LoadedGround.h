#pragma once
// The shipped ship types loaded once, as a tournament loads them, for tests of duels.

#include <memory>

#include "Duel.h"
#include "TempGameDir.h"
#include "game/MainForm.h"
#include "platform/headless/HeadlessMachine.h"

namespace kelvane::testing {

struct LoadedGround {
    TempGameDir Dir;
    HeadlessMachine Machine{false};
    TMainForm Form{Machine.Services(Dir.Path(), 1u)};
    sim::DuelGround Ground{Form.World, Form.Images, Form.ShipImages, Dir.Path()};

    LoadedGround() {
        Form.DrawsPictures = false;
        Form.Loading();
    }
};

// One load of the shipped types for all the tests of a program, as a tournament loads once.
inline LoadedGround& Shipped() {
    static LoadedGround ground;
    return ground;
}

}  // namespace kelvane::testing
