// BMP files as image programs write them, and the encoders our archives and the asset
// tool use.

#include <gtest/gtest.h>

#include <stdexcept>

#include "media/Dib.h"
#include "media/archive_bytes.h"

namespace kelvane {
namespace {

using test::Bytes;
using Pixels = std::vector<uint32_t>;

std::string ErrorOf(const std::vector<uint8_t>& file) {
    try {
        DecodeBmpFile(file);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

// "BM" file header around an info header and the rest; pixels at the given offset.
std::vector<uint8_t> BmpFile(const std::vector<uint8_t>& rest, uint32_t pixelOffset) {
    return Bytes().Raw("BM").U32(static_cast<uint32_t>(14 + rest.size())).U32(0).U32(pixelOffset).Raw(rest).b;
}

// An info header of the given size: the 40-byte part, then masks, then zeros.
Bytes LongHeader(uint32_t size, int32_t w, int32_t h, uint16_t bits, uint32_t compression,
                 std::vector<uint32_t> masks) {
    Bytes b;
    b.U32(size).U32(static_cast<uint32_t>(w)).U32(static_cast<uint32_t>(h)).U16(1).U16(bits).U32(compression);
    b.Zeros(20);
    for (uint32_t m : masks) b.U32(m);
    b.Zeros(size - b.b.size());
    return b;
}

Bitmap Noise(int32_t w, int32_t h) {
    Bitmap b;
    b.Resize(w, h);
    uint32_t state = 12345;
    for (uint32_t& p : b.Pixels) {
        state = state * 1103515245u + 12345u;
        p = (state >> 4) & 0xFFFFFF;
    }
    return b;
}

TEST(BmpDecode, HeaderVariantsFromImageProgramsAndTheirMasks) {
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        Pixels expected;
    };
    const Case cases[] = {
        {"40-byte header, 24 bits",
         BmpFile(test::SmallDib24(), 54),
         {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}},
        {"124-byte header, 32-bit ARGB bit fields",
         BmpFile(LongHeader(124, 2, -1, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000})
                     .U8s({0x30, 0x20, 0x10, 0xFF, 0xFF, 0x00, 0x00, 0x7F})
                     .b,
                 14 + 124),
         {0x102030, 0x0000FF}},
        {"108-byte header, 16-bit X4R4G4B4",
         BmpFile(LongHeader(108, 1, 1, 16, 3, {0x0F00, 0x00F0, 0x000F, 0xF000}).U16(0x0F80).U16(0).b,
                 14 + 108),
         {0xFF8800}},
        {"52-byte header, 16-bit 5-6-5",
         BmpFile(LongHeader(52, 1, 1, 16, 3, {0xF800, 0x07E0, 0x001F}).U16(0x07E0).U16(0).b, 14 + 52),
         {0x00FF00}},
        {"56-byte header, plain 32 bits (masks of a plain picture do not apply)",
         BmpFile(LongHeader(56, 1, 1, 32, 0, {0xFF, 0xFF00, 0xFF0000, 0}).U8s({1, 2, 3, 4}).b, 14 + 56),
         {0x030201}},
        {"64-byte OS/2 header, 24 bits",
         BmpFile(LongHeader(64, 1, 1, 24, 0, {}).U8s({9, 8, 7, 0}).b, 14 + 64),
         {0x070809}},
        {"40-byte header, compression 6 with four masks",
         BmpFile(test::InfoHeader(1, 1, 32, 6)
                     .U32(0xFF0000)
                     .U32(0xFF00)
                     .U32(0xFF)
                     .U32(0xFF000000)
                     .U8s({5, 6, 7, 8})
                     .b,
                 14 + 56),
         {0x070605}},
        {"pixels after a gap",
         BmpFile(test::InfoHeader(1, 1, 24).Zeros(10).U8s({1, 2, 3, 0}).b, 14 + 40 + 10),
         {0x030201}},
        {"colour table shorter than the bit count says",
         BmpFile(test::InfoHeader(3, 1, 8).U8s({0, 0, 0xFF, 0, 0xFF, 0, 0, 0}).U8s({1, 0, 7, 0}).b,
                 14 + 40 + 8),
         {0x0000FF, 0xFF0000, 0x000000}},
    };
    for (const Case& k : cases) {
        Bitmap b;
        ASSERT_NO_THROW(b = DecodeBmpFile(k.file)) << k.what;
        EXPECT_EQ(b.Pixels, k.expected) << k.what;
    }
}

TEST(BmpDecode, FaultsAreBitmapImageIsNotValid) {
    const std::vector<std::vector<uint8_t>> faults = {
        {},
        Bytes().Raw("XM").Zeros(60).b,
        BmpFile(test::InfoHeader(1, 1, 7).Zeros(4).b, 54),
        BmpFile(test::InfoHeader(1, 1, 24).U8s({1, 2, 3}).b, 5000),  // pixels beyond the file
        BmpFile(test::InfoHeader(1, 1, 24).U8s({1, 2, 3}).b, 20),    // pixels inside the header
        BmpFile(LongHeader(64, 1, 1, 16, 3, {}).Zeros(4).b, 78),     // OS/2 Huffman coding
        BmpFile(test::InfoHeader(1, 1, 24, 5).Zeros(4).b, 54),       // embedded PNG
        BmpFile(Bytes().U32(44).Zeros(60).b, 54),
        BmpFile(test::InfoHeader(20000, 1, 24).Zeros(60000).b, 54),
    };
    for (size_t i = 0; i < faults.size(); ++i)
        EXPECT_EQ(ErrorOf(faults[i]), "Bitmap image is not valid") << i;
}

TEST(BmpDecode, EveryCutOfAFileFailsCleanly) {
    const std::vector<uint8_t> file = EncodeBmpFile(Noise(5, 4));
    const Pixels whole = DecodeBmpFile(file).Pixels;
    for (size_t length = 0; length < file.size(); ++length) {
        std::vector<uint8_t> cut(file.begin(), file.begin() + length);
        std::string error = ErrorOf(cut);
        if (error.empty())
            EXPECT_EQ(DecodeBmpFile(cut).Pixels, whole) << length;  // only the last row's padding missing
        else
            EXPECT_EQ(error, "Bitmap image is not valid") << length;
    }
}

TEST(DibEncode, TrueColourRoundTrips) {
    for (int bits : {24, 32}) {
        for (auto [w, h] : {std::pair{5, 3}, std::pair{1, 1}, std::pair{8, 2}}) {
            const Bitmap picture = Noise(w, h);
            SCOPED_TRACE(testing::Message() << bits << " bits " << w << "x" << h);
            const std::vector<uint8_t> file = EncodeBmpFile(picture, bits);
            EXPECT_EQ(file[0], 'B');
            EXPECT_EQ(file[2] | (file[3] << 8), static_cast<int>(file.size()));
            EXPECT_EQ(DecodeBmpFile(file).Pixels, picture.Pixels);
            const std::vector<uint8_t> dib = EncodeDibRgb(picture, bits);
            EXPECT_EQ(dib.size(), 40 + static_cast<size_t>(h) * ((w * bits + 31) / 32 * 4));
            EXPECT_EQ(DecodeDib(dib).Pixels, picture.Pixels);
        }
    }
    EXPECT_TRUE(DecodeBmpFile(EncodeBmpFile(Bitmap{})).Empty());
    EXPECT_THROW(EncodeDibRgb(Noise(1, 1), 16), std::invalid_argument);
}

TEST(DibEncode, PaletteOfAPicture) {
    Bitmap b;
    b.Resize(3, 2);
    b.Pixels = {0xFF0000, 0x00FF00, 0xFF0000, 0x0000FF, 0x0000FF, 0x00FF00};
    std::optional<IndexedImage> indexed = PalettiseBitmap(b, 3);
    ASSERT_TRUE(indexed);
    EXPECT_EQ(indexed->Palette, (Pixels{0xFF0000, 0x00FF00, 0x0000FF}));
    EXPECT_EQ(indexed->Indices, (std::vector<uint8_t>{0, 1, 0, 2, 2, 1}));
    EXPECT_FALSE(PalettiseBitmap(b, 2));
}

TEST(DibEncode, Rle8RoundTripsAndCompresses) {
    // Long runs, stretches of distinct indices, rows wider than one run can be.
    IndexedImage picture;
    picture.Width = 300;
    picture.Height = 7;
    picture.Palette.resize(200);
    for (size_t i = 0; i < picture.Palette.size(); ++i)
        picture.Palette[i] = static_cast<uint32_t>(i * 0x010203u);
    for (int32_t y = 0; y < picture.Height; ++y)
        for (int32_t x = 0; x < picture.Width; ++x) {
            uint8_t index = y % 3 == 0 ? static_cast<uint8_t>(x * 7 % 200)   // no two alike in a row
                          : y % 3 == 1 ? static_cast<uint8_t>(x / 40)       // runs
                                       : static_cast<uint8_t>(x % 5 < 2 ? 9 : x % 200);  // mixed
            picture.Indices.push_back(index);
        }
    const std::vector<uint8_t> dib = EncodeDibIndexed(picture, 8, true);
    EXPECT_EQ(dib[16], 1);  // compression RLE8
    const uint32_t imageSize = dib[20] | (dib[21] << 8) | (dib[22] << 16);
    EXPECT_EQ(dib.size(), 40 + 1024 + imageSize);
    EXPECT_EQ(std::vector<uint8_t>(dib.end() - 2, dib.end()), (std::vector<uint8_t>{0, 1}));
    const Bitmap decoded = DecodeDib(dib);
    ASSERT_EQ(decoded.Width, 300);
    for (size_t i = 0; i < picture.Indices.size(); ++i)
        ASSERT_EQ(decoded.Pixels[i], picture.Palette[picture.Indices[i]]) << i;
    EXPECT_EQ(DecodeDib(EncodeDibIndexed(picture, 8, false)).Pixels, decoded.Pixels);
}

TEST(DibEncode, FourAndOneBitPictures) {
    IndexedImage cell;
    cell.Width = 9;
    cell.Height = 9;
    cell.Palette = {0x000000, 0xC77BAD, 0xFFFFFF};
    for (int i = 0; i < 81; ++i) cell.Indices.push_back(static_cast<uint8_t>(i % 3));
    const std::vector<uint8_t> dib = EncodeDibIndexed(cell, 4, false);
    EXPECT_EQ(dib.size(), 40u + 16 * 4 + 9 * 8);
    const Bitmap decoded = DecodeDib(dib);
    for (size_t i = 0; i < 81; ++i) ASSERT_EQ(decoded.Pixels[i], cell.Palette[cell.Indices[i]]) << i;

    IndexedImage mono = cell;
    mono.Palette.resize(2);
    for (uint8_t& index : mono.Indices) index &= 1;
    const Bitmap one = DecodeDib(EncodeDibIndexed(mono, 1, false));
    for (size_t i = 0; i < 81; ++i) ASSERT_EQ(one.Pixels[i], mono.Palette[mono.Indices[i]]) << i;
}

TEST(DibEncode, RefusesWhatTheFormatCannotHold) {
    IndexedImage picture;
    picture.Width = 2;
    picture.Height = 1;
    picture.Palette = {0, 1};
    picture.Indices = {0, 2};
    EXPECT_THROW(EncodeDibIndexed(picture, 8, false), std::invalid_argument);  // index beyond the palette
    picture.Indices = {0, 1};
    EXPECT_THROW(EncodeDibIndexed(picture, 4, true), std::invalid_argument);   // RLE4 is not written
    EXPECT_THROW(EncodeDibIndexed(picture, 2, false), std::invalid_argument);
    picture.Palette.resize(3);
    EXPECT_THROW(EncodeDibIndexed(picture, 1, false), std::invalid_argument);  // palette too large
    picture.Indices = {0};
    EXPECT_THROW(EncodeDibIndexed(picture, 8, false), std::invalid_argument);  // too few indices
}

}  // namespace
}  // namespace kelvane
