#pragma once
// Polygons for hulls and panels: inside tests, pixel coverage and distance to the edge.

#include <vector>

namespace kelvane::assets {

struct Vec2 {
    float X = 0, Y = 0;
};

using Polygon = std::vector<Vec2>;

// Even-odd rule.
bool InsidePolygon(const Polygon& poly, float x, float y);
// Fraction of the pixel whose top-left is (x, y) covered, from n x n samples.
float PixelCoverage(const Polygon& poly, int x, int y, int n = 4);
// Distance from (x, y) to the nearest edge of the polygon.
float EdgeDistance(const Polygon& poly, float x, float y);
// A rectangle whose corners are cut by the given amounts (top-left, top-right,
// bottom-right, bottom-left); 0 keeps a square corner.
Polygon ChamferedRect(float x0, float y0, float x1, float y1, float tl, float tr, float br, float bl);
// A half outline given for x >= 0 (from the nose down the right side), mirrored into a
// whole outline about x = 0 and moved to (cx, cy).
Polygon MirrorHalf(const Polygon& right, float cx, float cy);
// The polygon scaled about the origin and moved.
Polygon Transform(const Polygon& poly, float scale, float dx, float dy);

}  // namespace kelvane::assets
