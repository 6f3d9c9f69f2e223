#pragma once
// A ship design: hull parts stacked bottom to top, each a polygon with its own plating
// colour, height and bevel; flat markings; windows; engines. Coordinates are pixels
// relative to the ship's centre, nose up (negative y).

#include <string>
#include <vector>

#include "Paint.h"
#include "Shapes.h"

namespace kelvane::assets {

struct HullPart {
    Polygon Outline;
    Rgb Colour;
    float Elevation = 0;     // height of the part's base above the one below
    float Bevel = 3;         // width of its rounded rim, in pixels
    float PanelSize = 0;     // spacing of plating seams; 0 for none
};

struct Marking {
    Polygon Outline;
    Rgb Colour;
    bool Glowing = false;  // lit from inside: not shaded
};

struct Engine {
    float X, Y, Radius;
    Rgb Colour;
};

struct ShipDesign {
    std::string BaseName;
    int Width = 0, Height = 0;  // one pattern
    std::vector<HullPart> Parts;
    std::vector<Marking> Markings;
    std::vector<Vec2> Windows;
    Rgb WindowColour = Rgb8(255, 230, 170);
    std::vector<Engine> Engines;
    std::vector<Vec2> PortLights, StarboardLights;  // red and green running lights
    uint32_t Seed = 1;

    // Adds a part; with `mirror` also its reflection across the centre line.
    void Add(const Polygon& outline, Rgb colour, float elevation, float bevel, float panel = 0, bool mirror = false);
    void Mark(const Polygon& outline, Rgb colour, bool mirror = false, bool glowing = false);
    void Window(float x, float y, bool mirror = false);
    void Thruster(float x, float y, float radius, Rgb colour, bool mirror = false);
};

// The design turned clockwise by `degrees` about its centre and scaled, in a pattern of
// width x height (for pictures other than the game's own ship patterns, such as the icon).
ShipDesign Turned(const ShipDesign& design, float degrees, float scale, int width, int height);

Polygon Ellipse(float cx, float cy, float rx, float ry, int segments = 40);
Polygon Mirrored(const Polygon& poly);
// A half outline for x >= 0 from nose to tail, closed into a whole symmetric outline.
Polygon Symmetric(const Polygon& right);

}  // namespace kelvane::assets
