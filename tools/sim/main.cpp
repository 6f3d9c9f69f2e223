// kelvane-sim: runs the game's frame loop headless, tick by tick, applying a scenario's
// events between ticks and writing state dumps and screenshots on request.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "Scenario.h"
#include "SimOptions.h"
#include "StateDump.h"
#include "app/Folders.h"
#include "game/GameDir.h"
#include "game/MainForm.h"
#include "platform/headless/HeadlessMachine.h"
#include "platform/png/PngFile.h"

namespace kelvane::sim {
namespace {

bool WriteDump(TMainForm& form, uint64_t tick, const std::string& file) {
    const std::string text = DumpState(form, tick).dump(1) + "\n";
    if (file == "-") {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
        return true;
    }
    std::ofstream out(file, std::ios::binary);
    out << text;
    if (!out) std::fprintf(stderr, "kelvane-sim: cannot write %s\n", file.c_str());
    return static_cast<bool>(out);
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

int Run(const SimOptions& options) {
    Scenario scenario;
    if (!options.ScenarioFile.empty()) scenario = LoadScenario(options.ScenarioFile);
    const uint32_t seed = options.Seed ? *options.Seed : scenario.Seed.value_or(1);
    const uint64_t frames = options.Frames ? *options.Frames : scenario.Frames.value_or(1);
    // The same data and player folders as the game, so an installed runner reads the
    // installed data and the player's own ships.
    const GameDataSearch data =
        FindGameData(options.DataDir.empty() ? std::nullopt : std::optional(options.DataDir), GameDir());
    if (data.GameDir.empty()) {
        std::fprintf(stderr, "kelvane-sim: %s\n", GameDataNotFound(data).c_str());
        return 1;
    }

    HeadlessMachine machine;
    TMainForm form(machine.Services(data.GameDir, seed, ResolvePlayerFolders(ProcessEnvironment())));
    HeadlessPresenter& presenter = machine.Presenter;

    bool ok = true;
    // Steps in tick order (file order within a tick), applied through one cursor, so long
    // scenarios cost nothing per tick.
    std::stable_sort(scenario.Steps.begin(), scenario.Steps.end(),
                     [](const ScenarioStep& a, const ScenarioStep& b) { return a.After < b.After; });
    size_t nextStep = 0;
    auto applySteps = [&](uint64_t tick) {
        for (; nextStep < scenario.Steps.size() && scenario.Steps[nextStep].After <= tick; ++nextStep) {
            if (scenario.Steps[nextStep].After == tick) ApplyStep(scenario.Steps[nextStep], form);
        }
    };
    // The outputs asked for at this tick (atTick) and those asked for the last one (last).
    auto outputs = [&](uint64_t tick, bool atTick, bool last) {
        for (const TickOutput& dump : options.Dumps) {
            if ((atTick && dump.Tick && *dump.Tick == tick) || (!dump.Tick && last)) {
                ok = WriteDump(form, tick, dump.File) && ok;
            }
        }
        for (const TickOutput& shot : options.Shots) {
            if ((atTick && shot.Tick && *shot.Tick == tick) || (!shot.Tick && last)) {
                std::string error;
                if (!WritePng(shot.File, presenter.LastFrame, presenter.Width, presenter.Height, error)) {
                    std::fprintf(stderr, "kelvane-sim: shot of tick %llu: %s\n",
                                 static_cast<unsigned long long>(tick), error.c_str());
                    ok = false;
                }
            }
        }
    };
    // A step that asks the game to close (QUIT) ends the run there, as it would end the game.
    auto closedBySteps = [&](uint64_t tick) {
        if (!form.CloseRequested()) return false;
        outputs(tick, false, true);
        return true;
    };

    TickTimes times;
    outputs(0, true, frames == 0);
    applySteps(0);
    bool closed = frames > 0 && closedBySteps(0);
    uint64_t tick = 0;
    while (!closed && tick < frames) {
        const auto start = std::chrono::steady_clock::now();
        machine.Tick(form);
        const auto end = std::chrono::steady_clock::now();
        ++tick;
        if (options.Timing) times.Micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        if (form.StartError()) {
            std::fprintf(stderr, "kelvane-sim: the game cannot start: %s\n", form.StartError()->c_str());
            if (form.StartErrorContext())
                std::fprintf(stderr, "kelvane-sim: %s\n", form.StartErrorContext()->c_str());
            return 1;
        }
        const bool last = tick == frames || form.CloseRequested();
        outputs(tick, true, last);
        if (last) break;
        applySteps(tick);
        closed = closedBySteps(tick);
    }
    if (options.Timing) times.Print();
    return ok ? 0 : 3;
}

}  // namespace
}  // namespace kelvane::sim

int main(int argc, char** argv) {
    using namespace kelvane::sim;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    SimOptions options;
    try {
        options = ParseSimOptions(arguments);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "kelvane-sim: %s\n%s", error.what(), kSimUsage);
        return 2;
    }
    try {
        return Run(options);
    } catch (const ScenarioError& error) {
        std::fprintf(stderr, "kelvane-sim: bad scenario: %s\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelvane-sim: %s\n", error.what());
        return 1;
    }
}
