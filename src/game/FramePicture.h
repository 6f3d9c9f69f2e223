#pragma once
// One frame's picture of a world seen from a view: the scene (background, projectiles,
// beams, the range ring, ships, the target marker), the status display, the console and
// the captions over them. Drawing reads the world and never changes it; the view is
// handed in, so one world can be drawn from any view: the game's own, a watcher's that
// follows a duel, each player's.
//
//   FramePicture({display.Back(), images, shipImages, frameRate}, world, OwnView(world)).Draw();

#include <cstdint>
#include <string>
#include <vector>

#include "media/ImageList.h"
#include "media/Surface.h"
#include "world/View.h"
#include "world/World.h"

namespace kelvane {

// What a picture is drawn with and onto.
struct PictureTools {
    Surface& Back;
    const TImageList& Images;      // the pictures of Data/GFX.dxg
    const TImageList& ShipImages;  // the ships' own pictures
    int32_t FrameRate = 0;         // the rate the status display counts seconds in
    std::vector<std::string>* Steps = nullptr;  // when set, each layer appends its name as it is drawn
};

class FramePicture {
public:
    FramePicture(const PictureTools& tools, const World& world, View view)
        : tools_(tools), world_(world), view_(view) {}

    // Every layer, from the black fill up.
    void Draw();

private:
    void Record(const char* step);
    // The scene (SceneDrawing.cpp).
    void DrawBackground();
    void DrawProjectiles();
    void DrawBeams();
    void DrawRangeRing();
    void DrawShips();
    void DrawExplosionParts(const TShip& ship, bool onScreen);
    void DrawTargetMarker();
    // The status display and the captions (StatusDisplay.cpp).
    void DrawStatusPanels();
    void DrawBars(int32_t frameX, const TShip& ship);
    void DrawShipListAndMap();
    void DrawRespawnCountdown();
    void DrawPausePicture();
    void DrawDiagnostics();

    const PictureTools tools_;
    const World& world_;
    const View view_;
};

}  // namespace kelvane
