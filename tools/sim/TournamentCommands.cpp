#include "TournamentCommands.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <thread>

#include "Output.h"
#include "PrivateGameDir.h"
#include "Progress.h"
#include "ResultFile.h"
#include "SimFolders.h"
#include "Tournament.h"
#include "game/MainForm.h"
#include "platform/headless/HeadlessMachine.h"
#include "replay/DataFingerprint.h"

namespace kelvane::sim {
namespace {

// The table on standard output (unless the result file goes there), then the file.
int Report(const TournamentResults& results, const std::string& jsonFile) {
    const std::vector<TableRow> table = MakeTable(results);
    if (jsonFile != "-") std::fputs(FormatTable(results, table).c_str(), stdout);
    std::fflush(stdout);
    if (!jsonFile.empty() && !WriteOutput(jsonFile, ResultJson(results, table))) return 3;
    return 0;
}

}  // namespace

int RunTournamentCommand(const TournamentOptions& options) {
    const SimFolders folders = FindSimFolders(options.DataDir);

    // One load for the whole run, in a game directory of its own (loading writes
    // Data/Ships.dxg); the duels share the pictures it read. No font, no sound, no drawing.
    // The player's own ship types take part as in the game.
    const PrivateGameDir game(folders.GameDir);
    HeadlessMachine machine(false);
    TMainForm form(machine.Services(game.Path(), options.Seed, folders.Player));
    form.DrawsPictures = false;
    try {
        form.Loading();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelvane-sim: the game cannot start: %s\n", game.Real(error.what()).c_str());
        return 1;
    }
    std::vector<std::string> notes;
    const std::vector<TournamentShip> ships = ChooseShips(form.World, options.Ships, notes);
    for (const std::string& note : notes) std::fprintf(stderr, "kelvane-sim: %s\n", note.c_str());

    const DuelGround ground{form.World, form.Images, form.ShipImages, game.Path()};
    // A duel's recording loads the data as this run did, with its seed, then sets the duel up.
    std::optional<DuelRecordings> recordings;
    if (!options.RecordDuelsDir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(options.RecordDuelsDir, error);
        if (!std::filesystem::is_directory(options.RecordDuelsDir)) {
            std::fprintf(stderr, "kelvane-sim: cannot write the duels' recordings into %s: %s\n",
                         options.RecordDuelsDir.c_str(), error ? error.message().c_str() : "not a folder");
            return 3;
        }
        recordings = DuelRecordings{(std::filesystem::path(options.RecordDuelsDir) / "").string(),
                                    ReplayHeader{options.Seed, FingerprintGameData(folders.GameDir, folders.Player)},
                                    [](const std::string& line) { std::fprintf(stderr, "kelvane-sim: %s\n", line.c_str()); }};
    }
    ProgressLine progress(isatty(STDERR_FILENO) != 0);
    RunCounts counts;
    const auto start = std::chrono::steady_clock::now();
    const TournamentResults results =
        RunTournament(ground, ships, options, DataFingerprint(form.World, form.ShipImages, ships),
                      [&progress](size_t done, size_t total) { progress.Show(done, total); }, counts,
                      recordings ? &*recordings : nullptr);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    progress.Finish();
    const unsigned jobs = options.Jobs ? options.Jobs : std::max(1u, std::thread::hardware_concurrency());
    std::fprintf(stderr, "kelvane-sim: %llu duels, %llu frames in %.1f s on %u threads: %.0f frames a second\n",
                 static_cast<unsigned long long>(counts.Duels), static_cast<unsigned long long>(counts.Frames),
                 seconds, jobs, seconds > 0 ? static_cast<double>(counts.Frames) / seconds : 0.0);
    const int status = Report(results, options.JsonFile);
    if (counts.RecordingsFailed > 0) {
        std::fprintf(stderr, "kelvane-sim: %llu of the duels' recordings could not be written\n",
                     static_cast<unsigned long long>(counts.RecordingsFailed));
        return 3;
    }
    return status;
}

int RunMergeCommand(const MergeOptions& options) {
    try {
        std::vector<TournamentResults> parts;
        for (const std::string& file : options.Files) parts.push_back(ReadResultFile(file));
        return Report(MergeParts(parts, options.Files), options.JsonFile);
    } catch (const ResultFileError& error) {
        std::fprintf(stderr, "kelvane-sim: cannot merge: %s\n", error.what());
        return 2;
    }
}

}  // namespace kelvane::sim
