#include "combat/Evasion.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kelvane {

namespace {
constexpr double Radians = 3.14159265358979323846 / 180.0;
// Shots further than this cannot reach the ship within the horizon.
constexpr double WatchedDistance = 700;
// Shots passing further than this from the ship's centre, flying straight, are let be.
constexpr double PassingDistance = 200;
}  // namespace

std::vector<IncomingShot> IncomingShots(const World& world, int s) {
    std::vector<IncomingShot> shots;
    const TShip& ship = world.Ships[s];
    const double shipX = std::sin(ship.Heading * Radians) * ship.Speed;
    const double shipY = -std::cos(ship.Heading * Radians) * ship.Speed;
    for (int p = 1; p <= MaxProjectiles; ++p) {
        const TProjectileWeapon& shot = world.Projectiles[p];
        if (!shot.Active || shot.Owner == s) continue;
        const double dx = shot.X - ship.X, dy = shot.Y - ship.Y;
        if (dx * dx + dy * dy > WatchedDistance * WatchedDistance) continue;
        // Where the two would pass if both flew straight on: shots flying away, or passing
        // far off, are no danger (torpedoes homing on the ship always are).
        const double vx = std::sin(shot.Heading * Radians) * shot.Speed - shipX;
        const double vy = -std::cos(shot.Heading * Radians) * shot.Speed - shipY;
        const double closing = std::max(1e-6, vx * vx + vy * vy);
        const double when = -(dx * vx + dy * vy) / closing;
        const bool homing = shot.Homing && shot.Target == s;
        if (!homing) {
            if (when < 0 || when > DangerHorizon) continue;
            const double px = dx + vx * when, py = dy + vy * when;
            if (px * px + py * py > PassingDistance * PassingDistance) continue;
        }
        TShip flight;  // a shot flies as a ship would, turn and all
        flight.X = shot.X;
        flight.Y = shot.Y;
        flight.Heading = shot.Heading;
        flight.Speed = shot.Speed;
        flight.TurnRate = shot.TurnRate;
        const int frames = homing ? DangerHorizon : std::min(DangerHorizon, static_cast<int>(when) + 8);
        IncomingShot incoming;
        incoming.Track = TrackOf(flight, frames, false);
        incoming.Frames = frames;
        for (int k = 1; k <= frames; ++k) {
            // A shot ends once it leaves the field.
            const double x = incoming.Track.X[k], y = incoming.Track.Y[k];
            if (x < -32 || x > WorldWidth + 31 || y < -32 || y > WorldHeight + 31) {
                incoming.Frames = k - 1;
                break;
            }
        }
        shots.push_back(incoming);
    }
    return shots;
}

ShipControls Manoeuvre::Keys(const TShip& ship) const {
    ShipControls keys;
    if (Turn < 0) keys.TurnLeft = true;
    if (Turn > 0) keys.TurnRight = true;
    // No turn: the opposite key stops a turn at once.
    if (Turn == 0 && ship.TurnRate > 0) keys.TurnLeft = true;
    if (Turn == 0 && ship.TurnRate < 0) keys.TurnRight = true;
    if (Throttle > 0) keys.Thrust = true;
    if (Throttle < 0) keys.Brake = ship.Speed > 0;
    return keys;
}

double ClearanceOf(const TShip& ship, const Manoeuvre& manoeuvre, const std::vector<IncomingShot>& shots,
                   double shipRadius, double enough) {
    if (shots.empty()) return enough;
    const double far = shipRadius + enough;
    double nearest = far * far;  // squared
    int horizon = 0;
    for (const IncomingShot& shot : shots) horizon = std::max(horizon, shot.Frames);
    TShip flying;
    flying.TurnRate = ship.TurnRate;
    flying.Speed = ship.Speed;
    flying.MaxSpeed = ship.MaxSpeed;
    double x = ship.X, y = ship.Y;
    double dirX = std::sin(ship.Heading * Radians), dirY = -std::cos(ship.Heading * Radians);
    double turnCos = 1, turnSin = 0, turnOf = 0;
    // Keys held now set the speed and turn of the next frame's move; the turn comes after
    // the move, and small turns snap to nothing after it.
    for (int k = 1; k <= horizon; ++k) {
        Steer(flying, manoeuvre.Keys(flying));
        x = std::clamp(x + dirX * flying.Speed, 0.0, WorldWidth - 1.0);
        y = std::clamp(y + dirY * flying.Speed, 0.0, WorldHeight - 1.0);
        if (flying.TurnRate != turnOf) {
            turnOf = flying.TurnRate;
            turnCos = std::cos(turnOf * Radians);
            turnSin = std::sin(turnOf * Radians);
        }
        const double turnedX = dirX * turnCos - dirY * turnSin;
        dirY = dirX * turnSin + dirY * turnCos;
        dirX = turnedX;
        if (std::fabs(flying.TurnRate) < 0.25) flying.TurnRate = 0;
        for (const IncomingShot& shot : shots) {
            if (k > shot.Frames) continue;
            const double dx = shot.Track.X[k] - x, dy = shot.Track.Y[k] - y;
            nearest = std::min(nearest, dx * dx + dy * dy);
        }
    }
    return std::sqrt(nearest) - shipRadius;
}

Manoeuvre Dodge(const TShip& ship, const Manoeuvre& wanted, const std::vector<IncomingShot>& shots,
                double shipRadius, double enough) {
    Manoeuvre best = wanted;
    double bestClearance = ClearanceOf(ship, wanted, shots, shipRadius, enough);
    int bestDistance = 0;
    if (bestClearance >= enough) return wanted;
    for (int turn = -1; turn <= 1; ++turn) {
        for (int throttle = -1; throttle <= 1; ++throttle) {
            const Manoeuvre trial{turn, throttle};
            if (trial == wanted) continue;
            const double clearance = ClearanceOf(ship, trial, shots, shipRadius, enough);
            const int distance = std::abs(turn - wanted.Turn) + std::abs(throttle - wanted.Throttle);
            const bool better = clearance > bestClearance + 1e-9 ||
                                (clearance >= enough && bestClearance >= enough && distance < bestDistance);
            if (better) {
                best = trial;
                bestClearance = clearance;
                bestDistance = distance;
            }
        }
    }
    return best;
}

}  // namespace kelvane
