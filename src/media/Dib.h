#pragma once
// Windows bitmaps: the packed DIB held by a "TDIB" picture payload, and complete BMP
// files ("TBitmap" payloads, ship pictures). Decoders give a top-down Bitmap of
// 0x00RRGGBB pixels; encoders write what our archives and the asset tool need.
//
// Decoding rules shared by both forms:
// - bit counts 1, 4, 8, 16, 24, 32; compression 0 (plain), 1 (RLE8, 8 bits only),
//   2 (RLE4, 4 bits only), 3 (bit fields, 16 and 32 bits only);
// - the colour table has the header's colours-used entries, or 2^bits when that is 0
//   and bits <= 8, never more than 256;
// - a colour index beyond the colour table gives black;
// - plain rows must all be there, except that the padding of the last row may be missing;
// - pixels an RLE stream does not reach (it ends early, jumps or ends a line) take
//   colour index 0; runs past the right edge or the last row are clipped;
// - 5- and 6-bit channels are widened by repeating their top bits (31 -> 255, so
//   a 5-6-5 pure green is 0x00FF00 exactly); alpha is dropped;
// - pictures wider or taller than 16384 pixels, or above 256 MiB of 32-bit pixels,
//   are refused before anything is allocated. A width or height of 0 is an empty picture.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "media/Bitmap.h"

namespace kelvane {

inline constexpr int32_t MaxPictureSide = 16384;
inline constexpr uint64_t MaxPictureBytes = 256ull * 1024 * 1024;

// The "TDIB" payload: 40-byte BITMAPINFOHEADER or 12-byte BITMAPCOREHEADER, the masks
// (compression 3), the colour table, the pixels. Empty input is an empty picture.
// Errors: "DIB is invalid" (header size, compression, under 4 bytes, size limits),
// "Bitcount in invalid (%d)", "PixelFormat in invalid" (a 16-bit picture whose masks are
// not 5-5-5 or 5-6-5, or 32-bit masks that are not contiguous runs of bits),
// "Stream read error" (the data ends before the header, table or pixels do).
Bitmap DecodeDib(const uint8_t* data, size_t size);
inline Bitmap DecodeDib(const std::vector<uint8_t>& dib) { return DecodeDib(dib.data(), dib.size()); }

// What a BMP file's faults throw: the one message "Bitmap image is not valid", and beside
// it what exactly is wrong, for those who help to mend the file (the checker).
class BitmapInvalidError : public std::runtime_error {
public:
    explicit BitmapInvalidError(std::string reason);
    const std::string& Reason() const { return reason_; }

private:
    std::string reason_;
};

// A complete BMP file ("BM", 14-byte file header, info header, pixels at the file
// header's offset). Info headers of 12, 40, 52, 56, 64, 108 and 124 bytes; the masks of
// the longer headers are honoured, and compression 6 (alpha bit fields) is read like 3.
// Every fault, a truncated file included, is a BitmapInvalidError.
Bitmap DecodeBmpFile(const uint8_t* data, size_t size);
inline Bitmap DecodeBmpFile(const std::vector<uint8_t>& file) {
    return DecodeBmpFile(file.data(), file.size());
}

// A BMP file of the picture: 40-byte header, bottom-up, uncompressed, bitCount 24
// (three bytes a pixel) or 32 (four, the top byte 0). Reads back to the same pixels.
std::vector<uint8_t> EncodeBmpFile(const Bitmap& picture, int bitCount = 24);

// A packed DIB ("TDIB" payload) of the picture, uncompressed, bitCount 24 or 32.
std::vector<uint8_t> EncodeDibRgb(const Bitmap& picture, int bitCount = 24);

// A palettised picture: one colour index a pixel, rows top first.
struct IndexedImage {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Indices;   // Width * Height
    std::vector<uint32_t> Palette;  // 0x00RRGGBB, at most 2^bitCount entries
};

// The picture's colours in order of first appearance, or nothing when it has more
// than maxColours (at most 256) distinct colours.
std::optional<IndexedImage> PalettiseBitmap(const Bitmap& picture, size_t maxColours);

// A packed DIB of a palettised picture with bitCount 1, 4 or 8; rle selects RLE8
// (only with 8 bits). The colour table always has 2^bitCount entries (unused ones
// black), so an 8-bit picture carries the full 1024-byte table.
// Throws std::invalid_argument for a bit count, index or palette the format cannot hold.
std::vector<uint8_t> EncodeDibIndexed(const IndexedImage& picture, int bitCount, bool rle);

}  // namespace kelvane
