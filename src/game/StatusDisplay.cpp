// The status display on top of the scene: the own ship's and its target's panels, the
// list of ships in play with their scores, the map, the respawn countdown, the pause
// picture and the diagnostic figures. Panel texts are Czech (Windows-1250 bytes) in the
// original language, and whatever the player reads the game in otherwise.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "console/WriteText.h"
#include "game/FramePicture.h"
#include "game/StatusDisplay.h"
#include "media/Canvas.h"
#include "base/Rounding.h"
#include "world/ArchiveItems.h"
#include "world/PlayerSeats.h"

namespace kelvane {
namespace {

constexpr uint32_t LabelColor = 0xF2DCC6;
constexpr uint32_t ControlledRowColor = 0xF0A8A4;
constexpr uint32_t ShieldsFrameColor = 0xC77BAD;
constexpr uint32_t ShieldsFillColor = 0x8C3C71;
constexpr uint32_t HullFrameColor = 0xC67E7A;
constexpr uint32_t HullFillColor = 0x8C423C;
constexpr uint32_t MapBackgroundColor = 0x111111;
constexpr uint32_t ViewPenColor = 0x303030;
constexpr uint32_t ViewBrushColor = 0x101010;
constexpr uint32_t MapControlledColor = 0x0099FF;
constexpr uint32_t MapTargetColor = 0x0033FF;
constexpr uint32_t DiagnosticColor = 0xFFFFFF;
constexpr uint8_t TextSize = StatusTextSize;
// The map's inside, and the height a name on it takes.
constexpr int32_t MapLeft = 845;
constexpr int32_t MapTop = 523;
constexpr int32_t MapRight = 997;
constexpr int32_t MapBottom = 637;
constexpr int32_t MapNameHeight = 11;

const char* const ShieldsLabel = Translatable("\x8At\xEDty:");  // "Štíty:"
const char* const HullLabel = Translatable("Trup:");
const char* const PrimaryReady = Translatable("Prim\xE1rn\xED zbra\xF2 je nabita.");
const char* const PrimaryLoading = Translatable("Prim\xE1rn\xED zbra\xF2 bude nabita za: %s sec");
const char* const SecondaryReady = Translatable("Sekund\xE1rn\xED zbra\xF2 je nabita.");
const char* const SecondaryLoading = Translatable("Sekund\xE1rn\xED zbra\xF2 bude nabita za: %s sec");

// Before the frame rate is first measured, seconds are counted at the nominal 25.
int64_t FramesPerSecond(int32_t frameRate) { return frameRate > 0 ? frameRate : 25; }

void Box(Canvas& canvas, uint32_t pen, uint32_t brush, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    canvas.Pen.Color = pen;
    canvas.Brush.Color = brush;
    canvas.Rectangle(x1, y1, x2, y2);
}

}  // namespace

// The conversions below take integers, so they are done exactly on the ratio: a bar of
// 29 / 280 is 14.5 px, which a double makes 14.500000000000002, and halves go to the even
// neighbour like every other rounding of the game.

// Fill width of a bar: max(0, value) / maximum x 140, rounded; a bar without a maximum
// stays empty.
int32_t StatusBarWidth(int32_t value, int32_t maximum) {
    return RoundEvenRatio(int64_t{std::max(0, value)} * 140, maximum);
}

// World point to map point.
void StatusMapPoint(int32_t x, int32_t y, int32_t& mapX, int32_t& mapY) {
    mapX = 845 + RoundEvenRatio(int64_t{x} * 152, 2047);
    mapY = 523 + RoundEvenRatio(int64_t{y} * 114, 1535);
}

// Whole seconds shown by the countdown digits: (1000 / FrameRate) x frames / 1000,
// truncated toward zero.
int32_t RespawnDigit(int32_t respawnTimer, int32_t frameRate) {
    return Saturate(respawnTimer / FramesPerSecond(frameRate));
}

// Seconds with one decimal: (1000 / FrameRate) x frames / 1000, the tenths rounded with
// halves to even. A negative count keeps its sign, also where its tenths round to 0.
std::string ReloadText(const Language& texts, const char* ready, const char* loading, int32_t reload,
                       int32_t frameRate) {
    if (reload == 0) return std::string(texts.Translate(ready));
    const int32_t tenths = RoundEvenRatio(int64_t{reload} * 10, FramesPerSecond(frameRate));
    const int64_t size = tenths < 0 ? -int64_t{tenths} : tenths;
    std::string seconds(reload < 0 ? "-" : "");
    seconds += std::to_string(size / 10) + "." + std::to_string(size % 10);
    return texts.Format(loading, {seconds});
}

void FramePicture::DrawBars(int32_t frameX, const TShip& ship) {
    Surface& back = tools_.Back;
    Canvas& canvas = back.GetCanvas();
    Box(canvas, ShieldsFrameColor, 0, frameX, 33, frameX + 142, 44);
    Box(canvas, ShieldsFillColor, ShieldsFillColor, frameX + 1, 34, frameX + 1 + StatusBarWidth(ship.Shields, ship.MaxShields),
        43);
    Box(canvas, HullFrameColor, 0, frameX, 46, frameX + 142, 57);
    Box(canvas, HullFillColor, HullFillColor, frameX + 1, 47, frameX + 1 + StatusBarWidth(ship.Hull, ship.MaxHull), 56);
    back.ReleaseCanvas();
}

void FramePicture::DrawStatusPanels() {
    Record("DrawStatusPanels");
    if (world_.ShipCount == 0) return;
    Surface& back = tools_.Back;
    const TShip& ship = world_.Controlled();
    const TShip& target = world_.Ships[ship.Target];

    const Language& texts = Texts();
    const std::string_view shields = texts.Translate(ShieldsLabel);
    const std::string_view hull = texts.Translate(HullLabel);
    tools_.Images.Item(Gfx::OwnShipPanel).Draw(back, 5, 5, 0);
    WriteText(back, 23, 32, shields, LabelColor, FontStyle(), TextSize);
    WriteText(back, 23, 45, hull, LabelColor, FontStyle(), TextSize);
    DrawBars(65, ship);
    WriteText(back, 23, 58, ReloadText(texts, PrimaryReady, PrimaryLoading, ship.PrimaryReload, tools_.FrameRate),
              LabelColor, FontStyle(), TextSize);
    WriteText(back, 23, 71, ReloadText(texts, SecondaryReady, SecondaryLoading, ship.SecondaryReload, tools_.FrameRate),
              LabelColor, FontStyle(), TextSize);

    tools_.Images.Item(Gfx::TargetPanel).Draw(back, 812, 5, 0);
    WriteText(back, 814, 32, shields, LabelColor, FontStyle(), TextSize);
    WriteText(back, 814, 45, hull, LabelColor, FontStyle(), TextSize);
    DrawBars(856, target);

    DrawShipListAndMap();
}

void FramePicture::DrawShipListAndMap() {
    Surface& back = tools_.Back;
    tools_.Images.Item(Gfx::ShipListPanel).Draw(back, 842, 494, 0);
    int row = 0;
    for (int i = 1; i <= MaxShips; ++i) {
        const TShip& ship = world_.Ships[i];
        if (!ship.InPlay) continue;
        const uint32_t color = i == world_.ControlledShip ? ControlledRowColor : LabelColor;
        const int32_t y = 670 + 11 * row;
        // A person's ship goes by the person's name.
        const std::string* person = PersonFlying(i);
        WriteText(back, ShipListNameX, y, person ? *person : ship.ShipName, color, FontStyle(), TextSize);
        const std::string score = std::to_string(ship.Score);
        // Measured in the font WriteText sets, so the score ends at ShipListScoreRight.
        WriteText(back, ShipListScoreRight - TextWidth(score), y, score, color, FontStyle(), TextSize);
        ++row;
    }

    Canvas& canvas = back.GetCanvas();
    Box(canvas, MapBackgroundColor, MapBackgroundColor, 845, 523, 997, 637);
    int32_t left, top, right, bottom;
    StatusMapPoint(view_.X, view_.Y, left, top);
    StatusMapPoint(view_.X + 1023, view_.Y + 767, right, bottom);
    Box(canvas, ViewPenColor, ViewBrushColor, left, top, right, bottom);
    canvas.Pen.Color = HullFrameColor;
    canvas.Brush.Style = BrushStyle::Clear;
    canvas.Rectangle(844, 522, 998, 638);
    canvas.Brush.Style = BrushStyle::Solid;
    const int targetSlot = world_.Controlled().Target;
    for (int i = 1; i <= MaxShips; ++i) {
        const TShip& ship = world_.Ships[i];
        if (!ship.InPlay || ship.Dead) continue;
        uint32_t color = LabelColor;
        if (i == world_.ControlledShip) color = MapControlledColor;
        if (i == targetSlot) color = MapTargetColor;
        int32_t x, y;
        StatusMapPoint(ship.X, ship.Y, x, y);
        canvas.SetPixel(x, y, color);
    }
    back.ReleaseCanvas();
    DrawPeopleOnMap();
}

// Each person's name beside their ship's point on the map, kept inside the map.
void FramePicture::DrawPeopleOnMap() {
    if (!PlayersSeated(world_)) return;
    for (int i = 1; i <= MaxShips; ++i) {
        const TShip& ship = world_.Ships[i];
        const std::string* person = PersonFlying(i);
        if (!person || !ship.InPlay || ship.Dead) continue;
        int32_t x, y;
        StatusMapPoint(ship.X, ship.Y, x, y);
        const int32_t width = TextWidth(*person);
        const int32_t left = x + 3 + width <= MapRight ? x + 3 : std::max(MapLeft, x - 3 - width);
        const int32_t top = std::clamp(y - MapNameHeight / 2, MapTop, MapBottom - MapNameHeight);
        WriteText(tools_.Back, left, top, *person, i == world_.ControlledShip ? MapControlledColor : LabelColor,
                  FontStyle(), TextSize);
    }
}

const std::string* FramePicture::PersonFlying(int ship) const {
    if (!PlayersSeated(world_) || ship == 0) return nullptr;
    int seat = SeatFlying(world_, ship);
    // The viewer's own seat stands in the world's fields while the picture is drawn.
    if (seat == 0 && ship == world_.ControlledShip && SeatJoined(world_, tools_.ViewSeat)) seat = tools_.ViewSeat;
    return seat ? &world_.Seats[seat].Name : nullptr;
}

int32_t FramePicture::TextWidth(const std::string& text) const {
    // Measured in the font WriteText sets.
    Canvas& canvas = tools_.Back.GetCanvas();
    canvas.Font.Face = "Verdana";
    canvas.Font.SizePoints = TextSize;
    canvas.Font.Bold = canvas.Font.Italic = canvas.Font.Underline = canvas.Font.StrikeOut = false;
    const int width = canvas.TextWidth(text);
    tools_.Back.ReleaseCanvas();
    return width;
}

void FramePicture::DrawRespawnCountdown() {
    Record("DrawRespawnCountdown");
    const TShip& ship = world_.Ships[world_.ControlledShip];
    if (!ship.InPlay || !ship.Dead || !ship.AwaitingRespawn || ship.Exploding || ship.Appearing ||
        ship.RespawnTimer < 0 || world_.Paused) {
        return;
    }
    tools_.Images.Item(Gfx::RespawnCaption).Draw(tools_.Back, 160, 340, 0);
    tools_.Images.Item(Gfx::RespawnDigits)
        .Draw(tools_.Back, 810, 340, RespawnDigit(ship.RespawnTimer, tools_.FrameRate));
}

void FramePicture::DrawPausePicture() {
    Record("DrawPausePicture");
    if (world_.Paused) tools_.Images.Item(Gfx::PauseCaption).Draw(tools_.Back, 370, 340, 0);
}

void FramePicture::DrawDiagnostics() {
    Record("DrawDiagnostics");
    Surface& back = tools_.Back;
    WriteText(back, 440, 10, std::to_string(tools_.FrameRate), DiagnosticColor, FontStyle(), TextSize);
    WriteText(back, 440, 20, std::to_string(world_.MouseX) + "---" + std::to_string(world_.MouseY), DiagnosticColor,
              FontStyle(), TextSize);
    // Every key active before the ageing, all at the same place. Nearly all of the 65536
    // entries are 0 in any frame, so they are passed over eight at a time.
    const std::vector<uint8_t>& keys = world_.KeyState;
    for (size_t block = 0; block < keys.size(); block += 8) {
        const size_t end = std::min(block + 8, keys.size());
        if (end - block == 8) {
            uint64_t eight;
            std::memcpy(&eight, keys.data() + block, 8);
            if (eight == 0) continue;
        }
        for (size_t key = std::max<size_t>(block, 1); key < end; ++key) {
            if (keys[key] > 0) {
                WriteText(back, 440, 30, std::to_string(key), DiagnosticColor, FontStyle(), TextSize);
            }
        }
    }
}

}  // namespace kelvane
