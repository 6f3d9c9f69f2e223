#include "combat/WeaponTable.h"

#include <array>

#include "base/Extended.h"
#include "base/Rounding.h"
#include "world/ArchiveItems.h"

namespace kelvane {
namespace {

using enum Trigger;
using enum WeaponKind;

constexpr int32_t TachyonReload = 200;
constexpr Extended Whole(1.0);
constexpr Extended Nine10ths = Extended::Ratio(9, 10);

// clang-format off
const std::array<WeaponRow, 11> Rows{{
    // identifier        trigger    slot                    kind     picture              sound             speed  damage                           hull   reload                 effect
    {"PHASER_ORANGE",    Primary,   WeaponSlot::Primary,    Beam,    Gfx::PhaserBeam,     Sfx::Beam,        0.0,  DamageSource::PrimaryStrength,   Whole, ReloadTime::R0,        "NONE"},
    {"BEAM_POLARON",     Primary,   WeaponSlot::Primary,    Beam,    Gfx::PolaronBeam,    Sfx::Beam,        0.0,  DamageSource::PrimaryStrength,   Nine10ths, ReloadTime::R0,        "NONE"},
    {"PHASER_PULSE",     Primary,   WeaponSlot::Secondary,  Pulse,   Gfx::PhaserPulse,    Sfx::PhaserPulse, 17.0, DamageSource::SecondaryStrength, Whole, ReloadTime::R0Pulse,   "NONE"},
    {"DISRUPTOR_MARK1",  Primary,   WeaponSlot::Primary,    Pulse,   Gfx::DisruptorMark1, Sfx::Disruptor,   16.0, DamageSource::PrimaryStrength,   Whole, ReloadTime::R0Pulse,   "NONE"},
    {"DISRUPTOR_MARK2",  Primary,   WeaponSlot::Primary,    Pulse,   Gfx::DisruptorMark2, Sfx::Disruptor,   17.0, DamageSource::PrimaryStrength,   Whole, ReloadTime::R0Pulse,   "NONE"},
    {"TORPEDO_PHOTON",   Secondary, WeaponSlot::Secondary,  Torpedo, Gfx::PhotonTorpedo,  Sfx::Launch,      15.0, DamageSource::SecondaryStrength, Whole, ReloadTime::R0,        "NONE"},
    {"TORPEDO_QUANTUM",  Secondary, WeaponSlot::Secondary,  Torpedo, Gfx::QuantumTorpedo, Sfx::Launch,      10.0, DamageSource::SecondaryStrength, Whole, ReloadTime::R0,        "NONE"},
    {"TORPEDO_POLARON",  Secondary, WeaponSlot::Secondary,  Torpedo, Gfx::PolaronTorpedo, Sfx::Launch,      12.0, DamageSource::SecondaryStrength, Whole, ReloadTime::R0,        "POLARON_EFFECT"},
    {"TORPEDO_ION",      Secondary, WeaponSlot::Secondary,  Torpedo, Gfx::IonTorpedo,     Sfx::Launch,      9.0,  DamageSource::SecondaryStrength, Whole, ReloadTime::R0,        "NONE"},
    {"TORPEDO_PLASMA",   Secondary, WeaponSlot::Secondary,  Torpedo, Gfx::PlasmaTorpedo,  Sfx::Launch,      12.0, DamageSource::SecondaryStrength, Whole, ReloadTime::R0,        "NONE"},
    {"TACHYON_PULSE",    Special,   WeaponSlot::Special,    Tachyon, Gfx::TachyonShot,    Sfx::Launch,      15.0, DamageSource::None,              Whole, ReloadTime::Tachyon,   "TACHYON_EFFECT"},
}};
// clang-format on

}  // namespace

std::span<const WeaponRow> WeaponTable() { return Rows; }

const WeaponRow* FindWeapon(std::string_view id) {
    for (const WeaponRow& row : Rows)
        if (id == row.Id) return &row;
    return nullptr;
}

const std::string& CarriedIn(const TShip& ship, WeaponSlot slot) {
    switch (slot) {
        case WeaponSlot::Primary: return ship.PrimaryWeaponType;
        case WeaponSlot::Secondary: return ship.SecondaryWeaponType;
        case WeaponSlot::Special: break;
    }
    return ship.SpecialDevice;
}

const char* SlotKey(WeaponSlot slot) {
    switch (slot) {
        case WeaponSlot::Primary: return "PrimaryWeaponType";
        case WeaponSlot::Secondary: return "SecondaryWeaponType";
        case WeaponSlot::Special: break;
    }
    return "SpecialDevice";
}

int32_t& ReloadOf(TShip& ship, WeaponSlot slot) {
    switch (slot) {
        case WeaponSlot::Primary: return ship.PrimaryReload;
        case WeaponSlot::Secondary: return ship.SecondaryReload;
        case WeaponSlot::Special: break;
    }
    return ship.SpecialReload;
}

int32_t ReloadFrames(const WeaponRow& row, const TShip& ship) {
    // R0 is held as a double, as the beams have always taken it.
    const double r0 = (Extended(ship.PrimaryStrength) * Extended::Ratio(19, 20) + Extended(30.0)).ToDouble();
    switch (row.Reload) {
        case ReloadTime::R0: return RoundEven(r0);
        case ReloadTime::R0Pulse: return RoundEven(Extended(r0) * Extended::Ratio(2, 5));
        case ReloadTime::Tachyon: break;
    }
    return TachyonReload;
}

bool IsWeaponOfKind(std::string_view id, WeaponKind kind) {
    const WeaponRow* row = FindWeapon(id);
    return row && row->Kind == kind;
}

}  // namespace kelvane
