#include "game/Overlays.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "console/WriteText.h"
#include "media/Canvas.h"

namespace kelvane {
namespace {

constexpr uint32_t TextColor = 0xF2DCC6;     // the status display's label colour
constexpr uint32_t AccentColor = 0x0099FF;   // orange: commands and keys to press
constexpr uint32_t HeadingColor = 0xF0A8A4;  // the ship list's own-ship colour
constexpr uint32_t FrameColor = 0xC67E7A;    // the map's frame
constexpr uint32_t DimColor = 0xA89888;

// Darkens the box (to an eighth, or with shift 4 to a sixteenth) so text on it reads over
// any scene, and frames it.
void Panel(Surface& surface, int32_t left, int32_t top, int32_t right, int32_t bottom, int shift = 3) {
    const uint32_t keep = (0xFFu >> shift) * 0x010101u;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, surface.Width());
    bottom = std::min(bottom, surface.Height());
    for (int32_t y = top; y < bottom; ++y) {
        uint32_t* row = surface.Row(y);
        for (int32_t x = left; x < right; ++x) row[x] = (row[x] >> shift) & keep;
    }
    Canvas& canvas = surface.GetCanvas();
    canvas.Pen.Color = FrameColor;
    canvas.Brush.Style = BrushStyle::Clear;
    canvas.Rectangle(left, top, right, bottom);
    canvas.Brush.Style = BrushStyle::Solid;
    surface.ReleaseCanvas();
}

int32_t Width(Surface& surface, std::string_view text, uint8_t size, FontStyle style = FontStyle()) {
    Canvas& canvas = surface.GetCanvas();
    canvas.Font.Face = "Verdana";
    canvas.Font.SizePoints = size;
    canvas.Font.Bold = style.Has(FontStyle::Bold);
    canvas.Font.Italic = canvas.Font.Underline = canvas.Font.StrikeOut = false;
    const int32_t width = canvas.TextWidth(text);
    surface.ReleaseCanvas();
    return width;
}

// Pieces of one line in their colours, drawn one after another.
struct Piece {
    std::string_view Text;
    uint32_t Color;
};

// The pieces of a line whose parts in braces are orange ("Press {F1} for help"): a
// translation keeps its words in its own order and marks the keys and commands itself.
std::vector<Piece> MarkedPieces(std::string_view text, uint32_t color) {
    std::vector<Piece> pieces;
    bool marked = false;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '{' && text[i] != '}') continue;
        if (i > start) pieces.push_back({text.substr(start, i - start), marked ? AccentColor : color});
        if (i < text.size()) marked = text[i] == '{';
        start = i + 1;
    }
    return pieces;
}

int32_t PiecesWidth(Surface& surface, const std::vector<Piece>& pieces, uint8_t size) {
    int32_t width = 0;
    for (const Piece& piece : pieces) width += Width(surface, piece.Text, size);
    return width;
}

void DrawPieces(Surface& surface, int32_t x, int32_t y, const std::vector<Piece>& pieces, uint8_t size) {
    for (const Piece& piece : pieces) {
        WriteText(surface, x, y, piece.Text, piece.Color, FontStyle(), size);
        x += Width(surface, piece.Text, size);
    }
}

void CentredMarkedLine(Surface& surface, int32_t y, std::string_view text, uint32_t color, uint8_t size) {
    const std::vector<Piece> pieces = MarkedPieces(text, color);
    DrawPieces(surface, (surface.Width() - PiecesWidth(surface, pieces, size)) / 2, y, pieces, size);
}

}  // namespace

bool FirstHintShown(const World& world) {
    return !world.ConsoleOpen && world.ControlledShip == 0 && world.ShipCount == 0;
}

void DrawFirstHint(Surface& back, const Language& texts) {
    constexpr uint8_t Size = 10;
    constexpr int32_t Top = 300;
    Panel(back, 262, Top, 762, Top + 76);
    CentredMarkedLine(back, Top + 12, texts.Translate("Press {the key left of 1} to open the console,"), TextColor,
                      Size);
    CentredMarkedLine(back, Top + 32, texts.Translate("type {EXEC battle} and press {Enter}."), TextColor, Size);
    CentredMarkedLine(back, Top + 52, texts.Translate("{F1} shows every key."), DimColor, 8);
}

