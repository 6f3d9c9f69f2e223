#include "replay/ReplayFormat.h"

#include <charconv>
#include <optional>
#include <limits>

#include "base/Hash64.h"

namespace kelvane {
namespace {

constexpr char HexDigits[] = "0123456789abcdef";

// Splits the next word (up to a blank or the end) off the front of `rest`.
std::string_view NextWord(std::string_view& rest) {
    const size_t blank = rest.find(' ');
    const std::string_view word = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    return word;
}

std::string_view Word(std::string_view& rest, const char* what) {
    if (rest.empty()) throw ReplayLineError(std::string("missing ") + what);
    return NextWord(rest);
}

void NoMore(std::string_view rest) {
    if (!rest.empty()) throw ReplayLineError("unexpected text at the end: '" + std::string(rest.substr(0, 40)) + "'");
}

int64_t ParseSigned(std::string_view text, int64_t low, int64_t high, const char* what) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        throw ReplayLineError(std::string(what) + " must be a whole number from " + std::to_string(low) + " to " +
                              std::to_string(high) + ", not '" + std::string(text.substr(0, 40)) + "'");
    }
    return value;
}

uint64_t ParseChecksum(std::string_view text) {
    uint64_t value = 0;
    if (!FromHex64(text, value)) throw ReplayLineError("a checksum must be 16 hex digits (0-9, a-f)");
    return value;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A record ending in a text; an empty text leaves no blank at the end of the line.
std::string WithText(std::string head, std::string_view bytes) {
    if (bytes.empty()) return head;
    return head + " " + EscapeText(bytes);
}

std::string FormatReal(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);  // shortest, exact round trip
    return std::string(buffer, result.ptr);
}

double ParseReal(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        throw ReplayLineError("a real value must be a decimal number, not '" + std::string(text.substr(0, 40)) + "'");
    }
    return value;
}

// "Ships[3].Hull", "ViewX": letters, digits, dots and brackets only.
std::string_view FieldPath(std::string_view& rest) {
    const std::string_view path = Word(rest, "field name");
    if (path.empty()) throw ReplayLineError("missing field name");
    for (char c : path) {
        const bool fine = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
                          c == '[' || c == ']';
        if (!fine) throw ReplayLineError("a field name holds only letters, digits, '.', '[' and ']'");
    }
    return path;
}

}  // namespace

uint64_t ParseCount(std::string_view text, uint64_t limit, const char* what) {
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > limit) {
        throw ReplayLineError(std::string(what) + " must be a whole number up to " + std::to_string(limit) +
                              ", not '" + std::string(text.substr(0, 40)) + "'");
    }
    return value;
}

std::string EscapeText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const bool lastBlank = byte == ' ' && i + 1 == bytes.size();  // editors drop trailing blanks
        if (byte == '\\') {
            text += "\\\\";
        } else if (byte >= 0x20 && byte <= 0x7E && !lastBlank) {
            text += static_cast<char>(byte);
        } else {
            text += "\\x";
            text += HexDigits[byte >> 4];
            text += HexDigits[byte & 15];
        }
    }
    return text;
}

std::string UnescapeText(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c > 0x7E) {
            throw ReplayLineError("a raw byte " + std::to_string(c) + " in a text; write it as \\xHH");
        }
        if (c != '\\') {
            bytes += static_cast<char>(c);
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\\') {
            bytes += '\\';
            i += 1;
        } else if (i + 3 < text.size() && text[i + 1] == 'x' && HexValue(text[i + 2]) >= 0 &&
                   HexValue(text[i + 3]) >= 0) {
            bytes += static_cast<char>(HexValue(text[i + 2]) * 16 + HexValue(text[i + 3]));
            i += 3;
        } else {
            throw ReplayLineError("a bad escape in a text: only \\\\ and \\xHH are known");
        }
    }
    return bytes;
}

std::string FormatPilotLines(const PilotSeats& pilots) {
    if (const std::optional<Pilot> everyone = pilots.Everyone())
        return *everyone == Pilot::Classic ? std::string() : "pilot " + std::string(PilotName(*everyone)) + "\n";
    std::string text;
    for (const Pilot pilot : Pilots) {
        if (pilot == Pilot::Classic) continue;
        std::string slots;
        for (int s = 1; s <= MaxShips; ++s) {
            if (pilots.Of(s) != pilot) continue;
            slots += ' ';
            slots += std::to_string(s);
        }
        if (!slots.empty()) text += "pilot " + std::string(PilotName(pilot)) + slots + "\n";
    }
    return text;
}

void ParsePilotLine(std::string_view line, PilotSeats& pilots) {
    std::string_view rest = line;
    if (NextWord(rest) != "pilot") throw ReplayLineError("expected a pilot line");
    const std::string_view name = Word(rest, "pilot");
    const std::optional<Pilot> pilot = FindPilot(name);
    if (!pilot) {
        throw ReplayLineError("the recording's ships are flown by the pilot '" + EscapeText(name.substr(0, 40)) +
                              "', which this game does not know (it knows " + PilotChoices() + ")");
    }
    if (rest.empty()) {
        pilots = PilotSeats(*pilot);
        return;
    }
    while (!rest.empty()) pilots.Seat(static_cast<int>(ParseSigned(NextWord(rest), 1, MaxShips, "a ship slot")), *pilot);
}

