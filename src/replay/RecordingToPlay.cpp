#include "replay/RecordingToPlay.h"

#include "replay/DataFingerprint.h"

namespace kelvane {

Result<Replay> OpenRecording(const std::string& file, bool force, const std::string& gameDir,
                             const PlayerFolders& folders, const std::function<void(const std::string&)>& say) {
    Replay replay;
    try {
        replay = LoadReplay(file);
    } catch (const ReplayError& error) {
        return Failure{ExitStatus::BadInput, "cannot replay " + file + ": " + error.what(), {}};
    }
    const std::string difference = FirstDataDifference(replay.Header.Data, FingerprintGameData(gameDir, folders));
    if (!difference.empty()) {
        if (!force) return Failure{ExitStatus::Failure, OtherDataLine(difference, false), {}};
        say(OtherDataLine(difference, true));
    }
    if (replay.Ending != ReplayEnding::Complete) say(IncompleteRecordingLine(replay));
    return replay;
}

}  // namespace kelvane
