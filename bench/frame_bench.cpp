// Whole frames of the game on the headless platform with the generated data: the
// heaviest frame the tables allow, the world update of the shipped battle, and the
// loading sequence (its pauses recorded, not slept). Read against BM_MemcpyFrame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>

#include "TempGameDir.h"
#include "game/MainForm.h"
#include "platform/headless/HeadlessMachine.h"

namespace kelvane {
namespace {

// The game on stand-ins for the machine, in a private game directory (loading writes
// Data/Ships.dxg).
struct HeadlessGame {
    testing::TempGameDir dir;
    HeadlessMachine machine;
    std::unique_ptr<TMainForm> form;

    HeadlessGame() {
        machine.Presenter.KeepFrames = false;
        NewForm();
    }
    void NewForm() {
        form.reset();
        form = std::make_unique<TMainForm>(machine.Services(dir.Path(), 1));
    }
    void Tick() { machine.Tick(*form); }
    // Loaded, with the shipped eight-ship battle in play.
    void StartBattle() {
        Tick();
        form->DoConsoleCommand("EXEC battle");
        if (!form->World.Loaded || form->World.ShipCount != MaxShipsInPlay) std::abort();
    }
    World& world() { return form->World; }
};

// Everything the tables hold at once, all on screen: the eight ships close around the
// player's, three of them exploding with every part burning, 128 projectiles of every
// kind, 32 beams, the status display, the range ring and the open console. Set afresh
// before every frame, since the frame's own update moves, hits and ends things.
void SetHeaviestScene(World& world, const int (&slots)[MaxShipsInPlay]) {
    const int centreX = 1024, centreY = 768;
    static const int offsets[MaxShipsInPlay][2] = {{0, 0},     {-300, -200}, {0, -250},   {300, -200},
                                                   {-350, 50}, {350, 50},    {-200, 250}, {200, 250}};
    for (int i = 0; i < MaxShipsInPlay; ++i) {
        TShip& ship = world.Ships[slots[i]];
        ship.X = centreX + offsets[i][0];
        ship.Y = centreY + offsets[i][1];
        ship.Heading = 45.0 * i;
        ship.Hull = ship.MaxHull;
        ship.Shields = ship.MaxShields;
        ship.Dead = ship.Exploding = ship.AwaitingRespawn = ship.Appearing = 0;
        ship.ExplosionTimer = 0;
        ship.Target = static_cast<uint8_t>(slots[(i + 1) % MaxShipsInPlay]);
    }
    for (int i = 5; i < MaxShipsInPlay; ++i) {
        TShip& ship = world.Ships[slots[i]];
        ship.Exploding = ship.Dead = 1;
        ship.ExplosionTimer = 14;  // every part of the shipped scripts has started by now
        for (int n = 1; n <= 4; ++n) {
            if (ship.ExplosionParts[n].Delay > 14) ship.ExplosionParts[n].Delay = 1;
        }
    }
    static const uint8_t projectileImages[] = {2, 3, 9, 11, 12, 13, 14, 15, 21};
    for (int p = 1; p <= MaxProjectiles; ++p) {
        TProjectileWeapon& shot = world.Projectiles[p];
        shot.X = 560 + (p % 16) * 58;
        shot.Y = 420 + (p / 16) * 88;
        shot.Heading = (p * 37) % 360;
        shot.Speed = 12;
        shot.TurnRate = 3;
        shot.ImageIndex = projectileImages[p % std::size(projectileImages)];
        shot.Frame = 0;
        shot.Owner = static_cast<uint8_t>(slots[p % MaxShipsInPlay]);
        shot.Target = static_cast<uint8_t>(slots[(p + 3) % MaxShipsInPlay]);
        shot.Damage = 0;  // hits are checked but harm nobody
        shot.Age = 0;
        shot.Active = 1;
        shot.Homing = 1;
        shot.Effect = "NONE";
    }
    for (int b = 1; b <= MaxBeams; ++b) {
        TBeam& beam = world.Beams[b];
        beam.Source = static_cast<uint8_t>(slots[b % MaxShipsInPlay]);
        beam.Target = static_cast<uint8_t>(slots[(b + 1 + b / MaxShipsInPlay) % MaxShipsInPlay]);
        beam.TimeLeft = 16;
        beam.ImageIndex = b % 2 ? 1 : 10;
        beam.Active = 1;
    }
    world.ShowRange = true;
    world.ConsoleOpen = true;
    world.InputLine = "createship Wisp";
    world.Paused = false;
}

void BM_HeaviestFrame(benchmark::State& state) {
    HeadlessGame game;
    game.StartBattle();
    World& world = game.world();
    int slots[MaxShipsInPlay];
    int count = 0;
    slots[count++] = world.ControlledShip;
    for (int s = 1; s <= MaxShips && count < MaxShipsInPlay; ++s) {
        if (world.Ships[s].InPlay && s != world.ControlledShip) slots[count++] = s;
    }
    for (auto _ : state) {
        SetHeaviestScene(world, slots);
        game.Tick();
        benchmark::DoNotOptimize(world.Projectiles[1].X);
    }
    if (game.form->SwallowedErrors() != 0) state.SkipWithError(game.form->Errors().front().c_str());
}
BENCHMARK(BM_HeaviestFrame)->Unit(benchmark::kMicrosecond);

void BM_BattleUpdate(benchmark::State& state) {
    HeadlessGame game;
    game.StartBattle();
    for (int tick = 0; tick < 500; ++tick) game.Tick();  // the fight under way
    game.form->DrawsPictures = false;
    for (auto _ : state) {
        game.Tick();
        benchmark::DoNotOptimize(game.world().Ships[1].X);
    }
    if (game.form->SwallowedErrors() != 0) state.SkipWithError(game.form->Errors().front().c_str());
}
BENCHMARK(BM_BattleUpdate)->Unit(benchmark::kMicrosecond);

void BM_Loading(benchmark::State& state) {
    HeadlessGame game;
    for (auto _ : state) {
        state.PauseTiming();
        game.NewForm();
        state.ResumeTiming();
        game.form->Loading();
        benchmark::DoNotOptimize(game.world().Loaded);
    }
    if (!game.world().Loaded) state.SkipWithError("the shipped data did not load");
}
BENCHMARK(BM_Loading)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvane
