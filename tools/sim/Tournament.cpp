#include "Tournament.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "DuelSeed.h"
#include "Schedule.h"
#include "WorkerThreads.h"
#include "base/Hash64.h"
#include "base/Windows1250.h"
#include "console/Commands.h"
#include "world/FieldRegistry.h"
#include "world/TextUtil.h"

namespace kelvane::sim {
namespace {

// The name as the console reads it after "CREATESHIP ": upper-cased, blanks between words
// run together.
std::string TypedName(const std::string& name) { return CommandArgument(ParseCommandWords("CREATESHIP " + name)); }

// The first slot whose ship answers to the typed name, as CREATESHIP looks for it; 0: none.
int SlotAnswering(const World& world, const std::string& typed) {
    for (int s = 1; s <= MaxShips; ++s) {
        const std::string& name = world.Ships[s].ShipName;
        if (!name.empty() && UpperCaseText(name) == typed) return s;
    }
    return 0;
}

std::string Shown(const std::string& name) { return Windows1250ToUtf8(name); }

void AddField(std::string& bytes, const FieldValue& value) {
    char buffer[64];
    if (const auto* integer = std::get_if<int64_t>(&value)) {
        std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(*integer));
        bytes += buffer;
    } else if (const auto* real = std::get_if<double>(&value)) {
        std::snprintf(buffer, sizeof buffer, "%a", *real);  // exact
        bytes += buffer;
    } else {
        bytes += std::get<std::string>(value);
    }
    bytes += '\0';
}

// Letters, digits and the few marks every file system takes stay; the rest becomes '_'.
std::string FileNamePart(const std::string& name) {
    std::string part;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = byte >= 0x80 || std::isalnum(byte) || c == '-' || c == '_' || c == '.' || c == '+';
        part += plain ? c : '_';
    }
    return part;
}

}  // namespace

std::string DuelRecordingName(const std::string& first, const std::string& second, int game, int games) {
    const size_t width = std::max<size_t>(2, std::to_string(games).size());
    std::string number = std::to_string(game);
    number.insert(0, width - std::min(width, number.size()), '0');
    return FileNamePart(first) + "-" + FileNamePart(second) + "-" + number + ".replay";
}

std::string DuelRecordingName(const TournamentResults& results, const DuelRecord& duel, int games) {
    if (!results.NamesPilots())
        return DuelRecordingName(results.Ships[duel.First], results.Ships[duel.Second], duel.Game, games);
    return DuelRecordingName(results.Ships[duel.First] + "-" + PilotName(duel.FirstPilot),
                             results.Ships[duel.Second] + "-" + PilotName(duel.SecondPilot), duel.Game, games);
}

Result<std::vector<TournamentShip>> ChooseShips(const World& loaded, const std::vector<std::string>& requested,
                                                std::vector<std::string>& notes) {
    const auto refused = [](const std::string& reason) { return Failure{ExitStatus::BadInput, reason, {}}; };
    std::vector<bool> chosen(MaxShips + 1, false);
    if (requested.empty()) {
        for (int s = 1; s <= MaxShips; ++s) {
            const std::string& name = loaded.Ships[s].ShipName;
            if (name.empty()) continue;  // a slot no definition filled
            const int answering = SlotAnswering(loaded, TypedName(name));
            if (answering == s) {
                chosen[s] = true;
            } else if (answering == 0) {
                notes.push_back("the console cannot put " + Shown(name) + " (slot " + std::to_string(s) +
                                ") into play; it is left out");
            } else {
                notes.push_back("the console puts " + Shown(loaded.Ships[answering].ShipName) + " of slot " +
                                std::to_string(answering) + " into play for " + Shown(name) + " of slot " +
                                std::to_string(s) + "; the second is left out");
            }
        }
    } else {
        for (const std::string& wanted : requested) {
            const std::string typed = TypedName(Utf8ToWindows1250(
                reinterpret_cast<const uint8_t*>(wanted.data()), wanted.size()));
            const int s = SlotAnswering(loaded, typed);
            if (s == 0) return refused("no ship type answers to '" + wanted + "'");
            if (chosen[s]) return refused("--ships names " + Shown(loaded.Ships[s].ShipName) + " twice");
            chosen[s] = true;
        }
    }
    std::vector<TournamentShip> ships;
    for (int s = 1; s <= MaxShips; ++s)
        if (chosen[s]) ships.push_back({loaded.Ships[s].ShipName, s});
    if (ships.size() < 2) return refused("a tournament needs two ship types or more");
    return ships;
}

