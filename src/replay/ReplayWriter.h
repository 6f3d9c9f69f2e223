#pragma once
// Records a game as it goes: the form's observer (TMainForm::Observer) writes every
// input it takes and every tick into a recording, with the world's checksum after every
// 25th frame. Lines are gathered in memory and written out at least once a second, so a
// crash or a kill loses at most the last second. Writing never stops the game: when the
// file cannot be written, one line says so and the recording ends there.
//
// The file is never one that another program wrote: either the caller made it for this
// recording alone (the game's folder of recordings), or the recording goes under a
// private temporary name beside its path and replaces what stood there only when it
// ends, so that a file at that path is never cut short or mixed with another.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "game/FrameObserver.h"
#include "replay/ReplayFormat.h"

namespace kelvane {

struct ReplayWriterOptions {
    // Milliseconds of a steady clock; only differences count. Empty: the system's steady clock.
    std::function<uint64_t()> Clock;
    // Hears the one line when the recording cannot be written. Empty: standard error,
    // prefixed with "kelvane: ".
    std::function<void(const std::string&)> Report;
    uint64_t FlushEveryMs = 1000;
};

// A file made for one recording alone (see RecordingFolder), open for writing.
struct OwnRecordingFile {
    std::string Path;
    int Descriptor = -1;  // the writer takes it over and closes it
};

class ReplayWriter final : public IFrameObserver {
public:
    // Writes the header into a private temporary file beside `path`, which takes the
    // path's place when the recording ends (Finish, or the writer's end). A path that is
    // no regular file (/dev/stdout) is written directly.
    ReplayWriter(std::string path, const ReplayHeader& header, ReplayWriterOptions options = {});
    // Writes the header into a file made for this recording, which it then owns: should
    // the header not fit (a full disk), the file is removed rather than left empty.
    ReplayWriter(OwnRecordingFile file, const ReplayHeader& header, ReplayWriterOptions options = {});
    // Writes out what is gathered and puts the file in place; without Finish the
    // recording has no end record.
    ~ReplayWriter() override;
    ReplayWriter(const ReplayWriter&) = delete;
    ReplayWriter& operator=(const ReplayWriter&) = delete;

    void KeyDown(uint16_t key, ShiftState shift) override;
    void MouseDown(int button) override;
    void ConsoleLine(std::string_view line) override;
    void FieldWritten(std::string_view path, const FieldValue& value) override;
    void TickEnded(const World& world, bool advanced) override;

    // The end record with the world's final checksum; the file is then complete and closed.
    void Finish(const World& world);

    // False once writing failed, and after Finish.
    bool Recording() const { return descriptor_ >= 0; }
    // Writing failed: the recording stops where it failed.
    bool Failed() const { return failed_; }
    // Ticks recorded so far: the number of the frame that has just ended.
    uint64_t Frames() const { return frames_; }
    const std::string& Path() const { return path_; }

private:
    void Start(const ReplayHeader& header);
    // Closes the file and, when written under a temporary name, puts it in place.
    void Close();
    void Record(const ReplayRecord& record);
    void EndRun();
    // A check or end record: the frames so far and the world's checksum after them.
    void RecordChecksum(RecordKind kind, const World& world);
    void Flush();
    void Fail(const std::string& reason);
    uint64_t Now() const;

    std::string path_;
    ReplayWriterOptions options_;
    int descriptor_ = -1;
    std::string temporary_;      // where the recording is written until it ends; empty: at path_
    bool ownFile_ = false;       // the file at path_ was made for this recording
    uint64_t written_ = 0;       // bytes in the file
    uint64_t headerBytes_ = 0;
    std::string pending_;        // lines not yet written out
    uint64_t runTicks_ = 0;      // ticks without input not yet written, all of one kind
    bool runAdvanced_ = true;
    uint64_t frames_ = 0;
    bool pointerWritten_ = false;
    bool failed_ = false;
    uint64_t lastFlush_ = 0;
};

}  // namespace kelvane
