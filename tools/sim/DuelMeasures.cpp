#include "DuelMeasures.h"

#include <algorithm>

#include "combat/Geometry.h"
#include "combat/WeaponTable.h"
#include "combat/Weapons.h"

namespace kelvane::sim {
namespace {

const WeaponRow* ShotRow(uint8_t picture) {
    for (const WeaponRow& row : WeaponTable())
        if (row.Kind != WeaponKind::Beam && row.Picture == picture) return &row;
    return nullptr;
}

// A projectile's slot freed in a frame was either hit or flew out of the field in that
// frame's flight: where one more step of flight takes it tells which.
bool FlewOut(int32_t x, int32_t y, double speed, double heading, double turnRate) {
    HeadingStep(x, y, speed, heading, turnRate);
    return x < -32 || x > WorldWidth + 31 || y < -32 || y > WorldHeight + 31;
}

// Shields and hull a ship has left; shields a tachyon holds down still count, so only a
// real loss lowers it.
int32_t Strength(const TShip& ship) {
    const int32_t shields = std::max(0, ship.Shields) + (ship.ShieldsUp ? 0 : std::max(0, ship.StoredShields));
    return shields + std::max(0, ship.Hull);
}

}  // namespace

ShotCounts& ShotCounts::operator+=(const ShotCounts& more) {
    Damage += more.Damage;
    Beams += more.Beams;
    Pulses += more.Pulses;
    PulseHits += more.PulseHits;
    Torpedoes += more.Torpedoes;
    TorpedoHits += more.TorpedoHits;
    Tachyons += more.Tachyons;
    TachyonHits += more.TachyonHits;
    TachyonsAtBareShields += more.TachyonsAtBareShields;
    return *this;
}

DuelWatch::DuelWatch(const World& world, int firstSlot, int secondSlot) : slots_{firstSlot, secondSlot} {
    Remember(world);
}

int DuelWatch::Seat(int owner) const {
    if (owner == slots_[0]) return 0;
    if (owner == slots_[1]) return 1;
    return -1;
}

void DuelWatch::Remember(const World& world) {
    for (int p = 1; p <= MaxProjectiles; ++p) {
        const TProjectileWeapon& shot = world.Projectiles[p];
        shots_[p] = {shot.Active != 0, shot.Owner, shot.ImageIndex, shot.X, shot.Y, shot.Speed, shot.Heading,
                     shot.TurnRate};
    }
    for (int i = 0; i < 2; ++i) {
        const TShip& ship = world.Ships[slots_[i]];
        strengths_[i] = Strength(ship);
        shieldsUp_[i] = ship.ShieldsUp != 0;
    }
}

void DuelWatch::Frame(const World& world) {
    for (int p = 1; p <= MaxProjectiles; ++p) {
        const ShotSeen& before = shots_[p];
        const TProjectileWeapon& now = world.Projectiles[p];
        // A launch leaves its shot at age 0 until the next frame's flight.
        const bool launched = now.Active && now.Age == 0;
        if (before.Active && (!now.Active || launched)) {
            const int seat = Seat(before.Owner);
            const WeaponRow* row = ShotRow(before.ImageIndex);
            if (seat >= 0 && row && !FlewOut(before.X, before.Y, before.Speed, before.Heading, before.TurnRate)) {
                ShotCounts& counts = measures_.Shots[seat];
                if (row->Kind == WeaponKind::Pulse) ++counts.PulseHits;
                if (row->Kind == WeaponKind::Torpedo) ++counts.TorpedoHits;
                if (row->Kind == WeaponKind::Tachyon) ++counts.TachyonHits;
            }
        }
        if (!launched) continue;
        const int seat = Seat(now.Owner);
        const WeaponRow* row = ShotRow(now.ImageIndex);
        if (seat < 0 || !row) continue;
        ShotCounts& counts = measures_.Shots[seat];
        if (row->Kind == WeaponKind::Pulse) ++counts.Pulses;
        if (row->Kind == WeaponKind::Torpedo) ++counts.Torpedoes;
        if (row->Kind == WeaponKind::Tachyon) {
            ++counts.Tachyons;
            // The launch comes before the frame's shield return: shields back only now
            // were still down when the shot left.
            const TShip& target = world.Ships[now.Target];
            const int targetSeat = Seat(now.Target);
            const bool cameBack = targetSeat >= 0 && !shieldsUp_[targetSeat] && target.ShieldsUp;
            if (!target.ShieldsUp || target.Shields <= 0 || cameBack) ++counts.TachyonsAtBareShields;
        }
    }
    for (int b = 1; b <= MaxBeams; ++b) {
        const TBeam& beam = world.Beams[b];
        // Fired this frame: the beams' ageing comes earlier in the frame than any trigger.
        if (beam.Active && beam.TimeLeft == BeamLifetime) {
            const int seat = Seat(beam.Source);
            if (seat >= 0) ++measures_.Shots[seat].Beams;
        }
    }

    bool lost = false;
    for (int i = 0; i < 2; ++i) {
        const int32_t now = Strength(world.Ships[slots_[i]]);
        if (now >= strengths_[i]) continue;  // repairs and shields coming back are no fighting
        lost = true;
        measures_.Shots[1 - i].Damage += static_cast<uint64_t>(strengths_[i] - now);
    }
    if (lost) {
        if (run_ >= QuietStretch) measures_.QuietFrames += run_;
        run_ = 0;
    } else {
        ++run_;
    }
    Remember(world);
}

DuelMeasures DuelWatch::Finish() const {
    DuelMeasures measures = measures_;
    if (run_ >= QuietStretch) measures.QuietFrames += run_;
    return measures;
}

}  // namespace kelvane::sim
