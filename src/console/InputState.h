#pragma once
// Key and mouse events only mark the input tables; the next frame ages and reads them.

#include <cstdint>

#include "world/VirtualKeys.h"
#include "world/World.h"

namespace kelvane {

// Key-down: marks the key (and the modifiers of its set) as arrived; toggles CapsLock
// while the Caps Lock entry is set.
void KeyPressed(World& world, uint16_t key, ShiftState shift);
// Mouse-down of button 0 (left), 1 (right) or 2 (middle); other buttons are ignored.
void MouseClick(World& world, int button, ShiftState shift, int32_t x, int32_t y);
// True when the pointer lies strictly inside the rectangle.
bool MouseIn(const World& world, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// Once per frame: every mouse and key entry above 0 goes down by one.
void AgeInput(World& world);

inline bool KeyActive(const World& world, uint16_t key) { return world.KeyState[key] > 0; }

}  // namespace kelvane
