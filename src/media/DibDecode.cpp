// Header readers of the packed DIB ("TDIB" payload) and of complete BMP files.

#include <string>
#include <string_view>

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

    // A file's errors say what is wrong beside the one message.
    [[noreturn]] void Invalid(const std::string& reason) const {
        if (BmpFile) throw BitmapInvalidError(reason);
        throw std::runtime_error(DibInvalid);
    }
    [[noreturn]] void BadBitCount(int bits) const {
        if (BmpFile) Invalid(std::to_string(bits) + " bits a pixel (1, 4, 8, 16, 24 or 32 are read)");
        throw std::runtime_error("Bitcount in invalid (" + std::to_string(bits) + ")");
    }
    [[noreturn]] void BadPixelFormat(const std::string& reason) const {
        if (BmpFile) Invalid(reason);
        throw std::runtime_error(DibPixelFormatInvalid);
    }
};

bool HeaderSizeAccepted(uint32_t size, bool bmpFile) {
    if (size == 40 || size == 12) return true;
    return bmpFile && (size == 52 || size == 56 || size == 64 || size == 108 || size == 124);
}

std::string SizeText(int64_t width, int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

void CheckDimensions(int64_t width, int64_t height, const DibRules& rules) {
    if (width < 0) rules.Invalid("a negative width");
    if (width > MaxPictureSide || height > MaxPictureSide)
        rules.Invalid(SizeText(width, height) + ": wider or taller than " + std::to_string(MaxPictureSide));
    if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4u > MaxPictureBytes)
        rules.Invalid(SizeText(width, height) + ": above " + std::to_string(MaxPictureBytes >> 20) +
                      " MiB once unpacked");
}

void SetMasks(DibLayout& layout, uint32_t red, uint32_t green, uint32_t blue, const DibRules& rules) {
    if (!layout.Red.Set(red) || !layout.Green.Set(green) || !layout.Blue.Set(blue))
        rules.BadPixelFormat("colour masks that are not runs of bits");
    if (layout.BitCount == 16) {
        if ((red | green | blue) > 0xFFFFu) rules.BadPixelFormat("16-bit colour masks beyond 16 bits");
        bool is555 = red == 0x7C00 && green == 0x03E0 && blue == 0x001F;
        bool is565 = red == 0xF800 && green == 0x07E0 && blue == 0x001F;
        // Files from other programs may use other 16-bit layouts (4-4-4 and so on).
        if (!rules.BmpFile && !is555 && !is565) rules.BadPixelFormat("");
    }
}

// Reads the info header, masks and colour table; the reader starts at the info header.
// pixelOffset is where a BMP file says its pixels are (0 when not known).
Bitmap DecodeInfo(ByteReader& reader, size_t pixelOffset, const DibRules& rules) {
    if (reader.Remaining() < 4) rules.Invalid("the file ends before its info header");
    const size_t headerStart = reader.Position();
    const uint32_t headerSize = reader.U32();
    if (!HeaderSizeAccepted(headerSize, rules.BmpFile))
        rules.Invalid("an info header of " + std::to_string(headerSize) +
                      " bytes (12, 40, 52, 56, 64, 108 or 124 are read)");
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
    const std::string compressionText = "compression " + std::to_string(layout.Compression);
    if (compression > DibBitFields)
        rules.Invalid(compressionText + " (JPEG, PNG or another kind the game does not read)");
    if (compression == DibBitFields && headerSize == 64) rules.Invalid("OS/2 Huffman compression");
    if ((compression == DibRle8 && bits != 8) || (compression == DibRle4 && bits != 4))
        rules.Invalid(compressionText + " with " + std::to_string(bits) + " bits a pixel");
    if (compression == DibBitFields && bits != 16 && bits != 32)
        rules.BadPixelFormat("colour masks with " + std::to_string(bits) + " bits a pixel");

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
        if (pixelOffset < headerStart + headerSize || pixelOffset > reader.Size())
            rules.Invalid("its pixels are said to start at byte " + std::to_string(pixelOffset) +
                          ", outside the file");
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

BitmapInvalidError::BitmapInvalidError(std::string reason)
    : std::runtime_error(BitmapInvalid), reason_(std::move(reason)) {}

Bitmap DecodeBmpFile(const uint8_t* data, size_t size) {
    if (size < 14) throw BitmapInvalidError(size == 0 ? "the file is empty" : "the file ends inside its header");
    if (data[0] != 'B' || data[1] != 'M') throw BitmapInvalidError("it does not start with \"BM\"");
    ByteReader reader(data, size, BitmapInvalid);
    reader.Skip(10);  // signature, file size, reserved
    const uint32_t pixelOffset = reader.U32();
    try {
        return DecodeInfo(reader, pixelOffset, DibRules{true});
    } catch (const BitmapInvalidError&) {
        throw;
    } catch (const std::runtime_error& error) {
        // The cursor ran out of bytes: the message is ours, the reason this.
        if (std::string_view(error.what()) != BitmapInvalid) throw;
        throw BitmapInvalidError("the file ends before its colour table or pixels do");
    }
}

}  // namespace kelvane
