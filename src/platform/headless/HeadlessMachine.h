#pragma once
// The whole set of stand-ins a headless game runs on, wired into the form's services:
// what kelvane-sim, the benchmarks and the tests plug in instead of SDL.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "game/MainForm.h"
#include "platform/headless/HeadlessAudioOutput.h"
#include "platform/headless/HeadlessPlatform.h"

namespace kelvane {

struct HeadlessMachine {
    // withFont: text is rendered with the real font (as the runner does); without it,
    // text draws nothing, which is enough for tests of the rules.
    explicit HeadlessMachine(bool withFont = true);
    ~HeadlessMachine();

    // Without player folders the game reads only gameDir and writes Ships.dxg only there.
    MainFormServices Services(const std::string& gameDir, std::optional<uint32_t> seed,
                              const PlayerFolders& folders = {});
    // One 40 ms step of the virtual clock, then the frame timer's tick.
    void Tick(TMainForm& form);

    std::unique_ptr<IFontRasteriser> Font;
    HeadlessPresenter Presenter;
    VirtualClock Clock;
    RecordingSleeper Sleeper;
    FixedPointer Pointer;
    HeadlessAudioOutput Audio;
};

}  // namespace kelvane
