#include "combat/VeteranPilot.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "combat/Evasion.h"
#include "combat/Geometry.h"
#include "combat/Gunnery.h"
#include "combat/Helm.h"
#include "combat/Opponents.h"
#include "combat/WeaponTable.h"
#include "combat/Weapons.h"

namespace kelvane {

namespace {

// The range a ship keeps, as a share of the beam range (the primary trigger fires only
// inside it): beams hit wherever inside it, so a beam ship stays near its edge, where
// shots at it fly longest; pulse guns hit more the shorter their flight.
constexpr double BeamRangeShare = 0.85;
constexpr double PulseRangeShare = 0.6;
// How close to the ship's edge a shot may pass before the veteran steps aside.
constexpr double DodgeMargin = 12;
// A shot is fired only when it meets the target this many frames ahead at most.
constexpr int LongestShot = 45;
// Torpedoes home, so they are fired with a wider allowance.
constexpr double TorpedoAllowance = 1.6;

// What the pilot sees of its fight this frame.
struct Look {
    Look(const kelvane::World& world, const kelvane::Arena& arena, int s, int t)
        : World(world), Arena(arena), S(s), T(t), Me(world.Ships[s]), Foe(world.Ships[t]) {}
    const kelvane::World& World;
    const kelvane::Arena& Arena;
    int S = 0;
    int T = 0;
    const TShip& Me;
    const TShip& Foe;
    double Distance = 0;
    double Bearing = 0;  // from the ship to the foe
    // Worked out only when a shot is weighed, and then once.
    const ShipTrack& FoeTrack() const {
        if (!track_) track_ = TrackOf(Foe, LongestShot);
        return *track_;
    }
    int32_t ShotHeading() const {  // where a shot fired now leaves (AimAngle)
        if (!shotHeading_) shotHeading_ = AimAngle(World, S, T);
        return *shotHeading_;
    }
    double FoeRadius = 0;
    double MyRadius = 0;
    int32_t BeamReach = 0;

private:
    mutable std::optional<ShipTrack> track_;
    mutable std::optional<int32_t> shotHeading_;
};

// The weapon a slot carries when the trigger named fires it; nullptr otherwise.
const WeaponRow* Carried(const TShip& ship, WeaponSlot slot, Trigger trigger) {
    const WeaponRow* row = FindWeapon(CarriedIn(ship, slot));
    return row && row->FiredBy == trigger ? row : nullptr;
}

int32_t ReloadLeft(const TShip& ship, WeaponSlot slot) {
    switch (slot) {
        case WeaponSlot::Primary: return ship.PrimaryReload;
        case WeaponSlot::Secondary: return ship.SecondaryReload;
        case WeaponSlot::Special: break;
    }
    return ship.SpecialReload;
}

// Straight shots are weighed against the foe's hit mask; a torpedo, which homes, only by
// how near it passes.
bool ShotMeets(const Look& look, double speed, double allowance) {
    const ShotCourse course = CourseAlong(look.Me.X - 10, look.Me.Y, look.ShotHeading(), speed);
    const kelvane::Arena& arena = look.Arena;
    if (allowance == 1.0 && look.Foe.ImageIndex < arena.ShipImages.Count())
        return FramesToHit(course, look.FoeTrack(), arena.ShipImages.Item(look.Foe.ImageIndex), LongestShot) > 0;
    return FramesToHit(course, look.FoeTrack(), look.FoeRadius * allowance, LongestShot) > 0;
}

// The heading that puts a shot of this speed on the foe: the lead when the shot would
// leave along the nose, the bearing when the foe lies so near the nose that the shot
// goes straight at it anyway.
double AimFor(const Look& look, double speed) {
    const Interception meet = Intercept(look.Me.X - 10, look.Me.Y, speed, look.FoeTrack());
    if (meet.Frames == 0) return look.Bearing;
    if (std::fabs(HeadingDifference(meet.Heading, look.Bearing)) < 10.5) return look.Bearing;
    return meet.Heading;
}

double Remaining(const TShip& ship) {
    const double most = std::max(1, ship.MaxShields + ship.MaxHull);
    return (std::max(0, ship.Shields) + std::max(0, ship.Hull)) / most;
}

bool ShieldsHeld(const TShip& ship) { return ship.ShieldsUp && ship.Shields > 0; }

// Breaking off, only where running helps: while a tachyon holds the ship's shields down
// with the hull too low to take what the foe can still put into it, or while the ship is
// clearly losing, nothing of its own is loaded, and it is the faster of the two. It comes
// back as soon as its shields are up again or a weapon is loaded.
bool BreaksOff(const Look& look, int32_t soonestReload) {
    const TShip& me = look.Me;
    const TShip& foe = look.Foe;
    const bool bare = !me.ShieldsUp && me.ShieldsDownTimer > 0 && ShieldsHeld(foe) && me.Hull < me.MaxHull / 2;
    const bool outpaces = me.MaxSpeed > foe.Speed + 1;
    const bool losing = Remaining(me) < Remaining(foe) - 0.25 && soonestReload > 30 && outpaces;
    return bare || losing;
}

// A heading pulled away from the edges of the field when it would run into one.
double AwayFromEdges(const TShip& me, double heading) {
    constexpr double margin = 220;
    const double radians = heading * 3.14159265358979323846 / 180.0;
    double wx = std::sin(radians), wy = -std::cos(radians);
    if (me.X < margin && wx < 0) wx *= me.X / margin;
    if (me.X > WorldWidth - margin && wx > 0) wx *= (WorldWidth - me.X) / margin;
    if (me.Y < margin && wy < 0) wy *= me.Y / margin;
    if (me.Y > WorldHeight - margin && wy > 0) wy *= (WorldHeight - me.Y) / margin;
    // What is left of the way out is turned into a way along the edge or inward.
    if (me.X < margin) wx += (margin - me.X) / margin;
    if (me.X > WorldWidth - margin) wx -= (me.X - (WorldWidth - margin)) / margin;
    if (me.Y < margin) wy += (margin - me.Y) / margin;
    if (me.Y > WorldHeight - margin) wy -= (me.Y - (WorldHeight - margin)) / margin;
    return BearingOf(wx, wy);
}

// The target lies closer than the tracking range (as InTrackingRange measures it, with
// the distance rounded, but without its costly roots).
bool WithinTracking(const TShip& me, const TShip& target) {
    const int64_t dx = target.X - me.X, dy = target.Y - me.Y;
    const double limit = TrackingRange - 0.5;
    return static_cast<double>(dx * dx + dy * dy) < limit * limit;
}

struct Course {
    double Heading = 0;
    double Speed = 0;
    int Way = 0;  // which way round to turn: 0 the shorter
};

// How fast the bearing to the foe swings round, in degrees a frame (clockwise positive).
double BearingRate(const Look& look) {
    constexpr double radians = 3.14159265358979323846 / 180.0;
    const TShip& me = look.Me;
    const TShip& foe = look.Foe;
    const double dx = foe.X - me.X, dy = foe.Y - me.Y;
    const double vx = foe.Speed * std::sin(foe.Heading * radians) - me.Speed * std::sin(me.Heading * radians);
    const double vy = -foe.Speed * std::cos(foe.Heading * radians) + me.Speed * std::cos(me.Heading * radians);
    const double squared = std::max(1.0, dx * dx + dy * dy);
    return (dx * vy - dy * vx) / squared / radians;
}

// Bringing the nose round onto a heading. A ship flies its turn on a circle of its own
// (the faster, the wider): a foe inside that circle cannot be faced by turning, which is
// how computer ships end up circling each other for good. So the veteran turns slowly,
// turns on the spot when the foe is inside even its slowest circle and the foe's bearing
// does not run away faster than it can turn, and otherwise flies straight out until the
// foe is outside its circle.
Course TurnOnto(const Look& look, double heading, double cruise) {
    constexpr double radians = 3.14159265358979323846 / 180.0;
    const TShip& me = look.Me;
    const double turn = HeadingDifference(heading, me.Heading);
    if (std::fabs(turn) < 25) return {heading, cruise};
    // The way round that brings the nose on soonest, the bearing's own swing counted:
    // turning against it meets the foe, turning with it chases its tail. Two pilots alike
    // thus meet head on instead of chasing each other round a circle.
    const double rate = BearingRate(look);
    const double clockwise = turn > 0 ? turn : turn + 360;
    const auto frames = [](double angle, double closing) { return closing > 0.2 ? angle / closing : 1e9; };
    const int way = frames(clockwise, TopTurnRate - rate) <= frames(360 - clockwise, TopTurnRate + rate) ? 1 : -1;
    const double side = way;
    const double across = (me.Heading + 90 * side) * radians;
    // Slow: the slower the ship, the less its own flight swings the bearing away.
    for (const double speed : {StartSpeed}) {
        const double radius = TurningRadius(speed);
        const double cx = me.X + radius * std::sin(across), cy = me.Y - radius * std::cos(across);
        const double fx = look.Foe.X - cx, fy = look.Foe.Y - cy;
        if (fx * fx + fy * fy >= radius * radius * 1.1) return {heading, speed, way};
    }
    if (rate * side < 0.7 * TopTurnRate) return {heading, 0, way};
    return {me.Heading, me.MaxSpeed};
}

Course Plan(const Look& look) {
    const TShip& me = look.Me;
    const double cruise = std::min(me.MaxSpeed, 6.0);

    // The aimed weapons, and the soonest any of them is loaded.
    struct Aimed {
        double Speed;
        int32_t Reload;
    };
    Aimed aimed[3] = {};
    int count = 0;
    int32_t soonest = 1 << 20;
    for (const WeaponSlot slot : {WeaponSlot::Primary, WeaponSlot::Secondary, WeaponSlot::Special}) {
        const WeaponRow* row = FindWeapon(CarriedIn(me, slot));
        if (!row) continue;
        soonest = std::min(soonest, ReloadLeft(me, slot));
        if (row->Kind == WeaponKind::Beam) continue;
        if (row->Kind == WeaponKind::Tachyon && !ShieldsHeld(look.Foe)) continue;
        aimed[count++] = {row->Speed, ReloadLeft(me, slot)};
    }

    if (BreaksOff(look, soonest)) return {AwayFromEdges(me, look.Bearing + 180), me.MaxSpeed};

    // The nose wants the lead of an aimed weapon loaded by the time it is round (the
    // primary first), else the bearing.
    double wanted = look.Bearing;
    for (int i = 0; i < count; ++i) {
        const double heading = AimFor(look, aimed[i].Speed);
        const double turn = std::fabs(HeadingDifference(heading, me.Heading));
        if (aimed[i].Reload > turn / TopTurnRate + 4) continue;
        wanted = heading;
        break;
    }

    // Close in, then hold the range the guns want and turn on the spot with the foe,
    // thrusting off only to dodge or when the foe swings round faster than the ship turns.
    const bool beams = IsWeaponOfKind(me.PrimaryWeaponType, WeaponKind::Beam);
    const double range = (beams ? BeamRangeShare : PulseRangeShare) * look.BeamReach;
    if (look.Distance > range + 150) return TurnOnto(look, wanted, me.MaxSpeed);
    if (look.Distance > range + 40) return TurnOnto(look, wanted, cruise);
    if (std::fabs(BearingRate(look)) > 0.8 * TopTurnRate) return {me.Heading, me.MaxSpeed};
    return {wanted, 0};
}

void PullTriggers(const Look& look, HeldActions& keys) {
    const TShip& me = look.Me;
    const bool inRange = look.Distance < look.BeamReach;
    // The primary trigger: beams hit by range alone; pulse guns (in either slot) need aim.
    const WeaponRow* beam = Carried(me, WeaponSlot::Primary, Trigger::Primary);
    const WeaponRow* pulse = Carried(me, WeaponSlot::Secondary, Trigger::Primary);
    if (beam && beam->Kind != WeaponKind::Beam) std::swap(beam, pulse);
    const bool pulseReady = pulse && ReloadLeft(me, pulse->Slot) == 0;
    const bool pulseHits = pulseReady && ShotMeets(look, pulse->Speed, 1.0);
    const bool beamReady = beam && beam->Kind == WeaponKind::Beam && me.PrimaryReload == 0;
    keys.Hold(PlayerAction::FirePrimary, inRange && (pulseHits || (beamReady && !pulseReady)));

    const WeaponRow* torpedo = Carried(me, WeaponSlot::Secondary, Trigger::Secondary);
    if (torpedo && me.SecondaryReload == 0) keys.Hold(PlayerAction::FireSecondary, ShotMeets(look, torpedo->Speed, TorpedoAllowance));

    // The tachyon only at shields that are up, and not in a frame whose own beam (fired
    // first) may take the last of them.
    const WeaponRow* device = Carried(me, WeaponSlot::Special, Trigger::Special);
    const bool beamMayEmpty = keys[PlayerAction::FirePrimary] && beamReady && look.Foe.Shields <= me.PrimaryStrength * 3 / 2 + 1;
    if (device && me.SpecialReload == 0 && ShieldsHeld(look.Foe) && !beamMayEmpty)
        keys.Hold(PlayerAction::Special, look.Distance < 1.5 * look.BeamReach && ShotMeets(look, device->Speed, 1.0));
}

Manoeuvre AsManoeuvre(const HeldActions& keys) {
    Manoeuvre manoeuvre;
    manoeuvre.Turn = keys[PlayerAction::TurnRight] && !keys[PlayerAction::TurnLeft] ? 1 : keys[PlayerAction::TurnLeft] && !keys[PlayerAction::TurnRight] ? -1 : 0;
    manoeuvre.Throttle = keys[PlayerAction::Thrust] ? 1 : keys[PlayerAction::Brake] ? -1 : 0;
    return manoeuvre;
}

}  // namespace

HeldActions VeteranControls(const Arena& arena, int s) {
    const World& world = arena.World;
    const TShip& me = world.Ships[s];
    HeldActions keys;
    if (me.Dead) return keys;

    int t = me.Target;
    const TShip& target = world.Ships[t];
    if (t == s || !target.InPlay || target.Dead || !WithinTracking(me, target)) {
        keys.Hold(PlayerAction::NearestTarget);
        t = FindNearestShip(world, s);
    }
    if (t == s) {
        TurnToward(me, AwayFromEdges(me, me.Heading), keys);
        HoldSpeed(me, StartSpeed, keys);
        return keys;
    }

    const TShip& foe = world.Ships[t];
    Look look(world, arena, s, t);
    const double dx = foe.X - me.X, dy = foe.Y - me.Y;
    look.Distance = std::sqrt(dx * dx + dy * dy);
    look.Bearing = BearingOf(dx, dy);
    look.FoeRadius = HitRadius(arena, foe);
    look.MyRadius = HitRadius(arena, me) + 8;
    look.BeamReach = BeamRange(world);

    PullTriggers(look, keys);
    const Course course = Plan(look);
    TurnToward(me, course.Heading, keys, course.Way);
    HoldSpeed(me, course.Speed, keys);

    const IncomingShots shots = ShotsAt(world, s);
    if (shots.Count > 0) {
        const Manoeuvre wanted = AsManoeuvre(keys);
        const Manoeuvre chosen = Dodge(me, wanted, shots, look.MyRadius, DodgeMargin);
        if (!(chosen == wanted)) {
            const HeldActions dodge = chosen.Keys(me);
            keys.Hold(PlayerAction::TurnLeft, dodge[PlayerAction::TurnLeft]);
            keys.Hold(PlayerAction::TurnRight, dodge[PlayerAction::TurnRight]);
            keys.Hold(PlayerAction::Thrust, dodge[PlayerAction::Thrust]);
            keys.Hold(PlayerAction::Brake, dodge[PlayerAction::Brake]);
        }
    }
    return keys;
}

void FlyVeteran(Arena& arena, int s) { ApplyControls(arena, s, VeteranControls(arena, s)); }

}  // namespace kelvane
