#include "replay/ReplayPlayer.h"

#include "replay/WorldChecksum.h"

namespace kelvane {
namespace {

bool IsRun(const ReplayRecord& record) { return record.Kind == RecordKind::Frames || record.Kind == RecordKind::Skip; }

}  // namespace

ReplayPlayer::ReplayPlayer(const Replay& replay) : replay_(replay), stream_(replay.Source) {}

bool ReplayPlayer::NextRecord(ReplayRecord& record) {
    if (!held_) return stream_.Next(record);
    record = std::move(*held_);
    held_.reset();
    return true;
}

MainFormServices ReplayPlayer::Services(const MainFormServices& platform) {
    MainFormServices services = platform;
    presenter_.Inner = platform.Presenter;
    pointer_.Inner = platform.Pointer;
    services.Presenter = &presenter_;
    services.Pointer = &pointer_;
    services.Seed = replay_.Header.Seed;
    services.Pilots = replay_.Header.Pilots;
    return services;
}

void ReplayPlayer::ApplyInput(TMainForm& form, const ReplayRecord& record) {
    switch (record.Kind) {
        case RecordKind::Key:
            form.KeyPressed(record.Key, record.Shift);
            break;
        case RecordKind::Mouse:
            form.MouseClick(record.Button, 0, 0, 0);
            break;
        case RecordKind::Command:
            form.DoConsoleCommand(record.Text);
            break;
        case RecordKind::Set:
            form.SetWorldField(record.Text, record.Value);  // the reader has checked the field
            break;
        case RecordKind::Player:
            form.SetInputSeat(record.Seat);
            break;
        case RecordKind::Join:
            form.TakeSeat(record.Seat, record.Text);
            break;
        case RecordKind::Leave:
            form.LeaveSeat(record.Seat);
            break;
        case RecordKind::Pointer:
            pointer_.X = record.X;
            pointer_.Y = record.Y;
            break;
        default:
            break;
    }
}

void ReplayPlayer::Step(TMainForm& form, const ReplayRecord& record) {
    if (record.IsInput()) ApplyInput(form, record);
    else if (record.Kind == RecordKind::Check || record.Kind == RecordKind::End) Compare(form, record);
}

void ReplayPlayer::Compare(const TMainForm& form, const ReplayRecord& record) {
    ++checksCompared_;
    if (!divergence_ && WorldChecksum(form.World) != record.Checksum) divergence_ = record.Count;
}

bool ReplayPlayer::PlayFrame(TMainForm& form, const Tick& tick) {
    if (framesPlayed_ == replay_.Frames) return false;
    if (runLeft_ == 0) {
        // The inputs before the next run, then the run itself.
        ReplayRecord record;
        for (;;) {
            if (!NextRecord(record)) return false;  // the file changed since it was read through
            if (IsRun(record)) break;
            Step(form, record);
        }
        runLeft_ = record.Count;
        runAdvances_ = record.Kind == RecordKind::Frames;
    }
    presenter_.Recorded = runAdvances_;
    tick(form);
    presenter_.Recorded = true;
    --runLeft_;
    ++framesPlayed_;
    if (runLeft_ == 0) {
        ReplayRecord record;
        while (NextRecord(record)) {
            if (record.Kind != RecordKind::Check) {
                held_ = std::move(record);
                break;
            }
            Compare(form, record);
        }
    }
    return true;
}

void ReplayPlayer::Finish(TMainForm& form) {
    if (framesPlayed_ != replay_.Frames) return;
    ReplayRecord record;
    while (NextRecord(record)) Step(form, record);
}

}  // namespace kelvane
