#include "TournamentCommands.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>

#include "Output.h"
#include "PrivateGameDir.h"
#include "Progress.h"
#include "ResultFile.h"
#include "SimFolders.h"
#include "SimOptions.h"
#include "Tournament.h"
#include "base/FailureReport.h"
#include "game/MainForm.h"
#include "platform/headless/HeadlessMachine.h"
#include "replay/DataFingerprint.h"

namespace kelvane::sim {
namespace {

constexpr const char* Program = "kelvane-sim";

// The table on standard output (unless the result file goes there), then the file: each
// written whatever became of the other, each failure said.
ExitStatus Report(const TournamentResults& results, const std::string& jsonFile) {
    const std::vector<TableRow> table = MakeTable(results);
    ExitStatus status = ExitStatus::Success;
    const auto write = [&status](const std::string& file, const std::string& text) {
        const Result<void> written = WriteOutput(file, text);
        if (!written) status = ReportFailure(Program, written.Error());
    };
    if (jsonFile != "-") write("-", FormatTable(results, table));
    if (!jsonFile.empty()) write(jsonFile, ResultJson(results, table));
    return status;
}

}  // namespace

ExitStatus RunTournamentCommand(const TournamentOptions& options) {
    const Result<SimFolders> folders = FindSimFolders(options.DataDir);
    if (!folders) return ReportFailure(Program, folders.Error());

    // One load for the whole run, in a game directory of its own (loading writes
    // Data/Ships.dxg); the duels share the pictures it read. No font, no sound, no drawing.
    // The player's own ship types take part as in the game.
    const PrivateGameDir game(folders->GameDir);
    HeadlessMachine machine(false);
    TMainForm form(machine.Services(game.Path(), options.Seed, folders->Player));
    form.DrawsPictures = false;
    try {
        form.Loading();
    } catch (const std::exception& error) {
        Failure failure = StartFailure(error);
        failure.Reason = game.Real(failure.Reason);
        failure.Context = game.Real(failure.Context);
        return ReportFailure(Program, failure);
    }
    std::vector<std::string> notes;
    const Result<std::vector<TournamentShip>> ships = ChooseShips(form.World, options.Ships, notes);
    for (const std::string& note : notes) std::fprintf(stderr, "kelvane-sim: %s\n", note.c_str());
    if (!ships) return ReportFailure(Program, ships.Error());

    const DuelGround ground{form.World, form.Images, form.ShipImages, game.Path()};
    // A duel's recording loads the data as this run did, with its seed, then sets the duel up.
    std::optional<DuelRecordings> recordings;
    if (!options.RecordDuelsDir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(options.RecordDuelsDir, error);
        if (!std::filesystem::is_directory(options.RecordDuelsDir)) {
            return ReportFailure(Program, {ExitStatus::WriteFailed,
                                           "cannot write the duels' recordings into " + options.RecordDuelsDir + ": " +
                                               (error ? error.message() : "not a folder"),
                                           {}});
        }
        recordings = DuelRecordings{(std::filesystem::path(options.RecordDuelsDir) / "").string(),
                                    ReplayHeader{options.Seed, FingerprintGameData(folders->GameDir, folders->Player)},
                                    [](const std::string& line) { std::fprintf(stderr, "kelvane-sim: %s\n", line.c_str()); }};
    }
    ProgressLine progress(isatty(STDERR_FILENO) != 0);
    RunCounts counts;
    const auto start = std::chrono::steady_clock::now();
    std::optional<TournamentResults> results;
    try {
        results = RunTournament(ground, *ships, options, ChosenTypesFingerprint(form.World, form.ShipImages, *ships),
                                [&progress](size_t done, size_t total) { progress.Show(done, total); }, counts,
                                recordings ? &*recordings : nullptr);
    } catch (const std::exception& error) {
        progress.Finish();
        return ReportFailure(Program, {ExitStatus::Failure, std::string("the tournament stopped: ") + error.what(), {}});
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    progress.Finish();
    std::fprintf(stderr, "kelvane-sim: %llu duels, %llu frames in %.1f s on %u thread%s: %.0f frames a second\n",
                 static_cast<unsigned long long>(counts.Duels), static_cast<unsigned long long>(counts.Frames),
                 seconds, counts.Threads, counts.Threads == 1 ? "" : "s",
                 seconds > 0 ? static_cast<double>(counts.Frames) / seconds : 0.0);
    const ExitStatus reported = Report(*results, options.JsonFile);
    if (counts.RecordingsFailed > 0) {
        return ReportFailure(Program, {ExitStatus::WriteFailed,
                                       std::to_string(counts.RecordingsFailed) +
                                           " of the duels' recordings could not be written",
                                       {}});
    }
    return reported;
}

ExitStatus RunMergeCommand(const MergeOptions& options) {
    const Result<TournamentResults> merged = Catching<ResultFileError>(ExitStatus::BadInput, [&] {
        std::vector<TournamentResults> parts;
        for (const std::string& file : options.Files) parts.push_back(ReadResultFile(file));
        return MergeParts(parts, options.Files);
    });
    if (!merged) {
        return ReportFailure(Program, {ExitStatus::BadInput, "cannot merge: " + merged.Error().Reason, {}});
    }
    return Report(*merged, options.JsonFile);
}

}  // namespace kelvane::sim
