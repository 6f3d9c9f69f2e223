// Header readers of the packed DIB ("TDIB" payload) and of complete BMP files.

#include <string>

#include "media/Dib.h"
#include "media/DibFormat.h"

namespace kelvane {

namespace {

constexpr const char* DibInvalid = "DIB is invalid";
constexpr const char* DibPixelFormatInvalid = "PixelFormat in invalid";
constexpr const char* BitmapInvalid = "Bitmap image is not valid";

// The two forms differ in which headers they take and in their messages.
struct DibRules {
    bool BmpFile;  // a file: longer headers and compression 6 allowed, one message for all faults

    [[noreturn]] void Invalid() const { throw std::runtime_error(BmpFile ? BitmapInvalid : DibInvalid); }
    [[noreturn]] void BadBitCount(int bits) const {
        if (BmpFile) Invalid();
        throw std::runtime_error("Bitcount in invalid (" + std::to_string(bits) + ")");
    }
    [[noreturn]] void BadPixelFormat() const {
        if (BmpFile) Invalid();
        throw std::runtime_error(DibPixelFormatInvalid);
    }
};

bool HeaderSizeAccepted(uint32_t size, bool bmpFile) {
    if (size == 40 || size == 12) return true;
    return bmpFile && (size == 52 || size == 56 || size == 64 || size == 108 || size == 124);
}

void CheckDimensions(int64_t width, int64_t height, const DibRules& rules) {
    if (width < 0 || width > MaxPictureSide || height > MaxPictureSide) rules.Invalid();
    if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4u > MaxPictureBytes) rules.Invalid();
}

void SetMasks(DibLayout& layout, uint32_t red, uint32_t green, uint32_t blue, const DibRules& rules) {
    if (!layout.Red.Set(red) || !layout.Green.Set(green) || !layout.Blue.Set(blue)) rules.BadPixelFormat();
    if (layout.BitCount == 16) {
        if ((red | green | blue) > 0xFFFFu) rules.BadPixelFormat();
        bool is555 = red == 0x7C00 && green == 0x03E0 && blue == 0x001F;
        bool is565 = red == 0xF800 && green == 0x07E0 && blue == 0x001F;
        // Files from other programs may use other 16-bit layouts (4-4-4 and so on).
        if (!rules.BmpFile && !is555 && !is565) rules.BadPixelFormat();
    }
}

// Reads the info header, masks and colour table; the reader starts at the info header.
// pixelOffset is where a BMP file says its pixels are (0 when not known).
Bitmap DecodeInfo(ByteReader& reader, size_t pixelOffset, const DibRules& rules) {
    if (reader.Remaining() < 4) rules.Invalid();
    const size_t headerStart = reader.Position();
    const uint32_t headerSize = reader.U32();
    if (!HeaderSizeAccepted(headerSize, rules.BmpFile)) rules.Invalid();
    reader.Need(headerSize - 4);

    DibLayout layout;
    int64_t width = 0, height = 0;
    uint32_t colorsUsed = 0;
    uint32_t masks[3] = {0, 0, 0};
    bool masksInHeader = false;
    const bool core = headerSize == 12;
    if (core) {
        width = reader.U16();
        height = reader.U16();
        reader.U16();  // planes
        layout.BitCount = reader.U16();
    } else {
        width = reader.I32();
        height = reader.I32();
        reader.U16();  // planes
        layout.BitCount = reader.U16();
        layout.Compression = reader.U32();
        layout.ImageSize = reader.U32();
        reader.Skip(8);  // resolution
        colorsUsed = reader.U32();
        reader.U32();  // colours important
        if (headerSize >= 52 && headerSize != 64) {
            for (uint32_t& m : masks) m = reader.U32();
            masksInHeader = true;
        }
    }
    reader.Seek(headerStart + headerSize);

    const int bits = layout.BitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        rules.BadBitCount(bits);

    uint32_t compression = layout.Compression;
    if (rules.BmpFile && compression == 6) compression = DibBitFields;  // alpha bit fields
    if (compression > DibBitFields) rules.Invalid();
    if (compression == DibBitFields && headerSize == 64) rules.Invalid();  // OS/2: Huffman coding
    if ((compression == DibRle8 && bits != 8) || (compression == DibRle4 && bits != 4)) rules.Invalid();
    if (compression == DibBitFields && bits != 16 && bits != 32) rules.BadPixelFormat();

    layout.TopDown = height < 0;
    if (height < 0) height = -height;
    CheckDimensions(width, height, rules);
    layout.Width = static_cast<int32_t>(width);
    layout.Height = static_cast<int32_t>(height);

    if (compression == DibBitFields) {
        if (!masksInHeader) {
            for (uint32_t& m : masks) m = reader.U32();
            if (layout.Compression == 6) reader.U32();  // the alpha mask, not used
        }
        SetMasks(layout, masks[0], masks[1], masks[2], rules);
    } else if (bits == 16) {
        SetMasks(layout, 0x7C00, 0x03E0, 0x001F, rules);
    } else if (bits == 32) {
        SetMasks(layout, 0xFF0000, 0x00FF00, 0x0000FF, rules);
    }
    layout.Compression = compression;

    uint64_t colours = colorsUsed;
    if (colours == 0 && bits <= 8) colours = 1u << bits;
    if (colours > 256) colours = 256;
    const size_t entrySize = core ? 3 : 4;
    // A file may keep fewer entries than the header promises before its pixel offset.
    if (pixelOffset >= reader.Position() && colours * entrySize > pixelOffset - reader.Position())
        colours = (pixelOffset - reader.Position()) / entrySize;
    layout.Palette.reserve(static_cast<size_t>(colours));
    for (uint64_t i = 0; i < colours; ++i) {
        const uint8_t* e = reader.Bytes(entrySize);
        layout.Palette.push_back((static_cast<uint32_t>(e[2]) << 16) | (static_cast<uint32_t>(e[1]) << 8) |
                                 e[0]);
    }
    if (pixelOffset != 0) {
        if (pixelOffset < headerStart + headerSize || pixelOffset > reader.Size()) rules.Invalid();
        reader.Seek(pixelOffset);
    }
    return DecodeDibPixels(layout, reader);
}

}  // namespace

Bitmap DecodeDib(const uint8_t* data, size_t size) {
    if (size == 0) return Bitmap{};
    ByteReader reader(data, size, StreamReadError);
    return DecodeInfo(reader, 0, DibRules{false});
}

Bitmap DecodeBmpFile(const uint8_t* data, size_t size) {
    ByteReader reader(data, size, BitmapInvalid);
    if (size < 14 || data[0] != 'B' || data[1] != 'M') throw std::runtime_error(BitmapInvalid);
    reader.Skip(10);  // signature, file size, reserved
    const uint32_t pixelOffset = reader.U32();
    return DecodeInfo(reader, pixelOffset, DibRules{true});
}

}  // namespace kelvane
