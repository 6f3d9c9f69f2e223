#include "replay/ReplayPlayer.h"

#include "replay/WorldChecksum.h"

namespace kelvane {
namespace {

bool IsRun(const ReplayRecord& record) { return record.Kind == RecordKind::Frames || record.Kind == RecordKind::Skip; }

}  // namespace

ReplayPlayer::ReplayPlayer(const Replay& replay) : replay_(replay) {
    for (auto record = replay.Records.rbegin(); record != replay.Records.rend(); ++record) {
        if (IsRun(*record)) break;
        if (record->IsInput()) trailingInputs_ = true;
    }
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
    const std::vector<ReplayRecord>& records = replay_.Records;
    if (runLeft_ == 0) {
        // The inputs before the next run, then the run itself.
        for (; next_ < records.size() && !IsRun(records[next_]); ++next_) Step(form, records[next_]);
        if (next_ == records.size()) return false;  // the reader's frame count promises a run
        const ReplayRecord& run = records[next_];
        runLeft_ = run.Count;
        runAdvances_ = run.Kind == RecordKind::Frames;
        ++next_;
    }
    presenter_.Recorded = runAdvances_;
    tick(form);
    presenter_.Recorded = true;
    --runLeft_;
    ++framesPlayed_;
    if (runLeft_ == 0) {
        for (; next_ < records.size() && records[next_].Kind == RecordKind::Check; ++next_) Compare(form, records[next_]);
    }
    return true;
}

void ReplayPlayer::Finish(TMainForm& form) {
    if (framesPlayed_ != replay_.Frames) return;
    const std::vector<ReplayRecord>& records = replay_.Records;
    for (; next_ < records.size(); ++next_) Step(form, records[next_]);
}

}  // namespace kelvane
