#pragma once
// The one description of the world: every field of World and of the records in its
// tables, by name, in declared order. Describe(visit, record) calls visit(name, field)
// for each; the field registry (the names of the runner's dumps and scenario steps), the
// world checksum (recordings) and the snapshot (saving and restoring a world) are each
// a visitor over it, and nothing else lists the fields.
//
// A visitor is called with fields of these kinds, and decides by the field's type:
//   values        bool, uint8_t, int32_t, double, std::string
//   tables        Table<Record, N> (each slot described in turn), Table<std::string, N>
//   input tables  std::vector<uint8_t> (the key table), std::array<uint8_t, N> (buttons)
//   the log       std::vector<std::string>
//   the generator RandomGenerator (its state)
//
// Adding a field: declare it in World.h, then add its line below at the same place. The
// build stops (WorldFields.cpp) while a record has more members than its description;
// a field of a new type also needs its kind in each visitor, which stops the build too.

#include <array>
#include <concepts>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "world/World.h"

namespace kelvane {

// R is T or const T: one description serves reading and writing.
template <class R, class T>
concept RecordOf = std::same_as<std::remove_const_t<R>, T>;

template <class Visit, RecordOf<TExplosionPart> Part>
constexpr void Describe(Visit& visit, Part& part) {
    visit("Enabled", part.Enabled);
    visit("ImageIndex", part.ImageIndex);
    visit("Distance", part.Distance);
    visit("Angle", part.Angle);
    visit("Delay", part.Delay);
}

template <class Visit, RecordOf<TShip> Ship>
constexpr void Describe(Visit& visit, Ship& ship) {
    visit("PrimaryStrength", ship.PrimaryStrength);
    visit("SecondaryStrength", ship.SecondaryStrength);
    visit("Accuracy", ship.Accuracy);
    visit("Shields", ship.Shields);
    visit("Hull", ship.Hull);
    visit("Manoeuvrability", ship.Manoeuvrability);
    visit("StrengthRating", ship.StrengthRating);
    visit("MaxShields", ship.MaxShields);
    visit("MaxHull", ship.MaxHull);
    visit("Speed", ship.Speed);
    visit("MaxSpeed", ship.MaxSpeed);
    visit("ClassName", ship.ClassName);
    visit("ShipName", ship.ShipName);
    visit("FullShipName", ship.FullShipName);
    visit("Length", ship.Length);
    visit("Crew", ship.Crew);
    visit("ImageIndex", ship.ImageIndex);
    visit("InPlay", ship.InPlay);
    visit("X", ship.X);
    visit("Y", ship.Y);
    visit("TurnRate", ship.TurnRate);
    visit("Heading", ship.Heading);
    visit("Target", ship.Target);
    visit("PrimaryWeaponType", ship.PrimaryWeaponType);
    visit("SecondaryWeaponType", ship.SecondaryWeaponType);
    visit("SpecialDevice", ship.SpecialDevice);
    visit("PrimaryReload", ship.PrimaryReload);
    visit("SecondaryReload", ship.SecondaryReload);
    visit("SpecialReload", ship.SpecialReload);
    visit("RespawnTimer", ship.RespawnTimer);
    visit("Dead", ship.Dead);
    visit("ExplosionTimer", ship.ExplosionTimer);
    visit("Exploding", ship.Exploding);
    visit("AwaitingRespawn", ship.AwaitingRespawn);
    visit("Appearing", ship.Appearing);
    visit("AppearFrame", ship.AppearFrame);
    visit("Score", ship.Score);
    visit("EdgeTurn", ship.EdgeTurn);
    visit("ExplosionParts", ship.ExplosionParts);
    visit("ShipDisappearance", ship.ShipDisappearance);
    visit("ShipDescription", ship.ShipDescription);
    visit("ShieldsUp", ship.ShieldsUp);
    visit("ShieldsDownTimer", ship.ShieldsDownTimer);
    visit("StoredShields", ship.StoredShields);
}

template <class Visit, RecordOf<TProjectileWeapon> Shot>
constexpr void Describe(Visit& visit, Shot& shot) {
    visit("X", shot.X);
    visit("Y", shot.Y);
    visit("Speed", shot.Speed);
    visit("TurnRate", shot.TurnRate);
    visit("Heading", shot.Heading);
    visit("ImageIndex", shot.ImageIndex);
    visit("Frame", shot.Frame);
    visit("Target", shot.Target);
    visit("Owner", shot.Owner);
    visit("Damage", shot.Damage);
    visit("Age", shot.Age);
    visit("Active", shot.Active);
    visit("Homing", shot.Homing);
    visit("Effect", shot.Effect);
}

template <class Visit, RecordOf<TBeam> Beam>
constexpr void Describe(Visit& visit, Beam& beam) {
    visit("Source", beam.Source);
    visit("Target", beam.Target);
    visit("TimeLeft", beam.TimeLeft);
    visit("ImageIndex", beam.ImageIndex);
    visit("Active", beam.Active);
}

template <class Visit, RecordOf<World> WorldRecord>
constexpr void Describe(Visit& visit, WorldRecord& world) {
    visit("Ships", world.Ships);
    visit("Projectiles", world.Projectiles);
    visit("Beams", world.Beams);
    visit("Loaded", world.Loaded);
    visit("Paused", world.Paused);
    visit("ConsoleOpen", world.ConsoleOpen);
    visit("ShowRange", world.ShowRange);
    visit("ViewX", world.ViewX);
    visit("ViewY", world.ViewY);
    visit("ShipCount", world.ShipCount);
    visit("ControlledShip", world.ControlledShip);
    visit("TargetMarkerFrame", world.TargetMarkerFrame);
    visit("HullRepairTimer", world.HullRepairTimer);
    visit("KeyState", world.KeyState);
    visit("MouseButtonState", world.MouseButtonState);
    visit("MouseX", world.MouseX);
    visit("MouseY", world.MouseY);
    visit("CapsLock", world.CapsLock);
    visit("ConsoleLog", world.ConsoleLog);
    visit("InputLine", world.InputLine);
    visit("LastCommand", world.LastCommand);
    visit("RandomState", world.Rng);
}

// ---- the kinds of fields, for the visitors ----------------------------------------------

// A single value: a flag, a byte, an integer, a real or a text.
template <class T>
concept FieldValueType = std::same_as<T, bool> || std::same_as<T, uint8_t> || std::same_as<T, int32_t> ||
                         std::same_as<T, double> || std::same_as<T, std::string>;

template <class T>
struct TableKind : std::false_type {};
template <class T, int N>
struct TableKind<Table<T, N>> : std::true_type {
    using Slot = T;
};
// A table of records or of texts, slots 0..N.
template <class T>
concept TableType = TableKind<T>::value;

template <class T>
struct ByteArrayKind : std::false_type {};
template <size_t N>
struct ByteArrayKind<std::array<uint8_t, N>> : std::true_type {};
// A fixed row of bytes (the mouse buttons).
template <class T>
concept ByteArrayType = ByteArrayKind<T>::value;

// Visits every slot of a table, slot 0 included: a record by its description, a text (a
// line of a ship's description) as a value of the table's name.
template <class Visit, class TableRef>
constexpr void DescribeSlots(Visit& visit, const char* name, TableRef& table) {
    for (auto& slot : table.Slots()) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(slot)>, std::string>) {
            visit(name, slot);
        } else {
            Describe(visit, slot);
        }
    }
}

// Makes a visitor's `if constexpr` chain fail to compile for a kind it does not know.
template <class T>
inline constexpr bool UnknownFieldKind = false;

}  // namespace kelvane
