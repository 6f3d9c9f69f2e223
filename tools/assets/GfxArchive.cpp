// Assembles the graphics archive in index order.

#include "GfxArchive.h"

#include <stdexcept>
#include <utility>
#include <vector>

#include "Pictures.h"
#include "media/Dib.h"
#include "world/ArchiveItems.h"

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
    using Painter = GeneratedPicture (*)();
    const std::pair<Gfx::Item, Painter> painters[] = {
        {Gfx::Starfield, PaintStarfield},
        {Gfx::PhaserBeam, PaintPhaserBeam},
        {Gfx::PhotonTorpedo, PaintPhotonTorpedo},
        {Gfx::QuantumTorpedo, PaintQuantumTorpedo},
        {Gfx::OwnShipPanel, PaintOwnShipPanel},
        {Gfx::TargetPanel, PaintTargetPanel},
        {Gfx::LargeExplosion, PaintLargeExplosion},
        {Gfx::SmallExplosion, PaintSmallExplosion},
        {Gfx::ReentryFlash, PaintReentryFlash},
        {Gfx::PhaserPulse, PaintPhaserPulse},
        {Gfx::PolaronBeam, PaintPolaronBeam},
        {Gfx::PolaronTorpedo, PaintPolaronTorpedo},
        {Gfx::IonTorpedo, PaintIonTorpedo},
        {Gfx::DisruptorMark1, PaintDisruptorMark1},
        {Gfx::DisruptorMark2, PaintDisruptorMark2},
        {Gfx::PlasmaTorpedo, PaintPlasmaTorpedo},
        {Gfx::ShipListPanel, PaintShipListPanel},
        {Gfx::TargetMarker, PaintTargetMarker},
        {Gfx::RespawnCaption, PaintRespawnCaption},
        {Gfx::RespawnDigits, PaintRespawnDigits},
        {Gfx::PauseCaption, PaintPauseCaption},
        {Gfx::TachyonShot, PaintTachyonShot},
    };
    // Each item goes to the place its name gives; a name painted twice or not at all
    // would shift every later item, so the tool refuses to write such an archive.
    std::vector<std::unique_ptr<TPictureCollectionItem>> items(Gfx::Count);
    for (const auto& [index, paint] : painters) {
        if (index >= Gfx::Count || items[index]) throw std::logic_error("graphics item painted twice");
        items[index] = MakeDibItem(paint());
    }
    PictureCollection collection;
    for (auto& item : items) {
        if (!item) throw std::logic_error("a graphics item has no painter");
        collection.Items.push_back(std::move(item));
    }
    return collection;
}

}  // namespace kelvane::assets
