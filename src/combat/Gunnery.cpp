#include "combat/Gunnery.h"

#include <algorithm>
#include <cmath>

#include "combat/Helm.h"
#include "combat/Projectiles.h"

namespace kelvane {

namespace {
constexpr double Pi = 3.14159265358979323846;
constexpr double Radians = Pi / 180.0;
}  // namespace

ShipTrack TrackOf(const TShip& ship, int frames, bool inField) {
    ShipTrack track;
    double x = ship.X, y = ship.Y;
    double dirX = std::sin(ship.Heading * Radians), dirY = -std::cos(ship.Heading * Radians);
    const double turnCos = std::cos(ship.TurnRate * Radians), turnSin = std::sin(ship.TurnRate * Radians);
    track.X[0] = x;
    track.Y[0] = y;
    track.NoseX[0] = dirX;
    track.NoseY[0] = dirY;
    frames = std::clamp(frames, 0, LookAhead);
    track.Frames = frames;
    for (int k = 1; k <= frames; ++k) {
        x += dirX * ship.Speed;
        y += dirY * ship.Speed;
        if (inField) {
            x = std::clamp(x, 0.0, WorldWidth - 1.0);
            y = std::clamp(y, 0.0, WorldHeight - 1.0);
        }
        const double turnedX = dirX * turnCos - dirY * turnSin;
        dirY = dirX * turnSin + dirY * turnCos;
        dirX = turnedX;
        track.X[k] = x;
        track.Y[k] = y;
        track.NoseX[k] = dirX;  // as the turn after the move leaves it for the hit test
        track.NoseY[k] = dirY;
    }
    return track;
}

ShotCourse CourseAlong(int32_t x, int32_t y, int32_t heading, double speed) {
    ShotCourse course;
    course.X = x;
    course.Y = y;
    // The whole pixels every step of a straight shot adds, each axis rounded apart.
    course.StepX = static_cast<int32_t>(std::nearbyint(std::sin(heading * Radians) * speed));
    course.StepY = static_cast<int32_t>(std::nearbyint(-std::cos(heading * Radians) * speed));
    return course;
}

int FramesToHit(const ShotCourse& shot, const ShipTrack& target, double radius, int frames) {
    const double reach = radius * radius;
    frames = std::min(frames, target.Frames);
    for (int k = 1; k <= frames; ++k) {
        const double dx = shot.X + static_cast<double>(shot.StepX) * k - target.X[k];
        const double dy = shot.Y + static_cast<double>(shot.StepY) * k - target.Y[k];
        if (dx * dx + dy * dy <= reach) return k;
    }
    return 0;
}

bool OnHitMask(const TPictureCollectionItem& picture, double shipX, double shipY, double noseX, double noseY, double x,
               double y) {
    // The shot's place in the frame of the picture drawn nose up.
    const double dx = x - shipX, dy = y - shipY;
    const double across = -dx * noseY + dy * noseX;
    const double ahead = dx * noseX + dy * noseY;
    const int64_t lx = std::llround(across), ly = std::llround(-ahead);
    const int64_t w = picture.PatternWidth, h = picture.PatternHeight;
    if (lx < HitBoxInset - w / 2 || lx >= w / 2 - HitBoxInset || ly < HitBoxInset - h / 2 || ly >= h / 2 - HitBoxInset)
        return false;
    const int64_t column = w + lx + w / 2 - HitBoxInset, row = ly + h / 2 - HitBoxInset;
    return picture.PixelColor(static_cast<int32_t>(column), static_cast<int32_t>(row)) == HitMaskColor;
}

int FramesToHit(const ShotCourse& shot, const ShipTrack& target, const TPictureCollectionItem& picture, int frames) {
    // Nothing nearer than the picture's corners can touch the mask.
    const double reach = (picture.PatternWidth + picture.PatternHeight) / 2.0;
    frames = std::min(frames, target.Frames);
    for (int k = 1; k <= frames; ++k) {
        const double x = shot.X + static_cast<double>(shot.StepX) * k, y = shot.Y + static_cast<double>(shot.StepY) * k;
        const double dx = x - target.X[k], dy = y - target.Y[k];
        if (dx * dx + dy * dy > reach * reach) continue;
        if (OnHitMask(picture, target.X[k], target.Y[k], target.NoseX[k], target.NoseY[k], x, y)) return k;
    }
    return 0;
}

Interception Intercept(double x, double y, double speed, const ShipTrack& target) {
    Interception found;
    for (int k = 1; k <= target.Frames; ++k) {
        const double dx = target.X[k] - x, dy = target.Y[k] - y;
        if (speed * k >= std::sqrt(dx * dx + dy * dy)) {
            found.Heading = BearingOf(dx, dy);
            found.Frames = k;
            return found;
        }
    }
    return found;
}

double HitRadius(const Arena& arena, const TShip& ship) {
    if (ship.ImageIndex >= arena.ShipImages.Count()) return 0;
    const TPictureCollectionItem& picture = arena.ShipImages.Item(ship.ImageIndex);
    const int32_t side = std::min(picture.PatternWidth, picture.PatternHeight);
    return std::max(0.0, side / 2.0 - HitBoxInset);
}

}  // namespace kelvane
