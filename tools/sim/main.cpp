// kelvane-sim: runs the game's frame loop headless, tick by tick, applying a scenario's
// events between ticks and writing state dumps and screenshots on request; or ranks ship
// types in a tournament of duels (--tournament, --merge: TournamentCommands).

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Output.h"
#include "Scenario.h"
#include "SimFolders.h"
#include "SimOptions.h"
#include "NetGame.h"
#include "StateDump.h"
#include "TournamentCommands.h"
#include "TournamentOptions.h"
#include "base/FailureReport.h"
#include "game/GameDir.h"
#include "game/MainForm.h"
#include "game/Movement.h"
#include "platform/headless/HeadlessMachine.h"
#include "platform/png/PngFile.h"
#include "replay/DataFingerprint.h"
#include "replay/PassedOverErrors.h"
#include "replay/RecordingToPlay.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayWriter.h"
#include "text/Language.h"

namespace kelvane::sim {
namespace {

constexpr const char* Program = "kelvane-sim";

void Say(const std::string& line) { std::fprintf(stderr, "kelvane-sim: %s\n", line.c_str()); }

Failure StartFailureOf(const TMainForm& form) {
    return StartFailure(*form.StartError(), form.StartErrorContext().value_or(""));
}

struct TickTimes {
    std::vector<double> Micros;
    void Print() {
        if (Micros.empty()) return;
        std::vector<double> sorted = Micros;
        std::sort(sorted.begin(), sorted.end());
        const double median = sorted[sorted.size() / 2];
        const double p99 = sorted[std::min(sorted.size() - 1, sorted.size() * 99 / 100)];
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("ticks %zu  median %.1f us  p99 %.1f us  max %.1f us  peak RSS %ld KiB\n", sorted.size(),
                    median, p99, sorted.back(), usage.ru_maxrss);
    }
};

// The dumps and shots asked for, written after the ticks they name.
class Outputs {
public:
    Outputs(const SimOptions& options, TMainForm& form, HeadlessPresenter& presenter)
        : options_(options), form_(form), presenter_(presenter) {}

    // The outputs asked for at this tick (atTick) and those asked for the last one (last).
    void Write(uint64_t tick, bool atTick, bool last) {
        for (const TickOutput& dump : options_.Dumps) {
            if ((atTick && dump.Tick && *dump.Tick == tick) || (!dump.Tick && last))
                Check(WriteOutput(dump.File, DumpState(form_, tick).dump(1) + "\n"), "dump", tick);
        }
        for (const TickOutput& shot : options_.Shots) {
            if ((atTick && shot.Tick && *shot.Tick == tick) || (!shot.Tick && last))
                Check(WritePng(shot.File, presenter_.LastFrame, presenter_.Width, presenter_.Height), "shot", tick);
        }
    }
    // Whether a shot shows this tick's picture.
    bool WantsPicture(uint64_t tick, bool last) const {
        for (const TickOutput& shot : options_.Shots) {
            if ((shot.Tick && *shot.Tick == tick) || (!shot.Tick && last)) return true;
        }
        return false;
    }
    // Success, or WriteFailed when an output could not be written (each one said).
    ExitStatus Status() const { return status_; }
    // Says which dumps and shots name a tick after `lastTick`, the run's last; true when none.
    bool AllReached(uint64_t lastTick) const {
        bool reached = true;
        const auto check = [&](const std::vector<TickOutput>& outputs, const char* option) {
            for (const TickOutput& output : outputs) {
                if (!output.Tick || *output.Tick <= lastTick) continue;
                std::fprintf(stderr, "kelvane-sim: %s %llu:%s: the run ends after tick %llu, so tick %llu never comes\n",
                             option, static_cast<unsigned long long>(*output.Tick), output.File.c_str(),
                             static_cast<unsigned long long>(lastTick), static_cast<unsigned long long>(*output.Tick));
                reached = false;
            }
        };
        check(options_.Dumps, "--dump");
        check(options_.Shots, "--shot");
        return reached;
    }

private:
    void Check(const Result<void>& written, const char* what, uint64_t tick) {
        if (written) return;
        Failure failure = written.Error();
        failure.Reason = std::string(what) + " of tick " + std::to_string(tick) + ": " + failure.Reason;
        status_ = ReportFailure(Program, failure);
    }

