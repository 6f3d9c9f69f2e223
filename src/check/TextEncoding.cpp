#include "check/TextEncoding.h"

#include <cstdio>
#include <vector>

#include "check/Naming.h"
#include "base/Windows1250.h"

namespace kelvane::check {
namespace {

bool IsAscii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string Hex(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

// The blank-separated words of a line that hold bytes beyond ASCII (at most three).
std::vector<std::string_view> WordsBeyondAscii(std::string_view line) {
    std::vector<std::string_view> words;
    size_t start = 0;
    while (start < line.size() && words.size() < 3) {
        size_t end = line.find_first_of(" \t", start);
        if (end == std::string_view::npos) end = line.size();
        const std::string_view word = line.substr(start, end - start);
        if (!IsAscii(word)) words.push_back(word);
        start = end + 1;
    }
    return words;
}

// "Šíp" as Windows-1250 bytes for the message; the characters it cannot hold are named.
std::string Meant(std::string_view utf8Word, bool& fits) {
    std::u32string characters;
    DecodeUtf8(utf8Word, characters);
    fits = true;
    for (const char32_t c : characters)
        if (UnicodeToWindows1250(c) == '?' && c != U'?') fits = false;
    std::string_view part = QuotedPart(utf8Word);
    // A cut inside a letter would leave half of its bytes.
    while (!part.empty() && part.size() < utf8Word.size() && (utf8Word[part.size()] & 0xC0) == 0x80)
        part.remove_suffix(1);
    return std::string("\"").append(part).append("\"").append(CutNote(utf8Word));
}

void ReportUtf8Line(std::string_view line, int number, const std::string& path, Report& report) {
    std::string shows, meant;
    bool allFit = true;
    for (const std::string_view word : WordsBeyondAscii(line)) {
        bool fits = true;
        shows += (shows.empty() ? "" : ", ") + Shown(word);
        meant += (meant.empty() ? "" : ", ") + Meant(word, fits);
        allFit = allFit && fits;
    }
    report.Warning(path, number,
                   "UTF-8 text: the game reads Windows-1250 and shows " + shows + " where " + meant + " was meant; " +
                       (allFit ? "save the file as Windows-1250"
                               : "Windows-1250 cannot hold every one of these letters, so choose others"));
}

// Control characters; in Windows-1250 text also the bytes the code page leaves unused
// (in UTF-8 text those are parts of letters, reported with them).
void ReportStrayBytes(std::string_view line, int number, bool utf8, const std::string& path, Report& report) {
    std::string stray;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        const bool control = byte < 0x20 && c != '\t' && c != '\r';
        // The five unused bytes read as control codes of the same value.
        const bool unused = !utf8 && byte >= 0x80 && byte < 0xA0 && Windows1250ToUnicode(byte) == byte;
        if ((control || unused) && stray.find(Hex(byte)) == std::string::npos)
            stray += (stray.empty() ? "" : ", ") + Hex(byte);
    }
    if (!stray.empty())
        report.Warning(path, number, "byte " + stray + " is no character of Windows-1250 (is the file text?)");
}

}  // namespace

bool CheckTextEncoding(std::string_view bytes, const std::string& path, Report& report) {
    const bool utf16Mark = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
    if (utf16Mark || bytes.find('\0') != std::string_view::npos) {
        report.Error(path, 0,
                     std::string(utf16Mark ? "UTF-16 text" : "the text holds NUL bytes (UTF-16 or not text at all)") +
                         ": the game reads 8-bit Windows-1250 text and finds nothing it knows in it; save the file "
                         "as Windows-1250");
        return false;
    }
    if (StartsWithUtf8ByteOrderMark(bytes))
        report.Warning(path, 1,
                       "the file starts with a UTF-8 byte-order mark: the game skips it, but reads the text as "
                       "Windows-1250; save the file as Windows-1250 without it");
    const std::string_view text = SkipUtf8ByteOrderMark(bytes);
    std::u32string ignored;
    const bool utf8 = !IsAscii(text) && DecodeUtf8(text, ignored);
    int number = 0;
    for (size_t start = 0; start < text.size();) {
        ++number;
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (utf8 && !IsAscii(line)) ReportUtf8Line(line, number, path, report);
        ReportStrayBytes(line, number, utf8, path, report);
    }
    return true;
}

}  // namespace kelvane::check
