// The eight ship designs. Each base name matches a definition file data/Ships/<name>.ini.
// Sizes: pattern width and height include a margin of at least 9 pixels (the hit mask is
// read 7 pixels in) and room behind the engines for their glow.

#include <cmath>

#include "ShipPictures.h"

namespace kelvane::assets {

namespace {

const Rgb EngineOrange = Rgb8(255, 150, 60);
const Rgb EngineBlue = Rgb8(110, 170, 255);
const Rgb EngineTeal = Rgb8(60, 230, 210);
const Rgb EngineGreen = Rgb8(120, 255, 90);
const Rgb EngineViolet = Rgb8(200, 120, 255);

// Heavy cruiser: arrowhead hull, swept wings, two long engine pods.
ShipDesign Vigil() {
    ShipDesign d;
    d.BaseName = "Vigil";
    d.Width = 92;
    d.Height = 140;
    d.Seed = 11;
    const Rgb hull = Rgb8(172, 180, 194), dark = Rgb8(110, 116, 132);
    d.Add(Polygon{{12, -4}, {38, 20}, {40, 34}, {32, 38}, {12, 32}}, dark, 0, 2.5f, 6, true);      // wings
    d.Add(Ellipse(28, 24, 5.5f, 26), hull, 2, 2.5f, 5, true);                                       // pods
    d.Add(Symmetric({{0, -62}, {6, -52}, {10, -32}, {12, -6}, {15, 22}, {13, 44}, {8, 56}, {0, 58}}), hull, 3, 4, 7);
    d.Add(Symmetric({{0, -38}, {5, -30}, {6, -16}, {0, -12}}), Rgb8(200, 206, 216), 6, 2.5f);    // bridge
    d.Add(Symmetric({{0, 8}, {6, 12}, {6, 34}, {0, 38}}), dark, 5, 2, 4);                          // engine block
    d.Mark(Polygon{{2, -54}, {6, -48}, {8, -40}, {2, -40}}, Rgb8(220, 90, 40), true);
    d.Mark(Polygon{{24, 44}, {33, 44}, {33, 47}, {24, 47}}, Rgb8(220, 90, 40), true);
    for (float y = -26; y <= -20; y += 3) d.Window(3, y, true);
    for (float y = 0; y <= 30; y += 5) d.Window(11, y, true);
    d.Thruster(28, 50, 4.5f, EngineOrange, true);
    d.Thruster(0, 58, 4, EngineOrange);
    d.PortLights.push_back({-39, 34});
    d.StarboardLights.push_back({39, 34});
    return d;
}

// Battleship: a long armoured slab with sponsons, turrets and a tall superstructure.
ShipDesign Bastion() {
    ShipDesign d;
    d.BaseName = "Bastion";
    d.Width = 100;
    d.Height = 160;
    d.Seed = 23;
    const Rgb hull = Rgb8(126, 130, 140), armour = Rgb8(92, 96, 106);
    d.Add(Polygon{{20, -26}, {40, -16}, {42, 36}, {34, 46}, {20, 40}}, armour, 0, 3, 6, true);   // sponsons
    d.Add(Symmetric({{0, -74}, {10, -68}, {18, -46}, {22, -14}, {28, 4}, {28, 52}, {22, 68}, {0, 70}}), hull, 2, 4, 8);
    d.Add(Symmetric({{0, -58}, {7, -52}, {9, -30}, {0, -26}}), armour, 5, 2.5f, 4);               // prow armour
    d.Add(ChamferedRect(-9, -4, 9, 34, 4, 4, 3, 3), Rgb8(150, 154, 164), 7, 3, 5);                // superstructure
    d.Add(ChamferedRect(-5, 2, 5, 14, 2, 2, 2, 2), Rgb8(175, 178, 186), 11, 2);                   // bridge
    for (Vec2 t : {Vec2{13, -36}, Vec2{16, -10}, Vec2{32, 4}, Vec2{32, 26}}) {
        d.Add(Ellipse(t.X, t.Y, 5, 5, 24), Rgb8(150, 150, 158), 7, 2.5f, 0, true);                 // turrets
        d.Mark(Polygon{{t.X - 0.8f, t.Y - 11}, {t.X + 0.8f, t.Y - 11}, {t.X + 0.8f, t.Y - 2}, {t.X - 0.8f, t.Y - 2}},
               Rgb8(60, 62, 70), true);
    }
    d.Mark(Polygon{{10, 50}, {26, 50}, {26, 54}, {10, 54}}, Rgb8(230, 170, 40), true);
    d.Mark(Polygon{{1, -66}, {5, -62}, {5, -60}, {1, -60}}, Rgb8(230, 170, 40), true);
    for (float x = -3; x <= 3; x += 3) d.Window(x, 6);
    for (float y = 18; y <= 30; y += 4) d.Window(6, y, true);
    d.Thruster(0, 70, 5, EngineOrange);
    d.Thruster(14, 67, 4.5f, EngineOrange, true);
    d.PortLights.push_back({-41, 40});
    d.StarboardLights.push_back({41, 40});
    return d;
}

// Stealth raider: a dark crescent wing with a raised spine and teal lines.
ShipDesign Sable() {
    ShipDesign d;
    d.BaseName = "Sable";
    d.Width = 96;
    d.Height = 124;
    d.Seed = 37;
    const Rgb hull = Rgb8(74, 66, 96), spine = Rgb8(98, 88, 124);
    d.Add(Symmetric({{0, -54}, {9, -36}, {24, -6}, {40, 22}, {38, 38}, {26, 30}, {14, 42}, {0, 36}}), hull, 0, 4, 9);
    d.Add(Symmetric({{0, -48}, {5, -34}, {7, 0}, {7, 30}, {0, 38}}), spine, 4, 3, 6);
    d.Add(Ellipse(0, -20, 3.5f, 8), Rgb8(40, 150, 150), 7, 2);                                     // canopy
    d.Mark(Polygon{{9, -30}, {10, -30}, {36, 22}, {34, 22}}, Rgb8(60, 240, 220), true, true);      // glowing lines
    d.Mark(Polygon{{14, 30}, {26, 26}, {27, 28}, {15, 32}}, Rgb8(60, 240, 220), true, true);
    d.Window(0, -22);
    d.Thruster(10, 42, 4, EngineTeal, true);
    d.PortLights.push_back({-39, 30});
    d.StarboardLights.push_back({39, 30});
    return d;
}

// Frigate: round command section on a neck, engineering hull, two angled pods.
ShipDesign Ardent() {
    ShipDesign d;
    d.BaseName = "Ardent";
    d.Width = 80;
    d.Height = 108;
    d.Seed = 41;
    const Rgb hull = Rgb8(206, 206, 212), grey = Rgb8(150, 152, 160);
    d.Add(Polygon{{6, 10}, {20, 18}, {22, 24}, {8, 22}}, grey, 0, 2, 0, true);                     // pylons
    d.Add(Polygon{{18, 6}, {24, 6}, {25, 38}, {22, 42}, {17, 38}}, hull, 2, 2.5f, 5, true);       // pods
    d.Add(Symmetric({{0, 2}, {9, 8}, {11, 28}, {8, 40}, {0, 42}}), grey, 1, 3, 5);                // engineering hull
    d.Add(Symmetric({{0, -12}, {4, -10}, {5, 6}, {0, 8}}), grey, 2, 2);                           // neck
    d.Add(Ellipse(0, -26, 21, 19, 48), hull, 3, 5, 6);                                            // command disc
    d.Add(Ellipse(0, -28, 6, 5, 24), Rgb8(225, 226, 232), 7, 2.5f);                               // bridge dome
    d.Mark(Polygon{{-19, -17}, {19, -17}, {17, -14}, {-17, -14}}, Rgb8(60, 100, 200));            // blue band
    d.Mark(Polygon{{18, 8}, {24, 8}, {24, 12}, {18, 12}}, Rgb8(60, 100, 200), true);
    for (int i = 0; i < 12; ++i) {  // a row of windows round the disc's rim
        float a = -2.9f + i * 0.24f;
        d.Window(std::cos(a) * 16.0f, -26 + std::sin(a) * 14.0f);
    }
    d.Thruster(21, 41, 3.5f, EngineBlue, true);
    d.Thruster(0, 42, 3, EngineBlue);
    d.PortLights.push_back({-20, -26});
    d.StarboardLights.push_back({20, -26});
    return d;
}

// Raider: forward-swept wings on a slim fuselage.
ShipDesign Talon() {
    ShipDesign d;
    d.BaseName = "Talon";
    d.Width = 72;
    d.Height = 86;
    d.Seed = 53;
    const Rgb hull = Rgb8(112, 132, 88), dark = Rgb8(76, 90, 62);
    d.Add(Polygon{{4, 4}, {26, -16}, {30, -14}, {26, -2}, {12, 20}, {5, 22}}, dark, 0, 2.5f, 5, true);  // wings
    d.Add(Polygon{{25, -20}, {28, -20}, {29, -6}, {26, -6}}, Rgb8(140, 140, 130), 2, 1, 0, true);     // wing guns
    d.Add(Symmetric({{0, -34}, {5, -22}, {7, 0}, {7, 22}, {4, 30}, {0, 30}}), hull, 2, 3, 6);
    d.Add(Ellipse(0, -12, 3, 7), Rgb8(180, 60, 40), 5, 2);                                             // canopy
    d.Mark(Polygon{{14, 2}, {22, -6}, {24, -4}, {16, 4}}, Rgb8(190, 50, 30), true);
    d.Thruster(0, 30, 3.5f, EngineGreen);
    d.Thruster(9, 20, 2.5f, EngineGreen, true);
    d.PortLights.push_back({-28, -16});
    d.StarboardLights.push_back({28, -16});
    return d;
}

// Scout: a small teardrop with tail fins and a sensor ring.
ShipDesign Wisp() {
    ShipDesign d;
    d.BaseName = "Wisp";
    d.Width = 56;
    d.Height = 80;
    d.Seed = 67;
    const Rgb hull = Rgb8(70, 150, 170), fin = Rgb8(48, 104, 122);
    d.Add(Polygon{{5, 8}, {16, 18}, {18, 28}, {6, 24}}, fin, 0, 2, 0, true);
    d.Add(Symmetric({{0, -30}, {6, -22}, {9, -4}, {9, 12}, {6, 24}, {0, 28}}), hull, 1, 4, 5);
    d.Add(Ellipse(0, -4, 6.5f, 6.5f, 32), Rgb8(120, 200, 215), 5, 3);                              // sensor dome
    d.Mark(Polygon{{-8, 8}, {8, 8}, {8, 10}, {-8, 10}}, Rgb8(230, 230, 235));
    d.Window(0, -18);
    d.Window(2, -14, true);
    d.Thruster(0, 28, 3.5f, EngineBlue);
    d.PortLights.push_back({-17, 26});
    d.StarboardLights.push_back({17, 26});
    return d;
}

// Destroyer: a trident bow of three prongs over a broad engine section.
ShipDesign Halberd() {
    ShipDesign d;
    d.BaseName = "Halberd";
    d.Width = 76;
    d.Height = 132;
    d.Seed = 79;
    const Rgb hull = Rgb8(150, 88, 66), steel = Rgb8(104, 100, 104);
    d.Add(Polygon{{10, -18}, {17, -50}, {21, -44}, {22, 10}, {14, 22}, {10, 8}}, hull, 0, 3, 6, true);   // prongs
    d.Add(Symmetric({{0, -60}, {5, -50}, {8, -20}, {16, 14}, {24, 30}, {22, 48}, {12, 56}, {0, 56}}), steel, 2, 4, 7);
    d.Add(Symmetric({{0, -44}, {4, -36}, {5, -8}, {0, -4}}), hull, 5, 2.5f, 4);                         // spine
    d.Add(ChamferedRect(-7, 10, 7, 30, 3, 3, 2, 2), Rgb8(130, 126, 128), 6, 2.5f, 4);                     // tower
    d.Mark(Polygon{{17, -48}, {20, -44}, {20, -38}, {17, -42}}, Rgb8(240, 200, 60), true);
    d.Mark(Polygon{{10, 40}, {20, 36}, {20, 40}, {10, 44}}, Rgb8(240, 200, 60), true);
    for (float y = 14; y <= 26; y += 4) d.Window(4, y, true);
    d.Thruster(8, 56, 4, EngineViolet, true);
    d.Thruster(19, 50, 3, EngineViolet, true);
    d.PortLights.push_back({-24, 34});
    d.StarboardLights.push_back({24, 34});
    return d;
}

// Interceptor: a bird of prey, head on a neck ahead of broad angled wings.
ShipDesign Kestrel() {
    ShipDesign d;
    d.BaseName = "Kestrel";
    d.Width = 100;
    d.Height = 114;
    d.Seed = 97;
    const Rgb hull = Rgb8(168, 138, 88), dark = Rgb8(116, 94, 62);
    d.Add(Polygon{{8, -4}, {30, -10}, {44, -4}, {44, 6}, {34, 16}, {12, 26}}, dark, 0, 3, 6, true);      // wings
    d.Add(Polygon{{40, -22}, {44, -22}, {45, 0}, {40, 0}}, Rgb8(150, 140, 120), 2, 1.5f, 0, true);      // wingtip guns
    d.Add(Ellipse(0, 12, 14, 20, 40), hull, 2, 4, 6);                                                    // body
    d.Add(Symmetric({{0, -30}, {4, -28}, {5, 0}, {0, 2}}), hull, 3, 2);                                  // neck
    d.Add(Symmetric({{0, -50}, {6, -46}, {9, -38}, {8, -30}, {0, -26}}), hull, 4, 3, 4);                 // head
    d.Mark(Polygon{{18, -4}, {38, -8}, {40, -5}, {20, 0}}, Rgb8(160, 40, 30), true);
    d.Mark(Polygon{{-4, -44}, {4, -44}, {6, -40}, {-6, -40}}, Rgb8(160, 40, 30));
    d.Window(3, -38, true);
    d.Thruster(7, 31, 3.5f, EngineOrange, true);
    d.PortLights.push_back({-44, 4});
    d.StarboardLights.push_back({44, 4});
    return d;
}

}  // namespace

std::vector<ShipDesign> ShipDesigns() {
    return {Vigil(), Bastion(), Sable(), Ardent(), Talon(), Wisp(), Halberd(), Kestrel()};
}

}  // namespace kelvane::assets
