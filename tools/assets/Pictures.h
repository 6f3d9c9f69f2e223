#pragma once
// The pictures the asset tool paints, one function per graphics item, and the step
// that turns a painted picture into an archive item.

#include <cstddef>  // media/Bitmap.h uses size_t without it
#include <cstdint>
#include <memory>
#include <string>

#include "media/Bitmap.h"
#include "media/PictureItem.h"

namespace kelvane::assets {

struct GeneratedPicture {
    std::string Name;
    Bitmap Image;
    int32_t PatternWidth = 0;   // 0: the whole picture
    int32_t PatternHeight = 0;
    bool Transparent = true;
    uint32_t TransparentColor = 0;  // 0xBBGGRR
};

// Colour key of the status panels: a magenta no panel pixel has.
inline constexpr uint32_t PanelKey = 0xFF00FF;

GeneratedPicture PaintStarfield();                 // item 0
GeneratedPicture PaintPhaserBeam();                // item 1
GeneratedPicture PaintPolaronBeam();               // item 10
GeneratedPicture PaintPhotonTorpedo();             // item 2
GeneratedPicture PaintQuantumTorpedo();            // item 3
GeneratedPicture PaintPhaserPulse();               // item 9
GeneratedPicture PaintPolaronTorpedo();            // item 11
GeneratedPicture PaintIonTorpedo();                // item 12
GeneratedPicture PaintDisruptorMark1();            // item 13
GeneratedPicture PaintDisruptorMark2();            // item 14
GeneratedPicture PaintPlasmaTorpedo();             // item 15
GeneratedPicture PaintTachyonShot();               // item 21
GeneratedPicture PaintOwnShipPanel();              // item 4
GeneratedPicture PaintTargetPanel();               // item 5
GeneratedPicture PaintShipListPanel();             // item 16
GeneratedPicture PaintLargeExplosion();            // item 6
GeneratedPicture PaintSmallExplosion();            // item 7
GeneratedPicture PaintReentryFlash();              // item 8
GeneratedPicture PaintTargetMarker();              // item 17
GeneratedPicture PaintRespawnCaption();            // item 18
GeneratedPicture PaintRespawnDigits();             // item 19
GeneratedPicture PaintPauseCaption();              // item 20

// A "TDIB" item holding the picture as an uncompressed 24-bit DIB.
std::unique_ptr<TPictureCollectionItem> MakeDibItem(const GeneratedPicture& picture);

}  // namespace kelvane::assets
