#include "replay/ReplayReader.h"

#include <cstdio>
#include <memory>

#include "base/Hash64.h"

namespace kelvane {
namespace {

// Walks the text line by line, counting lines; a last line without its '\n' was cut.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}

    // False at the end of the text. `complete` is false for a last line cut short.
    bool Next(std::string_view& line, bool& complete) {
        if (position_ >= text_.size()) return false;
        const size_t newline = text_.find('\n', position_);
        complete = newline != std::string_view::npos;
        const size_t end = complete ? newline : text_.size();
        line = text_.substr(position_, end - position_);
        if (complete && !line.empty() && line.back() == '\r') line.remove_suffix(1);  // a file saved with CRLF
        position_ = complete ? newline + 1 : text_.size();
        ++number_;
        return true;
    }
    uint64_t Number() const { return number_; }

private:
    std::string_view text_;
    size_t position_ = 0;
    uint64_t number_ = 0;
};

std::string At(uint64_t line, const std::string& what) { return "line " + std::to_string(line) + ": " + what; }

// Reads the header up to "start"; throws ReplayError.
ReplayHeader ReadHeader(Lines& lines) {
    std::string_view line;
    bool complete = false;
    const auto next = [&](const char* missing) {
        if (!lines.Next(line, complete) || !complete) {
            throw ReplayError("the recording ends in its header (" + std::string(missing) + "): nothing to play");
        }
        if (line.size() > MaxReplayLine) throw ReplayError(At(lines.Number(), "a line longer than 1 MiB"));
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

    ReplayHeader header;
    next("no seed");
    try {
        if (line.substr(0, 5) != "seed ") throw ReplayLineError("the second line must be the seed");
        header.Seed = static_cast<uint32_t>(ParseCount(line.substr(5), 0xFFFFFFFFu, "the seed"));
        for (;;) {
            next("no start line");
            if (line == "start") return header;
            // Pilots come before the data files: a recording that names none is classic.
            if (line.substr(0, 6) == "pilot " && header.Data.empty()) {
                ParsePilotLine(line, header.Pilots);
                continue;
            }
            if (line.substr(0, 5) != "file ") throw ReplayLineError("expected a data file or 'start'");
            std::string_view rest = line.substr(5);
            DataFile file;
            if (rest.size() < 18 || rest[16] != ' ' || !FromHex64(rest.substr(0, 16), file.Hash)) {
                throw ReplayLineError("a data file is 'file HASH NAME' with 16 hex digits");
            }
            file.Name = UnescapeText(rest.substr(17));
            if (!header.Data.empty() && !(header.Data.back().Name < file.Name)) {
                throw ReplayLineError("the data files are not sorted by name");
            }
            header.Data.push_back(std::move(file));
        }
    } catch (const ReplayLineError& error) {
        throw ReplayError(At(lines.Number(), error.what()));
    }
}

class FrameStreamReader {
public:
    explicit FrameStreamReader(Replay& replay) : replay_(replay) {}

    // Adds the record of one complete line; throws ReplayLineError.
    void Take(std::string_view line) {
        if (ended_) throw ReplayLineError("a record after the end record");
        if (line.size() > MaxReplayLine) throw ReplayLineError("a line longer than 1 MiB");
        ReplayRecord record = ParseRecord(line);
        switch (record.Kind) {
            case RecordKind::Set:
                try {
                    SetField(probe_, record.Text, record.Value);  // the field exists and takes this value
                } catch (const FieldError& error) {
                    throw ReplayLineError(error.what());
                }
                break;
            case RecordKind::Frames:
            case RecordKind::Skip:
                if (record.Count > MaxFrames - replay_.Frames) throw ReplayLineError("more frames than a recording holds");
                replay_.Frames += record.Count;
                break;
            case RecordKind::Check:
            case RecordKind::End:
                if (record.Count != replay_.Frames) {
                    throw ReplayLineError(std::string(record.Kind == RecordKind::Check ? "a checksum" : "the end") +
                                          " of frame " + std::to_string(record.Count) + ", but the recording is at frame " +
                                          std::to_string(replay_.Frames));
                }
                ended_ = record.Kind == RecordKind::End;
                break;
            default:
                break;
        }
        replay_.Records.push_back(std::move(record));
    }
    bool Ended() const { return ended_; }

private:
    static constexpr uint64_t MaxFrames = uint64_t{1} << 48;
    Replay& replay_;
    World probe_;
    bool ended_ = false;
};

}  // namespace

Replay ReadReplay(std::string_view text) {
    Lines lines(text);
    Replay replay;
    replay.Header = ReadHeader(lines);
    FrameStreamReader stream(replay);
    std::string_view line;
    bool complete = false;
    while (lines.Next(line, complete)) {
        if (!complete && !stream.Ended()) {
            replay.Ending = ReplayEnding::Truncated;
            replay.Problem = At(lines.Number(), "cut off in the middle of the line; the recording ends after frame " +
                                                    std::to_string(replay.Frames));
            return replay;
        }
        try {
            stream.Take(line);
        } catch (const ReplayLineError& error) {
            replay.Ending = ReplayEnding::Damaged;
            replay.Problem = At(lines.Number(), error.what());
            return replay;
        }
    }
    if (!stream.Ended()) {
        replay.Ending = ReplayEnding::Truncated;
        replay.Problem = "the recording stops after frame " + std::to_string(replay.Frames) + " (line " +
                         std::to_string(lines.Number()) + ") without its end record";
    }
    return replay;
}

Replay LoadReplay(const std::string& path) {
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) throw ReplayError("cannot read " + path);
    std::string text;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        if (text.size() + got > MaxReplayBytes) throw ReplayError(path + " is larger than 256 MiB: not a recording");
        text.append(chunk, got);
    }
    if (std::ferror(file.get())) throw ReplayError("cannot read " + path);
    return ReadReplay(text);
}

std::string IncompleteRecordingLine(const Replay& replay) {
    if (replay.Ending == ReplayEnding::Complete) return {};
    return std::string("the recording is ") + (replay.Ending == ReplayEnding::Truncated ? "truncated" : "damaged") +
           ": " + replay.Problem + "; playing its " + std::to_string(replay.Frames) + " frames";
}

}  // namespace kelvane