std::string ChosenTypesFingerprint(const World& loaded, const TImageList& shipImages,
                                   const std::vector<TournamentShip>& ships) {
    std::string bytes;
    for (const TournamentShip& ship : ships) {
        const std::string prefix = "Ships[" + std::to_string(ship.Slot) + "].";
        for (const std::string& field : ShipFieldNames()) {
            // Where loading put the type and which slot it got say nothing of the type.
            if (field == "X" || field == "Y" || field == "Heading" || field == "Target" || field == "ImageIndex")
                continue;
            AddField(bytes, GetField(loaded, prefix + field));
        }
        for (int n = 1; n <= 4; ++n)
            for (const std::string& field : ExplosionPartFieldNames())
                AddField(bytes, GetField(loaded, prefix + "ExplosionParts[" + std::to_string(n) + "]." + field));
        const int image = loaded.Ships[ship.Slot].ImageIndex;
        if (image < shipImages.Count()) {
            const std::vector<uint8_t>& picture = shipImages.Item(image).Pic.Data;
            bytes.append(reinterpret_cast<const char*>(picture.data()), picture.size());
        }
    }
    return ToHex64(Hash64(bytes));
}

TournamentResults RunTournament(const DuelGround& ground, const std::vector<TournamentShip>& ships,
                                const TournamentOptions& options, const std::string& dataFingerprint,
                                const ProgressReport& progress, RunCounts& counts,
                                const DuelRecordings* recordings, const ThreadStarter& startThread) {
    TournamentResults results;
    results.Seed = options.Seed;
    results.Games = options.Games;
    results.Ticks = options.Ticks;
    results.Data = dataFingerprint;
    results.Shard = options.Shard;
    results.Pilots = options.Pilots;
    results.Scatter = options.Scatter;
    results.Measured = options.Measure;
    for (const TournamentShip& ship : ships) results.Ships.push_back(Shown(ship.Name));

    // Both seatings of a pair and game start from the same seed, so each pilot meets the
    // same start in either seat.
    const std::vector<Seating> seatings = Seatings(options.Pilots);
    const std::vector<DuelKey> keys = ScheduleDuels(static_cast<int>(ships.size()), options.Games, options.Shard,
                                                    static_cast<int>(seatings.size()));
    results.Duels.resize(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        DuelRecord& duel = results.Duels[i];
        duel.First = keys[i].First;
        duel.Second = keys[i].Second;
        duel.Game = keys[i].Game;
        duel.FirstPilot = seatings[keys[i].Seating].First;
        duel.SecondPilot = seatings[keys[i].Seating].Second;
        duel.Seed = DuelSeed(options.Seed, results.Ships[duel.First], results.Ships[duel.Second], duel.Game);
    }

    // Each worker takes the next duel not yet taken and writes only that duel's record.
    std::atomic<size_t> next{0};
    std::atomic<uint64_t> frames{0};
    std::atomic<uint64_t> recordingsFailed{0};
    size_t done = 0;
    std::exception_ptr failure;
    std::mutex mutex;
    std::condition_variable changed;
    const auto work = [&] {
        for (size_t i = next++; i < keys.size(); i = next++) {
            DuelRecord& duel = results.Duels[i];
            try {
                const DuelSetup setup{{duel.FirstPilot, duel.SecondPilot}, options.Scatter, options.Measure};
                std::unique_ptr<ReplayWriter> recording;
                if (recordings) {
                    ReplayWriterOptions writing;
                    writing.Report = recordings->Report;
                    ReplayHeader header = recordings->Header;
                    header.Pilots.Seat(ships[duel.First].Slot, duel.FirstPilot);
                    header.Pilots.Seat(ships[duel.Second].Slot, duel.SecondPilot);
                    recording = std::make_unique<ReplayWriter>(
                        recordings->Folder + DuelRecordingName(results, duel, options.Games), header, writing);
                }
                const DuelResult result = RunDuel(ground, ships[duel.First].Name, ships[duel.Second].Name,
                                                  duel.Seed, options.Ticks, recording.get(), setup);
                if (recording && recording->Failed()) ++recordingsFailed;
                duel.Winner = result.Winner;
                duel.Frames = result.Frames;
                duel.Scatters = result.Scatters;
                duel.Errors = result.Errors;
                duel.Measures = result.Measures;
                frames += result.Frames;
            } catch (...) {
                const std::lock_guard lock(mutex);
                if (!failure) failure = std::current_exception();
                next = keys.size();  // the others stop after their duel
            }
            const std::lock_guard lock(mutex);
            ++done;
            changed.notify_all();
        }
    };
    const unsigned jobs = options.Jobs ? options.Jobs : std::max(1u, std::thread::hardware_concurrency());
    {
        WorkerThreads workers([&next, &keys] { next = keys.size(); }, startThread);
        workers.Start(static_cast<unsigned>(std::min<size_t>(jobs, keys.size())), work);
        counts.Threads = workers.Count();
        std::unique_lock lock(mutex);
        while (done < keys.size() && !failure) {
            const size_t doneNow = done;
            lock.unlock();
            if (progress) progress(doneNow, keys.size());
            lock.lock();
            changed.wait_for(lock, std::chrono::milliseconds(250));
        }
    }
    if (failure) std::rethrow_exception(failure);
    counts.Duels = keys.size();
    counts.Frames = frames;
    counts.RecordingsFailed = recordingsFailed;
    return results;
}

}  // namespace kelvane::sim
