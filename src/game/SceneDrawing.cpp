// The world layers of a frame: background tiles, projectiles, beams, the range ring,
// the ships with their re-entry and explosions, and the target marker, each at its place
// as seen from the view. Drawing reads the world and never changes it.

#include <algorithm>

#include "combat/Geometry.h"
#include "combat/Weapons.h"
#include "console/ConsoleDrawing.h"
#include "game/FramePicture.h"
#include "game/Overlays.h"
#include "media/Canvas.h"
#include "base/Extended.h"
#include "base/Rounding.h"
#include "world/ArchiveItems.h"

namespace kelvane {
namespace {

constexpr uint32_t RangeRingColor = 0x333333;

// Headings in degrees become 256ths of a turn as heading / 360 x 255, rounded. A double
// heading times 255 is exact in extended precision, so an exact half stays one and
// rounds to even; whole-degree bearings are converted on their integer ratio.
int32_t SpriteAngle(double degrees) {
    return RoundEven(Extended(degrees) * Extended(255.0) / Extended(360.0));
}
int32_t SpriteAngle(int32_t degrees) { return RoundEvenRatio(int64_t{degrees} * 255, 360); }

}  // namespace

void FramePicture::Record(const char* step) {
    if (tools_.Steps) tools_.Steps->emplace_back(step);
}

// The layers of the picture, from the black fill up.
void FramePicture::Draw() {
    Record("Fill");
    tools_.Back.Fill(0);
    DrawBackground();
    DrawProjectiles();
    DrawBeams();
    if (world_.ShowRange && world_.ShipCount > 0 && !world_.Controlled().Dead) DrawRangeRing();
    DrawShips();
    if (world_.ShipCount > 0) DrawTargetMarker();
    DrawStatusPanels();
    Record("DrawConsole");
    DrawConsole(tools_.Back, world_);
    // Until the first ship is created the player is told how to start; it never shows
    // once play has begun.
    if (FirstHintShown(world_)) DrawFirstHint(tools_.Back);
    DrawRespawnCountdown();
    DrawPausePicture();
    DrawDiagnostics();
}

void FramePicture::DrawBackground() {
    Record("DrawBackground");
    const TPictureCollectionItem& tile = tools_.Images.Item(Gfx::Starfield);
    for (int i = 0; i <= 3; ++i) {
        for (int j = 0; j <= 3; ++j) {
            const int32_t x = i * 640, y = j * 480;
            if (x >= view_.X - 640 && x <= view_.X + 1023 && y >= view_.Y - 480 && y <= view_.Y + 767) {
                tile.Draw(tools_.Back, x - view_.X, y - view_.Y, 0);
            }
        }
    }
}

void FramePicture::DrawProjectiles() {
    Record("DrawProjectiles");
    for (const TProjectileWeapon& shot : world_.Projectiles) {
        if (!shot.Active || !IsOnScreen(view_, shot.X, shot.Y, 64)) continue;
        const TPictureCollectionItem& item = tools_.Images.Item(shot.ImageIndex);
        item.DrawRotate(tools_.Back, shot.X - view_.X, shot.Y - view_.Y, item.Width(), item.Height(),
                        shot.Frame, 0.5, 0.5, SpriteAngle(shot.Heading));
    }
}

// A beam stands on its source ship with its far end on the target, following both.
void FramePicture::DrawBeams() {
    Record("DrawBeams");
    for (const TBeam& beam : world_.Beams) {
        if (!beam.Active) continue;
        const TShip& source = world_.Ships[beam.Source];
        const TShip& target = world_.Ships[beam.Target];
        int32_t distance = 0;
        const int32_t bearing = AngleAndDistance(source.X, source.Y, target.X, target.Y, distance);
        const TPictureCollectionItem& item = tools_.Images.Item(beam.ImageIndex);
        item.DrawRotate(tools_.Back, source.X - view_.X, source.Y - view_.Y, item.Width(), distance, 0, 0.5,
                        1.0, SpriteAngle(bearing));
    }
}

void FramePicture::DrawRangeRing() {
    Record("DrawRangeRing");
    const TShip& ship = world_.Controlled();
    const int32_t range = BeamRange(world_);
    const int32_t x0 = ship.X - view_.X, y0 = ship.Y - view_.Y;
    Surface& back = tools_.Back;
    Canvas& canvas = back.GetCanvas();
    canvas.Brush.Style = BrushStyle::Clear;
    canvas.Pen.Color = RangeRingColor;
    canvas.Pen.Style = PenStyle::Solid;
    canvas.Ellipse(x0 - range, y0 - range, x0 + range, y0 + range);
    const int32_t nose = RoundEven(ship.Heading);
    for (int32_t side : {10, -10}) {
        const int32_t angle = AngleDiff(nose, side);
        canvas.MoveTo(x0, y0);
        canvas.LineTo(PolarOffset(ship.X, ship.Y, range, "X", angle) - view_.X,
                      PolarOffset(ship.X, ship.Y, range, "Y", angle) - view_.Y);
    }
    canvas.Brush.Style = BrushStyle::Solid;
    back.ReleaseCanvas();
}

void FramePicture::DrawShips() {
    Record("DrawShips");
    Surface& back = tools_.Back;
    for (int s = 1; s <= MaxShips; ++s) {
        const TShip& ship = world_.Ships[s];
        if (!ship.InPlay) continue;
        const bool onScreen = IsOnScreen(view_, ship.X, ship.Y, 256);
        const int32_t sx = ship.X - view_.X, sy = ship.Y - view_.Y;
        if (ship.Appearing && onScreen) {
            tools_.Images.Item(Gfx::ReentryFlash).DrawRotate(back, sx, sy, 100, 101, ship.AppearFrame, 0.5, 0.5, 0);
        }
        if (ship.Appearing && ship.AppearFrame > 5 && onScreen) {
            // The ship grows from a tenth to half its size inside the flash. The divisor
            // never drops below 1, whatever AppearFrame holds.
            const int32_t divisor = std::max(1, 10 - std::max(0, ship.AppearFrame - 6));
            const TPictureCollectionItem& picture = tools_.ShipImages.Item(ship.ImageIndex);
            picture.DrawRotate(back, sx, sy, picture.Width() / divisor, picture.Height() / divisor, 0, 0.5, 0.5,
                               SpriteAngle(ship.Heading));
        }
        if (ship.ExplosionTimer < ship.ShipDisappearance && !ship.AwaitingRespawn && !ship.Appearing && onScreen) {
            const TPictureCollectionItem& picture = tools_.ShipImages.Item(ship.ImageIndex);
            picture.DrawRotate(back, sx, sy, picture.Width(), picture.Height(), 0, 0.5, 0.5, SpriteAngle(ship.Heading));
        }
        DrawExplosionParts(ship, onScreen);
    }
}

// The parts ride with the wreck's heading and show one pattern per explosion frame.
void FramePicture::DrawExplosionParts(const TShip& ship, bool onScreen) {
    if (!ship.Exploding || !onScreen) return;
    for (int n = 1; n <= 4; ++n) {
        const TExplosionPart& part = ship.ExplosionParts[n];
        if (!part.Enabled || ship.ExplosionTimer < part.Delay) continue;
        const int32_t angle = AngleDiff(RoundEven(ship.Heading), -part.Angle);
        const int32_t px = PolarOffset(ship.X, ship.Y, part.Distance, "X", angle);
        const int32_t py = PolarOffset(ship.X, ship.Y, part.Distance, "Y", angle);
        const TPictureCollectionItem& item = tools_.Images.Item(part.ImageIndex);
        item.DrawRotate(tools_.Back, px - view_.X, py - view_.Y, item.Width(), item.Width(),
                        ship.ExplosionTimer - part.Delay, 0.5, 0.5, SpriteAngle(ship.Heading));
    }
}

// Drawn around the controlled ship's target, also when that is the ship itself.
void FramePicture::DrawTargetMarker() {
    Record("DrawTargetMarker");
    const TShip& target = world_.Ships[world_.Controlled().Target];
    if (target.Dead) return;
    tools_.Images.Item(Gfx::TargetMarker).Draw(tools_.Back, target.X - 31 - view_.X, target.Y - 31 - view_.Y,
                         world_.TargetMarkerFrame);
}

}  // namespace kelvane
