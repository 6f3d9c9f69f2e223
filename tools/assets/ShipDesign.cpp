// Building blocks of ship designs.

#include "ShipDesign.h"

#include <cmath>
#include <numbers>

namespace kelvane::assets {

void ShipDesign::Add(const Polygon& outline, Rgb colour, float elevation, float bevel, float panel, bool mirror) {
    Parts.push_back({outline, colour, elevation, bevel, panel});
    if (mirror) Parts.push_back({Mirrored(outline), colour, elevation, bevel, panel});
}

void ShipDesign::Mark(const Polygon& outline, Rgb colour, bool mirror, bool glowing) {
    Markings.push_back({outline, colour, glowing});
    if (mirror) Markings.push_back({Mirrored(outline), colour, glowing});
}

void ShipDesign::Window(float x, float y, bool mirror) {
    Windows.push_back({x, y});
    if (mirror && x != 0) Windows.push_back({-x, y});
}

void ShipDesign::Thruster(float x, float y, float radius, Rgb colour, bool mirror) {
    Engines.push_back({x, y, radius, colour});
    if (mirror && x != 0) Engines.push_back({-x, y, radius, colour});
}

ShipDesign Turned(const ShipDesign& design, float degrees, float scale, int width, int height) {
    const float angle = degrees * std::numbers::pi_v<float> / 180;
    const float c = std::cos(angle) * scale, s = std::sin(angle) * scale;
    auto turn = [&](Vec2 v) { return Vec2{v.X * c - v.Y * s, v.X * s + v.Y * c}; };
    auto turnAll = [&](std::vector<Vec2>& points) {
        for (Vec2& v : points) v = turn(v);
    };
    ShipDesign d = design;
    d.Width = width;
    d.Height = height;
    for (HullPart& part : d.Parts) {
        turnAll(part.Outline);
        part.Elevation *= scale;
        part.Bevel *= scale;
        part.PanelSize *= scale;
    }
    for (Marking& mark : d.Markings) turnAll(mark.Outline);
    turnAll(d.Windows);
    turnAll(d.PortLights);
    turnAll(d.StarboardLights);
    for (Engine& engine : d.Engines) {
        const Vec2 at = turn({engine.X, engine.Y});
        engine.X = at.X;
        engine.Y = at.Y;
        engine.Radius *= scale;
    }
    return d;
}

Polygon Ellipse(float cx, float cy, float rx, float ry, int segments) {
    Polygon p;
    for (int i = 0; i < segments; ++i) {
        float a = 2 * std::numbers::pi_v<float> * i / segments;
        p.push_back({cx + std::cos(a) * rx, cy + std::sin(a) * ry});
    }
    return p;
}

Polygon Mirrored(const Polygon& poly) {
    Polygon p;
    for (auto it = poly.rbegin(); it != poly.rend(); ++it) p.push_back({-it->X, it->Y});
    return p;
}

Polygon Symmetric(const Polygon& right) { return MirrorHalf(right, 0, 0); }

}  // namespace kelvane::assets
