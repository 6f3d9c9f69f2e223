#include "ResultFile.h"

#include <cmath>
#include <algorithm>
#include <fstream>
#include <functional>
#include <istream>
#include <optional>
#include <streambuf>
#include <string_view>
#include <nlohmann/json.hpp>

#include "DuelSeed.h"
#include "Schedule.h"
#include "base/Hash64.h"
#include "base/InputFile.h"
#include "world/World.h"

namespace kelvane::sim {
namespace {

using nlohmann::ordered_json;

constexpr const char* FormatName = "kelvane-tournament 1";
// The last line of a file and its end: the checksum of every byte before that line.
constexpr std::string_view SealStart = " \"checksum\": \"";
constexpr std::string_view SealEnd = "\"\n}\n";
constexpr size_t SealLength = SealStart.size() + 16 + SealEnd.size();

// One decimal is all a reader needs, and it keeps the text short and stable.
double OneDecimal(double value) { return std::round(value * 10.0) / 10.0; }

ordered_json ShotsJson(const ShotCounts& shots) {
    ordered_json line = ordered_json::object();
    line["damage"] = shots.Damage;
    line["beams"] = shots.Beams;
    line["pulses"] = shots.Pulses;
    line["pulse_hits"] = shots.PulseHits;
    line["torpedoes"] = shots.Torpedoes;
    line["torpedo_hits"] = shots.TorpedoHits;
    line["tachyons"] = shots.Tachyons;
    line["tachyon_hits"] = shots.TachyonHits;
    line["tachyons_at_bare_shields"] = shots.TachyonsAtBareShields;
    return line;
}

ordered_json DuelJson(const TournamentResults& results, const DuelRecord& duel) {
    ordered_json line = ordered_json::object();
    line["first"] = results.Ships[duel.First];
    line["second"] = results.Ships[duel.Second];
    if (results.NamesPilots()) {
        line["first_pilot"] = PilotName(duel.FirstPilot);
        line["second_pilot"] = PilotName(duel.SecondPilot);
    }
    line["game"] = duel.Game;
    line["seed"] = duel.Seed;
    if (duel.Winner == DuelWinner::None) line["winner"] = nullptr;
    else line["winner"] = results.Ships[duel.Winner == DuelWinner::First ? duel.First : duel.Second];
    line["frames"] = duel.Frames;
    line["scatters"] = duel.Scatters;
    if (duel.Errors > 0) line["errors"] = duel.Errors;
    if (duel.Measures) {
        line["quiet_frames"] = duel.Measures->QuietFrames;
        line["first_shots"] = ShotsJson(duel.Measures->Shots[0]);
        line["second_shots"] = ShotsJson(duel.Measures->Shots[1]);
    }
    return line;
}

ordered_json RowJson(const TableRow& row, int rank, bool withPilot) {
    ordered_json line = ordered_json::object();
    line["rank"] = rank;
    line["ship"] = row.Ship;
    if (withPilot) line["pilot"] = PilotName(row.Flown);
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
    Pilot PilotOf(const ordered_json& object, const char* name) const {
        const std::optional<Pilot> pilot = FindPilot(Text(object, name));
        if (!pilot) Fail(std::string("\"") + name + "\" names no pilot this runner knows");
        return *pilot;
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

ShotCounts ParseShots(const Reader& reader, const ordered_json& line) {
    constexpr uint64_t most = UINT32_MAX;
    ShotCounts shots;
    shots.Damage = reader.Number<uint64_t>(line, "damage", 0, most);
    shots.Beams = reader.Number<uint64_t>(line, "beams", 0, most);
    shots.Pulses = reader.Number<uint64_t>(line, "pulses", 0, most);
    shots.PulseHits = reader.Number<uint64_t>(line, "pulse_hits", 0, shots.Pulses);
    shots.Torpedoes = reader.Number<uint64_t>(line, "torpedoes", 0, most);
    shots.TorpedoHits = reader.Number<uint64_t>(line, "torpedo_hits", 0, shots.Torpedoes);
    shots.Tachyons = reader.Number<uint64_t>(line, "tachyons", 0, most);
    shots.TachyonHits = reader.Number<uint64_t>(line, "tachyon_hits", 0, shots.Tachyons);
    shots.TachyonsAtBareShields = reader.Number<uint64_t>(line, "tachyons_at_bare_shields", 0, shots.Tachyons);
    return shots;
}

DuelRecord ParseDuel(const Reader& reader, const TournamentResults& results, const ordered_json& line) {
    DuelRecord duel;
    duel.First = ShipIndex(reader, results.Ships, reader.Text(line, "first"));
    duel.Second = ShipIndex(reader, results.Ships, reader.Text(line, "second"));
    if (duel.First >= duel.Second) reader.Fail("a duel's ships are not in the order of \"ships\"");
    if (results.NamesPilots()) {
        duel.FirstPilot = reader.PilotOf(line, "first_pilot");
        duel.SecondPilot = reader.PilotOf(line, "second_pilot");
        bool seated = false;
        for (const Seating& seating : Seatings(results.Pilots))
            seated = seated || (seating.First == duel.FirstPilot && seating.Second == duel.SecondPilot);
        if (!seated) reader.Fail("a duel's pilots are not a seating of \"pilots\"");
    } else {
        duel.FirstPilot = duel.SecondPilot = results.Pilots[0];
    }
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
    if (results.Measured) {
        DuelMeasures measures;
        measures.QuietFrames = reader.Number<uint64_t>(line, "quiet_frames", 0, duel.Frames);
        measures.Shots[0] = ParseShots(reader, reader.Member(line, "first_shots"));
        measures.Shots[1] = ParseShots(reader, reader.Member(line, "second_shots"));
        duel.Measures = measures;
    }
    return duel;
}

std::string SummaryJson(const TournamentResults& results) {
    const DuelSummary summary = Summarise(results);
    ordered_json line = ordered_json::object();
    line["duels"] = summary.Duels;
    line["draws"] = summary.Draws;
    line["mean_frames_to_kill"] = summary.MeanFramesToKill ? ordered_json(OneDecimal(*summary.MeanFramesToKill)) : nullptr;
    line["median_frames_to_kill"] =
        summary.MedianFramesToKill ? ordered_json(OneDecimal(*summary.MedianFramesToKill)) : nullptr;
    line["frames"] = summary.Frames;
    if (results.Measured) {
        line["quiet_frames"] = summary.QuietFrames;
        ordered_json shots = ordered_json::object();
        for (const auto& [pilot, counts] : summary.Shots) shots[PilotName(pilot)] = ShotsJson(counts);
        line["shots"] = shots;
    }
    return line.dump();
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
    // A classic tournament's file is as it always was.
    if (results.NamesPilots()) {
        ordered_json pilots = ordered_json::array();
        for (const Pilot pilot : results.Pilots) pilots.push_back(PilotName(pilot));
        member("pilots", pilots.dump());
    }
    if (!results.Scatter) member("scatter", "false");
    if (results.Measured) member("measured", "true");
    member("duels", ListText(results.Duels, [&](size_t i) { return DuelJson(results, results.Duels[i]); }));
    text += " \"table\": " + ListText(table, [&](size_t i) {
        return RowJson(table[i], static_cast<int>(i) + 1, results.NamesPilots());
    });
    if (results.Measured || results.NamesPilots() || !results.Scatter) text += ",\n \"summary\": " + SummaryJson(results);
    text += ",\n";
    return text + ResultFileSeal(text);
}

std::string ResultFileSeal(std::string_view body) {
    return std::string(SealStart) + ToHex64(Hash64(body)) + std::string(SealEnd);
}

namespace {

// The bytes of a result file as the JSON parser reads them, hashed as they pass: every
// byte but the seal at the end, which is kept back and compared once all is read.
class SealedInput : public std::streambuf {
public:
    using Source = std::function<size_t(char* buffer, size_t size)>;
    explicit SealedInput(Source source) : source_(std::move(source)) {}

    // Whether what was read ends in the seal of everything before it.
    bool Sealed() const {
        return held_ == std::string(SealStart) + ToHex64(hash_.Value()) + std::string(SealEnd);
    }

private:
    int_type underflow() override {
        const size_t got = source_(chunk_, sizeof chunk_);
        if (got == 0) return traits_type::eof();
        // Everything but the last SealLength bytes seen so far is body: hashed now.
        held_.append(chunk_, got);
        if (held_.size() > SealLength) {
            const size_t body = held_.size() - SealLength;
            hash_.Add(held_.data(), body);
            held_.erase(0, body);
        }
        setg(chunk_, chunk_, chunk_ + got);
        return traits_type::to_int_type(chunk_[0]);
    }

    Source source_;
    char chunk_[65536];
    std::string held_;
    Hash64Stream hash_;
};

// Builds the file's JSON but its duels, each of which is handed on as it is read and
// then dropped: a file of a million duels takes the memory of their records, not of a
// million JSON objects.
class ResultSax : public nlohmann::json_sax<ordered_json> {
public:
    using DuelSink = std::function<void(const ordered_json& root, const ordered_json& duel)>;
    ResultSax(const Reader& reader, DuelSink sink) : reader_(reader), sink_(std::move(sink)) {}

    const ordered_json& Root() const { return root_; }

    bool null() override { return Value(nullptr); }
    bool boolean(bool value) override { return Value(value); }
    bool number_integer(number_integer_t value) override { return Value(value); }
    bool number_unsigned(number_unsigned_t value) override { return Value(value); }
    bool number_float(number_float_t value, const string_t&) override { return Value(value); }
    bool string(string_t& value) override { return Value(value); }
    bool binary(binary_t&) override { return Value(nullptr); }
    bool start_object(std::size_t) override { return Open(ordered_json::object()); }
    bool start_array(std::size_t) override { return Open(ordered_json::array()); }
    bool key(string_t& name) override {
        key_ = name;
        return true;
    }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) override {
        reader_.Fail(std::string("not JSON: ") + error.what());
    }

private:
    // A duel is an element of the root's "duels" list: depth 2 is the list, 3 the duel.
    bool InDuel() const { return inDuels_ && stack_.size() >= 2; }

    ordered_json* Place(ordered_json value) {
        if (stack_.empty()) {
            // The root, or a duel of its own.
            ordered_json& top = inDuels_ ? duel_ : root_;
            top = std::move(value);
            return &top;
        }
        ordered_json& parent = *stack_.back();
        if (parent.is_object()) return &(parent[key_] = std::move(value));
        parent.push_back(std::move(value));
        return &parent.back();
    }
    bool Value(ordered_json value) {
        if (inDuels_ && stack_.empty()) {  // a bare value in the list of duels
            duel_ = std::move(value);
            sink_(root_, duel_);
            return true;
        }
        Place(std::move(value));
        return true;
    }
    bool Open(ordered_json container) {
        if (!inDuels_ && stack_.size() == 1 && key_ == "duels" && container.is_array()) {
            // The list itself is not kept: its elements are built one by one from here.
            inDuels_ = true;
            root_["duels"] = ordered_json::array();
            savedStack_ = std::move(stack_);
            stack_.clear();
            return true;
        }
        stack_.push_back(Place(std::move(container)));
        return true;
    }
    bool Close() {
        if (inDuels_ && stack_.empty()) {  // the end of the list of duels
            inDuels_ = false;
            stack_ = std::move(savedStack_);
            return true;
        }
        stack_.pop_back();
        if (inDuels_ && stack_.empty()) sink_(root_, duel_);
        return true;
    }

    const Reader& reader_;
    DuelSink sink_;
    ordered_json root_;
    ordered_json duel_;
    std::vector<ordered_json*> stack_;
    std::vector<ordered_json*> savedStack_;
    std::string key_;
    bool inDuels_ = false;
};

// Everything of the file but its duels, read from the members before "duels".
TournamentResults ParseSettings(const Reader& reader, const ordered_json& root) {
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
    if (root.contains("pilots")) {
        const ordered_json& pilots = root["pilots"];
        if (!pilots.is_array() || pilots.empty() || pilots.size() > 2) reader.Fail("\"pilots\" does not list one or two pilots");
        results.Pilots.clear();
        for (const ordered_json& pilot : pilots) {
            const std::optional<Pilot> known = pilot.is_string() ? FindPilot(pilot.get<std::string>()) : std::nullopt;
            if (!known) reader.Fail("\"pilots\" names a pilot this runner does not know");
            results.Pilots.push_back(*known);
        }
    }
    if (root.contains("scatter")) {
        if (!root["scatter"].is_boolean()) reader.Fail("\"scatter\" is neither true nor false");
        results.Scatter = root["scatter"].get<bool>();
    }
    if (root.contains("measured")) {
        if (!root["measured"].is_boolean()) reader.Fail("\"measured\" is neither true nor false");
        results.Measured = root["measured"].get<bool>();
    }
    if (root.contains("shard")) {
        try {
            results.Shard = ParseShard(reader.Text(root, "shard"));
        } catch (const std::exception& error) {
            reader.Fail(std::string("bad \"shard\": ") + error.what());
        }
    }
    return results;
}

TournamentResults ParseResultStream(const SealedInput::Source& source, const std::string& fileName) {
    const Reader reader(fileName);
    SealedInput input(source);
    std::istream stream(&input);
    std::optional<TournamentResults> results;
    size_t duelCount = 0;
    ResultSax sax(reader, [&](const ordered_json& root, const ordered_json& duel) {
        // The settings come before the duels in every file the runner writes.
        if (!results) {
            results = ParseSettings(reader, root);
            duelCount = DuelCount(static_cast<int>(results->Ships.size()), results->Games,
                                   static_cast<int>(Seatings(results->Pilots).size()));
        }
        if (results->Duels.size() == duelCount) reader.Fail("more duels than the tournament has");
        results->Duels.push_back(ParseDuel(reader, *results, duel));
    });
    try {
        ordered_json::sax_parse(stream, &sax);
    } catch (const nlohmann::json::exception& error) {
        reader.Fail(std::string("not JSON: ") + error.what());
    }
    if (!results) results = ParseSettings(reader, sax.Root());
    if (!sax.Root().contains("duels")) reader.Fail("no \"duels\"");
    // Any change to the file (a winner turned round, a line lost) shows here.
    if (!input.Sealed())
        reader.Fail("its checksum does not match what it holds: the file was changed or damaged since it was written");
    return std::move(*results);
}

}  // namespace

TournamentResults ParseResultJson(const std::string& text, const std::string& fileName) {
    size_t position = 0;
    return ParseResultStream(
        [&](char* buffer, size_t size) {
            const size_t count = std::min(size, text.size() - position);
            std::copy_n(text.data() + position, count, buffer);
            position += count;
            return count;
        },
        fileName);
}

TournamentResults ReadResultFile(const std::string& path) {
    std::optional<InputFile> file;
    try {
        file.emplace(path, ResultFileLimit);
    } catch (const InputFileError& error) {
        throw ResultFileError(path + ": " + error.Reason);
    }
    try {
        return ParseResultStream([&](char* buffer, size_t size) { return file->Read(buffer, size); }, path);
    } catch (const InputFileError& error) {
        throw ResultFileError(path + ": " + error.Reason);
    }
}

TournamentResults MergeParts(const std::vector<TournamentResults>& parts, const std::vector<std::string>& fileNames) {
    if (parts.empty()) throw ResultFileError("nothing to merge");
    const TournamentResults& first = parts.front();
    const int count = first.Shard.Count;
    std::vector<const std::string*> partFile(count, nullptr);
    for (size_t p = 0; p < parts.size(); ++p) {
        const TournamentResults& part = parts[p];
        if (part.Seed != first.Seed || part.Games != first.Games || part.Ticks != first.Ticks ||
            part.Ships != first.Ships || part.Data != first.Data || part.Shard.Count != count ||
            part.Pilots != first.Pilots || part.Scatter != first.Scatter || part.Measured != first.Measured)
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
    const int seatings = static_cast<int>(Seatings(first.Pilots).size());
    size_t given = 0;
    for (const TournamentResults& part : parts) given += part.Duels.size();
    // Checked before the whole is laid out, so a file's numbers cannot make it huge.
    const size_t expected = DuelCount(types, first.Games, seatings);
    if (given != expected)
        throw ResultFileError("the parts hold " + std::to_string(given) + " duels, the tournament " +
                              std::to_string(expected));
    TournamentResults whole = first;
    whole.Shard = ShardSpec{};
    whole.Duels.assign(given, DuelRecord{});
    std::vector<bool> filled(whole.Duels.size(), false);
    for (size_t p = 0; p < parts.size(); ++p) {
        for (const DuelRecord& duel : parts[p].Duels) {
            const size_t index =
                DuelIndex(types, first.Games, duel.First, duel.Second, duel.Game, first.SeatingOf(duel), seatings);
            if (index % count != static_cast<size_t>(parts[p].Shard.Index - 1) || filled[index])
                throw ResultFileError(fileNames[p] + " holds a duel that is not its part's, or one twice");
            whole.Duels[index] = duel;
            filled[index] = true;
        }
    }
    return whole;
}

}  // namespace kelvane::sim
