#pragma once
// Every weapon and device a ship can carry, one row each: the identifier a definition
// file names, the control that fires it, what it launches and how it reloads. The three
// triggers, the computer's choice of weapon and the definition checker all read this one
// table.

#include <cstdint>
#include <span>
#include <string_view>

#include "base/Extended.h"
#include "world/World.h"

namespace kelvane {

// The control that fires a weapon: the primary trigger (Space), the torpedo trigger
// (Alt) or the special device (Ctrl).
enum class Trigger : uint8_t { Primary, Secondary, Special };

// The identifier field a weapon is carried in; its reload timer is the one that gates
// it and that a shot sets. "PHASER_PULSE" sits in the secondary slot but is fired by
// the primary trigger.
enum class WeaponSlot : uint8_t { Primary, Secondary, Special };

enum class WeaponKind : uint8_t {
    Beam,     // hits at once, no flight, and stays drawn between the ships for 16 frames
    Pulse,    // a straight shot
    Torpedo,  // a homing shot
    Tachyon,  // a harmless straight shot that knocks out the target's shields
};

enum class DamageSource : uint8_t { None, PrimaryStrength, SecondaryStrength };

// Frames until the weapon may fire again. R0 = PrimaryStrength x 0.95 + 30 of the firing
// ship, whatever the weapon.
enum class ReloadTime : uint8_t {
    R0,        // beams and torpedoes
    R0Pulse,   // pulse weapons: R0 x 0.4
    Tachyon,   // the tachyon device: 200 frames (8 s)
};

struct WeaponRow {
    const char* Id;          // as the loader stores it, upper-cased
    Trigger FiredBy;
    WeaponSlot Slot;
    WeaponKind Kind;
    uint8_t Picture;         // Gfx item: the beam or the shot
    int32_t Sound;           // Sfx item played when it fires
    double Speed;            // shots, pixels per frame
    DamageSource Damage;
    Extended HullFactor;  // beams: the share of their damage a bare hull takes
    ReloadTime Reload;
    const char* Effect;      // shots: the effect of a hit, "NONE" for none
};

// All rows; rows of one trigger are tried in this order.
std::span<const WeaponRow> WeaponTable();
// The row of an identifier (compared exactly), or nullptr ("NONE" has none).
const WeaponRow* FindWeapon(std::string_view id);
// The identifier a ship carries in a slot.
const std::string& CarriedIn(const TShip& ship, WeaponSlot slot);
// The key of a definition file's [Weapons] section that names what a slot carries.
const char* SlotKey(WeaponSlot slot);
// The reload timer of a slot.
int32_t& ReloadOf(TShip& ship, WeaponSlot slot);
// Frames a shot of `row` takes to reload on this ship.
int32_t ReloadFrames(const WeaponRow& row, const TShip& ship);
// The kind of weapon an identifier names, whatever slot it is carried in.
bool IsWeaponOfKind(std::string_view id, WeaponKind kind);

}  // namespace kelvane
