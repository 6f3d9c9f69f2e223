#include "ResultFile.h"

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "DuelSeed.h"
#include "Schedule.h"
#include "world/World.h"

namespace kelvane::sim {
namespace {

using nlohmann::ordered_json;

constexpr const char* FormatName = "kelvane-tournament 1";

// One decimal is all a reader needs, and it keeps the text short and stable.
double OneDecimal(double value) { return std::round(value * 10.0) / 10.0; }

ordered_json DuelJson(const TournamentResults& results, const DuelRecord& duel) {
    ordered_json line = ordered_json::object();
    line["first"] = results.Ships[duel.First];
    line["second"] = results.Ships[duel.Second];
    line["game"] = duel.Game;
    line["seed"] = duel.Seed;
    if (duel.Winner == DuelWinner::None) line["winner"] = nullptr;
    else line["winner"] = results.Ships[duel.Winner == DuelWinner::First ? duel.First : duel.Second];
    line["frames"] = duel.Frames;
    line["scatters"] = duel.Scatters;
    if (duel.Errors > 0) line["errors"] = duel.Errors;
    return line;
}

ordered_json RowJson(const TableRow& row, int rank) {
    ordered_json line = ordered_json::object();
    line["rank"] = rank;
    line["ship"] = row.Ship;
    line["wins"] = row.Wins;
    line["losses"] = row.Losses;
    line["draws"] = row.Draws;
    if (row.MeanFramesToKill) line["mean_frames_to_kill"] = OneDecimal(*row.MeanFramesToKill);
    else line["mean_frames_to_kill"] = nullptr;
    line["rating"] = OneDecimal(row.Rated.Value);
    line["uncertainty"] = OneDecimal(row.Rated.Uncertainty);
    return line;
}

// A list with one element a line: long, yet easy to read and to compare.
template <class Items, class ToJson>
std::string ListText(const Items& items, ToJson toJson) {
    std::string text = "[";
    for (size_t i = 0; i < items.size(); ++i) text += (i ? ",\n  " : "\n  ") + toJson(i).dump();
    return text + (items.empty() ? "]" : "\n ]");
}

class Reader {
public:
    explicit Reader(std::string fileName) : fileName_(std::move(fileName)) {}

    [[noreturn]] void Fail(const std::string& what) const { throw ResultFileError(fileName_ + ": " + what); }

    const ordered_json& Member(const ordered_json& object, const char* name) const {
        if (!object.is_object() || !object.contains(name)) Fail(std::string("no \"") + name + "\"");
        return object.at(name);
    }
    template <class T>
    T Number(const ordered_json& object, const char* name, T low, T high) const {
        const ordered_json& value = Member(object, name);
        if (!value.is_number_integer() || value.get<long long>() < static_cast<long long>(low) ||
            value.get<long long>() > static_cast<long long>(high))
            Fail(std::string("\"") + name + "\" is not a fitting whole number");
        return static_cast<T>(value.get<long long>());
    }
    std::string Text(const ordered_json& object, const char* name) const {
        const ordered_json& value = Member(object, name);
        if (!value.is_string()) Fail(std::string("\"") + name + "\" is not a text");
        return value.get<std::string>();
    }

private:
    std::string fileName_;
};

int ShipIndex(const Reader& reader, const std::vector<std::string>& ships, const std::string& name) {
    for (size_t i = 0; i < ships.size(); ++i)
        if (ships[i] == name) return static_cast<int>(i);
    reader.Fail("a duel names " + name + ", which is not in \"ships\"");
}

DuelRecord ParseDuel(const Reader& reader, const TournamentResults& results, const ordered_json& line) {
    DuelRecord duel;
    duel.First = ShipIndex(reader, results.Ships, reader.Text(line, "first"));
    duel.Second = ShipIndex(reader, results.Ships, reader.Text(line, "second"));
    if (duel.First >= duel.Second) reader.Fail("a duel's ships are not in the order of \"ships\"");
    duel.Game = reader.Number<int>(line, "game", 1, results.Games);
    duel.Seed = reader.Number<uint32_t>(line, "seed", 0, UINT32_MAX);
    if (duel.Seed != DuelSeed(results.Seed, results.Ships[duel.First], results.Ships[duel.Second], duel.Game))
        reader.Fail("a duel's seed does not follow from the tournament's seed");
    const ordered_json& winner = reader.Member(line, "winner");
    if (winner.is_string() && winner == results.Ships[duel.First]) duel.Winner = DuelWinner::First;
    else if (winner.is_string() && winner == results.Ships[duel.Second]) duel.Winner = DuelWinner::Second;
    else if (!winner.is_null()) reader.Fail("a duel's winner is neither of its ships");
    duel.Frames = reader.Number<uint64_t>(line, "frames", 1, results.Ticks);
    duel.Scatters = reader.Number<uint64_t>(line, "scatters", 0, results.Ticks);
    if (line.contains("errors")) duel.Errors = reader.Number<uint64_t>(line, "errors", 0, results.Ticks);
    return duel;
}

}  // namespace

std::string ResultJson(const TournamentResults& results, const std::vector<TableRow>& table) {
    std::string text = "{\n";
    const auto member = [&text](const char* name, const std::string& value) {
        text += std::string(" \"") + name + "\": " + value + ",\n";
    };
    member("format", ordered_json(FormatName).dump());
    member("seed", std::to_string(results.Seed));
    member("games", std::to_string(results.Games));
    member("ticks", std::to_string(results.Ticks));
    member("ships", ordered_json(results.Ships).dump());
    member("data", ordered_json(results.Data).dump());
    if (!results.Shard.Whole())
        member("shard",
               ordered_json(std::to_string(results.Shard.Index) + "/" + std::to_string(results.Shard.Count)).dump());
    member("duels", ListText(results.Duels, [&](size_t i) { return DuelJson(results, results.Duels[i]); }));
    text += " \"table\": " + ListText(table, [&](size_t i) { return RowJson(table[i], static_cast<int>(i) + 1); });
    return text + "\n}\n";
}

TournamentResults ParseResultJson(const std::string& text, const std::string& fileName) {
    const Reader reader(fileName);
    ordered_json root;
    try {
        root = ordered_json::parse(text);
    } catch (const nlohmann::json::exception& error) {
        reader.Fail(std::string("not JSON: ") + error.what());
    }
    if (!root.is_object() || !root.contains("format") || root["format"] != FormatName)
        reader.Fail("not a tournament's result file");
    TournamentResults results;
    results.Seed = reader.Number<uint32_t>(root, "seed", 0, UINT32_MAX);
    results.Games = reader.Number<int>(root, "games", 1, INT32_MAX);
    results.Ticks = reader.Number<uint64_t>(root, "ticks", 1, INT64_MAX);
    results.Data = reader.Text(root, "data");
    const ordered_json& ships = reader.Member(root, "ships");
    if (!ships.is_array() || ships.size() < 2 || ships.size() > MaxShips)
        reader.Fail("\"ships\" does not list 2 to " + std::to_string(MaxShips) + " ship types");
    for (const ordered_json& ship : ships) {
        if (!ship.is_string()) reader.Fail("\"ships\" holds something other than names");
        results.Ships.push_back(ship.get<std::string>());
    }
    if (root.contains("shard")) {
        try {
            results.Shard = ParseShard(reader.Text(root, "shard"));
        } catch (const std::exception& error) {
            reader.Fail(std::string("bad \"shard\": ") + error.what());
        }
    }
    const ordered_json& duels = reader.Member(root, "duels");
    if (!duels.is_array()) reader.Fail("\"duels\" is not a list");
    for (const ordered_json& line : duels) results.Duels.push_back(ParseDuel(reader, results, line));
    return results;
}

TournamentResults ReadResultFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw ResultFileError(path + ": cannot be read");
    std::stringstream text;
    text << file.rdbuf();
    return ParseResultJson(text.str(), path);
}

