// The checker on arbitrary files: the input is a ship definition, then (after a line
// "#SCRIPT#") a script, then (after a line "#PICTURE#") the definition's picture; without
// a picture part a good picture is used, so the fuzzer reaches the definition and script
// rules without having to find a BMP file first. Whatever the files hold, the checker
// must finish with findings that name a file and a line within it.

#include <algorithm>
#include <string>

#include "FuzzSupport.h"
#include "check/Checker.h"
#include "media/Dib.h"

namespace kelvane::fuzz {

namespace {

constexpr std::string_view ScriptMark = "\n#SCRIPT#\n";
constexpr std::string_view PictureMark = "\n#PICTURE#\n";
constexpr std::string_view WispDefinition =
    "[OverallInfo]\nShipName=Wisp\nFullShipName=Wisp\n[StrengthIndices]\nHull=10\n";
constexpr std::string_view DuelScript = "CREATESHIP Wisp\nEXEC fuzz\n";

// Three patterns of 30 x 30: nothing drawn, a hit mask in its corner.
const std::string& GoodPicture() {
    static const std::string bytes = [] {
        Bitmap picture;
        picture.Resize(90, 30, 0x00FF00);
        for (int y = 2; y < 14; ++y)
            for (int x = 32; x < 45; ++x) picture.At(x, y) = 0xFF00FF;
        const std::vector<uint8_t> bmp = EncodeBmpFile(picture);
        return std::string(bmp.begin(), bmp.end());
    }();
    return bytes;
}

// A game folder of our own, made once per process and removed at its end, with a second
// ship type and script for names and EXEC to find.
const FuzzFolder& Folder() {
    static const FuzzFolder folder("kelvane-fuzz-check");
    static const bool written = [] {
        folder.Write("Data/Ships/Wisp.ini", WispDefinition);
        folder.Write("Data/Ships/Wisp.bmp", GoodPicture());
        folder.Write("Scripts/duel", DuelScript);
        return true;
    }();
    static_cast<void>(written);
    return folder;
}

// The part before `mark` (all of `text` without one); `text` keeps what follows.
std::string_view TakeUntil(std::string_view& text, std::string_view mark) {
    const size_t at = text.find(mark);
    const std::string_view part = text.substr(0, at);
    text = at == std::string_view::npos ? std::string_view() : text.substr(at + mark.size());
    return part;
}

int Lines(std::string_view text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1; }

}  // namespace

void FuzzCheck(const uint8_t* data, size_t size) {
    const FuzzFolder& folder = Folder();
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view definition = TakeUntil(rest, ScriptMark);
    const std::string_view script = TakeUntil(rest, PictureMark);
    const bool ownPicture = !rest.empty();
    folder.Write("Data/Ships/Fuzz.ini", definition);
    folder.Write("Scripts/fuzz", script);
    folder.Write("Data/Ships/Fuzz.bmp", ownPicture ? rest : std::string_view(GoodPicture()));

    const check::Report report = check::CheckGameData({folder.GameDir(), "", nullptr});
    Check(report.Definitions == 2 && report.Scripts == 2, "not every file was checked");
    Check(report.Status() == (report.Count(check::Severity::Error) > 0 ? ExitStatus::Failure : ExitStatus::Success), "exit status beside the errors");
    for (const check::Finding& finding : report.Findings()) {
        Check(!finding.Message.empty(), "a finding without a message");
        Check(finding.Path.starts_with(folder.GameDir()), "a finding about a file outside the game folder");
        int limit = 0;  // pictures and folders: the whole file
        if (finding.Path.ends_with("Fuzz.ini"))
            limit = Lines(definition);
        else if (finding.Path.ends_with("Wisp.ini"))
            limit = Lines(WispDefinition);
        else if (finding.Path.ends_with("Scripts/fuzz"))
            limit = Lines(script);
        else if (finding.Path.ends_with("Scripts/duel"))
            limit = Lines(DuelScript);
        Check(finding.Line >= 0 && finding.Line <= limit, "a finding on a line the file does not have");
    }
}

}  // namespace kelvane::fuzz
