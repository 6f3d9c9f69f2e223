#include "replay/WorldChecksum.h"

#include <bit>
#include <string>

#include "base/Hash64.h"

namespace kelvane {
namespace {

// The world's fields laid end to end, little-endian, each at its own width.
class FieldBytes {
public:
    FieldBytes() { bytes_.reserve(32 * 1024); }

    void Byte(uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    void Flag(bool value) { Byte(value ? 1 : 0); }
    void Int(int32_t value) { Wide(static_cast<uint32_t>(value), 4); }
    void Real(double value) { Wide(std::bit_cast<uint64_t>(value), 8); }
    void Text(const std::string& text) {
        Wide(text.size(), 8);
        bytes_ += text;
    }
    void Bytes(const uint8_t* data, size_t size) { bytes_.append(reinterpret_cast<const char*>(data), size); }
    // A long byte table by its own hash, rather than copied in whole.
    void HashedBytes(const uint8_t* data, size_t size) {
        Wide(size, 8);
        Wide(Hash64(data, size), 8);
    }

    uint64_t Hash() const { return Hash64(bytes_); }

private:
    void Wide(uint64_t value, int width) {
        for (int i = 0; i < width; ++i, value >>= 8) bytes_.push_back(static_cast<char>(value & 0xFF));
    }

    std::string bytes_;
};

void AddShip(FieldBytes& out, const TShip& ship) {
    out.Int(ship.PrimaryStrength);
    out.Int(ship.SecondaryStrength);
    out.Int(ship.Accuracy);
    out.Int(ship.Shields);
    out.Int(ship.Hull);
    out.Int(ship.Manoeuvrability);
    out.Int(ship.StrengthRating);
    out.Int(ship.MaxShields);
    out.Int(ship.MaxHull);
    out.Real(ship.Speed);
    out.Real(ship.MaxSpeed);
    out.Text(ship.ClassName);
    out.Text(ship.ShipName);
    out.Text(ship.FullShipName);
    out.Int(ship.Length);
    out.Int(ship.Crew);
    out.Byte(ship.ImageIndex);
    out.Byte(ship.InPlay);
    out.Int(ship.X);
    out.Int(ship.Y);
    out.Real(ship.TurnRate);
    out.Real(ship.Heading);
    out.Byte(ship.Target);
    out.Text(ship.PrimaryWeaponType);
    out.Text(ship.SecondaryWeaponType);
    out.Text(ship.SpecialDevice);
    out.Int(ship.PrimaryReload);
    out.Int(ship.SecondaryReload);
    out.Int(ship.SpecialReload);
    out.Int(ship.RespawnTimer);
    out.Byte(ship.Dead);
    out.Byte(ship.ExplosionTimer);
    out.Byte(ship.Exploding);
    out.Byte(ship.AwaitingRespawn);
    out.Byte(ship.Appearing);
    out.Int(ship.AppearFrame);
    out.Int(ship.Score);
    out.Byte(ship.EdgeTurn);
    for (int n = 0; n <= 4; ++n) {
        const TExplosionPart& part = ship.ExplosionParts[n];
        out.Byte(part.Enabled);
        out.Byte(part.ImageIndex);
        out.Int(part.Distance);
        out.Int(part.Angle);
        out.Int(part.Delay);
    }
    out.Byte(ship.ShipDisappearance);
    for (int n = 0; n <= 5; ++n) out.Text(ship.ShipDescription[n]);
    out.Byte(ship.ShieldsUp);
    out.Byte(ship.ShieldsDownTimer);
    out.Int(ship.StoredShields);
}

void AddProjectile(FieldBytes& out, const TProjectileWeapon& shot) {
    out.Int(shot.X);
    out.Int(shot.Y);
    out.Real(shot.Speed);
    out.Real(shot.TurnRate);
    out.Real(shot.Heading);
    out.Byte(shot.ImageIndex);
    out.Byte(shot.Frame);
    out.Byte(shot.Target);
    out.Byte(shot.Owner);
    out.Int(shot.Damage);
    out.Int(shot.Age);
    out.Byte(shot.Active);
    out.Byte(shot.Homing);
    out.Text(shot.Effect);
}

void AddBeam(FieldBytes& out, const TBeam& beam) {
    out.Byte(beam.Source);
    out.Byte(beam.Target);
    out.Int(beam.TimeLeft);
    out.Byte(beam.ImageIndex);
    out.Byte(beam.Active);
}

void AddSeat(FieldBytes& out, const PlayerSeat& seat) {
    out.Byte(seat.Joined);
    out.Text(seat.Name);
    out.Byte(seat.ControlledShip);
    out.Flag(seat.ConsoleOpen);
    out.Flag(seat.ShowRange);
    out.Int(seat.ViewX);
    out.Int(seat.ViewY);
    out.HashedBytes(seat.KeyState.data(), seat.KeyState.size());
    out.Bytes(seat.MouseButtonState.data(), seat.MouseButtonState.size());
    out.Byte(seat.CapsLock);
    out.Int(static_cast<int32_t>(seat.ConsoleLog.size()));
    for (const std::string& line : seat.ConsoleLog) out.Text(line);
    out.Text(seat.InputLine);
    out.Text(seat.LastCommand);
}

}  // namespace

uint64_t WorldChecksum(const World& world) {
    FieldBytes out;
    // Slot 0 too: it must stay zero, and a rule that wrote it would show here.
    for (int s = 0; s <= MaxShips; ++s) AddShip(out, world.Ships[s]);
    for (int p = 0; p <= MaxProjectiles; ++p) AddProjectile(out, world.Projectiles[p]);
    for (int b = 0; b <= MaxBeams; ++b) AddBeam(out, world.Beams[b]);

    out.Flag(world.Loaded);
    out.Flag(world.Paused);
    out.Flag(world.ConsoleOpen);
    out.Flag(world.ShowRange);
    out.Int(world.ViewX);
    out.Int(world.ViewY);
    out.Byte(world.ShipCount);
    out.Byte(world.ControlledShip);
    out.Byte(world.TargetMarkerFrame);
    out.Byte(world.HullRepairTimer);

    out.HashedBytes(world.KeyState.data(), world.KeyState.size());
    out.Bytes(world.MouseButtonState.data(), world.MouseButtonState.size());
    out.Int(world.MouseX);
    out.Int(world.MouseY);
    out.Byte(world.CapsLock);

    out.Int(static_cast<int32_t>(world.ConsoleLog.size()));
    for (const std::string& line : world.ConsoleLog) out.Text(line);
    out.Text(world.InputLine);
    out.Text(world.LastCommand);
    out.Int(static_cast<int32_t>(world.Rng.State()));
    // The seats of a network game; a game for one has none and sums as it always did.
    if (world.SeatCount > 0) {
        out.Byte(world.SeatCount);
        out.Byte(world.PausedBy);
        for (int seat = 1; seat <= world.SeatCount; ++seat) AddSeat(out, world.Seats[seat]);
    }
    return out.Hash();
}

}  // namespace kelvane
