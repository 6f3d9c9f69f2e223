#include "world/FieldRegistry.h"

#include <charconv>
#include <type_traits>

namespace kelvane {
namespace {

template <class Record>
using MemberPointer = std::variant<int32_t Record::*, uint8_t Record::*, double Record::*, std::string Record::*,
                                   bool Record::*>;

template <class Record>
struct FieldEntry {
    const char* Name;
    MemberPointer<Record> Member;
};

#define KV_FIELD(Record, name) FieldEntry<Record>{#name, &Record::name}

const std::vector<FieldEntry<TShip>>& ShipEntries() {
    static const std::vector<FieldEntry<TShip>> entries = {
        KV_FIELD(TShip, PrimaryStrength), KV_FIELD(TShip, SecondaryStrength), KV_FIELD(TShip, Accuracy),
        KV_FIELD(TShip, Shields), KV_FIELD(TShip, Hull), KV_FIELD(TShip, Manoeuvrability),
        KV_FIELD(TShip, StrengthRating), KV_FIELD(TShip, MaxShields), KV_FIELD(TShip, MaxHull),
        KV_FIELD(TShip, Speed), KV_FIELD(TShip, MaxSpeed), KV_FIELD(TShip, ClassName), KV_FIELD(TShip, ShipName),
        KV_FIELD(TShip, FullShipName), KV_FIELD(TShip, Length), KV_FIELD(TShip, Crew), KV_FIELD(TShip, ImageIndex),
        KV_FIELD(TShip, InPlay), KV_FIELD(TShip, X), KV_FIELD(TShip, Y), KV_FIELD(TShip, TurnRate),
        KV_FIELD(TShip, Heading), KV_FIELD(TShip, Target), KV_FIELD(TShip, PrimaryWeaponType),
        KV_FIELD(TShip, SecondaryWeaponType), KV_FIELD(TShip, SpecialDevice), KV_FIELD(TShip, PrimaryReload),
        KV_FIELD(TShip, SecondaryReload), KV_FIELD(TShip, SpecialReload), KV_FIELD(TShip, RespawnTimer),
        KV_FIELD(TShip, Dead), KV_FIELD(TShip, ExplosionTimer), KV_FIELD(TShip, Exploding),
        KV_FIELD(TShip, AwaitingRespawn), KV_FIELD(TShip, Appearing), KV_FIELD(TShip, AppearFrame),
        KV_FIELD(TShip, Score), KV_FIELD(TShip, EdgeTurn), KV_FIELD(TShip, ShipDisappearance),
        KV_FIELD(TShip, ShieldsUp), KV_FIELD(TShip, ShieldsDownTimer), KV_FIELD(TShip, StoredShields),
    };
    return entries;
}

const std::vector<FieldEntry<TProjectileWeapon>>& ProjectileEntries() {
    static const std::vector<FieldEntry<TProjectileWeapon>> entries = {
        KV_FIELD(TProjectileWeapon, X), KV_FIELD(TProjectileWeapon, Y), KV_FIELD(TProjectileWeapon, Speed),
        KV_FIELD(TProjectileWeapon, TurnRate), KV_FIELD(TProjectileWeapon, Heading),
        KV_FIELD(TProjectileWeapon, ImageIndex), KV_FIELD(TProjectileWeapon, Frame),
        KV_FIELD(TProjectileWeapon, Target), KV_FIELD(TProjectileWeapon, Owner), KV_FIELD(TProjectileWeapon, Damage),
        KV_FIELD(TProjectileWeapon, Age), KV_FIELD(TProjectileWeapon, Active), KV_FIELD(TProjectileWeapon, Homing),
        KV_FIELD(TProjectileWeapon, Effect),
    };
    return entries;
}

const std::vector<FieldEntry<TBeam>>& BeamEntries() {
    static const std::vector<FieldEntry<TBeam>> entries = {
        KV_FIELD(TBeam, Source), KV_FIELD(TBeam, Target), KV_FIELD(TBeam, TimeLeft), KV_FIELD(TBeam, ImageIndex),
        KV_FIELD(TBeam, Active),
    };
    return entries;
}

const std::vector<FieldEntry<TExplosionPart>>& PartEntries() {
    static const std::vector<FieldEntry<TExplosionPart>> entries = {
        KV_FIELD(TExplosionPart, Enabled), KV_FIELD(TExplosionPart, ImageIndex), KV_FIELD(TExplosionPart, Distance),
        KV_FIELD(TExplosionPart, Angle), KV_FIELD(TExplosionPart, Delay),
    };
    return entries;
}

const std::vector<FieldEntry<World>>& GlobalEntries() {
    static const std::vector<FieldEntry<World>> entries = {
        KV_FIELD(World, Loaded), KV_FIELD(World, Paused), KV_FIELD(World, ConsoleOpen), KV_FIELD(World, ShowRange),
        KV_FIELD(World, ViewX), KV_FIELD(World, ViewY), KV_FIELD(World, ShipCount), KV_FIELD(World, ControlledShip),
        KV_FIELD(World, TargetMarkerFrame), KV_FIELD(World, HullRepairTimer), KV_FIELD(World, MouseX),
        KV_FIELD(World, MouseY), KV_FIELD(World, CapsLock), KV_FIELD(World, InputLine),
        KV_FIELD(World, LastCommand),
    };
    return entries;
}

#undef KV_FIELD

template <class Record>
std::vector<std::string> NamesOf(const std::vector<FieldEntry<Record>>& entries) {
    std::vector<std::string> names;
    for (const auto& entry : entries) names.emplace_back(entry.Name);
    return names;
}

template <class Record>
FieldValue Read(const Record& record, const MemberPointer<Record>& member) {
    return std::visit(
        [&](auto pointer) -> FieldValue {
            const auto& value = record.*pointer;
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string>) return value;
            else if constexpr (std::is_same_v<T, double>) return value;
            else return static_cast<int64_t>(value);
        },
        member);
}

template <class Record>
void Write(Record& record, const MemberPointer<Record>& member, const FieldValue& value, std::string_view path) {
    std::visit(
        [&](auto pointer) {
            auto& field = record.*pointer;
            using T = std::decay_t<decltype(field)>;
            if constexpr (std::is_same_v<T, std::string>) {
                if (!std::holds_alternative<std::string>(value)) throw FieldError(std::string(path) + " takes text");
                field = std::get<std::string>(value);
            } else if constexpr (std::is_same_v<T, double>) {
                if (std::holds_alternative<std::string>(value)) throw FieldError(std::string(path) + " takes a number");
                field = std::holds_alternative<double>(value) ? std::get<double>(value)
                                                              : static_cast<double>(std::get<int64_t>(value));
            } else {
                if (!std::holds_alternative<int64_t>(value)) {
                    throw FieldError(std::string(path) + " takes an integer");
                }
                field = static_cast<T>(std::get<int64_t>(value));
            }
        },
        member);
}

template <class Record>
const MemberPointer<Record>& Find(const std::vector<FieldEntry<Record>>& entries, std::string_view name,
                           std::string_view path) {
    for (const auto& entry : entries) {
        if (name == entry.Name) return entry.Member;
    }
    throw FieldError("unknown field: " + std::string(path));
}

// Splits "Name[index]" off the front of `rest`; returns false when no index follows.
bool TakeIndexed(std::string_view& rest, std::string_view name, long long& index, std::string_view path) {
    if (rest.substr(0, name.size()) != name || rest.size() <= name.size() || rest[name.size()] != '[') return false;
    const size_t close = rest.find(']', name.size());
    if (close == std::string_view::npos) throw FieldError("missing ']' in " + std::string(path));
    const std::string_view digits = rest.substr(name.size() + 1, close - name.size() - 1);
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        throw FieldError("bad index in " + std::string(path));
    }
    rest.remove_prefix(close + 1);
    return true;
}

