#include "world/FieldRegistry.h"

#include <charconv>
#include <optional>
#include <type_traits>

#include "world/WorldFields.h"

namespace kelvane {
namespace {

// The names of a record's values, in described order: its tables, the input tables, the
// log and the generator are not among them.
template <class Record>
std::vector<std::string> ValueNames() {
    std::vector<std::string> names;
    auto collect = [&names](const char* name, const auto& field) {
        if constexpr (FieldValueType<std::remove_cvref_t<decltype(field)>>) names.emplace_back(name);
    };
    static const Record record{};
    Describe(collect, record);
    return names;
}

// One step of a path: "Name" or "Name[index]", and what follows it (".Field..." or nothing).
struct PathStep {
    std::string_view Name;
    std::optional<long long> Index;
    std::string_view Rest;
};

PathStep TakeStep(std::string_view text, std::string_view path) {
    const size_t end = text.find_first_of("[.");
    PathStep step{text.substr(0, end), std::nullopt, {}};
    if (end == std::string_view::npos) return step;
    if (text[end] == '.') {
        step.Rest = text.substr(end);
        return step;
    }
    const size_t close = text.find(']', end);
    if (close == std::string_view::npos) throw FieldError("missing ']' in " + std::string(path));
    const std::string_view digits = text.substr(end + 1, close - end - 1);
    long long index = 0;
    auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (error != std::errc() || last != digits.data() + digits.size()) {
        throw FieldError("bad index in " + std::string(path));
    }
    step.Index = index;
    step.Rest = text.substr(close + 1);
    return step;
}

// Finds the field `text` names in `record` (a world, or a slot of one of its tables) and
// hands it to `action`. Slot 0 of a table is never a ship, projectile or beam: it stays
// zero, so it is not addressable.
template <class Record, class Action>
void Resolve(Record& record, std::string_view text, std::string_view path, Action& action) {
    const PathStep step = TakeStep(text, path);
    const auto unknown = [path] { return FieldError("unknown field: " + std::string(path)); };
    bool found = false;
    auto visit = [&](const char* name, auto& field) {
        using T = std::remove_cvref_t<decltype(field)>;
        if (found || step.Name != name) return;
        found = true;
        if constexpr (TableType<T>) {
            if (!step.Index) throw unknown();
            if (*step.Index < 1 || *step.Index > T::Count) {
                throw FieldError("slot out of range in " + std::string(path));
            }
            auto& slot = field[*step.Index];
            if constexpr (std::is_same_v<typename TableKind<T>::Slot, std::string>) {
                if (!step.Rest.empty()) throw unknown();
                action(slot);
            } else {
                if (step.Rest.empty() || step.Rest.front() != '.') {
                    throw FieldError("expected '.field' in " + std::string(path));
                }
                Resolve(slot, step.Rest.substr(1), path, action);
            }
        } else if constexpr (FieldValueType<T> || std::is_same_v<T, RandomGenerator>) {
            if (step.Index || !step.Rest.empty()) throw unknown();
            action(field);
        } else {
            throw unknown();  // the key table, the buttons and the log have no names here
        }
    };
    Describe(visit, record);
    if (!found) throw unknown();
}

}  // namespace

const std::vector<std::string>& ShipFieldNames() {
    static const std::vector<std::string> names = ValueNames<TShip>();
    return names;
}
const std::vector<std::string>& ProjectileFieldNames() {
    static const std::vector<std::string> names = ValueNames<TProjectileWeapon>();
    return names;
}
const std::vector<std::string>& BeamFieldNames() {
    static const std::vector<std::string> names = ValueNames<TBeam>();
    return names;
}
const std::vector<std::string>& ExplosionPartFieldNames() {
    static const std::vector<std::string> names = ValueNames<TExplosionPart>();
    return names;
}
const std::vector<std::string>& GlobalFieldNames() {
    static const std::vector<std::string> names = ValueNames<World>();
    return names;
}

FieldValue GetField(const World& world, std::string_view path) {
    FieldValue result;
    auto read = [&result](const auto& field) {
        using T = std::remove_cvref_t<decltype(field)>;
        if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, double>) {
            result = field;
        } else if constexpr (std::is_same_v<T, RandomGenerator>) {
            result = static_cast<int64_t>(field.State());
        } else {
            result = static_cast<int64_t>(field);
        }
    };
    Resolve(world, path, path, read);
    return result;
}

void SetField(World& world, std::string_view path, const FieldValue& value) {
    auto write = [&](auto& field) {
        using T = std::remove_cvref_t<decltype(field)>;
        if constexpr (std::is_same_v<T, std::string>) {
            if (!std::holds_alternative<std::string>(value)) throw FieldError(std::string(path) + " takes text");
            field = std::get<std::string>(value);
        } else if constexpr (std::is_same_v<T, double>) {
            if (std::holds_alternative<std::string>(value)) throw FieldError(std::string(path) + " takes a number");
            field = std::holds_alternative<double>(value) ? std::get<double>(value)
                                                          : static_cast<double>(std::get<int64_t>(value));
        } else {
            if (!std::holds_alternative<int64_t>(value)) throw FieldError(std::string(path) + " takes an integer");
            if constexpr (std::is_same_v<T, RandomGenerator>) {
                field.Seed(static_cast<uint32_t>(std::get<int64_t>(value)));
            } else {
                field = static_cast<T>(std::get<int64_t>(value));  // cut to the field's width
            }
        }
    };
    Resolve(world, path, path, write);
}

}  // namespace kelvane
