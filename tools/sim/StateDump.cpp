#include "StateDump.h"

#include <string>
#include <type_traits>

#include "game/MainForm.h"
#include "base/Windows1250.h"
#include "world/FieldRegistry.h"
#include "world/WorldFields.h"

namespace kelvane::sim {
namespace {

using nlohmann::ordered_json;

// Game text is Windows-1250; JSON wants UTF-8.
std::string ToUtf8(const std::string& text) { return Windows1250ToUtf8(text); }

ordered_json ToJson(const FieldValue& value) {
    if (const auto* integer = std::get_if<int64_t>(&value)) return *integer;
    if (const auto* real = std::get_if<double>(&value)) return *real;
    return ToUtf8(std::get<std::string>(value));
}

// The values of a record (the world, or a slot of one of its tables) by their names.
template <class Record>
void AddValues(ordered_json& object, const World& world, const std::string& prefix, const Record& record) {
    auto value = [&](const char* name, const auto& field) {
        if constexpr (FieldValueType<std::remove_cvref_t<decltype(field)>>) {
            object[name] = ToJson(GetField(world, prefix + name));
        }
    };
    Describe(value, record);
}

// The tables inside a record, each an array of its slots 1..N: records as objects of their
// values and tables, texts as strings.
template <class Record>
void AddTables(ordered_json& object, const World& world, const std::string& prefix, const Record& record) {
    auto table = [&](const char* name, const auto& field) {
        using T = std::remove_cvref_t<decltype(field)>;
        if constexpr (TableType<T>) {
            ordered_json slots = ordered_json::array();
            for (int n = 1; n <= T::Count; ++n) {
                const std::string path = prefix + name + "[" + std::to_string(n) + "]";
                if constexpr (std::is_same_v<typename TableKind<T>::Slot, std::string>) {
                    slots.push_back(ToJson(GetField(world, path)));
                } else {
                    ordered_json slot = ordered_json::object();
                    AddValues(slot, world, path + ".", field[n]);
                    AddTables(slot, world, path + ".", field[n]);
                    slots.push_back(slot);
                }
            }
            object[name] = slots;
        }
    };
    Describe(table, record);
}

}  // namespace

ordered_json DumpState(TMainForm& form, uint64_t tick) {
    const World& world = form.World;
    ordered_json state = ordered_json::object();
    state["Tick"] = tick;
    AddValues(state, world, "", world);
    state["FrameRate"] = form.FrameRate();

    ordered_json log = ordered_json::array();
    for (const std::string& line : world.ConsoleLog) log.push_back(ToUtf8(line));
    state["ConsoleLog"] = log;
    AddTables(state, world, "", world);  // Ships, Projectiles, Beams

    state["Closed"] = form.CloseRequested();
    state["SwallowedErrors"] = form.SwallowedErrors();
    ordered_json errors = ordered_json::array();
    for (const std::string& message : form.Errors()) errors.push_back(ToUtf8(message));
    state["Errors"] = errors;
    state["LoadingPauseMs"] = form.LoadingPauseMs();

    ordered_json patterns = ordered_json::array();
    for (int32_t i = 0; i < form.Images.Count(); ++i) patterns.push_back(form.Images.Item(i).PatternCount());
    state["ImagePatternCounts"] = patterns;
    state["ShipImagesCount"] = form.ShipImages.Count();
    ordered_json plays = ordered_json::array();
    for (int32_t i = 0; i < form.Waves.Count(); ++i) plays.push_back(form.Waves.PlayCount(i));
    state["WavePlays"] = plays;
    return state;
}

}  // namespace kelvane::sim