std::string_view TakeMemberName(std::string_view& rest, std::string_view path) {
    if (rest.empty() || rest.front() != '.') throw FieldError("expected '.field' in " + std::string(path));
    rest.remove_prefix(1);
    return rest;
}

// Slot 0 is never a ship, projectile or beam: it stays zero, so it is not addressable.
template <int N>
void CheckSlot(long long index, std::string_view path) {
    if (index < 1 || index > N) throw FieldError("slot out of range in " + std::string(path));
}

// Resolves a path to the record and member it names and hands them to `action`.
template <class WorldRef, class Action>
void Resolve(WorldRef& world, std::string_view path, Action&& action) {
    std::string_view rest = path;
    long long index = 0;
    if (TakeIndexed(rest, "Ships", index, path)) {
        CheckSlot<MaxShips>(index, path);
        auto& ship = world.Ships[index];
        long long sub = 0;
        std::string_view member = TakeMemberName(rest, path);
        if (TakeIndexed(member, "ExplosionParts", sub, path)) {
            CheckSlot<4>(sub, path);
            auto& part = ship.ExplosionParts[sub];
            std::string_view name = TakeMemberName(member, path);
            action(part, Find(PartEntries(), name, path));
            return;
        }
        if (TakeIndexed(member, "ShipDescription", sub, path)) {
            if (sub < 1 || sub > 5 || !member.empty()) throw FieldError("bad field: " + std::string(path));
            action(ship.ShipDescription[sub]);
            return;
        }
        action(ship, Find(ShipEntries(), member, path));
        return;
    }
    if (TakeIndexed(rest, "Projectiles", index, path)) {
        CheckSlot<MaxProjectiles>(index, path);
        action(world.Projectiles[index], Find(ProjectileEntries(), TakeMemberName(rest, path), path));
        return;
    }
    if (TakeIndexed(rest, "Beams", index, path)) {
        CheckSlot<MaxBeams>(index, path);
        action(world.Beams[index], Find(BeamEntries(), TakeMemberName(rest, path), path));
        return;
    }
    action(world, Find(GlobalEntries(), rest, path));
}

}  // namespace

