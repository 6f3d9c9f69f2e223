#pragma once
// What the DIB and BMP header readers hand to the pixel decoders (internal to the
// picture decoders; see Dib.h for the rules).

#include <cstdint>
#include <vector>

#include "media/Bitmap.h"
#include "base/ByteReader.h"

namespace kelvane {

// One colour channel of a bit-field pixel.
struct ChannelMask {
    uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;

    // False when the set bits do not form one contiguous run.
    bool Set(uint32_t mask);
    // The channel of a pixel value widened to 8 bits.
    uint32_t Extract(uint32_t value) const;
};

enum DibCompression : uint32_t { DibRgb = 0, DibRle8 = 1, DibRle4 = 2, DibBitFields = 3 };

struct DibLayout {
    int32_t Width = 0;
    int32_t Height = 0;  // rows, always positive here
    bool TopDown = false;
    int BitCount = 0;
    uint32_t Compression = DibRgb;
    uint32_t ImageSize = 0;  // the header's image-size field (RLE data length)
    ChannelMask Red, Green, Blue;
    std::vector<uint32_t> Palette;  // 0x00RRGGBB
};

// Decodes the pixel data that starts at the reader's position. Plain rows must all be
// there except the padding of the last; RLE data is the header's image size (the rest
// of the data when 0). Runs out of data with the reader's own message.
Bitmap DecodeDibPixels(const DibLayout& layout, ByteReader& reader);

}  // namespace kelvane
