// Packed DIBs ("TDIB" payloads) of every bit depth and compression, built by hand.

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "media/Dib.h"
#include "media/archive_bytes.h"

namespace kelvane {
namespace {

using test::Bytes;
using test::InfoHeader;
using Pixels = std::vector<uint32_t>;

std::string ErrorOf(const std::vector<uint8_t>& dib) {
    try {
        DecodeDib(dib);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

// Palette entry bytes (blue, green, red, 0) of a 0x00RRGGBB colour.
Bytes& Entry(Bytes& b, uint32_t rgb) {
    return b.U8(static_cast<uint8_t>(rgb))
        .U8(static_cast<uint8_t>(rgb >> 8))
        .U8(static_cast<uint8_t>(rgb >> 16))
        .U8(0);
}

void ExpectPicture(const Bitmap& b, int32_t w, int32_t h, const Pixels& pixels) {
    EXPECT_EQ(b.Width, w);
    EXPECT_EQ(b.Height, h);
    EXPECT_EQ(b.Pixels, pixels);
}

TEST(DibDecode, OneBitRowsArePaddedAndBottomUp) {
    Bytes d = InfoHeader(10, 2, 1);
    Entry(d, 0x112233);
    Entry(d, 0xAABBCC);
    d.U8s({0xAA, 0x80, 0, 0});  // bottom row 1010101010
    d.U8s({0xC0, 0x40, 0, 0});  // top row    1100000001
    const uint32_t o = 0x112233, l = 0xAABBCC;
    ExpectPicture(DecodeDib(d.b), 10, 2, {l, l, o, o, o, o, o, o, o, l, l, o, l, o, l, o, l, o, l, o});
}

TEST(DibDecode, FourBitsWithAShortTableGiveBlackBeyondIt) {
    Bytes d = InfoHeader(3, 2, 4, 0, 0, 3);
    Entry(d, 0x0000FF);
    Entry(d, 0x00FF00);
    Entry(d, 0xFF0000);
    d.U8s({0x01, 0x20, 0, 0});  // bottom: 0 1 2
    d.U8s({0x2F, 0x10, 0, 0});  // top: 2 15 1
    ExpectPicture(DecodeDib(d.b), 3, 2, {0xFF0000, 0x000000, 0x00FF00, 0x0000FF, 0x00FF00, 0xFF0000});
}

TEST(DibDecode, EightBitsReadTheFullTableWhenColoursUsedIsZero) {
    Bytes d = InfoHeader(2, 2, 8);
    for (uint32_t i = 0; i < 256; ++i) Entry(d, i * 0x010101u);
    d.U8s({255, 0, 0, 0});
    d.U8s({7, 200, 0, 0});
    ExpectPicture(DecodeDib(d.b), 2, 2, {0x070707, 0xC8C8C8, 0xFFFFFF, 0x000000});

    Bytes shortTable = InfoHeader(2, 1, 8, 0, 0, 2);
    Entry(shortTable, 0x123456);
    Entry(shortTable, 0x654321);
    shortTable.U8s({1, 5, 0, 0});
    ExpectPicture(DecodeDib(shortTable.b), 2, 1, {0x654321, 0x000000});
}

TEST(DibDecode, SixteenBitLayouts) {
    Bytes plain = InfoHeader(3, 1, 16);  // 5-5-5
    plain.U16(0x7FFF).U16(0x7C00).U16(0x0210).U16(0);
    ExpectPicture(DecodeDib(plain.b), 3, 1, {0xFFFFFF, 0xFF0000, 0x008484});

    Bytes fields = InfoHeader(3, 1, 16, 3);  // 5-6-5
    fields.U32(0xF800).U32(0x07E0).U32(0x001F);
    fields.U16(0x07E0).U16(0xF81F).U16(0x0821).U16(0);
    ExpectPicture(DecodeDib(fields.b), 3, 1, {0x00FF00, 0xFF00FF, 0x080408});
}

TEST(DibDecode, TwentyFourBitsEitherWayUp) {
    const Pixels expected{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    ExpectPicture(DecodeDib(test::SmallDib24()), 2, 2, expected);
    Bytes topDown = InfoHeader(2, -2, 24);
    topDown.U8s({0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0, 0});
    topDown.U8s({0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF});  // the last row's padding may be missing
    ExpectPicture(DecodeDib(topDown.b), 2, 2, expected);
}

TEST(DibDecode, ThirtyTwoBitsDropAlphaAndHonourMasks) {
    Bytes plain = InfoHeader(1, 1, 32);
    plain.U8s({0x33, 0x22, 0x11, 0x80});
    ExpectPicture(DecodeDib(plain.b), 1, 1, {0x112233});

    Bytes rgba = InfoHeader(1, 1, 32, 3);
    rgba.U32(0x000000FF).U32(0x0000FF00).U32(0x00FF0000);
    rgba.U8s({0x11, 0x22, 0x33, 0xFF});
    ExpectPicture(DecodeDib(rgba.b), 1, 1, {0x112233});
}

TEST(DibDecode, Rle8RunsAbsoluteDeltaAndEnds) {
    Bytes stream;
    stream.U8s({3, 1, 0, 0});                // bottom row: 1 1 1, end of line
    stream.U8s({0, 3, 2, 3, 1, 0, 1, 2});   // absolute 2 3 1 (padded), then one 2
    stream.U8s({0, 0});                      // end of line
    stream.U8s({0, 2, 2, 0, 5, 3});         // delta right 2, then 3 3 (clipped at the edge)
    stream.U8s({0, 1});                      // end of picture
    Bytes d = InfoHeader(4, 3, 8, 1, static_cast<uint32_t>(stream.b.size()), 4);
    for (uint32_t c : {0x101010u, 0xFF0000u, 0x00FF00u, 0x0000FFu}) Entry(d, c);
    d.Raw(stream.b);
    const uint32_t e0 = 0x101010, e1 = 0xFF0000, e2 = 0x00FF00, e3 = 0x0000FF;
    ExpectPicture(DecodeDib(d.b), 4, 3, {e0, e0, e3, e3, e2, e3, e1, e2, e1, e1, e1, e0});
}

TEST(DibDecode, Rle4NibblesAndPadding) {
    Bytes stream;
    stream.U8s({5, 0x12, 0, 3, 0xAB, 0xC0, 0, 0});      // 1 2 1 2 1, absolute A B C (2 bytes), end of line
    stream.U8s({0, 5, 0x34, 0x56, 0x70, 0, 3, 0x89});   // absolute 3 4 5 6 7 (3 bytes + pad), 8 9 8
    stream.U8s({0, 1});
    Bytes d = InfoHeader(8, 2, 4, 2, static_cast<uint32_t>(stream.b.size()));
    for (uint32_t i = 0; i < 16; ++i) Entry(d, i * 0x101010u);
    d.Raw(stream.b);
    Pixels expected;
    for (uint32_t i : {3, 4, 5, 6, 7, 8, 9, 8, 1, 2, 1, 2, 1, 10, 11, 12}) expected.push_back(i * 0x101010u);
    ExpectPicture(DecodeDib(d.b), 8, 2, expected);
}

TEST(DibDecode, RleStreamsThatRunPastThePictureAreClipped) {
    Bytes stream;
    stream.U8s({255, 1});            // a run far past the right edge
    stream.U8s({0, 255});            // an absolute run longer than the row...
    stream.Zeros(10);                // ...whose data ends early
    Bytes d = InfoHeader(2, 2, 8, 1, static_cast<uint32_t>(stream.b.size()), 2);
    Entry(d, 0x000001);
    Entry(d, 0x000002);
    d.Raw(stream.b);
    ExpectPicture(DecodeDib(d.b), 2, 2, {1, 1, 2, 2});

    Bytes jump;
    jump.U8s({0, 2, 255, 255, 7, 1, 0, 0, 0, 0, 0, 0, 9, 1});  // delta far outside, then more rows
    Bytes j = InfoHeader(2, 2, 8, 1, 0, 2);  // image size 0: the rest of the data
    Entry(j, 0x000001);
    Entry(j, 0x000002);
    j.Raw(jump.b);
    ExpectPicture(DecodeDib(j.b), 2, 2, {1, 1, 1, 1});
}

TEST(DibDecode, CoreHeaderHasThreeByteEntries) {
    Bytes d;
    d.U32(12).U16(2).U16(1).U16(1).U16(1);
    d.U8s({0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00});  // red, blue
    d.U8s({0x40, 0, 0, 0});
    ExpectPicture(DecodeDib(d.b), 2, 1, {0xFF0000, 0x0000FF});
}

TEST(DibDecode, TrueColourPicturesSkipTheirColourTable) {
    Bytes d = InfoHeader(1, 1, 24, 0, 0, 2);
    d.Zeros(8);
    d.U8s({1, 2, 3, 0});
    ExpectPicture(DecodeDib(d.b), 1, 1, {0x030201});
}

TEST(DibDecode, EmptyAndZeroSized) {
    EXPECT_TRUE(DecodeDib(std::vector<uint8_t>{}).Empty());
    EXPECT_TRUE(DecodeDib(InfoHeader(0, 5, 24).b).Empty());
    EXPECT_TRUE(DecodeDib(InfoHeader(5, 0, 24).b).Empty());
}

TEST(DibDecode, Refusals) {
    struct Case {
        const char* what;
        std::vector<uint8_t> dib;
        std::string text;
    };
    const Case cases[] = {
        {"too wide", InfoHeader(16385, 1, 24).Zeros(49164).b, "DIB is invalid"},
        {"too many pixels", InfoHeader(10000, 10000, 24).b, "DIB is invalid"},
        {"height INT_MIN", InfoHeader(1, INT_MIN, 24).b, "DIB is invalid"},
        {"negative width", InfoHeader(-1, 1, 24).b, "DIB is invalid"},
        {"RLE8 with 4 bits", InfoHeader(1, 1, 4, 1).Zeros(64).b, "DIB is invalid"},
        {"bit fields with 24 bits", InfoHeader(1, 1, 24, 3).Zeros(16).b, "PixelFormat in invalid"},
        {"masks not contiguous", InfoHeader(1, 1, 32, 3).U32(0xF0F0).U32(0xF00).U32(0xF).Zeros(4).b,
         "PixelFormat in invalid"},
        {"bit count 0", InfoHeader(1, 1, 0).b, "Bitcount in invalid (0)"},
        {"pixels cut", InfoHeader(2, 2, 24).Zeros(8).b, "Stream read error"},
        {"colour table cut", InfoHeader(2, 2, 8).Zeros(100).b, "Stream read error"},
        {"RLE shorter than its size", InfoHeader(2, 2, 8, 1, 500, 1).Zeros(4 + 10).b, "Stream read error"},
    };
    for (const Case& k : cases) EXPECT_EQ(ErrorOf(k.dib), k.text) << k.what;
}

TEST(DibDecode, EveryCutOfAValidDibFailsCleanly) {
    Bytes d = InfoHeader(5, 3, 8, 0, 0, 4);
    for (uint32_t c : {1u, 2u, 3u, 4u}) Entry(d, c);
    for (int i = 0; i < 24; ++i) d.U8(static_cast<uint8_t>(i % 4));
    const Bitmap whole = DecodeDib(d.b);
    for (size_t length = 1; length < d.b.size(); ++length) {
        std::vector<uint8_t> cut(d.b.begin(), d.b.begin() + length);
        std::string error = ErrorOf(cut);
        if (error.empty())  // only the missing padding of the last row is forgiven
            EXPECT_EQ(DecodeDib(cut).Pixels, whole.Pixels) << length;
        else
            EXPECT_TRUE(error == "Stream read error" || error == "DIB is invalid") << length << ": " << error;
    }
}

}  // namespace
}  // namespace kelvane
