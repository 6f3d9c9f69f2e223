// Assembles the graphics archive in index order.

#include <cstddef>  // media/Bitmap.h uses size_t without it
#include "GfxArchive.h"

#include <functional>
#include <vector>

#include "Pictures.h"
#include "media/Dib.h"

namespace kelvane::assets {

std::unique_ptr<TPictureCollectionItem> MakeDibItem(const GeneratedPicture& picture) {
    auto item = std::make_unique<TPictureCollectionItem>();
    item->Name = picture.Name;
    item->PatternWidth = picture.PatternWidth;
    item->PatternHeight = picture.PatternHeight;
    item->Transparent = picture.Transparent;
    item->TransparentColor = picture.TransparentColor;
    item->Pic.ClassName = "TDIB";
    item->Pic.Data = EncodeDibRgb(picture.Image, 24);
    item->Pic.Image = picture.Image;
    return item;
}

PictureCollection BuildGraphicsCollection() {
    const std::vector<std::function<GeneratedPicture()>> painters = {
        PaintStarfield,       // 0
        PaintPhaserBeam,      // 1
        PaintPhotonTorpedo,   // 2
        PaintQuantumTorpedo,  // 3
        PaintOwnShipPanel,    // 4
        PaintTargetPanel,     // 5
        PaintLargeExplosion,  // 6
        PaintSmallExplosion,  // 7
        PaintReentryFlash,    // 8
        PaintPhaserPulse,     // 9
        PaintPolaronBeam,     // 10
        PaintPolaronTorpedo,  // 11
        PaintIonTorpedo,      // 12
        PaintDisruptorMark1,  // 13
        PaintDisruptorMark2,  // 14
        PaintPlasmaTorpedo,   // 15
        PaintShipListPanel,   // 16
        PaintTargetMarker,    // 17
        PaintRespawnCaption,  // 18
        PaintRespawnDigits,   // 19
        PaintPauseCaption,    // 20
        PaintTachyonShot,     // 21
    };
    PictureCollection collection;
    for (const auto& paint : painters) collection.Items.push_back(MakeDibItem(paint()));
    return collection;
}

}  // namespace kelvane::assets
