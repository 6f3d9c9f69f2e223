#pragma once
// Every field of the world by its name: "ViewX", "Ships[3].Hull",
// "Ships[2].ExplosionParts[1].Delay", "Ships[1].ShipDescription[5]", "Projectiles[7].Active",
// "Beams[1].TimeLeft", "RandomState". The names are those of the world's description
// (world/WorldFields.h). The headless runner dumps the world and applies scenario steps
// through it; nothing of the game itself goes this way.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "world/World.h"

namespace kelvane {

using FieldValue = std::variant<int64_t, double, std::string>;

class FieldError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Names of the values of one record kind or of the globals, in described order (the
// tables inside a record are not among them).
const std::vector<std::string>& ShipFieldNames();
const std::vector<std::string>& ProjectileFieldNames();
const std::vector<std::string>& BeamFieldNames();
const std::vector<std::string>& ExplosionPartFieldNames();
const std::vector<std::string>& GlobalFieldNames();

// The random generator's state, an integer 0..4294967295 (writing it reseeds the
// generator). Not among the globals a dump lists: it is no field the game shows, but a
// recording of a tournament's duel writes it to give the duel its own seed.
inline constexpr std::string_view RandomStateField = "RandomState";

// Throws FieldError for an unknown name or a slot outside the table.
FieldValue GetField(const World& world, std::string_view path);
// Integers go into integer fields (cut to the field's width), numbers into doubles,
// text into strings; a value of the wrong kind throws FieldError.
void SetField(World& world, std::string_view path, const FieldValue& value);

}  // namespace kelvane
