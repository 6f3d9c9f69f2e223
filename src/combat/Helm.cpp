#include "combat/Helm.h"

#include <array>
#include <cmath>

namespace kelvane {

namespace {
constexpr double Pi = 3.14159265358979323846;
}

double HeadingDifference(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d <= -180) d += 360;
    if (d > 180) d -= 360;
    return d;
}

double BearingOf(double dx, double dy) {
    const double degrees = std::atan2(dx, -dy) * (180.0 / Pi);
    return degrees < 0 ? degrees + 360 : degrees;
}

void TurnToward(const TShip& ship, double wanted, HeldActions& keys, int way) {
    const double turn = HeadingDifference(wanted, ship.Heading);
    if (way != 0 && turn * way < 0 && std::fabs(turn) > 2 * TopTurnRate) {
        // The long way round: hold the key of that way.
        keys.Hold(PlayerAction::TurnLeft, way < 0);
        keys.Hold(PlayerAction::TurnRight, way > 0);
        return;
    }
    // The four ways to hold the two turn keys; the first of equally good ones wins, so
    // letting go is preferred to pressing.
    static constexpr std::array<std::array<bool, 2>, 4> ways = {{{false, false}, {true, false}, {false, true},
                                                                  {true, true}}};
    double best = 1e9;
    for (const auto& way : ways) {
        TShip trial;
        trial.TurnRate = ship.TurnRate;
        HeldActions turn;
        turn.Hold(PlayerAction::TurnLeft, way[0]);
        turn.Hold(PlayerAction::TurnRight, way[1]);
        Steer(trial, turn);
        const double miss = std::fabs(HeadingDifference(wanted, ship.Heading + trial.TurnRate));
        if (miss < best - 1e-9) {
            best = miss;
            keys.Hold(PlayerAction::TurnLeft, way[0]);
            keys.Hold(PlayerAction::TurnRight, way[1]);
        }
    }
}

void HoldSpeed(const TShip& ship, double wanted, HeldActions& keys) {
    keys.Hold(PlayerAction::Thrust, false);
    keys.Hold(PlayerAction::Brake, false);
    if (wanted <= 0) {
        keys.Hold(PlayerAction::Brake, ship.Speed > 0);
    } else if (ship.Speed < wanted - SpeedStep / 2) {
        keys.Hold(PlayerAction::Thrust);
    } else if (ship.Speed > wanted + SpeedStep / 2 && (ship.Speed >= BrakeCutOff || wanted < StartSpeed)) {
        keys.Hold(PlayerAction::Brake);
    }
}

double TurningRadius(double speed) { return speed / (TopTurnRate * Pi / 180.0); }

}  // namespace kelvane
