// Playing back and verifying a recording of the shipped eight-ship battle, frame by
// frame, as `kelvane-sim --replay --verify` does: no pictures, every checksum compared,
// the loading of each new playback counted in. Goal: 20,000 frames a second.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "TempGameDir.h"
#include "game/MainForm.h"
#include "platform/headless/HeadlessMachine.h"
#include "replay/DataFingerprint.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayWriter.h"

namespace kelvane {
namespace {

constexpr int RecordedFrames = 20000;

// The battle with the player flying and firing, recorded once per run of the benchmarks.
struct BattleRecording {
    testing::TempGameDir dir;
    Replay replay;

    BattleRecording() {
        const std::string path = (dir.Root() / "battle.replay").string();
        {
            HeadlessMachine machine(false);
            TMainForm form(machine.Services(dir.Path(), 1));
            form.DrawsPictures = false;
            ReplayWriter writer(path, ReplayHeader{1, FingerprintGameData(dir.Path())});
            form.Observer = &writer;
            static const uint16_t keys[] = {'N', VK_UP, VK_SPACE, VK_MENU, VK_CONTROL, VK_LEFT};
            for (int tick = 1; tick <= RecordedFrames; ++tick) {
                machine.Tick(form);
                if (tick == 1) form.DoConsoleCommand("EXEC battle");
                if (tick % 40 < 6) form.KeyPressed(keys[tick % 40], 0);
            }
            writer.Finish(form.World);
            if (writer.Failed() || form.World.ShipCount != MaxShipsInPlay) std::abort();
        }
        replay = LoadReplay(path);
    }
};

const BattleRecording& Recording() {
    static const BattleRecording recording;
    return recording;
}

struct Playback {
    HeadlessMachine machine{false};
    std::unique_ptr<ReplayPlayer> player;
    std::unique_ptr<TMainForm> form;

    explicit Playback(const Replay& replay, const std::string& gameDir) {
        machine.Presenter.KeepFrames = false;
        player = std::make_unique<ReplayPlayer>(replay);
        form = std::make_unique<TMainForm>(player->Services(machine.Services(gameDir, std::nullopt)));
        form->DrawsPictures = false;
    }
    bool Frame() {
        return player->PlayFrame(*form, [this](TMainForm& played) { machine.Tick(played); });
    }
};

void BM_ReplayVerifyFrame(benchmark::State& state) {
    const BattleRecording& recording = Recording();
    auto playback = std::make_unique<Playback>(recording.replay, recording.dir.Path());
    for (auto _ : state) {
        if (!playback->Frame()) {
            if (playback->player->Divergence()) break;
            playback = std::make_unique<Playback>(recording.replay, recording.dir.Path());
            playback->Frame();
        }
    }
    if (playback->player->Divergence()) state.SkipWithError("the playback diverges from the recording");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReplayVerifyFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvane
