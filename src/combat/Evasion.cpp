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

bool OutOfField(double x, double y) { return x < -32 || x > WorldWidth + 31 || y < -32 || y > WorldHeight + 31; }

void Advance(IncomingShot& shot) {
    shot.X += shot.DirX * shot.Speed;
    shot.Y += shot.DirY * shot.Speed;
    const double turnedX = shot.DirX * shot.TurnCos - shot.DirY * shot.TurnSin;
    shot.DirY = shot.DirX * shot.TurnSin + shot.DirY * shot.TurnCos;
    shot.DirX = turnedX;
}

}  // namespace

IncomingShots ShotsAt(const World& world, int s) {
    IncomingShots found;
    std::array<double, WatchedShots> distances{};
    const TShip& ship = world.Ships[s];
    const double shipX = std::sin(ship.Heading * Radians) * ship.Speed;
    const double shipY = -std::cos(ship.Heading * Radians) * ship.Speed;
    for (int p = 1; p <= MaxProjectiles; ++p) {
        const TProjectileWeapon& shot = world.Projectiles[p];
        if (!shot.Active || shot.Owner == s) continue;
        const double dx = shot.X - ship.X, dy = shot.Y - ship.Y;
        const double squared = dx * dx + dy * dy;
        if (squared > WatchedDistance * WatchedDistance) continue;
        // Where the two would pass if both flew straight on: shots flying away, or passing
        // far off, are no danger (torpedoes homing on the ship always are).
        IncomingShot incoming;
        incoming.X = shot.X;
        incoming.Y = shot.Y;
        incoming.DirX = std::sin(shot.Heading * Radians);
        incoming.DirY = -std::cos(shot.Heading * Radians);
        incoming.Speed = shot.Speed;
        const double vx = incoming.DirX * shot.Speed - shipX, vy = incoming.DirY * shot.Speed - shipY;
        const double when = -(dx * vx + dy * vy) / std::max(1e-6, vx * vx + vy * vy);
        const bool homing = shot.Homing && shot.Target == s;
        if (!homing) {
            if (when < 0 || when > DangerHorizon) continue;
            const double px = dx + vx * when, py = dy + vy * when;
            if (px * px + py * py > PassingDistance * PassingDistance) continue;
        }
        if (shot.TurnRate != 0) {
            incoming.TurnCos = std::cos(shot.TurnRate * Radians);
            incoming.TurnSin = std::sin(shot.TurnRate * Radians);
        }
        incoming.Frames = homing ? DangerHorizon : std::min(DangerHorizon, static_cast<int>(when) + 8);
        // Keep the nearest: a full list gives up its furthest shot for a nearer one.
        int slot = found.Count;
        if (found.Count == WatchedShots) {
            slot = static_cast<int>(std::max_element(distances.begin(), distances.end()) - distances.begin());
            if (distances[slot] <= squared) continue;
        } else {
            ++found.Count;
        }
        found.Shots[slot] = incoming;
        distances[slot] = squared;
    }
    return found;
}

HeldActions Manoeuvre::Keys(const TShip& ship) const {
    HeldActions keys;
    if (Turn < 0) keys.Hold(PlayerAction::TurnLeft);
    if (Turn > 0) keys.Hold(PlayerAction::TurnRight);
    // No turn: the opposite key stops a turn at once.
    if (Turn == 0 && ship.TurnRate > 0) keys.Hold(PlayerAction::TurnLeft);
    if (Turn == 0 && ship.TurnRate < 0) keys.Hold(PlayerAction::TurnRight);
    if (Throttle > 0) keys.Hold(PlayerAction::Thrust);
    if (Throttle < 0) keys.Hold(PlayerAction::Brake, ship.Speed > 0);
    return keys;
}

double ClearanceOf(const TShip& ship, const Manoeuvre& manoeuvre, const IncomingShots& shots, double shipRadius,
                   double enough) {
    if (shots.Count == 0) return enough;
    const double far = shipRadius + enough;
    double nearest = far * far;  // squared
    int horizon = 0;
    std::array<IncomingShot, WatchedShots> flying = shots.Shots;
    for (int i = 0; i < shots.Count; ++i) horizon = std::max(horizon, shots.Shots[i].Frames);
    TShip steered;
    steered.TurnRate = ship.TurnRate;
    steered.Speed = ship.Speed;
    steered.MaxSpeed = ship.MaxSpeed;
    double x = ship.X, y = ship.Y;
    double dirX = std::sin(ship.Heading * Radians), dirY = -std::cos(ship.Heading * Radians);
    double turnCos = 1, turnSin = 0, turnOf = 0;
    // Keys held now set the speed and turn of the next frame's move; the turn comes after
    // the move, and small turns snap to nothing after it.
    for (int k = 1; k <= horizon; ++k) {
        Steer(steered, manoeuvre.Keys(steered));
        x = std::clamp(x + dirX * steered.Speed, 0.0, WorldWidth - 1.0);
        y = std::clamp(y + dirY * steered.Speed, 0.0, WorldHeight - 1.0);
        if (steered.TurnRate != turnOf) {
            turnOf = steered.TurnRate;
            turnCos = std::cos(turnOf * Radians);
            turnSin = std::sin(turnOf * Radians);
        }
        const double turnedX = dirX * turnCos - dirY * turnSin;
        dirY = dirX * turnSin + dirY * turnCos;
        dirX = turnedX;
        if (std::fabs(steered.TurnRate) < 0.25) steered.TurnRate = 0;
        for (int i = 0; i < shots.Count; ++i) {
            IncomingShot& shot = flying[i];
            if (k > shot.Frames) continue;
            Advance(shot);
            if (OutOfField(shot.X, shot.Y)) {
                shot.Frames = 0;  // gone: watched no further
                continue;
            }
            const double dx = shot.X - x, dy = shot.Y - y;
            nearest = std::min(nearest, dx * dx + dy * dy);
        }
    }
    return std::sqrt(nearest) - shipRadius;
}

Manoeuvre Dodge(const TShip& ship, const Manoeuvre& wanted, const IncomingShots& shots, double shipRadius,
                double enough) {
    double bestClearance = ClearanceOf(ship, wanted, shots, shipRadius, enough);
    if (bestClearance >= enough) return wanted;
    Manoeuvre best = wanted;
    // The other manoeuvres by how far they differ from the wanted one: the first that is
    // safe enough is taken.
    for (int distance = 1; distance <= 4; ++distance) {
        for (int turn = -1; turn <= 1; ++turn) {
            for (int throttle = -1; throttle <= 1; ++throttle) {
                if (std::abs(turn - wanted.Turn) + std::abs(throttle - wanted.Throttle) != distance) continue;
                const Manoeuvre trial{turn, throttle};
                const double clearance = ClearanceOf(ship, trial, shots, shipRadius, enough);
                if (clearance >= enough) return trial;
                if (clearance > bestClearance) {
                    best = trial;
                    bestClearance = clearance;
                }
            }
        }
    }
    return best;
}

}  // namespace kelvane
