#pragma once
// A recording opened to be played on this data, the same way for watching it in the
// window (kelvane --replay) and for playing it headless (kelvane-sim --replay).

#include <functional>
#include <string>

#include "base/Result.h"
#include "game/PlayerFolders.h"
#include "replay/ReplayReader.h"

namespace kelvane {

// The recording, or why it is not played: BadInput when the file is no recording
// ("cannot replay FILE: ..."), Failure when it was made with other data and not forced.
// `say` hears the lines that do not stop it: other data played anyway (`force`), and
// where a cut or damaged file ends.
Result<Replay> OpenRecording(const std::string& file, bool force, const std::string& gameDir,
                             const PlayerFolders& folders, const std::function<void(const std::string&)>& say);

}  // namespace kelvane
