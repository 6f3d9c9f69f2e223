// The world layers of a frame: background tiles, projectiles, beams, the range ring,
// the ships with their re-entry and explosions, and the target marker. Drawing reads
// the world and never changes it.

#include <algorithm>

#include "combat/Geometry.h"
#include "combat/Weapons.h"
#include "game/MainForm.h"
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

void TMainForm::DrawBackground() {
    Record("DrawBackground");
    const TPictureCollectionItem& tile = Images.Item(Gfx::Starfield);
    for (int i = 0; i <= 3; ++i) {
        for (int j = 0; j <= 3; ++j) {
            const int32_t x = i * 640, y = j * 480;
            if (x >= World.ViewX - 640 && x <= World.ViewX + 1023 && y >= World.ViewY - 480 && y <= World.ViewY + 767) {
                tile.Draw(Display.Back(), x - World.ViewX, y - World.ViewY, 0);
            }
        }
    }
}

void TMainForm::DrawProjectiles() {
    Record("DrawProjectiles");
    for (const TProjectileWeapon& shot : World.Projectiles) {
        if (!shot.Active || !IsOnScreen(World, shot.X, shot.Y, 64)) continue;
        const TPictureCollectionItem& item = Images.Item(shot.ImageIndex);
        item.DrawRotate(Display.Back(), shot.X - World.ViewX, shot.Y - World.ViewY, item.Width(), item.Height(),
                        shot.Frame, 0.5, 0.5, SpriteAngle(shot.Heading));
    }
}

// A beam stands on its source ship with its far end on the target, following both.
void TMainForm::DrawBeams() {
    Record("DrawBeams");
    for (const TBeam& beam : World.Beams) {
        if (!beam.Active) continue;
        const TShip& source = World.Ships[beam.Source];
        const TShip& target = World.Ships[beam.Target];
        int32_t distance = 0;
        const int32_t bearing = AngleAndDistance(source.X, source.Y, target.X, target.Y, distance);
        const TPictureCollectionItem& item = Images.Item(beam.ImageIndex);
        item.DrawRotate(Display.Back(), source.X - World.ViewX, source.Y - World.ViewY, item.Width(), distance, 0, 0.5,
                        1.0, SpriteAngle(bearing));
    }
}

void TMainForm::DrawRangeRing() {
    Record("DrawRangeRing");
    const TShip& ship = World.Controlled();
    const int32_t range = BeamRange(World);
    const int32_t x0 = ship.X - World.ViewX, y0 = ship.Y - World.ViewY;
    Surface& back = Display.Back();
    Canvas& canvas = back.GetCanvas();
    canvas.Brush.Style = BrushStyle::Clear;
    canvas.Pen.Color = RangeRingColor;
    canvas.Pen.Style = PenStyle::Solid;
    canvas.Ellipse(x0 - range, y0 - range, x0 + range, y0 + range);
    const int32_t nose = RoundEven(ship.Heading);
    for (int32_t side : {10, -10}) {
        const int32_t angle = AngleDiff(nose, side);
        canvas.MoveTo(x0, y0);
        canvas.LineTo(PolarOffset(ship.X, ship.Y, range, "X", angle) - World.ViewX,
                      PolarOffset(ship.X, ship.Y, range, "Y", angle) - World.ViewY);
    }
    canvas.Brush.Style = BrushStyle::Solid;
    back.ReleaseCanvas();
}

void TMainForm::DrawShips() {
    Record("DrawShips");
    Surface& back = Display.Back();
    for (int s = 1; s <= MaxShips; ++s) {
        const TShip& ship = World.Ships[s];
        if (!ship.InPlay) continue;
        const bool onScreen = IsOnScreen(World, ship.X, ship.Y, 256);
        const int32_t sx = ship.X - World.ViewX, sy = ship.Y - World.ViewY;
        if (ship.Appearing && onScreen) {
            Images.Item(Gfx::ReentryFlash).DrawRotate(back, sx, sy, 100, 101, ship.AppearFrame, 0.5, 0.5, 0);
        }
        if (ship.Appearing && ship.AppearFrame > 5 && onScreen) {
            // The ship grows from a tenth to half its size inside the flash. The divisor
            // never drops below 1, whatever AppearFrame holds.
            const int32_t divisor = std::max(1, 10 - std::max(0, ship.AppearFrame - 6));
            const TPictureCollectionItem& picture = ShipImages.Item(ship.ImageIndex);
            picture.DrawRotate(back, sx, sy, picture.Width() / divisor, picture.Height() / divisor, 0, 0.5, 0.5,
                               SpriteAngle(ship.Heading));
        }
        if (ship.ExplosionTimer < ship.ShipDisappearance && !ship.AwaitingRespawn && !ship.Appearing && onScreen) {
            const TPictureCollectionItem& picture = ShipImages.Item(ship.ImageIndex);
            picture.DrawRotate(back, sx, sy, picture.Width(), picture.Height(), 0, 0.5, 0.5, SpriteAngle(ship.Heading));
        }
        DrawExplosionParts(s, onScreen);
    }
}

// The parts ride with the wreck's heading and show one pattern per explosion frame.
void TMainForm::DrawExplosionParts(int s, bool onScreen) {
    const TShip& ship = World.Ships[s];
    if (!ship.Exploding || !onScreen) return;
    for (int n = 1; n <= 4; ++n) {
        const TExplosionPart& part = ship.ExplosionParts[n];
        if (!part.Enabled || ship.ExplosionTimer < part.Delay) continue;
        const int32_t angle = AngleDiff(RoundEven(ship.Heading), -part.Angle);
        const int32_t px = PolarOffset(ship.X, ship.Y, part.Distance, "X", angle);
        const int32_t py = PolarOffset(ship.X, ship.Y, part.Distance, "Y", angle);
        const TPictureCollectionItem& item = Images.Item(part.ImageIndex);
        item.DrawRotate(Display.Back(), px - World.ViewX, py - World.ViewY, item.Width(), item.Width(),
                        ship.ExplosionTimer - part.Delay, 0.5, 0.5, SpriteAngle(ship.Heading));
    }
}

// Drawn around the controlled ship's target, also when that is the ship itself.
void TMainForm::DrawTargetMarker() {
    Record("DrawTargetMarker");
    const TShip& target = World.Ships[World.Controlled().Target];
    if (target.Dead) return;
    Images.Item(Gfx::TargetMarker).Draw(Display.Back(), target.X - 31 - World.ViewX, target.Y - 31 - World.ViewY,
                         World.TargetMarkerFrame);
}

}  // namespace kelvane
