// Loading a wave list from a sound archive, kept apart from playback so that programs
// which only play (tests, tools) do not pull in the archive reader.
#include "media/Archive.h"
#include "base/FileError.h"
#include "media/Sound.h"

namespace kelvane {

void TWaveList::LoadFromFile(const std::string& path) {
    WhileReading(path, [&] {
        const std::vector<uint8_t> bytes = ReadWholeFile(path);
        FinalizeItems();
        playCounts_.clear();
        ReadWaveArchive(bytes, *this);
        if (device_ && device_->Initialized()) InitializeItems();
    });
}

}  // namespace kelvane
