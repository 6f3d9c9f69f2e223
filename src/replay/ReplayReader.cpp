#include "replay/ReplayReader.h"

#include <algorithm>

#include "base/Hash64.h"
#include "world/World.h"

namespace kelvane {
namespace {

std::string At(uint64_t line, const std::string& what) { return "line " + std::to_string(line) + ": " + what; }

bool IsRun(const ReplayRecord& record) { return record.Kind == RecordKind::Frames || record.Kind == RecordKind::Skip; }

}  // namespace

ReplaySource ReplaySource::File(const std::string& path) {
    ReplaySource source;
    try {
        source.file_ = std::make_shared<InputFile>(path, ReplayFileLimit);
    } catch (const InputFileError& error) {
        throw ReplayError(error.Reason);
    }
    return source;
}

ReplaySource ReplaySource::Text(std::string text) {
    ReplaySource source;
    source.text_ = std::make_shared<const std::string>(std::move(text));
    return source;
}

size_t ReplaySource::ReadAt(uint64_t offset, char* buffer, size_t size) const {
    if (text_) {
        if (offset >= text_->size()) return 0;
        const size_t count = std::min(size, static_cast<size_t>(text_->size() - offset));
        std::copy_n(text_->data() + offset, count, buffer);
        return count;
    }
    try {
        return file_->ReadAt(offset, buffer, size);
    } catch (const InputFileError& error) {
        throw ReplayError(error.Reason);
    }
}

// The lines of a source, one at a time, counted; a last line without its '\n' was cut.
// At most one line (up to MaxReplayLine) and one chunk are held at once.
class ReplayStream::Lines {
public:
    explicit Lines(ReplaySource source) : source_(std::move(source)) {}

    enum class Got { Line, CutLine, TooLong, End };

    Got Next(std::string_view& line) {
        size_t newline;
        while ((newline = buffer_.find('\n', position_)) == std::string::npos) {
            if (buffer_.size() - position_ > MaxReplayLine) return Count(Got::TooLong);
            if (!Fill()) {
                if (position_ == buffer_.size()) return Got::End;
                line = std::string_view(buffer_).substr(position_);
                position_ = buffer_.size();
                return Count(Got::CutLine);
            }
        }
        line = std::string_view(buffer_).substr(position_, newline - position_);
        position_ = newline + 1;
        if (line.size() > MaxReplayLine) return Count(Got::TooLong);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // a file saved with CRLF
        return Count(Got::Line);
    }
    uint64_t Number() const { return number_; }

private:
    Got Count(Got got) {
        ++number_;
        return got;
    }
    // Appends the next chunk, dropping the lines already handed out; false at the end.
    bool Fill() {
        buffer_.erase(0, position_);
        position_ = 0;
        char chunk[65536];
        const size_t got = source_.ReadAt(offset_, chunk, sizeof chunk);
        offset_ += got;
        buffer_.append(chunk, got);
        return got > 0;
    }

