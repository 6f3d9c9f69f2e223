#pragma once
// A headless arena for combat tests: no display, no sound device, 22 projectile
// pictures of 4 patterns each, 9 silent sounds, and ship pictures made to measure.

#include <cstdint>
#include <memory>

#include "combat/Arena.h"
#include "console/Commands.h"
#include "game/FrameUpdate.h"
#include "media/Bitmap.h"
#include "media/ImageList.h"
#include "media/Sound.h"
#include "world/World.h"

namespace kelvane::testing {

constexpr uint32_t Magenta = 0xFF00FF;  // the same as a colour and as a pixel

struct ArenaFixture {
    kelvane::World World;
    TImageList Images{nullptr};
    TImageList ShipImages{nullptr};
    TWaveList Waves{nullptr};
    Arena arena{World, Images, ShipImages, &Waves};
    ConsoleContext console{World, "", {}};

    ArenaFixture() {
        for (int i = 0; i < 9; ++i) Waves.Items.push_back(std::make_unique<TWaveCollectionItem>());
        for (int i = 0; i < 22; ++i) {
            TPictureCollectionItem& item = Images.Add();
            item.PatternWidth = 8;
            item.PatternHeight = 8;
            item.Pic.Image.Resize(32, 8);  // four patterns side by side
        }
        World.Rng.Seed(12345);
    }

    // A ship picture of three w x h patterns whose mask pattern (the middle one) is all
    // magenta; returns its index in ShipImages.
    int AddShipImage(int32_t w, int32_t h) {
        TPictureCollectionItem& item = ShipImages.Add();
        item.PatternWidth = w;
        item.PatternHeight = h;
        item.Pic.Image.Resize(3 * w, h, 0);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = w; x < 2 * w; ++x) item.Pic.Image.At(x, y) = Magenta;
        return ShipImages.Count() - 1;
    }

    Bitmap& ShipPicture(int index) { return ShipImages.Item(index).Pic.Image; }

    // The update of one real frame (no picture): everything moves on, not only combat.
    void Frame() { FrameUpdate(arena, console); }

    // A live ship in play at (x, y), nose up, aiming at itself.
    TShip& PlaceShip(int s, int32_t x, int32_t y, int image = 0) {
        TShip& ship = World.Ships[s];
        ship.InPlay = 1;
        ship.X = x;
        ship.Y = y;
        ship.Heading = 0;
        ship.ImageIndex = static_cast<uint8_t>(image);
        ship.Target = static_cast<uint8_t>(s);
        ship.Hull = 100;
        ship.MaxHull = 100;
        ship.MaxShields = 0;
        ship.StrengthRating = 100;
        ship.ShieldsUp = 1;
        ship.PrimaryWeaponType = "NONE";
        ship.SecondaryWeaponType = "NONE";
        ship.SpecialDevice = "NONE";
        return ship;
    }

    int ActiveProjectiles() const {
        int count = 0;
        for (const TProjectileWeapon& shot : World.Projectiles) count += shot.Active ? 1 : 0;
        return count;
    }
    int ActiveBeams() const {
        int count = 0;
        for (const TBeam& beam : World.Beams) count += beam.Active ? 1 : 0;
        return count;
    }
    uint64_t TotalPlays() const {
        uint64_t total = 0;
        for (int i = 0; i < Waves.Count(); ++i) total += Waves.PlayCount(i);
        return total;
    }
};

}  // namespace kelvane::testing
