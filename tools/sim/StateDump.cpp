#include "StateDump.h"

#include <string>

#include "game/MainForm.h"
#include "base/Windows1250.h"
#include "world/FieldRegistry.h"

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

ordered_json Record(const World& world, const std::string& prefix, const std::vector<std::string>& names) {
    ordered_json object = ordered_json::object();
    for (const std::string& name : names) object[name] = ToJson(GetField(world, prefix + name));
    return object;
}

ordered_json DumpSeat(const PlayerSeat& seat) {
    ordered_json dumped = ordered_json::object();
    dumped["Name"] = ToUtf8(seat.Name);
    dumped["Joined"] = seat.Joined;
    dumped["ControlledShip"] = seat.ControlledShip;
    dumped["ConsoleOpen"] = seat.ConsoleOpen;
    dumped["ShowRange"] = seat.ShowRange;
    dumped["ViewX"] = seat.ViewX;
    dumped["ViewY"] = seat.ViewY;
    dumped["CapsLock"] = seat.CapsLock;
    dumped["InputLine"] = ToUtf8(seat.InputLine);
    dumped["LastCommand"] = ToUtf8(seat.LastCommand);
    ordered_json keys = ordered_json::object();
    for (size_t key = 0; key < seat.KeyState.size(); ++key)
        if (seat.KeyState[key] != 0) keys[std::to_string(key)] = seat.KeyState[key];
    dumped["Keys"] = keys;
    dumped["MouseButtons"] = seat.MouseButtonState;
    ordered_json log = ordered_json::array();
    for (const std::string& line : seat.ConsoleLog) log.push_back(ToUtf8(line));
    dumped["ConsoleLog"] = log;
    return dumped;
}

}  // namespace

ordered_json DumpState(TMainForm& form, uint64_t tick, const std::vector<uint64_t>* wavePlays) {
    const World& world = form.World;
    ordered_json state = ordered_json::object();
    state["Tick"] = tick;
    for (const std::string& name : GlobalFieldNames()) state[name] = ToJson(GetField(world, name));
    state["FrameRate"] = form.FrameRate();

    ordered_json log = ordered_json::array();
    for (const std::string& line : world.ConsoleLog) log.push_back(ToUtf8(line));
    state["ConsoleLog"] = log;

    ordered_json ships = ordered_json::array();
    for (int s = 1; s <= MaxShips; ++s) {
        const std::string prefix = "Ships[" + std::to_string(s) + "].";
        ordered_json ship = Record(world, prefix, ShipFieldNames());
        ordered_json parts = ordered_json::array();
        for (int n = 1; n <= 4; ++n) {
            parts.push_back(Record(world, prefix + "ExplosionParts[" + std::to_string(n) + "].",
                                   ExplosionPartFieldNames()));
        }
        ship["ExplosionParts"] = parts;
        ordered_json description = ordered_json::array();
        for (int n = 1; n <= 5; ++n) description.push_back(ToUtf8(world.Ships[s].ShipDescription[n]));
        ship["ShipDescription"] = description;
        ships.push_back(ship);
    }
    state["Ships"] = ships;

    ordered_json projectiles = ordered_json::array();
    for (int p = 1; p <= MaxProjectiles; ++p) {
        projectiles.push_back(Record(world, "Projectiles[" + std::to_string(p) + "].", ProjectileFieldNames()));
    }
    state["Projectiles"] = projectiles;
    ordered_json beams = ordered_json::array();
    for (int b = 1; b <= MaxBeams; ++b) {
        beams.push_back(Record(world, "Beams[" + std::to_string(b) + "].", BeamFieldNames()));
    }
    state["Beams"] = beams;

    // The people of a network game; a game for one has none and dumps as it always did.
    if (world.SeatCount > 0) {
        state["PausedBy"] = world.PausedBy;
        ordered_json seats = ordered_json::array();
        for (int s = 1; s <= world.SeatCount; ++s) seats.push_back(DumpSeat(world.Seats[s]));
        state["Seats"] = seats;
    }

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
    for (int32_t i = 0; i < form.Waves.Count(); ++i) {
        const auto index = static_cast<size_t>(i);
        plays.push_back(wavePlays ? (index < wavePlays->size() ? (*wavePlays)[index] : 0) : form.Waves.PlayCount(i));
    }
    state["WavePlays"] = plays;
    return state;
}

}  // namespace kelvane::sim
