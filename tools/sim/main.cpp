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
#include "StateDump.h"
#include "TournamentCommands.h"
#include "TournamentOptions.h"
#include "game/GameDir.h"
#include "game/MainForm.h"
#include "game/Movement.h"
#include "platform/headless/HeadlessMachine.h"
#include "platform/png/PngFile.h"
#include "replay/DataFingerprint.h"
#include "replay/PassedOverErrors.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayWriter.h"

namespace kelvane::sim {
namespace {

bool WriteDump(TMainForm& form, uint64_t tick, const std::string& file) {
    return WriteOutput(file, DumpState(form, tick).dump(1) + "\n");
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
            if ((atTick && dump.Tick && *dump.Tick == tick) || (!dump.Tick && last)) {
                ok_ = WriteDump(form_, tick, dump.File) && ok_;
            }
        }
        for (const TickOutput& shot : options_.Shots) {
            if ((atTick && shot.Tick && *shot.Tick == tick) || (!shot.Tick && last)) {
                std::string error;
                if (!WritePng(shot.File, presenter_.LastFrame, presenter_.Width, presenter_.Height, error)) {
                    std::fprintf(stderr, "kelvane-sim: shot of tick %llu: %s\n",
                                 static_cast<unsigned long long>(tick), error.c_str());
                    ok_ = false;
                }
            }
        }
    }
    // Whether a shot shows this tick's picture.
    bool WantsPicture(uint64_t tick, bool last) const {
        for (const TickOutput& shot : options_.Shots) {
            if ((shot.Tick && *shot.Tick == tick) || (!shot.Tick && last)) return true;
        }
        return false;
    }
    bool Ok() const { return ok_; }
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
    const SimOptions& options_;
    TMainForm& form_;
    HeadlessPresenter& presenter_;
    bool ok_ = true;
};

ReplayWriterOptions WriterOptions() {
    ReplayWriterOptions options;
    options.Report = [](const std::string& message) { std::fprintf(stderr, "kelvane-sim: %s\n", message.c_str()); };
    return options;
}

int Run(const SimOptions& options) {
    Scenario scenario;
    if (!options.ScenarioFile.empty()) scenario = LoadScenario(options.ScenarioFile);
    const uint32_t seed = options.Seed ? *options.Seed : scenario.Seed.value_or(1);
    const uint64_t frames = options.Frames ? *options.Frames : scenario.Frames.value_or(1);
    const SimFolders folders = FindSimFolders(options.DataDir);

    HeadlessMachine machine;
    MainFormServices services = machine.Services(folders.GameDir, seed, folders.Player);
    services.Pilots = PilotSeats(options.Pilot.value_or(Pilot::Classic));
    TMainForm form(services);
    Outputs outputs(options, form, machine.Presenter);
    std::unique_ptr<ReplayWriter> recorder;
    // A recorded run tells of the errors it passes over as the game does, naming the frame.
    PassedOverErrors errors([](const std::string& line) { std::fprintf(stderr, "kelvane-sim: %s\n", line.c_str()); });
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
    std::stable_sort(scenario.Steps.begin(), scenario.Steps.end(),
                     [](const ScenarioStep& a, const ScenarioStep& b) { return a.After < b.After; });
    size_t nextStep = 0;
    auto applySteps = [&](uint64_t tick) {
        for (; nextStep < scenario.Steps.size() && scenario.Steps[nextStep].After <= tick; ++nextStep) {
            if (scenario.Steps[nextStep].After == tick) ApplyStep(scenario.Steps[nextStep], form);
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
        if (form.StartError()) {
            std::fprintf(stderr, "kelvane-sim: the game cannot start: %s\n", form.StartError()->c_str());
            if (form.StartErrorContext())
                std::fprintf(stderr, "kelvane-sim: %s\n", form.StartErrorContext()->c_str());
            return 1;
        }
        const bool last = tick == frames || form.CloseRequested();
        outputs.Write(tick, true, last);
        if (last) break;
        applySteps(tick);
        closed = closedBySteps(tick);
    }
    if (options.Timing) times.Print();
    bool recorded = true;
    if (recorder) {
        recorder->Finish(form.World);
        recorded = !recorder->Failed();
    }
    // Asked for a tick the run never reached: no silent success.
    if (!outputs.AllReached(tick)) return 1;
    return outputs.Ok() && recorded ? 0 : 3;
}

// Plays a recording through the same frame, drawing only the pictures a shot shows.
int RunReplay(const SimOptions& options) {
    Replay replay;
    try {
        replay = LoadReplay(options.ReplayFile);
    } catch (const ReplayError& error) {
        std::fprintf(stderr, "kelvane-sim: cannot replay %s: %s\n", options.ReplayFile.c_str(), error.what());
        return 2;
    }
    const SimFolders folders = FindSimFolders(options.DataDir);
    const std::string difference =
        FirstDataDifference(replay.Header.Data, FingerprintGameData(folders.GameDir, folders.Player));
    if (!difference.empty()) {
        std::fprintf(stderr, "kelvane-sim: %s\n", OtherDataLine(difference, options.Force).c_str());
        if (!options.Force) return 1;
    }
    if (replay.Ending != ReplayEnding::Complete)
        std::fprintf(stderr, "kelvane-sim: %s\n", IncompleteRecordingLine(replay).c_str());

    HeadlessMachine machine;
    ReplayPlayer player(replay);
    TMainForm form(player.Services(machine.Services(folders.GameDir, std::nullopt, folders.Player)));
    form.DrawsPictures = false;
    form.PictureView = WatchersView;  // a duel's pictures follow the fight, as in the window
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
        if (form.StartError()) {
            std::fprintf(stderr, "kelvane-sim: the game cannot start: %s\n", form.StartError()->c_str());
            return 1;
        }
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
        if (options.Verify) return 1;
    } else if (options.Verify && replay.Ending == ReplayEnding::Damaged) {
        // What came before the damage matched, but the recording as a whole is not verified.
        std::printf("replay damaged after frame %llu: the frames before it match\n",
                    static_cast<unsigned long long>(frames));
    } else if (options.Verify) {
        std::printf("replay verified: %llu frames\n", static_cast<unsigned long long>(frames));
    }
    if (!reached) return 1;
    if (!outputs.Ok()) return 3;
    if (replay.Ending == ReplayEnding::Damaged) return 2;
    if (replay.Ending == ReplayEnding::Truncated && options.Verify) return 4;
    return 0;
}

}  // namespace
}  // namespace kelvane::sim

int main(int argc, char** argv) {
    using namespace kelvane::sim;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    try {
        if (AsksForTournament(arguments)) return RunTournamentCommand(ParseTournamentOptions(arguments));
        if (AsksForMerge(arguments)) return RunMergeCommand(ParseMergeOptions(arguments));
        const SimOptions options = ParseSimOptions(arguments);
        return options.ReplayFile.empty() ? Run(options) : RunReplay(options);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "kelvane-sim: %s\n%s", error.what(), kSimUsage);
        return 2;
    } catch (const ScenarioError& error) {
        std::fprintf(stderr, "kelvane-sim: bad scenario: %s\n", error.what());
        return 2;
    } catch (const NoGameData& error) {
        std::fprintf(stderr, "kelvane-sim: %s\n", error.what());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelvane-sim: %s\n", error.what());
        return 1;
    }
}
