#pragma once
// The veteran pilot's gunnery: where a ship will be if it flies on as it flies now, where a
// shot fired this frame would go, whether it would meet its target, and where to point
// the nose so that it does.

#include <array>
#include <cstdint>

#include "combat/Arena.h"
#include "world/World.h"

namespace kelvane {

// The frames ahead a pilot looks: a shot that needs longer is not worth firing.
constexpr int LookAhead = 48;

// A ship's places in the coming frames, flying on with its speed and turn rate as they
// are (moves come before turns, as in a frame); a ship stays inside the field, a shot
// (`inField` false) flies on out of it.
struct ShipTrack {
    int Frames = 0;  // places 0..Frames are known
    std::array<double, LookAhead + 1> X{};
    std::array<double, LookAhead + 1> Y{};
    std::array<double, LookAhead + 1> NoseX{};  // the unit vector of the heading
    std::array<double, LookAhead + 1> NoseY{};
};
ShipTrack TrackOf(const TShip& ship, int frames = LookAhead, bool inField = true);

// A straight shot: where it starts and the whole pixels it moves each frame.
struct ShotCourse {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t StepX = 0;
    int32_t StepY = 0;
};
// The course of a shot leaving (x, y) on an integer heading.
ShotCourse CourseAlong(int32_t x, int32_t y, int32_t heading, double speed);

// The first frame (1..frames, within the track) in which the shot passes within `radius`
// of the tracked ship's centre; 0 when it never does.
int FramesToHit(const ShotCourse& shot, const ShipTrack& target, double radius, int frames = LookAhead);
// The same, the shot meeting the ship's hit mask as the hit test reads it.
int FramesToHit(const ShotCourse& shot, const ShipTrack& target, const TPictureCollectionItem& picture,
                int frames = LookAhead);
// Whether a shot at (x, y) lies on the hit mask of a ship at (shipX, shipY) whose nose
// points along (noseX, noseY).
bool OnHitMask(const TPictureCollectionItem& picture, double shipX, double shipY, double noseX, double noseY, double x,
               double y);

// The heading (degrees) from (x, y) at which a shot of this speed meets the tracked ship,
// and in how many frames; frames 0 when it cannot within the track.
struct Interception {
    double Heading = 0;
    int Frames = 0;
};
Interception Intercept(double x, double y, double speed, const ShipTrack& target);

// About how far from a ship's centre a shot still hits it: half the narrower side of its
// hit box.
double HitRadius(const Arena& arena, const TShip& ship);

}  // namespace kelvane
