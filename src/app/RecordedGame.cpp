#include "app/RecordedGame.h"

#include <chrono>
#include <filesystem>

#include "replay/DataFingerprint.h"
#include "replay/RecordingFolder.h"

namespace kelvane {

RecordedGame::RecordedGame(std::string folder, const std::tm& startTime, uint32_t seed, SayLine say, Pilot pilot,
                           std::function<uint64_t()> recordingClock)
    : folder_(std::move(folder)),
      startTime_(startTime),
      seed_(seed),
      say_(std::move(say)),
      pilots_(pilot),
      recordingClock_(std::move(recordingClock)),
      errors_(say_) {}

RecordedGame::~RecordedGame() = default;

MainFormServices RecordedGame::Services(const MainFormServices& platform) {
    MainFormServices services = platform;
    services.Seed = seed_;  // the recording must know it: never left to the loading's clock
    services.Pilots = pilots_;
    return services;
}

void RecordedGame::Begin(TMainForm& form) {
    PlayedGame::Begin(form);
    if (folder_.empty()) {
        say_("there is no folder for recordings (neither XDG_STATE_HOME nor HOME is set); the game goes on unrecorded");
        return;
    }
    const ReplayHeader header{seed_, FingerprintGameData(form.Services.GameDir, form.Services.Folders), pilots_};
    const RecordingFile file = CreateRecordingFile(folder_, startTime_);
    if (file.Path.empty()) {
        say_(file.Problem + "; the game goes on unrecorded");
        return;
    }
    ReplayWriterOptions options;
    options.Report = say_;
    options.Clock = recordingClock_;
    writer_ = std::make_unique<ReplayWriter>(OwnRecordingFile{file.Path, file.Descriptor}, header, options);
    if (writer_->Failed()) {
        writer_.reset();
        return;
    }
    path_ = file.Path;
    KeepNewestRecordings(folder_, KeptRecordings, std::filesystem::path(path_).filename().string());
    form.Observer = writer_.get();
}

void RecordedGame::Tick(TMainForm& form) {
    RunTick(form);
    ++ticks_;
    errors_.Tell(form, ticks_, writer_ && writer_->Recording() ? writer_->Path() : std::string());
}

void RecordedGame::End(TMainForm& form) {
    if (ended_) return;
    ended_ = true;
    form.Observer = nullptr;
    if (!writer_) return;
    if (form.StartError()) {
        // A game that never started has nothing to watch; the file is this game's own.
        writer_.reset();
        std::error_code error;
        std::filesystem::remove(path_, error);
        path_.clear();
        return;
    }
    writer_->Finish(form.World);
}

uint32_t ClockSeed() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace kelvane
