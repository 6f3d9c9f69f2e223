#include "replay/ReplayWriter.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include "replay/WorldChecksum.h"

namespace kelvane {

ReplayWriter::ReplayWriter(std::string path, const ReplayHeader& header, ReplayWriterOptions options)
    : path_(std::move(path)), options_(std::move(options)) {
    file_ = std::fopen(path_.c_str(), "wb");
    if (!file_) {
        Fail(std::strerror(errno));
        return;
    }
    pending_ = FormatHeader(header);
    lastFlush_ = Now();
    Flush();
}

ReplayWriter::~ReplayWriter() {
    if (!file_) return;
    EndRun();
    Flush();
    if (file_) std::fclose(file_);
}

uint64_t ReplayWriter::Now() const {
    if (options_.Clock) return options_.Clock();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

void ReplayWriter::Fail(const std::string& reason) {
    failed_ = true;
    const std::string message = "cannot write the recording " + path_ + ": " + reason + "; the game goes on unrecorded";
    if (options_.Report) options_.Report(message);
    else std::fprintf(stderr, "kelvane: %s\n", message.c_str());
    if (file_) std::fclose(file_);
    file_ = nullptr;
    pending_.clear();
}

void ReplayWriter::Record(const ReplayRecord& record) {
    pending_ += FormatRecord(record);
    pending_ += '\n';
}

// Ticks without input are written as one line per run.
void ReplayWriter::RecordChecksum(RecordKind kind, const World& world) {
    EndRun();
    ReplayRecord record;
    record.Kind = kind;
    record.Count = frames_;
    record.Checksum = WorldChecksum(world);
    Record(record);
}

void ReplayWriter::EndRun() {
    if (runTicks_ == 0) return;
    ReplayRecord run;
    run.Kind = runAdvanced_ ? RecordKind::Frames : RecordKind::Skip;
    run.Count = runTicks_;
    Record(run);
    runTicks_ = 0;
}

void ReplayWriter::Flush() {
    if (!file_) return;
    lastFlush_ = Now();
    if (!pending_.empty() && std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size()) {
        Fail(std::strerror(errno));
        return;
    }
    pending_.clear();
    if (std::fflush(file_) != 0) Fail(std::strerror(errno));
}

void ReplayWriter::KeyDown(uint16_t key, ShiftState shift) {
    if (!file_) return;
    ReplayRecord record;
    record.Kind = RecordKind::Key;
    record.Key = key;
    record.Shift = shift;
    RecordInput(record);
}

void ReplayWriter::MouseDown(int button) {
    // Buttons other than the three do nothing to the game.
    if (!file_ || button < 0 || button > 2) return;
    ReplayRecord record;
    record.Kind = RecordKind::Mouse;
    record.Button = static_cast<uint8_t>(button);
    RecordInput(record);
}

void ReplayWriter::ConsoleLine(std::string_view line) {
    if (!file_) return;
    ReplayRecord record;
    record.Kind = RecordKind::Command;
    record.Text = std::string(line);
    RecordInput(record);
}

void ReplayWriter::FieldWritten(std::string_view path, const FieldValue& value) {
    if (!file_) return;
    ReplayRecord record;
    record.Kind = RecordKind::Set;
    record.Text = std::string(path);
    record.Value = value;
    RecordInput(record);
}

void ReplayWriter::RecordInput(const ReplayRecord& record) {
    EndRun();
    if (inputSeat_ != writtenSeat_) {
        ReplayRecord player;
        player.Kind = RecordKind::Player;
        player.Seat = static_cast<uint8_t>(inputSeat_);
        Record(player);
        writtenSeat_ = inputSeat_;
    }
    Record(record);
}

void ReplayWriter::InputSeat(int seat) { inputSeat_ = seat; }

void ReplayWriter::SeatTaken(int seat, std::string_view name) {
    if (!file_) return;
    EndRun();
    ReplayRecord record;
    record.Kind = RecordKind::Join;
    record.Seat = static_cast<uint8_t>(seat);
    record.Text = std::string(name);
    Record(record);
}

void ReplayWriter::SeatLeft(int seat) {
    if (!file_) return;
    EndRun();
    ReplayRecord record;
    record.Kind = RecordKind::Leave;
    record.Seat = static_cast<uint8_t>(seat);
    Record(record);
}

void ReplayWriter::TickEnded(const World& world, bool advanced) {
    if (!file_) return;
    // The pointer position is read while loading, in the tick that loaded the game; it
    // goes before that tick so that playing it back can hand it to the loading.
    if (world.Loaded && !pointerWritten_) {
        EndRun();
        ReplayRecord pointer;
        pointer.Kind = RecordKind::Pointer;
        pointer.X = world.MouseX;
        pointer.Y = world.MouseY;
        Record(pointer);
        pointerWritten_ = true;
    }
    if (runTicks_ > 0 && runAdvanced_ != advanced) EndRun();
    runAdvanced_ = advanced;
    ++runTicks_;
    ++frames_;
    if (frames_ % ChecksumInterval == 0) RecordChecksum(RecordKind::Check, world);
    if (Now() - lastFlush_ >= options_.FlushEveryMs) {
        EndRun();
        Flush();
    }
}

void ReplayWriter::Finish(const World& world) {
    if (!file_) return;
    RecordChecksum(RecordKind::End, world);
    Flush();
    if (file_ && std::fclose(file_) != 0) {
        file_ = nullptr;
        Fail(std::strerror(errno));
    }
    file_ = nullptr;
}

}  // namespace kelvane