    const SimOptions& options_;
    TMainForm& form_;
    HeadlessPresenter& presenter_;
    ExitStatus status_ = ExitStatus::Success;
};

ReplayWriterOptions WriterOptions() {
    ReplayWriterOptions options;
    options.Report = Say;
    return options;
}

ExitStatus Run(const SimOptions& options) {
    Result<Scenario> scenario = Catching<ScenarioError>(ExitStatus::BadInput, [&] {
        return options.ScenarioFile.empty() ? Scenario{} : LoadScenario(options.ScenarioFile);
    });
    if (!scenario) return ReportFailure(Program, {ExitStatus::BadInput, "bad scenario: " + scenario.Error().Reason, {}});
    const Result<SimFolders> found = FindSimFolders(options.DataDir);
    if (!found) return ReportFailure(Program, found.Error());
    const SimFolders& folders = *found;
    const uint32_t seed = options.Seed ? *options.Seed : scenario->Seed.value_or(1);
    const uint64_t frames = options.Frames ? *options.Frames : scenario->Frames.value_or(1);
    std::vector<ScenarioStep>& steps = scenario->Steps;

    const Language language = LoadLanguage(options.Language, CatalogueFolders(folders.GameDir, GameDir()));
    HeadlessMachine machine;
    MainFormServices services = machine.Services(folders.GameDir, seed, folders.Player);
    services.Texts = &language;
    services.Pilots = PilotSeats(options.Pilot.value_or(Pilot::Classic));
    TMainForm form(services);
    Outputs outputs(options, form, machine.Presenter);
    std::unique_ptr<ReplayWriter> recorder;
    // A recorded run tells of the errors it passes over as the game does, naming the frame.
    PassedOverErrors errors(Say);
    const auto tellErrors = [&](uint64_t tick) {
        if (recorder) errors.Tell(form, tick, recorder->Recording() ? recorder->Path() : std::string());
    };
    if (!options.RecordFile.empty()) {
        recorder = std::make_unique<ReplayWriter>(
            options.RecordFile,
            ReplayHeader{seed, FingerprintGameData(folders.GameDir, folders.Player), services.Pilots},
            WriterOptions());
        form.Observer = recorder.get();
    }

    // Steps in tick order (file order within a tick), applied through one cursor, so long
    // scenarios cost nothing per tick.
    std::stable_sort(steps.begin(), steps.end(),
                     [](const ScenarioStep& a, const ScenarioStep& b) { return a.After < b.After; });
    size_t nextStep = 0;
    auto applySteps = [&](uint64_t tick) {
        for (; nextStep < steps.size() && steps[nextStep].After <= tick; ++nextStep) {
            if (steps[nextStep].After == tick) ApplyStep(steps[nextStep], form);
        }
        tellErrors(tick);
    };
    // A step that asks the game to close (QUIT) ends the run there, as it would end the game.
    auto closedBySteps = [&](uint64_t tick) {
        if (!form.CloseRequested()) return false;
        outputs.Write(tick, false, true);
        return true;
    };

    TickTimes times;
    outputs.Write(0, true, frames == 0);
    applySteps(0);
    bool closed = frames > 0 && closedBySteps(0);
    uint64_t tick = 0;
    while (!closed && tick < frames) {
        const auto start = std::chrono::steady_clock::now();
        machine.Tick(form);
        const auto end = std::chrono::steady_clock::now();
        ++tick;
        if (options.Timing) times.Micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        tellErrors(tick);
        if (form.StartError()) return ReportFailure(Program, StartFailureOf(form));
        const bool last = tick == frames || form.CloseRequested();
        outputs.Write(tick, true, last);
        if (last) break;
        applySteps(tick);
        closed = closedBySteps(tick);
    }
    if (options.Timing) times.Print();
    if (recorder) {
        recorder->Finish(form.World);
        if (recorder->Failed()) return ExitStatus::WriteFailed;  // its line said why
    }
    // Asked for a tick the run never reached: no silent success.
    if (!outputs.AllReached(tick)) return ExitStatus::Failure;
    return outputs.Status();
}

// Plays a recording through the same frame, drawing only the pictures a shot shows.
ExitStatus RunReplay(const SimOptions& options) {
    const Result<SimFolders> found = FindSimFolders(options.DataDir);
    if (!found) return ReportFailure(Program, found.Error());
    const SimFolders& folders = *found;
    const Result<Replay> opened = OpenRecording(options.ReplayFile, options.Force, folders.GameDir, folders.Player, Say);
    if (!opened) return ReportFailure(Program, opened.Error());
    const Replay& replay = *opened;

    const Language language = LoadLanguage(options.Language, CatalogueFolders(folders.GameDir, GameDir()));
    HeadlessMachine machine;
    ReplayPlayer player(replay);
    MainFormServices services = machine.Services(folders.GameDir, std::nullopt, folders.Player);
    services.Texts = &language;
    TMainForm form(player.Services(services));
    form.DrawsPictures = false;
    form.PictureView = WatchersView;  // a duel's pictures follow the fight, as in the window
    form.ViewSeat = options.Seat;
    Outputs outputs(options, form, machine.Presenter);
    const uint64_t frames = player.Frames();
    const bool trailing = player.HasTrailingInputs();
    const auto tick = [&machine](TMainForm& played) { machine.Tick(played); };

    TickTimes times;
    outputs.Write(0, true, frames == 0 && !trailing);
    for (uint64_t frame = 1; frame <= frames; ++frame) {
        const bool last = frame == frames && !trailing;
        form.DrawsPictures = outputs.WantsPicture(frame, frame == frames);
        const auto start = std::chrono::steady_clock::now();
        player.PlayFrame(form, tick);
        const auto end = std::chrono::steady_clock::now();
        if (options.Timing) times.Micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        if (form.StartError()) return ReportFailure(Program, StartFailureOf(form));
        if (options.Verify && player.Divergence()) break;
        outputs.Write(frame, true, last);
    }
    if (!(options.Verify && player.Divergence())) {
        player.Finish(form);
        if (trailing) outputs.Write(frames, false, true);
    }
    if (options.Timing) times.Print();

    const bool reached = outputs.AllReached(player.FramesPlayed());
    if (player.Divergence()) {
        std::printf("replay diverges at frame %llu\n", static_cast<unsigned long long>(*player.Divergence()));
        if (options.Verify) return ExitStatus::Failure;
    } else if (options.Verify && replay.Ending == ReplayEnding::Damaged) {
        // What came before the damage matched, but the recording as a whole is not verified.
        std::printf("replay damaged after frame %llu: the frames before it match\n",
                    static_cast<unsigned long long>(frames));
    } else if (options.Verify) {
        std::printf("replay verified: %llu frames\n", static_cast<unsigned long long>(frames));
    }
    if (!reached) return ExitStatus::Failure;
    if (outputs.Status() != ExitStatus::Success) return outputs.Status();
    if (replay.Ending == ReplayEnding::Damaged) return ExitStatus::BadInput;
    if (replay.Ending == ReplayEnding::Truncated && options.Verify) return ExitStatus::Truncated;
    return ExitStatus::Success;
}

ExitStatus RunCommand(const std::vector<std::string>& arguments) {
    if (AsksForHelp(arguments)) {
        std::fputs(SimUsage, stdout);
        return ExitStatus::Success;
    }
    if (AsksForTournament(arguments)) {
        const Result<TournamentOptions> options = ParseTournamentOptions(arguments);
        return options ? RunTournamentCommand(*options) : ReportUsageFailure(options.Error());
    }
    if (AsksForMerge(arguments)) {
        const Result<MergeOptions> options = ParseMergeOptions(arguments);
        return options ? RunMergeCommand(*options) : ReportUsageFailure(options.Error());
    }
    const Result<SimOptions> options = ParseSimOptions(arguments);
    if (!options) return ReportUsageFailure(options.Error());
    if (options->Network()) return RunNetGame(*options);
    return options->ReplayFile.empty() ? Run(*options) : RunReplay(*options);
}

}  // namespace
}  // namespace kelvane::sim

int main(int argc, char** argv) {
    using namespace kelvane;
    ExitStatus status = ExitStatus::Failure;
    try {
        status = sim::RunCommand(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const sim::ScenarioError& error) {  // a step that names no field, found as it is applied
        status = ReportFailure(sim::Program, {ExitStatus::BadInput, std::string("bad scenario: ") + error.what(), {}});
    } catch (const LanguageError& error) {  // the language's catalogue cannot be read
        status = ReportFailure(sim::Program, {ExitStatus::BadInput, error.what(), {}});
    } catch (const std::exception& error) {
        status = ReportFailure(sim::Program, FailureOf(error, ExitStatus::Failure));
    }
    return EndProgram(sim::Program, status);
}
