#pragma once
// Torpedoes, pulse shots and tachyon shots: launching into the projectile table, the
// per-frame animation, flight and homing, and the pixel-exact hit test against ships.

#include <cstdint>

#include "combat/Arena.h"
#include "world/World.h"

namespace kelvane {

// A shot is tested only inside the ship's pattern shrunk by this many pixels on every
// side, and reads the hit-mask pixel this far up and left of its place in the pattern.
constexpr int32_t HitBoxInset = 7;
// The hit-mask colour: a shot hits where the mask pattern holds exactly this.
constexpr uint32_t HitMaskColor = 0xFF00FF;

// First free slot of the projectile table, scanning 1..128; 0 when all are in flight.
int FindFreeProjectile(const World& world);

// What a trigger puts into a projectile slot.
struct ProjectileLaunch {
    uint8_t ImageIndex = 0;  // Images item, which also tells the kind of shot
    int32_t Sound = 0;       // Sfx item played at the launch
    double Speed = 0;
    int32_t Damage = 0;
    bool Homing = false;
    const char* Effect = "NONE";
};

// Fills a free slot for ship s, aimed by AimAngle at its target, 10 pixels left of its
// centre, and plays the launch sound. With the table full nothing happens (no sound
// either) and the result is false, so the caller leaves its reload as it was.
bool LaunchProjectile(Arena& arena, int s, const ProjectileLaunch& launch);

// Per-frame steps, in this order: animation, flight, homing, collisions.
void AnimateProjectiles(Arena& arena);
// One frame of flight for projectile p; it ends once it leaves -32..2079 x -32..1567.
void MoveProjectile(World& world, int p);
void MoveProjectiles(World& world);
// Torpedoes steer at their target once they have cleared their own ship.
void HomeProjectiles(Arena& arena);
// Tests projectile p against ship s and books a hit.
void DoProjectileCollision(Arena& arena, int p, int s);
// Projectiles 1..128 (outer) against ships 1..64 (inner); the lowest ship hit wins.
void CollideProjectiles(Arena& arena);

}  // namespace kelvane
