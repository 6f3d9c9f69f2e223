#include "combat/PrimaryWeapons.h"

#include <cstdint>
#include <string>

#include "combat/Geometry.h"
#include "combat/Projectiles.h"
#include "combat/WeaponRules.h"
#include "world/Rounding.h"

namespace kelvane {

namespace {

constexpr int32_t BeamWave = 0;
constexpr int32_t PulseWave = 7;
constexpr int32_t DisruptorWave = 6;

// Reload base of the primary trigger, in frames: PrimaryStrength * 0.95 + 30.
double PrimaryReloadBase(const TShip& ship) {
    return static_cast<double>(static_cast<long double>(ship.PrimaryStrength) * 0.95L + 30.0L);
}

// Pulse weapons reload in 0.4 of a beam's time.
int32_t PulseReload(const TShip& ship) {
    return RoundEven(static_cast<long double>(PrimaryReloadBase(ship)) * 0.4L);
}

// A beam hits at once: no flight and no hit test. hullFactor weakens it against a bare hull.
void FireBeam(Arena& arena, int s, uint8_t image, long double hullFactor) {
    World& world = arena.world;
    TShip& ship = world.Ships[s];
    const int t = ship.Target;
    const TShip& target = world.Ships[t];  // a bad index throws before anything changes
    const int b = FindFreeBeam(world);
    if (b == 0) return;  // every beam slot is shown: the beam waits like a weapon not ready
    arena.Waves.Play(BeamWave);

    TBeam& beam = world.Beams[b];
    beam.Source = static_cast<uint8_t>(s);
    beam.Target = static_cast<uint8_t>(t);
    beam.TimeLeft = BeamLifetime;
    beam.ImageIndex = image;
    beam.Active = 1;
    ship.PrimaryReload = RoundEven(PrimaryReloadBase(ship));

    // Between half the strength and just under one and a half times it.
    const long double ratio = HitRatio(world, s, t);
    const long double strength = ship.PrimaryStrength;
    const long double base = ratio * strength + strength / 2.0L;
    const bool shieldsHold = target.Shields > 0;
    ApplyDamage(world, t, RoundEven(shieldsHold ? base * 1.0L : base * hullFactor));
    AwardPoints(world, s, t);
}

void FirePulse(Arena& arena, int s, uint8_t image, int32_t wave, double speed, int32_t damage,
               int32_t& reload) {
    ProjectileLaunch launch;
    launch.ImageIndex = image;
    launch.WaveIndex = wave;
    launch.Speed = speed;
    launch.Damage = damage;
    launch.Homing = false;
    launch.Effect = "NONE";
    if (LaunchProjectile(arena, s, launch)) reload = PulseReload(arena.world.Ships[s]);
}

}  // namespace

int FindFreeBeam(const World& world) {
    for (int b = 1; b <= MaxBeams; ++b)
        if (!world.Beams[b].Active) return b;
    return 0;
}

int32_t BeamRange(const World& world) {
    const long double accuracy = world.Ships[world.ControlledShip].Accuracy;
    return RoundEven(accuracy / 2.25L + 300.0L);
}

bool InBeamRange(const World& world, int s) {
    const TShip& ship = world.Ships[s];
    const TShip& target = world.Ships[ship.Target];
    int32_t distance = 0;  // a target on the very same point is at distance 0
    AngleAndDistance(ship.X, ship.Y, target.X, target.Y, distance);
    return distance < BeamRange(world);
}

void FirePrimaryWeapon(Arena& arena, int s) {
    World& world = arena.world;
    // Five checks in turn, each on the state the earlier ones left: a beam from the
    // primary slot and a pulse from the secondary slot may go off in the same call.
    const auto ready = [&](const std::string& type, const char* id, int32_t reload) {
        return type == id && reload == 0 && HasOtherTarget(world, s);
    };
    TShip& ship = world.Ships[s];
    if (ready(ship.PrimaryWeaponType, "PHASER_ORANGE", ship.PrimaryReload)) FireBeam(arena, s, 1, 1.0L);
    if (ready(ship.PrimaryWeaponType, "BEAM_POLARON", ship.PrimaryReload)) FireBeam(arena, s, 10, 0.9L);
    // The pulse phaser sits in the secondary slot and uses its reload, but its reload
    // time comes from the primary strength.
    if (ready(ship.SecondaryWeaponType, "PHASER_PULSE", ship.SecondaryReload))
        FirePulse(arena, s, 9, PulseWave, 17.0, ship.SecondaryStrength, ship.SecondaryReload);
    if (ready(ship.PrimaryWeaponType, "DISRUPTOR_MARK1", ship.PrimaryReload))
        FirePulse(arena, s, 13, DisruptorWave, 16.0, ship.PrimaryStrength, ship.PrimaryReload);
    if (ready(ship.PrimaryWeaponType, "DISRUPTOR_MARK2", ship.PrimaryReload))
        FirePulse(arena, s, 14, DisruptorWave, 17.0, ship.PrimaryStrength, ship.PrimaryReload);
}

void CountDownReloads(World& world) {
    for (TShip& ship : world.Ships)
        if (ship.PrimaryReload > 0) --ship.PrimaryReload;
    for (TShip& ship : world.Ships)
        if (ship.SecondaryReload > 0) --ship.SecondaryReload;
    for (TShip& ship : world.Ships)
        if (ship.SpecialReload > 0) --ship.SpecialReload;
}

void AgeBeams(World& world) {
    for (TBeam& beam : world.Beams) {
        if (beam.TimeLeft <= 0)
            beam.Active = 0;
        else
            --beam.TimeLeft;
    }
}

}  // namespace kelvane
