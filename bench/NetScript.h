#pragma once
// What each person of the benchmarks' four-player games does in a frame: their own ship
// first, the shipped battle by the first, then steering, thrust and fire all game long.

#include <cstdint>
#include <string>

#include "net/PlayerInput.h"

namespace kelvane::bench {

// "P1", "P2", ...: the names people sit down with (appended, not "P" + text, which
// GCC 12 warns about wrongly).
inline std::string PersonName(int seat) {
    std::string name = "P";
    name += std::to_string(seat);
    return name;
}

inline net::FrameInputs NetScript(int seat, uint64_t frame) {
    static const char* const shipOf[] = {"", "Vigil", "Kestrel", "Talon", "Wisp", "Vigil", "Kestrel", "Talon", "Wisp"};
    net::FrameInputs inputs;
    if (frame == 1 + static_cast<uint64_t>(seat))
        inputs.push_back(net::CommandInput(std::string("CREATESHIP ") + shipOf[seat]));
    if (seat == 1 && frame == 10) inputs.push_back(net::CommandInput("EXEC battle"));
    if (frame > 20) {
        if (frame % static_cast<uint64_t>(seat + 2) == 0) inputs.push_back(net::KeyInput(seat % 2 ? VK_LEFT : VK_RIGHT, 0));
        if (frame % 5 == static_cast<uint64_t>(seat)) inputs.push_back(net::KeyInput(VK_UP, 0));
        if (frame % 9 == 0) inputs.push_back(net::KeyInput(VK_SPACE, 0));
    }
    return inputs;
}

}  // namespace kelvane::bench
