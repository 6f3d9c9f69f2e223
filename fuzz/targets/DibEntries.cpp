// Pictures: packed DIBs ("TDIB" payloads) and BMP files (ship pictures, "TBitmap"
// payloads). What decodes must survive our own encoders unchanged.

#include "FuzzSupport.h"
#include "media/Dib.h"

namespace kelvane::fuzz {

namespace {

// Every encoding our archives and the asset tool use gives the same pixels back.
void CheckDibEncodings(const Bitmap& picture) {
    for (int bits : {24, 32})
        Check(SamePicture(DecodeDib(EncodeDibRgb(picture, bits)), picture), "RGB DIB does not read back");
    const std::optional<IndexedImage> indexed = PalettiseBitmap(picture, 256);
    if (!indexed) return;
    Check(indexed->Width == picture.Width && indexed->Height == picture.Height &&
              indexed->Indices.size() == picture.Pixels.size(),
          "palettised picture of another size");
    for (const bool rle : {false, true})
        Check(SamePicture(DecodeDib(EncodeDibIndexed(*indexed, 8, rle)), picture),
              "8-bit DIB does not read back");
    for (const int bits : {1, 4}) {
        if (indexed->Palette.size() > (size_t{1} << bits)) continue;
        Check(SamePicture(DecodeDib(EncodeDibIndexed(*indexed, bits, false)), picture),
              "1- or 4-bit DIB does not read back");
    }
}

}  // namespace

void FuzzDib(const uint8_t* data, size_t size) {
    Bitmap picture;
    try {
        picture = DecodeDib(data, size);
    } catch (const std::runtime_error& error) {
        ExpectMessage(error, DibErrors);
        return;
    }
    CheckPicture(picture);
    if (!picture.Empty() && picture.Pixels.size() <= RoundTripPixels) CheckDibEncodings(picture);
}

void FuzzBmp(const uint8_t* data, size_t size) {
    Bitmap picture;
    try {
        picture = DecodeBmpFile(data, size);
    } catch (const std::runtime_error& error) {
        ExpectMessage(error, BmpErrors);
        return;
    }
    CheckPicture(picture);
    if (picture.Empty() || picture.Pixels.size() > RoundTripPixels) return;
    for (int bits : {24, 32})
        Check(SamePicture(DecodeBmpFile(EncodeBmpFile(picture, bits)), picture),
              "BMP file does not read back");
}

}  // namespace kelvane::fuzz
