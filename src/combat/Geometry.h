#pragma once
// Bearings, distances, angle arithmetic, placement and the nearest ship: the geometry
// every combat routine leans on. Angles are degrees, 0 up, growing clockwise.

#include <cstdint>
#include <string_view>

#include "world/View.h"
#include "world/World.h"

namespace kelvane {

// Integer bearing from point 1 to point 2; writes their distance. For equal points the
// bearing is 0 and `distance` keeps whatever it held. The bearing is not wrapped, so
// it can be 360.
int32_t AngleAndDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t& distance);
// The bearing of AngleAndDistance alone, for the many callers that do not want the
// distance (its roots are the dearer half).
int32_t Bearing(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// a - b brought into 0..359 with one correction (right for -360 < a - b < 720).
int32_t AngleDiff(int32_t a, int32_t b);
// 1 when `to` lies clockwise of `from` by at most half a turn (or equals it), else 2.
int32_t TurnDirection(int32_t from, int32_t to);
// One coordinate ("X" or "Y", any case) of the point at distance d along `angle`;
// an angle outside 0..359 gives x or y unchanged.
int32_t PolarOffset(int32_t x, int32_t y, int32_t d, std::string_view axis, int32_t angle);
// One frame along the heading in separately rounded whole-pixel steps, then the turn.
void HeadingStep(int32_t& x, int32_t& y, double speed, double& heading, double turnRate);
// Launch heading: the bearing A to the target when the nose h lies within (A - 10, A + 10],
// that is when A lies within [h - 10, h + 10); else h.
int32_t AimAngle(const World& world, int shooter, int target);
// Whether world point (x, y) lies inside the screen seen from `view`, widened by `margin`
// on every side (the bounds themselves are outside).
bool IsOnScreen(const View& view, int32_t x, int32_t y, int32_t margin);
// A random place and heading for a ship entering the field (loading and re-entry):
// X 300..1746, Y 300..1234, heading 0, 90 or 180, drawn in that order.
void PlaceAtRandom(World& world, TShip& ship);
// Nearest other ship in play and not destroyed; s itself when there is none.
int FindNearestShip(const World& world, int s);

}  // namespace kelvane
