#include "combat/Geometry.h"

#include <cstdint>

#include "base/ExtendedMath.h"
#include "base/Rounding.h"
#include "combat/Trigonometry.h"

namespace kelvane {

int32_t Bearing(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const int64_t dx = static_cast<int64_t>(x2) - x1;
    const int64_t dy = static_cast<int64_t>(y2) - y1;
    // Straight up, right, down and left (and the same point, 0): exact.
    if (dx == 0) return dy > 0 ? 180 : 0;
    if (dy == 0) return dx > 0 ? 90 : 270;
    if (dx > 0 && dy < 0) return RoundedArcTanDegrees(dx, -dy);
    if (dx > 0) return RoundedArcTanDegrees(dy, dx) + 90;
    if (dy > 0) return RoundedArcTanDegrees(-dx, dy) + 180;
    return RoundedArcTanDegrees(-dy, -dx) + 270;  // may be 360: not wrapped
}

int32_t AngleAndDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t& distance) {
    const int64_t dx = static_cast<int64_t>(x2) - x1;
    const int64_t dy = static_cast<int64_t>(y2) - y1;

    // Straight up, right, down and left: exact, no arithmetic on reals.
    if (dx == 0 && dy < 0) { distance = Saturate(-dy); return 0; }
    if (dx > 0 && dy == 0) { distance = Saturate(dx); return 90; }
    if (dx == 0 && dy > 0) { distance = Saturate(dy); return 180; }
    if (dx < 0 && dy == 0) { distance = Saturate(-dx); return 270; }
    // The same point: bearing 0, and the caller's distance stays as it was.
    if (dx == 0 && dy == 0) return 0;

    const int32_t angle = Bearing(x1, y1, x2, y2);
    const Extended fx(dx);
    const Extended fy(dy);
    // Squares and root in extended precision (the rules take them with the general power
    // function; the square root rounds to the same whole distance).
    distance = RoundEven(Sqrt(fx * fx + fy * fy));
    return angle;
}

int32_t AngleDiff(int32_t a, int32_t b) {
    const int64_t d = static_cast<int64_t>(a) - b;
    if (d < 0) return Saturate(360 + d);
    if (d >= 360) return Saturate(d - 360);
    return static_cast<int32_t>(d);
}

int32_t TurnDirection(int32_t from, int32_t to) { return AngleDiff(to, from) <= 180 ? 1 : 2; }

int32_t PolarOffset(int32_t x, int32_t y, int32_t d, std::string_view axis, int32_t angle) {
    int64_t px = x;
    int64_t py = y;
    const Extended dist(d);
    if (angle >= 0 && angle < 90) {
        const SineCosine a = SinCosDegrees(angle);
        px = px + RoundEven(a.Sin * dist);
        py = py - RoundEven(a.Cos * dist);
    } else if (angle >= 90 && angle < 180) {
        const SineCosine a = SinCosDegrees(angle - 90);
        px = px + RoundEven(a.Cos * dist);
        py = py + RoundEven(a.Sin * dist);
    } else if (angle >= 180 && angle < 270) {
        const SineCosine a = SinCosDegrees(angle - 180);
        px = px - RoundEven(a.Sin * dist);
        py = py + RoundEven(a.Cos * dist);
    } else if (angle >= 270 && angle < 360) {
        const SineCosine a = SinCosDegrees(angle - 270);
        px = px - RoundEven(a.Cos * dist);
        py = py - RoundEven(a.Sin * dist);
    }
    // The axis is compared after upper-casing a..z, so only "X" and "x" pick X.
    const bool wantsX = axis.size() == 1 && (axis[0] == 'X' || axis[0] == 'x');
    return Saturate(wantsX ? px : py);
}

void HeadingStep(int32_t& x, int32_t& y, double speed, double& heading, double turnRate) {
    const Extended s(speed);
    int64_t nx = x;
    int64_t ny = y;
    // heading - 90, - 180 and - 270 are exact within their quadrants.
    if (heading >= 0 && heading < 90) {
        const SineCosine h = SinCosDegrees(heading);
        nx += RoundEven(h.Sin * s);
        ny -= RoundEven(h.Cos * s);
    } else if (heading >= 90 && heading < 180) {
        const SineCosine h = SinCosDegrees(heading - 90);
        nx += RoundEven(h.Cos * s);
        ny += RoundEven(h.Sin * s);
    } else if (heading >= 180 && heading < 270) {
        const SineCosine h = SinCosDegrees(heading - 180);
        nx -= RoundEven(h.Sin * s);
        ny += RoundEven(h.Cos * s);
    } else if (heading >= 270 && heading < 360) {
        const SineCosine h = SinCosDegrees(heading - 270);
        nx -= RoundEven(h.Cos * s);
        ny -= RoundEven(h.Sin * s);
    }
    x = Saturate(nx);
    y = Saturate(ny);

    heading += turnRate;
    if (heading < 0) heading += 360;
    if (heading >= 360) heading -= 360;
}

int32_t AimAngle(const World& world, int shooter, int target) {
    const TShip& from = world.Ships[shooter];
    const TShip& to = world.Ships[target];
    const int32_t bearing = Bearing(from.X, from.Y, to.X, to.Y);
    const int32_t nose = RoundEven(from.Heading);
    // The target counts as ahead when the nose lies within (bearing - 10, bearing + 10].
    if (TurnDirection(nose, AngleDiff(bearing, 10)) == 2 && TurnDirection(nose, AngleDiff(bearing, -10)) == 1)
        return bearing;
    return nose;
}

bool IsOnScreen(const View& view, int32_t x, int32_t y, int32_t margin) {
    const int64_t left = static_cast<int64_t>(view.X) - margin;
    const int64_t right = static_cast<int64_t>(view.X) + (ScreenWidth - 1) + margin;
    const int64_t top = static_cast<int64_t>(view.Y) - margin;
    const int64_t bottom = static_cast<int64_t>(view.Y) + (ScreenHeight - 1) + margin;
    return left < x && x < right && top < y && y < bottom;
}

void PlaceAtRandom(World& world, TShip& ship) {
    ship.X = world.Random(1447) + 300;
    ship.Y = world.Random(935) + 300;
    ship.Heading = world.Random(3) * 90;
}

int FindNearestShip(const World& world, int s) {
    const TShip& self = world.Ships[s];
    bool haveBest = false;
    int32_t bestDistance = 0;
    int result = s;
    for (int i = 1; i <= MaxShips; ++i) {
        const TShip& other = world.Ships[i];
        if (!other.InPlay || i == s || other.Dead) continue;
        // AngleAndDistance leaves the distance unwritten for a ship on the very same
        // point; starting from 0 makes such a ship the nearest one, as it truly is.
        int32_t distance = 0;
        AngleAndDistance(self.X, self.Y, other.X, other.Y, distance);
        if (!haveBest || distance < bestDistance) {
            haveBest = true;
            bestDistance = distance;
            result = i;
        }
    }
    return result;
}

}  // namespace kelvane