TournamentResults MergeParts(const std::vector<TournamentResults>& parts, const std::vector<std::string>& fileNames) {
    if (parts.empty()) throw ResultFileError("nothing to merge");
    const TournamentResults& first = parts.front();
    const int count = first.Shard.Count;
    std::vector<const std::string*> partFile(count, nullptr);
    for (size_t p = 0; p < parts.size(); ++p) {
        const TournamentResults& part = parts[p];
        if (part.Seed != first.Seed || part.Games != first.Games || part.Ticks != first.Ticks ||
            part.Ships != first.Ships || part.Data != first.Data || part.Shard.Count != count)
            throw ResultFileError(fileNames[p] + " is a part of another tournament than " + fileNames[0]);
        const std::string*& owner = partFile[part.Shard.Index - 1];
        if (owner) throw ResultFileError(fileNames[p] + " and " + *owner + " are the same part");
        owner = &fileNames[p];
    }
    for (int index = 1; index <= count; ++index)
        if (!partFile[index - 1])
            throw ResultFileError("part " + std::to_string(index) + "/" + std::to_string(count) + " is missing");

    // Every duel goes to its place in the whole tournament; each place is filled once,
    // and only by the part whose share it is. As many duels as places, none twice: all
    // places are filled.
    const int types = static_cast<int>(first.Ships.size());
    size_t given = 0;
    for (const TournamentResults& part : parts) given += part.Duels.size();
    // Checked before the whole is laid out, so a file's numbers cannot make it huge.
    if (given != DuelCount(types, first.Games))
        throw ResultFileError("the parts hold " + std::to_string(given) + " duels, the tournament " +
                              std::to_string(DuelCount(types, first.Games)));
    TournamentResults whole = first;
    whole.Shard = ShardSpec{};
    whole.Duels.assign(given, DuelRecord{});
    std::vector<bool> filled(whole.Duels.size(), false);
    for (size_t p = 0; p < parts.size(); ++p) {
        for (const DuelRecord& duel : parts[p].Duels) {
            const size_t index = DuelIndex(types, first.Games, duel.First, duel.Second, duel.Game);
            if (index % count != static_cast<size_t>(parts[p].Shard.Index - 1) || filled[index])
                throw ResultFileError(fileNames[p] + " holds a duel that is not its part's, or one twice");
            whole.Duels[index] = duel;
            filled[index] = true;
        }
    }
    return whole;
}

}  // namespace kelvane::sim
