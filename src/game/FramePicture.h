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
#include "console/CommandOutcome.h"
#include "media/Surface.h"
#include "text/Language.h"
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
    // What is the watcher's, not the world's: the language of the texts (none: the original
    // ones), what the console's hint line says (none: no hint line), and whether the first
    // hint may show (not over a recording being watched).
    const Language* Texts = nullptr;
    const CommandOutcome* ConsoleHint = nullptr;
    bool FirstHint = true;
    // The seat whose picture this is, in a game for several (0: a game for one).
    int ViewSeat = 0;
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
    void DrawPeopleOnMap();
    // The name of the person flying the ship; none for a computer's ship and in a game for one.
    const std::string* PersonFlying(int ship) const;
    int32_t TextWidth(const std::string& text) const;
    void DrawRespawnCountdown();
    void DrawPausePicture();
    void DrawDiagnostics();

    const Language& Texts() const { return tools_.Texts ? *tools_.Texts : OriginalLanguage(); }

    const PictureTools tools_;
    const World& world_;
    const View view_;
};

}  // namespace kelvane
