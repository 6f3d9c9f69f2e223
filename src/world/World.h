#pragma once
// Everything a running game knows: the ship, projectile and beam tables and the
// handful of scalars every routine reads and writes. One World is passed explicitly
// to whatever needs it; nothing of the game lives in globals.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "world/Random.h"
#include "world/Table.h"

namespace kelvane {

constexpr int MaxShips = 64;
constexpr int MaxProjectiles = 128;
constexpr int MaxBeams = 32;
constexpr int MaxShipsInPlay = 8;
constexpr int WorldWidth = 2048;
constexpr int WorldHeight = 1536;
constexpr int ScreenWidth = 1024;
constexpr int ScreenHeight = 768;
constexpr int KeyCodeCount = 65536;

// One timed part of a ship's scripted explosion.
struct TExplosionPart {
    uint8_t Enabled = 0;
    uint8_t ImageIndex = 0;  // Images item: 7 for a "SMALL" part, else 6
    int32_t Distance = 0;    // pixels from the ship's centre
    int32_t Angle = 0;       // degrees added to the ship's heading
    int32_t Delay = 0;       // explosion frame at which the part starts

    bool operator==(const TExplosionPart&) const = default;
};

// One ship slot: a ship type read from its definition file and, while InPlay,
// the live ship of that type.
struct TShip {
    int32_t PrimaryStrength = 0;
    int32_t SecondaryStrength = 0;
    int32_t Accuracy = 0;
    int32_t Shields = 0;
    int32_t Hull = 0;
    int32_t Manoeuvrability = 0;
    int32_t StrengthRating = 0;
    int32_t MaxShields = 0;
    int32_t MaxHull = 0;
    double Speed = 0;
    double MaxSpeed = 0;
    std::string ClassName;
    std::string ShipName;
    std::string FullShipName;
    int32_t Length = 0;
    int32_t Crew = 0;
    uint8_t ImageIndex = 0;
    uint8_t InPlay = 0;
    int32_t X = 0;
    int32_t Y = 0;
    double TurnRate = 0;
    double Heading = 0;
    uint8_t Target = 0;
    std::string PrimaryWeaponType;
    std::string SecondaryWeaponType;
    std::string SpecialDevice;
    int32_t PrimaryReload = 0;
    int32_t SecondaryReload = 0;
    int32_t SpecialReload = 0;
    int32_t RespawnTimer = 0;
    uint8_t Dead = 0;
    uint8_t ExplosionTimer = 0;
    uint8_t Exploding = 0;
    uint8_t AwaitingRespawn = 0;
    uint8_t Appearing = 0;
    int32_t AppearFrame = 0;
    int32_t Score = 0;
    uint8_t EdgeTurn = 0;
    Table<TExplosionPart, 4> ExplosionParts;
    uint8_t ShipDisappearance = 0;
    Table<std::string, 5> ShipDescription;
    uint8_t ShieldsUp = 0;
    uint8_t ShieldsDownTimer = 0;
    int32_t StoredShields = 0;

    bool operator==(const TShip&) const = default;
};

// A torpedo, pulse shot or tachyon shot in flight.
struct TProjectileWeapon {
    int32_t X = 0;
    int32_t Y = 0;
    double Speed = 0;
    double TurnRate = 0;
    double Heading = 0;
    uint8_t ImageIndex = 0;
    uint8_t Frame = 0;
    uint8_t Target = 0;
    uint8_t Owner = 0;
    int32_t Damage = 0;
    int32_t Age = 0;
    uint8_t Active = 0;
    uint8_t Homing = 0;
    std::string Effect;

    bool operator==(const TProjectileWeapon&) const = default;
};

// A primary-weapon beam being shown between two ships.
struct TBeam {
    uint8_t Source = 0;
    uint8_t Target = 0;
    int32_t TimeLeft = 0;
    uint8_t ImageIndex = 0;
    uint8_t Active = 0;

    bool operator==(const TBeam&) const = default;
};

// Every field, of World and of the records above, is also named once in
// world/WorldFields.h, from which the field registry, the world checksum and the snapshot
// are made: a field added here and not there stops the build.
struct World {
    Table<TShip, MaxShips> Ships{"Ships"};
    Table<TProjectileWeapon, MaxProjectiles> Projectiles{"Projectiles"};
    Table<TBeam, MaxBeams> Beams{"Beams"};

    bool Loaded = false;
    bool Paused = false;
    bool ConsoleOpen = false;
    bool ShowRange = false;
    int32_t ViewX = 0;  // the view the rules keep on the player's ship (OwnView in View.h)
    int32_t ViewY = 0;
    uint8_t ShipCount = 0;
    uint8_t ControlledShip = 0;
    uint8_t TargetMarkerFrame = 0;
    uint8_t HullRepairTimer = 0;

    // Input state: 0 idle, 2 an event arrived since the last ageing, 1 active this frame.
    std::vector<uint8_t> KeyState = std::vector<uint8_t>(KeyCodeCount, 0);  // by the 16-bit virtual-key code
    std::array<uint8_t, 3> MouseButtonState{};  // left, right, middle
    int32_t MouseX = 0;
    int32_t MouseY = 0;
    uint8_t CapsLock = 0;

    // Console lines, each a colour digit followed by the text.
    std::vector<std::string> ConsoleLog;
    std::string InputLine;
    std::string LastCommand;

    RandomGenerator Rng;

    // Field by field (reals by value: WorldChecksum tells -0.0 from 0.0).
    bool operator==(const World&) const = default;

    int32_t Random(int32_t n) { return Rng.Random(n); }
    TShip& Controlled() { return Ships[ControlledShip]; }
    const TShip& Controlled() const { return Ships[ControlledShip]; }
};

}  // namespace kelvane