const std::vector<std::string>& ShipFieldNames() {
    static const std::vector<std::string> names = NamesOf(ShipEntries());
    return names;
}
const std::vector<std::string>& ProjectileFieldNames() {
    static const std::vector<std::string> names = NamesOf(ProjectileEntries());
    return names;
}
const std::vector<std::string>& BeamFieldNames() {
    static const std::vector<std::string> names = NamesOf(BeamEntries());
    return names;
}
const std::vector<std::string>& ExplosionPartFieldNames() {
    static const std::vector<std::string> names = NamesOf(PartEntries());
    return names;
}
const std::vector<std::string>& GlobalFieldNames() {
    static const std::vector<std::string> names = NamesOf(GlobalEntries());
    return names;
}

FieldValue GetField(const World& world, std::string_view path) {
    if (path == RandomStateField) return static_cast<int64_t>(world.Rng.State());
    FieldValue result;
    Resolve(world, path, [&](const auto& record, const auto&... member) {
        if constexpr (sizeof...(member) == 0) {
            result = record;  // a description line: the text itself
        } else {
            result = Read(record, member...);
        }
    });
    return result;
}

void SetField(World& world, std::string_view path, const FieldValue& value) {
    if (path == RandomStateField) {
        if (!std::holds_alternative<int64_t>(value)) throw FieldError(std::string(path) + " takes an integer");
        world.Rng.Seed(static_cast<uint32_t>(std::get<int64_t>(value)));
        return;
    }
    Resolve(world, path, [&](auto& record, const auto&... member) {
        if constexpr (sizeof...(member) == 0) {
            if (!std::holds_alternative<std::string>(value)) throw FieldError(std::string(path) + " takes text");
            record = std::get<std::string>(value);
        } else {
            Write(record, member..., value, path);
        }
    });
}

}  // namespace kelvane
