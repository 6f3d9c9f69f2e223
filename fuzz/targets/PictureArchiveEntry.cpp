// Picture archives (GFX.dxg, Loading.dxg, Ships.dxg): read, cut into patterns as the
// display does when it initialises the list, and drawn the ways the scene draws them.

#include "FuzzSupport.h"
#include "media/Archive.h"
#include "media/PatternAccess.h"
#include "media/Surface.h"

namespace kelvane::fuzz {

namespace {

constexpr int32_t SurfaceWidth = 48, SurfaceHeight = 40;

void CheckPatterns(const TPictureCollectionItem& item) {
    Check(item.PatternCount() == static_cast<int32_t>(item.Patterns().size()), "pattern count disagrees");
    for (const PatternRect& rect : item.Patterns())
        Check(PatternReadable(item.Pic.Image, rect), "a pattern lies outside its picture");
}

// Plain and rotated drawing of the first and the last pattern, partly off the surface,
// as the scene does it (sizes from the item, halved for ships far away, or a beam's length).
void DrawItem(const TPictureCollectionItem& item, Surface& surface) {
    const int32_t count = item.PatternCount();
    for (const int32_t pattern : {0, count - 1, count}) {
        item.Draw(surface, -5, 7, pattern);
        item.Draw(surface, SurfaceWidth - 3, -2, pattern);
        item.DrawRotate(surface, 20, 18, item.Width(), item.Height(), pattern, 0.5, 0.5, 37);
        item.DrawRotate(surface, -4, 30, item.Width() / 2, item.Height() / 2, pattern, 0.5, 0.5, 200);
        item.DrawRotate(surface, 10, 5, item.Width(), 57, pattern, 0.5, 0, 64);  // a beam 57 pixels long
    }
    (void)item.PixelColor(0, 0);
    (void)item.PixelColor(item.Pic.Image.Width - 1, item.Pic.Image.Height - 1);
}

void CheckRoundTrip(const PictureCollection& collection) {
    PictureCollection again;
    ReadPictureArchive(WritePictureArchive(collection), again);
    Check(again.Items.size() == collection.Items.size(), "picture archive does not read back: item count");
    Check(again.ColorTable == collection.ColorTable, "picture archive does not read back: colour table");
    for (size_t i = 0; i < again.Items.size(); ++i) {
        const TPictureCollectionItem &a = *collection.Items[i], &b = *again.Items[i];
        Check(a.Name == b.Name && a.PatternWidth == b.PatternWidth && a.PatternHeight == b.PatternHeight &&
                  a.SkipWidth == b.SkipWidth && a.SkipHeight == b.SkipHeight &&
                  a.SystemMemory == b.SystemMemory && a.Transparent == b.Transparent &&
                  a.TransparentColor == b.TransparentColor,
              "picture archive does not read back: settings");
        Check(SamePicture(a.Pic.Image, b.Pic.Image), "picture archive does not read back: picture");
    }
}

}  // namespace

void FuzzPictureArchive(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    PictureCollection collection;
    bool complete = true;
    try {
        ReadPictureArchive(bytes, collection);
    } catch (const std::runtime_error& error) {
        ExpectMessage(error, PictureArchiveErrors);
        complete = false;
    }
    // Items read before an error stay in the list and are initialised with it.
    Surface surface(SurfaceWidth, SurfaceHeight);
    size_t pixels = 0;
    for (const auto& item : collection.Items) {
        Check(item != nullptr, "empty item slot");
        CheckPicture(item->Pic.Image);
        pixels += item->Pic.Image.Pixels.size();
        item->Initialize();
        CheckPatterns(*item);
        DrawItem(*item, surface);
    }
    if (complete && pixels <= RoundTripPixels) CheckRoundTrip(collection);
}

}  // namespace kelvane::fuzz
