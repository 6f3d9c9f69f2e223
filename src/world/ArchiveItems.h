#pragma once
// The items of the game's archives, by name: the pictures of Data/GFX.dxg, the loading
// screen's two pictures of Data/Loading.dxg and the sounds of Data/SFX.dxg. The game draws
// and plays them by these names, and kelvane-assets writes each archive in this order, so
// an item's number is written down in this one place.

#include <cstdint>

namespace kelvane {

namespace Gfx {
enum Item : uint8_t {
    Starfield = 0,       // background tile, 640 x 480
    PhaserBeam = 1,      // beam of PHASER_ORANGE
    PhotonTorpedo = 2,
    QuantumTorpedo = 3,
    OwnShipPanel = 4,
    TargetPanel = 5,
    LargeExplosion = 6,  // explosion parts of any type but SMALL
    SmallExplosion = 7,  // explosion parts of type SMALL
    ReentryFlash = 8,
    PhaserPulse = 9,
    PolaronBeam = 10,    // beam of BEAM_POLARON
    PolaronTorpedo = 11,
    IonTorpedo = 12,
    DisruptorMark1 = 13,
    DisruptorMark2 = 14,
    PlasmaTorpedo = 15,
    ShipListPanel = 16,
    TargetMarker = 17,
    RespawnCaption = 18,
    RespawnDigits = 19,  // one pattern for each whole second of the wait
    PauseCaption = 20,
    TachyonShot = 21,
    Count = 22,
};
}  // namespace Gfx

namespace LoadingPicture {
enum Item : uint8_t {
    Screen = 0,        // 640 x 480
    ProgressCell = 1,  // 9 x 9
    Count = 2,
};
}  // namespace LoadingPicture

namespace Sfx {
enum Item : int32_t {
    Beam = 0,            // every beam weapon
    Launch = 1,          // torpedoes and the tachyon shot
    ExplosionPart1 = 2,
    ExplosionPart2 = 3,
    ExplosionPart3 = 4,
    Blip = 5,            // in the archive, never played
    Disruptor = 6,       // both disruptors
    PhaserPulse = 7,
    ExplosionPart4 = 8,
    Count = 9,
};
}  // namespace Sfx

}  // namespace kelvane
