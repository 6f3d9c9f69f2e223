#pragma once
// The veteran pilot's eye for danger: the shots flying at its ship, and which way to hold
// the keys for the next frames so that none of them meets it.

#include <array>

#include "combat/Arena.h"
#include "combat/ShipControls.h"

namespace kelvane {

// The frames ahead a pilot watches the shots flying at it.
constexpr int DangerHorizon = 40;
// The most shots a pilot keeps an eye on at once (the nearest ones first).
constexpr int WatchedShots = 8;

// A shot that is not the ship's own, flying on as it flies now (a torpedo keeps its turn).
struct IncomingShot {
    double X = 0;
    double Y = 0;
    double DirX = 0;  // the unit vector of its heading
    double DirY = 0;
    double Speed = 0;
    double TurnCos = 1;  // its turn in a frame
    double TurnSin = 0;
    int Frames = 0;  // how long it is watched: until it has passed, or left the field
};
struct IncomingShots {
    std::array<IncomingShot, WatchedShots> Shots;
    int Count = 0;
};
// The shots that may come near ship s within the horizon.
IncomingShots ShotsAt(const World& world, int s);

// Keys held the same way for the coming frames: which turn key (-1 left, 0 none: the turn
// stopped, 1 right) and thrust (1), nothing (0) or brake (-1).
struct Manoeuvre {
    int Turn = 0;
    int Throttle = 0;
    HeldActions Keys(const TShip& ship) const;
    bool operator==(const Manoeuvre&) const = default;
};

// How near the shots come to the ship flying the manoeuvre: the least gap, in pixels,
// between a shot and the ship's edge (negative: a hit), at most `enough`.
double ClearanceOf(const TShip& ship, const Manoeuvre& manoeuvre, const IncomingShots& shots, double shipRadius,
                   double enough);

// The manoeuvre the pilot wanted when it keeps the shots `enough` away; else the nearest
// one to it that does; else the one that keeps them furthest.
Manoeuvre Dodge(const TShip& ship, const Manoeuvre& wanted, const IncomingShots& shots, double shipRadius,
                double enough);

}  // namespace kelvane
