// One frame of a tournament's duel: two computer ships on their own copy of the loaded
// world, the game's frame update without picture or sound, and the stalemate watch.
#include <benchmark/benchmark.h>

#include <memory>

#include "Duel.h"
#include "TempGameDir.h"
#include "game/MainForm.h"
#include "platform/headless/HeadlessMachine.h"

namespace kelvane {
namespace {

void BM_DuelFrame(benchmark::State& state) {
    testing::TempGameDir dir;
    HeadlessMachine machine(false);
    TMainForm form(machine.Services(dir.Path(), 1));
    form.Loading();
    const sim::DuelGround ground{form.World, form.Images, form.ShipImages, dir.Path()};
    uint32_t seed = 1;
    auto duel = std::make_unique<sim::Duel>(ground, "Vigil", "Kestrel", seed);
    for (auto _ : state) {
        if (duel->Step()) {
            state.PauseTiming();
            duel = std::make_unique<sim::Duel>(ground, "Vigil", "Kestrel", ++seed);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(duel->Result().Frames);
    }
}
BENCHMARK(BM_DuelFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvane
