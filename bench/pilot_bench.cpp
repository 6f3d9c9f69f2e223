// The veteran pilot's keys for one ship in one frame, on worlds taken now and then from
// running duels of two veterans (Vigil against Kestrel: beams, pulse guns, torpedoes and
// tachyons all in flight), so that quiet frames and frames full of shots are mixed as a
// fight mixes them. The worlds are few enough to stay in the cache, as the one world of
// a running game does.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "Duel.h"
#include "TempGameDir.h"
#include "combat/VeteranPilot.h"
#include "game/MainForm.h"
#include "platform/headless/HeadlessMachine.h"

namespace kelvane {
namespace {

void BM_VeteranPilot(benchmark::State& state) {
    testing::TempGameDir dir;
    HeadlessMachine machine(false);
    TMainForm form(machine.Services(dir.Path(), 1));
    form.Loading();
    const sim::DuelGround ground{form.World, form.Images, form.ShipImages, dir.Path()};
    sim::DuelSetup setup;
    setup.Pilots = {Pilot::Veteran, Pilot::Veteran};

    struct Moment {
        World Taken;
        int Slot = 0;
    };
    std::vector<Moment> moments;
    for (uint32_t seed = 1; moments.size() < 64; ++seed) {
        sim::Duel duel(ground, "Vigil", "Kestrel", seed, nullptr, setup);
        for (int frame = 1; frame <= 4000 && moments.size() < 64 && !duel.Step(); ++frame) {
            if (frame % 37 != 0) continue;
            moments.push_back({duel.World(), duel.FirstSlot()});
            moments.push_back({duel.World(), duel.SecondSlot()});
        }
    }
    size_t next = 0;
    for (auto _ : state) {
        Moment& moment = moments[next];
        const Arena arena{moment.Taken, form.Images, form.ShipImages};
        benchmark::DoNotOptimize(VeteranControls(arena, moment.Slot));
        next = next + 1 == moments.size() ? 0 : next + 1;
    }
}
BENCHMARK(BM_VeteranPilot)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvane
