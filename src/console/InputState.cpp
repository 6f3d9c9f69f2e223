#include "console/InputState.h"

#include <cstddef>

namespace kelvane {

void KeyPressed(World& world, uint16_t key, ShiftState shift) {
    world.KeyState[key] = 2;
    // The event's own modifier set marks the modifiers, so a key typed with Shift held
    // sees Shift active in the same frame however long ago Shift itself went down.
    if (shift & ssShift) world.KeyState[VK_SHIFT] = 2;
    if (shift & ssCtrl) world.KeyState[VK_CONTROL] = 2;
    if (shift & ssAlt) world.KeyState[VK_MENU] = 2;
    // Every key-down while Caps Lock's entry is still set toggles, including Caps Lock's own.
    if (world.KeyState[VK_CAPITAL] > 0) world.CapsLock ^= 1;
}

void MouseClick(World& world, int button, ShiftState /*shift*/, int32_t /*x*/, int32_t /*y*/) {
    if (button < 0 || button >= static_cast<int>(world.MouseButtonState.size())) return;
    uint8_t& state = world.MouseButtonState[static_cast<std::size_t>(button)];
    if (state == 0) state = 2;
}

bool MouseIn(const World& world, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return x1 < world.MouseX && world.MouseX < x2 && y1 < world.MouseY && world.MouseY < y2;
}

namespace {

uint8_t Aged(uint8_t entry) { return static_cast<uint8_t>(entry - (entry > 0)); }

// Branch-free, and in fixed-size blocks, so that the compiler turns the pass over the
// 65,536 key entries into vector compares and adds even at -O2.
void AgeEntries(uint8_t* entries, std::size_t count) {
    constexpr std::size_t Block = 32;
    std::size_t i = 0;
    for (; i + Block <= count; i += Block)
        for (std::size_t j = 0; j < Block; ++j) entries[i + j] = Aged(entries[i + j]);
    for (; i < count; ++i) entries[i] = Aged(entries[i]);
}

}  // namespace

void AgeInput(World& world) {
    AgeEntries(world.MouseButtonState.data(), world.MouseButtonState.size());
    AgeEntries(world.KeyState.data(), world.KeyState.size());
}

}  // namespace kelvane
