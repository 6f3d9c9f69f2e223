#pragma once
// The pictures the asset tool paints, one function per graphics item (their places in
// the archive are the names of world/ArchiveItems.h), and the step that turns a painted
// picture into an archive item.

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

GeneratedPicture PaintStarfield();
GeneratedPicture PaintPhaserBeam();
GeneratedPicture PaintPolaronBeam();
GeneratedPicture PaintPhotonTorpedo();
GeneratedPicture PaintQuantumTorpedo();
GeneratedPicture PaintPhaserPulse();
GeneratedPicture PaintPolaronTorpedo();
GeneratedPicture PaintIonTorpedo();
GeneratedPicture PaintDisruptorMark1();
GeneratedPicture PaintDisruptorMark2();
GeneratedPicture PaintPlasmaTorpedo();
GeneratedPicture PaintTachyonShot();
GeneratedPicture PaintOwnShipPanel();
GeneratedPicture PaintTargetPanel();
GeneratedPicture PaintShipListPanel();
GeneratedPicture PaintLargeExplosion();
GeneratedPicture PaintSmallExplosion();
GeneratedPicture PaintReentryFlash();
GeneratedPicture PaintTargetMarker();
GeneratedPicture PaintRespawnCaption();
GeneratedPicture PaintRespawnDigits();
GeneratedPicture PaintPauseCaption();

// A "TDIB" item holding the picture as an uncompressed 24-bit DIB.
std::unique_ptr<TPictureCollectionItem> MakeDibItem(const GeneratedPicture& picture);

}  // namespace kelvane::assets