std::string FormatHeader(const ReplayHeader& header) {
    std::string text = std::string(ReplayMagic) + " " + std::to_string(ReplayVersion) + "\n";
    text += "seed " + std::to_string(header.Seed) + "\n";
    text += FormatPilotLines(header.Pilots);
    for (const DataFile& file : header.Data) text += "file " + ToHex64(file.Hash) + " " + EscapeText(file.Name) + "\n";
    text += "start\n";
    return text;
}

std::string FormatRecord(const ReplayRecord& record) {
    switch (record.Kind) {
        case RecordKind::Key:
            return "key " + std::to_string(record.Key) + " " + std::to_string(record.Shift);
        case RecordKind::Mouse:
            return "mouse " + std::to_string(record.Button);
        case RecordKind::Command:
            return WithText("command", record.Text);
        case RecordKind::Set: {
            std::string line = "set " + record.Text;
            if (const auto* integer = std::get_if<int64_t>(&record.Value)) return line + " int " + std::to_string(*integer);
            if (const auto* real = std::get_if<double>(&record.Value)) return line + " real " + FormatReal(*real);
            return WithText(line + " text", std::get<std::string>(record.Value));
        }
        case RecordKind::Player:
            return "player " + std::to_string(record.Seat);
        case RecordKind::Join:
            return WithText("join " + std::to_string(record.Seat), record.Text);
        case RecordKind::Leave:
            return "leave " + std::to_string(record.Seat);
        case RecordKind::Pointer:
            return "pointer " + std::to_string(record.X) + " " + std::to_string(record.Y);
        case RecordKind::Frames:
            return "frames " + std::to_string(record.Count);
        case RecordKind::Skip:
            return "skip " + std::to_string(record.Count);
        case RecordKind::Check:
            return "check " + std::to_string(record.Count) + " " + ToHex64(record.Checksum);
        case RecordKind::End:
            return "end " + std::to_string(record.Count) + " " + ToHex64(record.Checksum);
    }
    return {};
}

ReplayRecord ParseRecord(std::string_view line) {
    std::string_view rest = line;
    const std::string_view name = NextWord(rest);
    ReplayRecord record;
    // Texts run to the end of the line; an empty one may lose its separating blank.
    if (name == "command") {
        record.Kind = RecordKind::Command;
        record.Text = UnescapeText(rest);
        return record;
    }
    if (name == "key") {
        record.Kind = RecordKind::Key;
        record.Key = static_cast<uint16_t>(ParseSigned(Word(rest, "key code"), 0, 0xFFFF, "a key code"));
        record.Shift = static_cast<ShiftState>(ParseSigned(Word(rest, "modifier set"), 0, 0xFF, "a modifier set"));
    } else if (name == "mouse") {
        record.Kind = RecordKind::Mouse;
        record.Button = static_cast<uint8_t>(ParseSigned(Word(rest, "button"), 0, 2, "a mouse button"));
    } else if (name == "set") {
        record.Kind = RecordKind::Set;
        record.Text = std::string(FieldPath(rest));
        const std::string_view type = Word(rest, "value type");
        if (type == "text") {
            record.Value = UnescapeText(rest);
            return record;
        }
        const std::string_view value = Word(rest, "value");
        if (type == "int") {
            record.Value = ParseSigned(value, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(),
                                       "an int value");
        } else if (type == "real") {
            record.Value = ParseReal(value);
        } else {
            throw ReplayLineError("a value type is int, real or text, not '" + std::string(type.substr(0, 40)) + "'");
        }
    } else if (name == "player") {
        record.Kind = RecordKind::Player;
        record.Seat = static_cast<uint8_t>(ParseSigned(Word(rest, "seat"), 0, MaxSeats, "a seat"));
    } else if (name == "leave") {
        record.Kind = RecordKind::Leave;
        record.Seat = static_cast<uint8_t>(ParseSigned(Word(rest, "seat"), 1, MaxSeats, "a seat"));
    } else if (name == "join") {
        record.Kind = RecordKind::Join;
        record.Seat = static_cast<uint8_t>(ParseSigned(Word(rest, "seat"), 1, MaxSeats, "a seat"));
        record.Text = UnescapeText(rest);
        return record;
    } else if (name == "pointer") {
        record.Kind = RecordKind::Pointer;
        constexpr int64_t low = std::numeric_limits<int32_t>::min(), high = std::numeric_limits<int32_t>::max();
        record.X = static_cast<int32_t>(ParseSigned(Word(rest, "x"), low, high, "a pointer x"));
        record.Y = static_cast<int32_t>(ParseSigned(Word(rest, "y"), low, high, "a pointer y"));
    } else if (name == "frames" || name == "skip") {
        record.Kind = name == "frames" ? RecordKind::Frames : RecordKind::Skip;
        // The writer ends every run at the next checksum, so no run is longer than their interval.
        record.Count = ParseCount(Word(rest, "tick count"), ChecksumInterval, "a tick count");
        if (record.Count == 0) throw ReplayLineError("a tick count must be at least 1");
    } else if (name == "check" || name == "end") {
        record.Kind = name == "check" ? RecordKind::Check : RecordKind::End;
        record.Count = ParseCount(Word(rest, "frame"), std::numeric_limits<uint64_t>::max(), "a frame");
        record.Checksum = ParseChecksum(Word(rest, "checksum"));
    } else {
        throw ReplayLineError("unknown record '" + std::string(name.substr(0, 40)) + "'");
    }
    NoMore(rest);
    return record;
}

}  // namespace kelvane
