// Saving and restoring the whole world of the shipped eight-ship battle, 500 frames into
// the fight, as rolling a game back does every frame: each goal 20 us.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "TempGameDir.h"
#include "game/MainForm.h"
#include "platform/headless/HeadlessMachine.h"
#include "world/WorldSnapshot.h"

namespace kelvane {
namespace {

// The battle under way, the player flying and firing.
struct BattleUnderWay {
    testing::TempGameDir dir;
    HeadlessMachine machine{false};
    TMainForm form{machine.Services(dir.Path(), 1)};

    BattleUnderWay() {
        form.DrawsPictures = false;
        machine.Tick(form);
        form.DoConsoleCommand("EXEC battle");
        static const uint16_t keys[] = {'N', VK_UP, VK_SPACE, VK_MENU, VK_CONTROL, VK_LEFT};
        for (int tick = 2; tick <= 500; ++tick) {
            if (tick % 40 < 6) form.KeyPressed(keys[tick % 40], 0);
            machine.Tick(form);
        }
        if (form.World.ShipCount != MaxShipsInPlay || form.SwallowedErrors() != 0) std::abort();
    }
};

void BM_SaveWorld(benchmark::State& state) {
    BattleUnderWay battle;
    WorldSnapshot snapshot;
    SaveWorld(battle.form.World, snapshot);  // the buffer grown once, as a game's would be
    for (auto _ : state) {
        SaveWorld(battle.form.World, snapshot);
        benchmark::DoNotOptimize(snapshot.Bytes.data());
    }
    state.counters["bytes"] = static_cast<double>(snapshot.Size);
}
BENCHMARK(BM_SaveWorld)->Unit(benchmark::kMicrosecond);

void BM_RestoreWorld(benchmark::State& state) {
    BattleUnderWay battle;
    WorldSnapshot snapshot;
    SaveWorld(battle.form.World, snapshot);
    for (auto _ : state) {
        RestoreWorld(battle.form.World, snapshot);
        benchmark::DoNotOptimize(battle.form.World.Ships[1].X);
    }
}
BENCHMARK(BM_RestoreWorld)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvane
