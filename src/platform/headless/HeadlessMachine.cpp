#include "platform/headless/HeadlessMachine.h"

#include "platform/font/FontRasteriser.h"

namespace kelvane {

HeadlessMachine::HeadlessMachine(bool withFont) {
    if (withFont) Font = MakeFontRasteriser();
}

HeadlessMachine::~HeadlessMachine() = default;

MainFormServices HeadlessMachine::Services(const std::string& gameDir, std::optional<uint32_t> seed,
                                           const PlayerFolders& folders) {
    MainFormServices services;
    services.Presenter = &Presenter;
    services.Font = Font.get();
    services.Audio = &Audio;
    services.Clock = &Clock;
    services.Sleeper = &Sleeper;
    services.Pointer = &Pointer;
    services.GameDir = gameDir;
    services.Folders = folders;
    services.Seed = seed;
    return services;
}

void HeadlessMachine::Tick(TMainForm& form) {
    Clock.Advance(TFrameTimer::Interval);
    form.TimerTick();
}

}  // namespace kelvane
