#pragma once
// The torpedo trigger: one homing torpedo of the ship's type when its reload has run out.

#include "combat/Arena.h"

namespace kelvane {

void FireSecondaryWeapon(Arena& arena, int s);

}  // namespace kelvane
