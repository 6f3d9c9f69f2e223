#pragma once
// The veteran pilot's eye for danger: the shots flying at its ship, and which way to hold
// the keys for the next frames so that none of them meets it.

#include <vector>

#include "combat/Arena.h"
#include "combat/Gunnery.h"
#include "combat/ShipControls.h"

namespace kelvane {

// The frames ahead a pilot watches the shots flying at it.
constexpr int DangerHorizon = 40;

// A shot that is not the ship's own, with its places in the coming frames.
struct IncomingShot {
    ShipTrack Track;
    int Frames = 0;  // how far the track goes before the shot leaves the field
};
std::vector<IncomingShot> IncomingShots(const World& world, int s);

// Keys held the same way for the coming frames: which turn key (-1 left, 0 none: the turn
// stopped, 1 right) and thrust (1), nothing (0) or brake (-1).
struct Manoeuvre {
    int Turn = 0;
    int Throttle = 0;
    ShipControls Keys(const TShip& ship) const;
    bool operator==(const Manoeuvre&) const = default;
};

// How near the shots come to the ship flying the manoeuvre: the least gap, in pixels,
// between a shot and the ship's edge (negative: a hit), at most `enough`.
double ClearanceOf(const TShip& ship, const Manoeuvre& manoeuvre, const std::vector<IncomingShot>& shots,
                   double shipRadius, double enough);

// Of all manoeuvres, the one that keeps the shots furthest; among those that keep them
// at least `enough` away, the one nearest the manoeuvre the pilot wanted.
Manoeuvre Dodge(const TShip& ship, const Manoeuvre& wanted, const std::vector<IncomingShot>& shots,
                double shipRadius, double enough);

}  // namespace kelvane
