#include "platform/headless/HeadlessMachine.h"

#include "platform/font/FontRasteriser.h"

namespace kelvane {

HeadlessMachine::HeadlessMachine(bool withFont) {
    if (withFont) font = MakeFontRasteriser();
}

HeadlessMachine::~HeadlessMachine() = default;

MainFormServices HeadlessMachine::Services(const std::string& gameDir, std::optional<uint32_t> seed,
                                           const PlayerFolders& folders) {
    MainFormServices services;
    services.Presenter = &presenter;
    services.Font = font.get();
    services.Audio = &audio;
    services.Clock = &clock;
    services.Sleeper = &sleeper;
    services.Pointer = &pointer;
    services.GameDir = gameDir;
    services.Folders = folders;
    services.Seed = seed;
    return services;
}

void HeadlessMachine::Tick(TMainForm& form) {
    clock.Advance(TFrameTimer::Interval);
    form.TimerTick();
}

}  // namespace kelvane
