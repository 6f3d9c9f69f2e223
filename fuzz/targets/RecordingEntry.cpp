// A whole recording through the reader and then the verifier, as `kelvane-sim --replay
// FILE --verify --force` plays it: the game of the built data, loaded headless, plays the
// recorded inputs frame by frame and compares every checksum. Whatever the file holds,
// playing it must not fail, must play exactly the frames the reader counted (up to a
// cap, so that every input takes a bounded time), and must compare every checksum the
// reader let through, once each.
//
// The game folder is $KELVANE_FUZZ_DATA, else the build folder the entry was built in
// (its generated Data/ and Scripts/).

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "platform/headless/HeadlessMachine.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayReader.h"

namespace kelvane::fuzz {

namespace {

// Twenty checksums' worth: a few tenths of a second of play per input, even sanitized.
constexpr uint64_t MaxFramesPlayed = 20 * ChecksumInterval;

std::string GameFolder() {
    if (const char* folder = std::getenv("KELVANE_FUZZ_DATA"); folder && *folder) return std::string(folder) + "/";
#ifdef KELVANE_BINARY_DIR
    return KELVANE_BINARY_DIR "/";
#else
    return {};
#endif
}

uint64_t ChecksumsIn(const std::vector<ReplayRecord>& records) {
    uint64_t count = 0;
    for (const ReplayRecord& record : records)
        count += record.Kind == RecordKind::Check || record.Kind == RecordKind::End;
    return count;
}

}  // namespace

void FuzzRecording(const uint8_t* data, size_t size) {
    Replay replay;
    try {
        replay = ReadReplay(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const ReplayError&) {
        return;  // not a recording, or a header that cannot be read
    }
    const std::string folder = GameFolder();
    if (folder.empty()) return;

    HeadlessMachine machine(false);
    ReplayPlayer player(replay);
    TMainForm form(player.Services(machine.Services(folder, std::nullopt)));
    form.DrawsPictures = false;
    const auto tick = [&machine](TMainForm& played) { machine.Tick(played); };
    const uint64_t frames = std::min(replay.Frames, MaxFramesPlayed);
    for (uint64_t frame = 1; frame <= frames; ++frame) {
        Check(player.PlayFrame(form, tick), "a frame the reader counted cannot be played");
        // Missing data would make every input pass unplayed; an input that breaks the
        // loading is a finding of its own.
        if (form.StartError()) Fail("the game of " + folder + " cannot start: " + *form.StartError());
    }
    Check(player.FramesPlayed() == frames, "another number of frames played than asked for");
    if (frames < replay.Frames) return;
    Check(!player.PlayFrame(form, tick), "a frame played beyond the recording");
    player.Finish(form);

    const std::vector<ReplayRecord> records = ReplayRecords(replay);
    Check(player.ChecksCompared() == ChecksumsIn(records), "a checksum the reader let through is not compared once");
    if (player.Divergence()) {
        Check(*player.Divergence() <= replay.Frames, "a divergence after the last frame");
        Check(*player.Divergence() % ChecksumInterval == 0 || *player.Divergence() == replay.Frames,
              "a divergence where no checksum is");
    }
}

}  // namespace kelvane::fuzz