namespace {

// One table of the help: three columns, a heading row, then the rows; the column in
// orange is the one the player presses or types.
struct HelpRow {
    std::string_view First;
    std::string_view Second;
    std::string_view Action;
};
constexpr uint8_t HelpSize = 9;
constexpr int32_t HelpRowHeight = 17;

// Every cell in the language: words the catalogues know are translated, names of keys and
// examples stay as they are.
int32_t HelpTable(Surface& picture, const Language& texts, int32_t x, int32_t y, const HelpRow& heading,
                  std::span<const HelpRow> rows, int accentColumn) {
    const int32_t columns[] = {x, x + 180, x + 380};
    const std::string_view headings[] = {heading.First, heading.Second, heading.Action};
    for (int c = 0; c < 3; ++c)
        WriteText(picture, columns[c], y, texts.Translate(headings[c]), DimColor, FontStyle::Bold, HelpSize);
    y += HelpRowHeight + 2;
    for (const HelpRow& row : rows) {
        const std::string_view cells[] = {row.First, row.Second, row.Action};
        for (int c = 0; c < 3; ++c) {
            WriteText(picture, columns[c], y, texts.Translate(cells[c]), c == accentColumn ? AccentColor : TextColor,
                      FontStyle(), HelpSize);
        }
        y += HelpRowHeight;
    }
    return y;
}

// The keys that are the desktop's, not the player's actions: never rebound.
constexpr HelpRow DesktopKeys[] = {
    {"Esc", "Start", Translatable("pause and resume (closes an open console)")},
    {Translatable("the key left of 1"), "", Translatable("open or close the console")},
    {Translatable("F11 or Alt+Enter"), "", Translatable("full screen or window")},
    {"F12", "", Translatable("save a screenshot")},
    {"F1", "", Translatable("show or hide this help")},
};
constexpr HelpRow Commands[] = {
    {Translatable("CREATESHIP name"), "CREATESHIP Vigil", Translatable("put a ship in play; the first is yours")},
    {Translatable("DELETESHIP name"), "DELETESHIP Kestrel", Translatable("take a ship out of play")},
    {Translatable("YOURSHIP name"), "YOURSHIP Talon", Translatable("fly another ship in play")},
    {Translatable("EXEC script"), "EXEC battle", Translatable("run a script: battle, duel, trio")},
    {Translatable("QUIT or EXIT"), "QUIT", Translatable("end the game")},
};

std::string Listed(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
    return list;
}

}  // namespace

void DrawHelpOverlay(Surface& picture, const ActionKeyNames& keys, const Language& texts,
                     const std::vector<std::string>& languages) {
    std::array<std::string, PlayerActionCount> pads;
    std::vector<HelpRow> rows;
    for (size_t i = 0; i < PlayerActionCount; ++i) {
        pads[i] = PadWords(PlayerActions[i], texts);
        rows.push_back({keys[i], pads[i], PlayerActions[i].Words});
    }
    rows.insert(rows.end(), std::begin(DesktopKeys), std::end(DesktopKeys));

    constexpr int32_t Left = 132, Right = 892, Top = 112, TextX = Left + 24;
    const int32_t bottom = Top + 96 + HelpRowHeight * static_cast<int32_t>(rows.size() + std::size(Commands) + 2);
    // Darker than the other boxes: a whole page of text over the busiest scene.
    Panel(picture, Left, Top, Right, bottom, 4);

    int32_t y = Top + 14;
    WriteText(picture, TextX, y, texts.Translate("Kelvane \x97 keys and commands"), HeadingColor, FontStyle::Bold, 12);
    const std::string_view closes = texts.Translate("F1 closes this help");
    WriteText(picture, Right - 24 - Width(picture, closes, 8), y + 4, closes, DimColor, FontStyle(), 8);
    y = HelpTable(picture, texts, TextX, y + 30,
                  {Translatable("Key"), Translatable("Pad"), Translatable("What it does")}, rows, 0);
    y = HelpTable(picture, texts, TextX, y + 12,
                  {Translatable("Console command"), Translatable("Example"), Translatable("What it does")}, Commands,
                  1);
    // How to read the game in another language.
    WriteText(picture, TextX, y + 10,
              texts.Format("Language: %1$s. To switch, put Language= in settings.ini or start with --language, "
                           "followed by one of: %2$s.",
                           {texts.Name(), Listed(languages)}),
              DimColor, FontStyle(), 8);
}

void DrawReplayMark(Surface& picture, uint64_t frame, uint64_t frames, const Language& texts) {
    constexpr uint8_t Size = 8;
    const std::string text =
        texts.Format("{REPLAY}  frame %1$s of %2$s", {std::to_string(frame), std::to_string(frames)});
    const std::vector<Piece> pieces = MarkedPieces(text, TextColor);
    const int32_t width = PiecesWidth(picture, pieces, Size) + 20;
    const int32_t left = (picture.Width() - width) / 2;
    Panel(picture, left, ReplayMarkTop, left + width, ReplayMarkTop + 20);
    DrawPieces(picture, left + 10, ReplayMarkTop + 4, pieces, Size);
}

void DrawNoticeOverlay(Surface& picture, std::string_view text, std::string_view detail, int32_t top) {
    constexpr uint8_t Size = 9, DetailSize = 8;
    const int32_t width = std::max(Width(picture, text, Size), Width(picture, detail, DetailSize)) + 32;
    const int32_t left = std::max(0, (picture.Width() - width) / 2);
    Panel(picture, left, top, left + width, top + (detail.empty() ? 30 : 46));
    WriteText(picture, left + 16, top + 8, text, TextColor, FontStyle(), Size);
    if (!detail.empty()) WriteText(picture, left + 16, top + 26, detail, DimColor, FontStyle(), DetailSize);
}

}  // namespace kelvane
