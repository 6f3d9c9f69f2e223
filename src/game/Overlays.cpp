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

int32_t LineWidth(Surface& surface, std::initializer_list<Piece> pieces, uint8_t size) {
    int32_t width = 0;
    for (const Piece& piece : pieces) width += Width(surface, piece.Text, size);
    return width;
}

void Line(Surface& surface, int32_t x, int32_t y, std::initializer_list<Piece> pieces, uint8_t size) {
    for (const Piece& piece : pieces) {
        WriteText(surface, x, y, piece.Text, piece.Color, FontStyle(), size);
        x += Width(surface, piece.Text, size);
    }
}

void CentredLine(Surface& surface, int32_t y, std::initializer_list<Piece> pieces, uint8_t size) {
    Line(surface, (surface.Width() - LineWidth(surface, pieces, size)) / 2, y, pieces, size);
}

}  // namespace

bool FirstHintShown(const World& world) {
    return !world.ConsoleOpen && world.ControlledShip == 0 && world.ShipCount == 0;
}

void DrawFirstHint(Surface& back) {
    constexpr uint8_t Size = 10;
    constexpr int32_t Top = 300;
    Panel(back, 262, Top, 762, Top + 76);
    CentredLine(back, Top + 12,
                {{"Press ", TextColor}, {"the key left of 1", AccentColor}, {" to open the console,", TextColor}},
                Size);
    CentredLine(back, Top + 32,
                {{"type ", TextColor}, {"EXEC battle", AccentColor}, {" and press ", TextColor},
                 {"Enter", AccentColor}, {".", TextColor}},
                Size);
    CentredLine(back, Top + 52, {{"F1", AccentColor}, {" shows every key.", DimColor}}, 8);
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

int32_t HelpTable(Surface& picture, int32_t x, int32_t y, const HelpRow& heading, std::span<const HelpRow> rows,
                  int accentColumn) {
    const int32_t columns[] = {x, x + 180, x + 380};
    const std::string_view headings[] = {heading.First, heading.Second, heading.Action};
    for (int c = 0; c < 3; ++c) WriteText(picture, columns[c], y, headings[c], DimColor, FontStyle::Bold, HelpSize);
    y += HelpRowHeight + 2;
    for (const HelpRow& row : rows) {
        const std::string_view cells[] = {row.First, row.Second, row.Action};
        for (int c = 0; c < 3; ++c) {
            WriteText(picture, columns[c], y, cells[c], c == accentColumn ? AccentColor : TextColor, FontStyle(),
                      HelpSize);
        }
        y += HelpRowHeight;
    }
    return y;
}

// The keys that are the desktop's, not the player's actions: never rebound.
constexpr HelpRow DesktopKeys[] = {
    {"Esc", "Start", "pause and resume (closes an open console)"},
    {"the key left of 1", "", "open or close the console"},
    {"F11 or Alt+Enter", "", "full screen or window"},
    {"F12", "", "save a screenshot"},
    {"F1", "", "show or hide this help"},
};
constexpr HelpRow Commands[] = {
    {"CREATESHIP name", "CREATESHIP Vigil", "put a ship in play; the first is yours"},
    {"DELETESHIP name", "DELETESHIP Kestrel", "take a ship out of play"},
    {"YOURSHIP name", "YOURSHIP Talon", "fly another ship in play"},
    {"EXEC script", "EXEC battle", "run a script: battle, duel, trio"},
    {"QUIT or EXIT", "QUIT", "end the game"},
};

}  // namespace

void DrawHelpOverlay(Surface& picture, const ActionKeyNames& keys) {
    std::array<std::string, PlayerActionCount> pads;
    std::vector<HelpRow> rows;
    for (size_t i = 0; i < PlayerActionCount; ++i) {
        pads[i] = PadWords(PlayerActions[i]);
        rows.push_back({keys[i], pads[i], PlayerActions[i].Words});
    }
    rows.insert(rows.end(), std::begin(DesktopKeys), std::end(DesktopKeys));

    constexpr int32_t Left = 132, Right = 892, Top = 112, TextX = Left + 24;
    const int32_t bottom = Top + 76 + HelpRowHeight * static_cast<int32_t>(rows.size() + std::size(Commands) + 2);
    // Darker than the other boxes: a whole page of text over the busiest scene.
    Panel(picture, Left, Top, Right, bottom, 4);

    int32_t y = Top + 14;
    WriteText(picture, TextX, y, "Kelvane \x97 keys and commands", HeadingColor, FontStyle::Bold, 12);
    WriteText(picture, Right - 24 - Width(picture, "F1 closes this help", 8), y + 4, "F1 closes this help", DimColor,
              FontStyle(), 8);
    y = HelpTable(picture, TextX, y + 30, {"Key", "Pad", "What it does"}, rows, 0);
    HelpTable(picture, TextX, y + 12, {"Console command", "Example", "What it does"}, Commands, 1);
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
