// Pixel data of a DIB: plain rows of every bit count, bit fields, RLE8 and RLE4.

#include <algorithm>

#include "media/DibFormat.h"

namespace kelvane {

bool ChannelMask::Set(uint32_t mask) {
    Mask = mask;
    Shift = 0;
    Bits = 0;
    if (mask == 0) return true;
    while (((mask >> Shift) & 1u) == 0) ++Shift;
    uint32_t run = mask >> Shift;
    while (Bits < 32 && ((run >> Bits) & 1u) != 0) ++Bits;
    // Contiguous when nothing is left above the run.
    return Bits == 32 || (run >> Bits) == 0;
}

uint32_t ChannelMask::Extract(uint32_t value) const {
    if (Bits == 0) return 0;
    uint32_t c = (value & Mask) >> Shift;
    if (Bits >= 8) return c >> (Bits - 8);
    // Repeat the channel's bits downward so that its largest value becomes 255.
    uint32_t out = 0;
    int filled = 0;
    while (filled < 8) {
        int at = 8 - filled - Bits;
        out |= at >= 0 ? c << at : c >> -at;
        filled += Bits;
    }
    return out & 0xFFu;
}

namespace {

uint32_t PaletteColour(const std::vector<uint32_t>& palette, uint32_t index) {
    return index < palette.size() ? palette[index] : 0u;  // beyond the table: black
}

uint32_t MaskedPixel(const DibLayout& layout, uint32_t value) {
    return (layout.Red.Extract(value) << 16) | (layout.Green.Extract(value) << 8) |
           layout.Blue.Extract(value);
}

void DecodeRow(const DibLayout& layout, const uint8_t* row, uint32_t* out) {
    const int32_t w = layout.Width;
    switch (layout.BitCount) {
        case 1:
            for (int32_t x = 0; x < w; ++x)
                out[x] = PaletteColour(layout.Palette, (row[x >> 3] >> (7 - (x & 7))) & 1u);
            break;
        case 4:
            for (int32_t x = 0; x < w; ++x)
                out[x] = PaletteColour(layout.Palette, (x & 1) ? row[x >> 1] & 0x0Fu : row[x >> 1] >> 4);
            break;
        case 8:
            for (int32_t x = 0; x < w; ++x) out[x] = PaletteColour(layout.Palette, row[x]);
            break;
        case 16:
            for (int32_t x = 0; x < w; ++x) {
                const uint8_t* p = row + 2 * static_cast<size_t>(x);
                out[x] = MaskedPixel(layout, static_cast<uint32_t>(p[0] | (p[1] << 8)));
            }
            break;
        case 24:
            for (int32_t x = 0; x < w; ++x) {
                const uint8_t* p = row + 3 * static_cast<size_t>(x);
                out[x] = (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
            }
            break;
        case 32:
            for (int32_t x = 0; x < w; ++x) {
                const uint8_t* p = row + 4 * static_cast<size_t>(x);
                uint32_t v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                             (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
                out[x] = layout.Compression == DibBitFields ? MaskedPixel(layout, v) : (v & 0xFFFFFFu);
            }
            break;
        default:
            break;
    }
}

// Stored row s (in file order) as a picture row.
int32_t PictureRow(const DibLayout& layout, int32_t stored) {
    return layout.TopDown ? stored : layout.Height - 1 - stored;
}

Bitmap DecodePlain(const DibLayout& layout, ByteReader& reader) {
    const uint64_t rowBits = static_cast<uint64_t>(layout.Width) * static_cast<uint64_t>(layout.BitCount);
    const uint64_t rowBytes = (rowBits + 7) / 8;
    const uint64_t stride = (rowBits + 31) / 32 * 4;
    // The padding of the last row may be missing; everything else must be there.
    const uint64_t needed = stride * static_cast<uint64_t>(layout.Height - 1) + rowBytes;
    if (needed > reader.Remaining()) reader.Fail();
    const uint8_t* base = reader.Bytes(static_cast<size_t>(needed));

    Bitmap picture;
    picture.Resize(layout.Width, layout.Height);
    for (int32_t s = 0; s < layout.Height; ++s)
        DecodeRow(layout, base + stride * static_cast<uint64_t>(s), &picture.At(0, PictureRow(layout, s)));
    return picture;
}

// Expands RLE8 or RLE4 data into one colour index a pixel (stored row order).
void ExpandRle(const DibLayout& layout, const uint8_t* data, size_t size, std::vector<uint8_t>& indices) {
    const bool nibbles = layout.Compression == DibRle4;
    const uint64_t w = static_cast<uint64_t>(layout.Width);
    const uint64_t h = static_cast<uint64_t>(layout.Height);
    uint64_t x = 0, s = 0;
    size_t pos = 0;
    auto put = [&](uint8_t index) {
        if (x < w && s < h) indices[static_cast<size_t>(s * w + x)] = index;
        ++x;
    };
    // The stream simply stops where its data does: an unfinished picture keeps index 0.
    while (pos + 2 <= size && s < h) {
        uint8_t count = data[pos];
        uint8_t value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            if (x >= w) continue;  // the whole run lies past the right edge
            for (uint8_t i = 0; i < count && x < w; ++i)
                put(nibbles ? static_cast<uint8_t>((i & 1) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        switch (value) {
            case 0:  // end of line
                x = 0;
                ++s;
                break;
            case 1:  // end of picture
                return;
            case 2:  // delta
                if (pos + 2 > size) return;
                x += data[pos];
                s += data[pos + 1];
                pos += 2;
                break;
            default: {  // absolute run of `value` pixels, padded to a 16-bit boundary
                size_t bytes = nibbles ? (value + 1u) / 2u : value;
                size_t available = std::min(bytes, size - pos);
                for (size_t i = 0; i < value; ++i) {
                    size_t at = nibbles ? i / 2 : i;
                    if (at >= available) break;
                    uint8_t b = data[pos + at];
                    put(nibbles ? static_cast<uint8_t>((i & 1) ? b & 0x0F : b >> 4) : b);
                }
                pos += std::min(bytes + (bytes & 1u), size - pos);
                break;
            }
        }
    }
}

Bitmap DecodeRle(const DibLayout& layout, ByteReader& reader) {
    size_t size = layout.ImageSize != 0 ? layout.ImageSize : reader.Remaining();
    const uint8_t* data = reader.Bytes(size);

    std::vector<uint8_t> indices(static_cast<size_t>(layout.Width) * static_cast<size_t>(layout.Height), 0);
    ExpandRle(layout, data, size, indices);

    Bitmap picture;
    picture.Resize(layout.Width, layout.Height);
    for (int32_t s = 0; s < layout.Height; ++s) {
        const uint8_t* row = indices.data() + static_cast<size_t>(s) * static_cast<size_t>(layout.Width);
        uint32_t* out = &picture.At(0, PictureRow(layout, s));
        for (int32_t x = 0; x < layout.Width; ++x) out[x] = PaletteColour(layout.Palette, row[x]);
    }
    return picture;
}

}  // namespace

Bitmap DecodeDibPixels(const DibLayout& layout, ByteReader& reader) {
    if (layout.Width <= 0 || layout.Height <= 0) return Bitmap{};
    if (layout.Compression == DibRle8 || layout.Compression == DibRle4) return DecodeRle(layout, reader);
    return DecodePlain(layout, reader);
}

}  // namespace kelvane
