#include "replay/ReplayWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "replay/WorldChecksum.h"

namespace kelvane {
namespace {

// Temporaries of one process never share a name, whichever thread (a tournament's duels) makes them.
std::atomic<unsigned> temporaries{0};

}  // namespace

ReplayWriter::ReplayWriter(std::string path, const ReplayHeader& header, ReplayWriterOptions options)
    : path_(std::move(path)), options_(std::move(options)) {
    struct stat status {};
    if (::stat(path_.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        descriptor_ = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    } else {
        // A hidden name of this recording's own beside the file, in the same folder so
        // that the rename cannot cross file systems.
        const std::filesystem::path target(path_);
        const std::string folder = target.has_parent_path() ? target.parent_path().string() + "/" : std::string();
        const std::string stem = folder + "." + target.filename().string() + "." + std::to_string(getpid()) + "-";
        errno = EEXIST;
        for (int attempt = 0; attempt < 100 && descriptor_ < 0 && errno == EEXIST; ++attempt) {
            temporary_ = stem + std::to_string(temporaries++) + ".part";
            descriptor_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0644);
        }
        if (descriptor_ < 0) temporary_.clear();
    }
    if (descriptor_ < 0) {
        Fail(std::strerror(errno));
        return;
    }
    Start(header);
}

ReplayWriter::ReplayWriter(OwnRecordingFile file, const ReplayHeader& header, ReplayWriterOptions options)
    : path_(std::move(file.Path)), options_(std::move(options)), descriptor_(file.Descriptor), ownFile_(true) {
    if (descriptor_ < 0) {
        Fail(std::strerror(EBADF));
        return;
    }
    Start(header);
}

void ReplayWriter::Start(const ReplayHeader& header) {
    pending_ = FormatHeader(header);
    headerBytes_ = pending_.size();
    lastFlush_ = Now();
    Flush();
}

ReplayWriter::~ReplayWriter() {
    if (descriptor_ < 0) return;
    EndRun();
    Flush();
    Close();
}

void ReplayWriter::Close() {
    if (descriptor_ < 0) return;
    // Some file systems (NFS, a quota) say only at the close that the bytes did not fit.
    if (::close(descriptor_) != 0) {
        descriptor_ = -1;
        Fail(std::strerror(errno));
        return;
    }
    descriptor_ = -1;
    if (!temporary_.empty() && std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        Fail(std::strerror(errno));
        return;
    }
    temporary_.clear();
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
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
    pending_.clear();
    // A temporary never takes the path's place; a file of our own without even its whole
    // header holds nothing to play and is not left behind.
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
    if (ownFile_ && written_ < headerBytes_) ::unlink(path_.c_str());
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
    if (descriptor_ < 0) return;
    lastFlush_ = Now();
    std::string_view bytes = pending_;
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            Fail(std::strerror(written < 0 ? errno : EIO));
            return;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
        written_ += static_cast<uint64_t>(written);
    }
    pending_.clear();
}

void ReplayWriter::KeyDown(uint16_t key, ShiftState shift) {
    if (descriptor_ < 0) return;
    EndRun();
    ReplayRecord record;
    record.Kind = RecordKind::Key;
    record.Key = key;
    record.Shift = shift;
    Record(record);
}

void ReplayWriter::MouseDown(int button) {
    // Buttons other than the three do nothing to the game.
    if (descriptor_ < 0 || button < 0 || button > 2) return;
    EndRun();
    ReplayRecord record;
    record.Kind = RecordKind::Mouse;
    record.Button = static_cast<uint8_t>(button);
    Record(record);
}

void ReplayWriter::ConsoleLine(std::string_view line) {
    if (descriptor_ < 0) return;
    EndRun();
    ReplayRecord record;
    record.Kind = RecordKind::Command;
    record.Text = std::string(line);
    Record(record);
}

void ReplayWriter::FieldWritten(std::string_view path, const FieldValue& value) {
    if (descriptor_ < 0) return;
    EndRun();
    ReplayRecord record;
    record.Kind = RecordKind::Set;
    record.Text = std::string(path);
    record.Value = value;
    Record(record);
}

void ReplayWriter::TickEnded(const World& world, bool advanced) {
    if (descriptor_ < 0) return;
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
    if (descriptor_ < 0) return;
    RecordChecksum(RecordKind::End, world);
    Flush();
    Close();
}

}  // namespace kelvane