    ReplaySource source_;
    uint64_t offset_ = 0;
    std::string buffer_;
    size_t position_ = 0;
    uint64_t number_ = 0;
};

ReplayStream::ReplayStream(ReplaySource source) : lines_(std::make_unique<Lines>(std::move(source))) { ReadHeader(); }
ReplayStream::~ReplayStream() = default;
ReplayStream::ReplayStream(ReplayStream&&) noexcept = default;

void ReplayStream::ReadHeader() {
    std::string_view line;
    const auto next = [&](const char* missing) {
        switch (lines_->Next(line)) {
            case Lines::Got::Line:
                return;
            case Lines::Got::TooLong:
                throw ReplayError(At(lines_->Number(), "a line longer than 1 MiB"));
            default:
                throw ReplayError("the recording ends in its header (" + std::string(missing) + "): nothing to play");
        }
    };
    next("no version line");
    const std::string magic = std::string(ReplayMagic) + " ";
    if (line.substr(0, magic.size()) != magic) throw ReplayError("line 1: not a Kelvane recording");
    uint64_t version = 0;
    try {
        version = ParseCount(line.substr(magic.size()), 1u << 30, "the version");
    } catch (const ReplayLineError& error) {
        throw ReplayError(At(1, error.what()));
    }
    if (version != ReplayVersion) {
        throw ReplayError("line 1: a recording of format version " + std::to_string(version) + "; this game reads version " +
                          std::to_string(ReplayVersion));
    }

    next("no seed");
    try {
        if (line.substr(0, 5) != "seed ") throw ReplayLineError("the second line must be the seed");
        header_.Seed = static_cast<uint32_t>(ParseCount(line.substr(5), 0xFFFFFFFFu, "the seed"));
        for (;;) {
            next("no start line");
            if (line == "start") return;
            // Pilots come before the data files: a recording that names none is classic.
            if (line.substr(0, 6) == "pilot " && header_.Data.empty()) {
                ParsePilotLine(line, header_.Pilots);
                continue;
            }
            if (line.substr(0, 5) != "file ") throw ReplayLineError("expected a data file or 'start'");
            std::string_view rest = line.substr(5);
            DataFile file;
            if (rest.size() < 18 || rest[16] != ' ' || !FromHex64(rest.substr(0, 16), file.Hash)) {
                throw ReplayLineError("a data file is 'file HASH NAME' with 16 hex digits");
            }
            file.Name = UnescapeText(rest.substr(17));
            if (!header_.Data.empty() && !(header_.Data.back().Name < file.Name)) {
                throw ReplayLineError("the data files are not sorted by name");
            }
            header_.Data.push_back(std::move(file));
        }
    } catch (const ReplayLineError& error) {
        throw ReplayError(At(lines_->Number(), error.what()));
    }
}

void ReplayStream::Take(const ReplayRecord& record) {
    if (ended_) throw ReplayLineError("a record after the end record");
    // The writer puts the checksum of every 25th frame right after the run that reaches it.
    if (checkDue_ && record.Kind != RecordKind::Check)
        throw ReplayLineError("frame " + std::to_string(frames_) + " has no checksum (the recording holds one every " +
                              std::to_string(ChecksumInterval) + " frames)");
    switch (record.Kind) {
        case RecordKind::Set:
            try {
                if (!probe_) probe_ = std::make_unique<World>();
                SetField(*probe_, record.Text, record.Value);  // the field exists and takes this value
            } catch (const FieldError& error) {
                throw ReplayLineError(error.what());
            }
            break;
        case RecordKind::Frames:
        case RecordKind::Skip: {
            const uint64_t nextCheck = (frames_ / ChecksumInterval + 1) * ChecksumInterval;
            if (record.Count > nextCheck - frames_)
                throw ReplayLineError("a run of " + std::to_string(record.Count) + " frames from frame " +
                                      std::to_string(frames_ + 1) + " passes frame " + std::to_string(nextCheck) +
                                      " without its checksum");
            frames_ += record.Count;
            checkDue_ = frames_ == nextCheck;
            break;
        }
        case RecordKind::Check:
        case RecordKind::End:
            if (record.Count != frames_) {
                throw ReplayLineError(std::string(record.Kind == RecordKind::Check ? "a checksum" : "the end") +
                                      " of frame " + std::to_string(record.Count) + ", but the recording is at frame " +
                                      std::to_string(frames_));
            }
            if (record.Kind == RecordKind::Check && !checkDue_)
                throw ReplayLineError("a checksum of frame " + std::to_string(record.Count) +
                                      ", where none is due (one follows every " + std::to_string(ChecksumInterval) +
                                      "th frame, once)");
            checkDue_ = false;
            ended_ = record.Kind == RecordKind::End;
            break;
        default:
            break;
    }
}

bool ReplayStream::Next(ReplayRecord& record) {
    if (over_) return false;
    std::string_view line;
    const auto stop = [&](ReplayEnding ending, const std::string& problem) {
        over_ = true;
        ending_ = ending;
        problem_ = problem;
        return false;
    };
    switch (lines_->Next(line)) {
        case Lines::Got::End:
            if (ended_) return stop(ReplayEnding::Complete, {});
            return stop(ReplayEnding::Truncated, "the recording stops after frame " + std::to_string(frames_) +
                                                     " (line " + std::to_string(lines_->Number()) +
                                                     ") without its end record");
        case Lines::Got::CutLine:
            if (!ended_)
                return stop(ReplayEnding::Truncated,
                            At(lines_->Number(), "cut off in the middle of the line; the recording ends after frame " +
                                                     std::to_string(frames_)));
            break;  // anything after the end record is damage
        case Lines::Got::TooLong:
            return stop(ReplayEnding::Damaged, At(lines_->Number(), "a line longer than 1 MiB"));
        case Lines::Got::Line:
            break;
    }
    try {
        if (ended_) throw ReplayLineError("a record after the end record");
        record = ParseRecord(line);
        Take(record);
    } catch (const ReplayLineError& error) {
        return stop(ReplayEnding::Damaged, At(lines_->Number(), error.what()));
    }
    return true;
}

namespace {

// Reads the whole stream once, keeping only what it holds and how it ends.
Replay ScanReplay(const ReplaySource& source) {
    ReplayStream stream(source);
    Replay replay;
    replay.Header = stream.Header();
    replay.Source = source;
    ReplayRecord record;
    while (stream.Next(record)) {
        if (IsRun(record)) replay.TrailingInputs = false;
        else if (record.IsInput()) replay.TrailingInputs = true;
    }
    replay.Frames = stream.Frames();
    replay.Ending = stream.Ending();
    replay.Problem = stream.Problem();
    return replay;
}

}  // namespace

Replay ReadReplay(std::string text) { return ScanReplay(ReplaySource::Text(std::move(text))); }

Replay LoadReplay(const std::string& path) { return ScanReplay(ReplaySource::File(path)); }

std::vector<ReplayRecord> ReplayRecords(const Replay& replay) {
    std::vector<ReplayRecord> records;
    ReplayStream stream(replay.Source);
    ReplayRecord record;
    while (stream.Next(record)) records.push_back(record);
    return records;
}

std::string IncompleteRecordingLine(const Replay& replay) {
    if (replay.Ending == ReplayEnding::Complete) return {};
    return std::string("the recording is ") + (replay.Ending == ReplayEnding::Truncated ? "truncated" : "damaged") +
           ": " + replay.Problem + "; playing its " + std::to_string(replay.Frames) + " frames";
}

}  // namespace kelvane
