// Writers of packed DIBs and BMP files: plain 24/32-bit, palettised 1/4/8-bit, RLE8.

#include <stdexcept>
#include <unordered_map>

#include "base/ByteReader.h"
#include "media/Dib.h"

namespace kelvane {

namespace {

constexpr uint32_t InfoHeaderSize = 40;
constexpr uint32_t FileHeaderSize = 14;

size_t RowStride(int32_t width, int bitCount) {
    return (static_cast<size_t>(width) * static_cast<size_t>(bitCount) + 31) / 32 * 4;
}

void CheckSize(int32_t width, int32_t height, size_t pixelCount) {
    if (width < 0 || height < 0 || width > MaxPictureSide || height > MaxPictureSide)
        throw std::invalid_argument("picture size out of range");
    if (pixelCount != static_cast<size_t>(width) * static_cast<size_t>(height))
        throw std::invalid_argument("pixel count does not match the picture size");
}

void WriteInfoHeader(ByteWriter& out, int32_t width, int32_t height, int bitCount, uint32_t compression,
                     uint32_t imageSize) {
    out.U32(InfoHeaderSize);
    out.I32(width);
    out.I32(height);  // positive: rows bottom-up
    out.U16(1);
    out.U16(static_cast<uint16_t>(bitCount));
    out.U32(compression);
    out.U32(imageSize);
    out.U32(0);  // resolution
    out.U32(0);
    out.U32(0);  // colours used: 0 = all 2^bitCount
    out.U32(0);
}

void WriteRgbDib(ByteWriter& out, const Bitmap& picture, int bitCount) {
    if (bitCount != 24 && bitCount != 32) throw std::invalid_argument("bit count must be 24 or 32");
    const int32_t w = picture.Empty() ? 0 : picture.Width;
    const int32_t h = picture.Empty() ? 0 : picture.Height;
    CheckSize(w, h, w == 0 ? 0 : picture.Pixels.size());
    const size_t stride = RowStride(w, bitCount);
    WriteInfoHeader(out, w, h, bitCount, 0, static_cast<uint32_t>(stride * h));
    for (int32_t y = h - 1; y >= 0; --y) {
        size_t rowStart = out.Size();
        for (int32_t x = 0; x < w; ++x) {
            uint32_t p = picture.At(x, y);
            out.U8(static_cast<uint8_t>(p));
            out.U8(static_cast<uint8_t>(p >> 8));
            out.U8(static_cast<uint8_t>(p >> 16));
            if (bitCount == 32) out.U8(0);
        }
        out.Fill(0, stride - (out.Size() - rowStart));
    }
}

// One row of RLE8: runs of two or more equal indices as (count, index), other
// stretches of three or more as absolute runs, single leftovers as runs of one.
void WriteRle8Row(ByteWriter& out, const uint8_t* row, int32_t width) {
    int32_t x = 0;
    while (x < width) {
        int32_t run = 1;
        while (x + run < width && run < 255 && row[x + run] == row[x]) ++run;
        if (run >= 2) {
            out.U8(static_cast<uint8_t>(run));
            out.U8(row[x]);
            x += run;
            continue;
        }
        // Collect a literal stretch up to the next pair of equal indices.
        int32_t end = x + 1;
        while (end < width && end - x < 255 && !(end + 1 < width && row[end] == row[end + 1])) ++end;
        int32_t count = end - x;
        if (count >= 3) {
            out.U8(0);
            out.U8(static_cast<uint8_t>(count));
            out.Append(row + x, static_cast<size_t>(count));
            if (count & 1) out.U8(0);
        } else {
            for (int32_t i = 0; i < count; ++i) {
                out.U8(1);
                out.U8(row[x + i]);
            }
        }
        x = end;
    }
}

}  // namespace

std::vector<uint8_t> EncodeDibRgb(const Bitmap& picture, int bitCount) {
    ByteWriter out;
    WriteRgbDib(out, picture, bitCount);
    return std::move(out.Bytes());
}

std::vector<uint8_t> EncodeBmpFile(const Bitmap& picture, int bitCount) {
    ByteWriter out;
    out.U8('B');
    out.U8('M');
    out.U32(0);  // file size, patched below
    out.U32(0);  // reserved
    out.U32(FileHeaderSize + InfoHeaderSize);
    WriteRgbDib(out, picture, bitCount);
    out.PatchU32(2, static_cast<uint32_t>(out.Size()));
    return std::move(out.Bytes());
}

std::optional<IndexedImage> PalettiseBitmap(const Bitmap& picture, size_t maxColours) {
    if (maxColours > 256) maxColours = 256;
    IndexedImage indexed;
    if (picture.Empty()) return indexed;
    indexed.Width = picture.Width;
    indexed.Height = picture.Height;
    indexed.Indices.reserve(picture.Pixels.size());
    std::unordered_map<uint32_t, uint8_t> slots;
    for (uint32_t p : picture.Pixels) {
        p &= 0xFFFFFFu;
        auto found = slots.find(p);
        if (found == slots.end()) {
            if (indexed.Palette.size() >= maxColours) return std::nullopt;
            found = slots.emplace(p, static_cast<uint8_t>(indexed.Palette.size())).first;
            indexed.Palette.push_back(p);
        }
        indexed.Indices.push_back(found->second);
    }
    return indexed;
}

std::vector<uint8_t> EncodeDibIndexed(const IndexedImage& picture, int bitCount, bool rle) {
    if (bitCount != 1 && bitCount != 4 && bitCount != 8)
        throw std::invalid_argument("bit count must be 1, 4 or 8");
    if (rle && bitCount != 8) throw std::invalid_argument("RLE is written for 8 bits only");
    const size_t tableSize = size_t{1} << bitCount;
    if (picture.Palette.size() > tableSize)
        throw std::invalid_argument("palette too large for the bit count");
    CheckSize(picture.Width, picture.Height, picture.Indices.size());
    for (uint8_t index : picture.Indices)
        if (index >= picture.Palette.size()) throw std::invalid_argument("colour index beyond the palette");

    const int32_t w = picture.Width, h = picture.Height;
    ByteWriter pixels;
    for (int32_t y = h - 1; y >= 0; --y) {
        const uint8_t* row = picture.Indices.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
        if (rle) {
            WriteRle8Row(pixels, row, w);
            pixels.U8(0);
            pixels.U8(y == 0 ? 1 : 0);  // end of line, or of the picture after the top row
            continue;
        }
        size_t stride = RowStride(w, bitCount);
        size_t rowStart = pixels.Size();
        const int perByte = 8 / bitCount;
        for (int32_t x = 0; x < w; x += perByte) {
            uint8_t b = 0;
            for (int i = 0; i < perByte; ++i) {
                uint8_t index = x + i < w ? row[x + i] : 0;
                b |= static_cast<uint8_t>(index << (8 - bitCount * (i + 1)));
            }
            pixels.U8(b);
        }
        pixels.Fill(0, stride - (pixels.Size() - rowStart));
    }

    ByteWriter out;
    WriteInfoHeader(out, w, h, bitCount, rle ? 1u : 0u, static_cast<uint32_t>(pixels.Size()));
    for (size_t i = 0; i < tableSize; ++i) {
        uint32_t c = i < picture.Palette.size() ? picture.Palette[i] : 0u;
        out.U8(static_cast<uint8_t>(c));
        out.U8(static_cast<uint8_t>(c >> 8));
        out.U8(static_cast<uint8_t>(c >> 16));
        out.U8(0);
    }
    out.Append(pixels.Bytes());
    return std::move(out.Bytes());
}

}  // namespace kelvane
