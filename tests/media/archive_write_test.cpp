// Writing picture and sound archives: byte layout and round trips.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "media/Archive.h"
#include "base/ByteReader.h"
#include "media/Dib.h"
#include "media/ImageList.h"
#include "media/WaveFile.h"
#include "media/archive_bytes.h"

namespace kelvane {
namespace {

using test::Bytes;

Bitmap Pattern(int32_t w, int32_t h, uint32_t seed) {
    Bitmap b;
    b.Resize(w, h);
    for (size_t i = 0; i < b.Pixels.size(); ++i)
        b.Pixels[i] = (seed * 2654435761u + static_cast<uint32_t>(i) * 40503u) & 0xFFFFFF;
    return b;
}

TEST(ArchiveWrite, ShipArchiveLayout) {
    PictureCollection c;
    auto item = std::make_unique<TPictureCollectionItem>();
    item->PatternWidth = 2;
    item->PatternHeight = 3;
    item->TransparentColor = 65280;
    item->Pic.ClassName = "TBitmap";
    item->Pic.Image = Pattern(6, 3, 1);
    c.Items.push_back(std::move(item));
    const std::vector<uint8_t> a = WritePictureArchive(c);

    auto at = [&](size_t offset, const std::vector<uint8_t>& expected) {
        ASSERT_LE(offset + expected.size(), a.size());
        EXPECT_EQ(std::vector<uint8_t>(a.begin() + offset, a.begin() + offset + expected.size()), expected)
            << "at offset " << offset;
    };
    at(0, Bytes().U8s({0xFF, 0x0A, 0x00}).Raw("SPRILAKPICTURECOLLECTION").U8s({0, 0x30, 0x10}).b);
    at(30, Bytes().U32(static_cast<uint32_t>(a.size() - 34)).b);
    at(34, Bytes().Raw("TPF0").b);
    at(38, Bytes().Str("TPictureCollectionComponent").U8(0).b);
    at(67, Bytes().Str("List.ColorTable").U8(10).U32(1024).Zeros(1024).b);
    at(1112, Bytes().Str("List").U8(14).b);
    at(1118,
       Bytes().U8(1).Str("PatternHeight").Int8(3).Str("PatternWidth").Int8(2).Str("Picture.Data").U8(10).b);

    // The payload: its length, "TBitmap", the file's byte count and a BMP file of the picture.
    ByteReader r(a);
    r.Seek(1118 + 1 + 14 + 2 + 13 + 2 + 13 + 1);
    const uint32_t payloadLength = r.U32();
    const size_t payloadStart = r.Position();
    EXPECT_EQ(r.U8(), 7);
    EXPECT_EQ(r.String(7), "TBitmap");
    const uint32_t fileLength = r.U32();
    EXPECT_EQ(payloadLength, 1 + 7 + 4 + fileLength);
    const uint8_t* file = r.Bytes(fileLength);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(DecodeBmpFile(file, fileLength).Pixels, c.Items[0]->Pic.Image.Pixels);
    EXPECT_EQ(r.Position(), payloadStart + payloadLength);

    const std::vector<uint8_t> tail = Bytes()
                                          .Str("SystemMemory").U8(8)
                                          .Str("Transparent").U8(9)
                                          .Str("TransparentColor").U8(7).Str("clLime")
                                          .U8(0)               // end of the item
                                          .U8s({0, 0, 0}).b;   // collection, properties, children
    at(r.Position(), tail);
    EXPECT_EQ(a.size(), r.Position() + tail.size());
}

TEST(ArchiveWrite, EmptyCollection) {
    PictureCollection c;
    const std::vector<uint8_t> a = WritePictureArchive(c);
    ASSERT_EQ(a.size(), 1121u);
    EXPECT_EQ(std::vector<uint8_t>(a.end() - 9, a.end()), Bytes().Str("List").U8(14).U8s({0, 0, 0}).b);
    EXPECT_EQ(a[30] | (a[31] << 8), 1121 - 34);
    PictureCollection back;
    back.Items.push_back(std::make_unique<TPictureCollectionItem>());
    ReadPictureArchive(a, back);
    EXPECT_TRUE(back.Items.empty());
}

TEST(ArchiveWrite, IntegersTakeTheSmallestTag) {
    struct Case {
        int32_t value;
        std::vector<uint8_t> encoded;
    };
    const Case cases[] = {
        {0, {2, 0}},          {127, {2, 127}},           {-128, {2, 0x80}},
        {128, {3, 128, 0}},   {-129, {3, 0x7F, 0xFF}},   {32767, {3, 0xFF, 0x7F}},
        {32768, {4, 0, 0x80, 0, 0}}, {-32769, {4, 0xFF, 0x7F, 0xFF, 0xFF}},
    };
    for (const Case& k : cases) {
        PictureCollection c;
        c.Items.push_back(std::make_unique<TPictureCollectionItem>());
        c.Items[0]->PatternHeight = k.value;
        const std::vector<uint8_t> a = WritePictureArchive(c);
        const std::vector<uint8_t> prefix = Bytes().U8(1).Str("PatternHeight").b;
        const size_t from = 1118 + prefix.size();
        std::vector<uint8_t> written(a.begin() + from, a.begin() + from + k.encoded.size());
        EXPECT_EQ(written, k.encoded) << k.value;
        PictureCollection back;
        ReadPictureArchive(a, back);
        EXPECT_EQ(back.Items[0]->PatternHeight, k.value);
    }
}

TEST(ArchiveWrite, ColoursAsIdentifiersOrIntegers) {
    struct Case {
        uint32_t colour;
        std::vector<uint8_t> encoded;
    };
    const Case cases[] = {
        {65280, Bytes().Ident("clLime").b},
        {14396362, Bytes().Int32(14396362).b},
        {0, Bytes().Ident("clBlack").b},
        {0x80000000u + 15, Bytes().Ident("clBtnFace").b},
        {0x80000000u + 28, Bytes().Ident("clGradientInactiveCaption").b},
        {0x80000000u + 25, Bytes().Int32(static_cast<int32_t>(0x80000019u)).b},  // index 25 has no name
        {0x1FFFFFFF, Bytes().Ident("clNone").b},
        {0xC0DCC0, Bytes().Ident("clMoneyGreen").b},
        {100, Bytes().Int8(100).b},
    };
    for (const Case& k : cases) {
        PictureCollection c;
        c.Items.push_back(std::make_unique<TPictureCollectionItem>());
        c.Items[0]->TransparentColor = k.colour;
        const std::vector<uint8_t> a = WritePictureArchive(c);
        // The colour is the last value of the only item: before 0 (item end) and 0 0 0.
        std::vector<uint8_t> written(a.end() - 4 - k.encoded.size(), a.end() - 4);
        EXPECT_EQ(written, k.encoded) << k.colour;
        PictureCollection back;
        ReadPictureArchive(a, back);
        EXPECT_EQ(back.Items[0]->TransparentColor, k.colour);
    }
}

TEST(ArchiveWrite, RoundTripKeepsSettingsAndPixels) {
    PictureCollection c;
    for (int i = 0; i < 16; ++i) c.ColorTable[i] = static_cast<uint8_t>(i + 1);
    auto add = [&]() -> TPictureCollectionItem& {
        c.Items.push_back(std::make_unique<TPictureCollectionItem>());
        return *c.Items.back();
    };
    TPictureCollectionItem& ship = add();
    ship.PatternWidth = 5;
    ship.PatternHeight = 4;
    ship.TransparentColor = 65280;
    ship.Pic.ClassName = "TBitmap";
    ship.Pic.Image = Pattern(15, 4, 7);
    TPictureCollectionItem& tile = add();
    tile.Name = std::string(300, 'n');  // longer than a short string
    tile.SkipWidth = 2;
    tile.SkipHeight = -1;
    tile.SystemMemory = true;
    tile.Transparent = false;
    tile.TransparentColor = 14396362;
    tile.Pic.ClassName = "TDIB";
    tile.Pic.Data = test::SmallDib24();
    tile.Pic.Image = DecodeDib(tile.Pic.Data);
    TPictureCollectionItem& built = add();  // a DIB picture made in memory, with no data held
    built.Pic.ClassName = "TDIB";
    built.Pic.Image = Pattern(3, 5, 9);
    add().Name = "empty";

    PictureCollection back;
    ReadPictureArchive(WritePictureArchive(c), back);
    EXPECT_EQ(back.ColorTable, c.ColorTable);
    ASSERT_EQ(back.Items.size(), c.Items.size());
    for (size_t i = 0; i < c.Items.size(); ++i) {
        const TPictureCollectionItem& w = *c.Items[i];
        const TPictureCollectionItem& r = *back.Items[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(r.Name, w.Name);
        EXPECT_EQ(r.PatternWidth, w.PatternWidth);
        EXPECT_EQ(r.PatternHeight, w.PatternHeight);
        EXPECT_EQ(r.SkipWidth, w.SkipWidth);
        EXPECT_EQ(r.SkipHeight, w.SkipHeight);
        EXPECT_EQ(r.SystemMemory, w.SystemMemory);
        EXPECT_EQ(r.Transparent, w.Transparent);
        EXPECT_EQ(r.TransparentColor, w.TransparentColor);
        EXPECT_EQ(r.Pic.Image.Width, w.Pic.Image.Width);
        EXPECT_EQ(r.Pic.Image.Pixels, w.Pic.Image.Pixels);
        EXPECT_EQ(r.Pic.ClassName, w.Pic.HasPicture() ? w.Pic.ClassName : "");
    }
    EXPECT_EQ(back.Items[1]->Pic.Data, test::SmallDib24());  // a held DIB goes back unchanged
}

TEST(ArchiveWrite, WaveArchiveRoundTrip) {
    WaveCollection c;
    auto add = [&]() -> TWaveCollectionItem& {
        c.Items.push_back(std::make_unique<TWaveCollectionItem>());
        return *c.Items.back();
    };
    TWaveCollectionItem& beam = add();
    beam.Name = "beam";
    beam.Looped = true;
    beam.MaxPlayingCount = 3;
    beam.Wave.Format = {1,    0, 1, 0, 0x11, 0x2B, 0, 0, 0x11,
                        0x2B, 0, 0, 1, 0,    8,    0, 0, 0};  // 18 bytes, cbSize 0
    beam.Wave.Samples = {10, 20, 30};
    add();  // no sound
    const std::vector<uint8_t> a = WriteWaveArchive(c);
    const std::string text(a.begin(), a.end());
    EXPECT_NE(text.find("TWaveCollectionComponent"), std::string::npos);
    EXPECT_EQ(text.find("ColorTable"), std::string::npos);
    EXPECT_EQ(text.find("Wave.WAVE"), text.rfind("Wave.WAVE"));  // only the item with a sound has one

    WaveCollection back;
    ReadWaveArchive(a, back);
    ASSERT_EQ(back.Items.size(), 2u);
    EXPECT_EQ(back.Items[0]->Name, "beam");
    EXPECT_TRUE(back.Items[0]->Looped);
    EXPECT_EQ(back.Items[0]->MaxPlayingCount, 3);
    EXPECT_EQ(back.Items[0]->Wave.Format, beam.Wave.Format);
    EXPECT_EQ(back.Items[0]->Wave.Samples, beam.Wave.Samples);
    EXPECT_TRUE(back.Items[1]->Wave.Empty());
}

TEST(ArchiveWrite, ImageListSavesAndLoadsFiles) {
    const std::string path = testing::TempDir() + "kelvane_archive_write_test.dxg";
    TImageList list;
    TPictureCollectionItem& item = list.Add();
    item.PatternWidth = 4;
    item.Pic.ClassName = "TBitmap";
    item.Pic.Image = Pattern(12, 3, 5);
    list.SaveToFile(path);

    TImageList loaded;
    loaded.LoadFromFile(path);
    std::remove(path.c_str());
    ASSERT_EQ(loaded.Count(), 1);
    EXPECT_EQ(loaded.Item(0).PatternWidth, 4);
    EXPECT_EQ(loaded.Item(0).Pic.Image.Pixels, item.Pic.Image.Pixels);
    EXPECT_THROW(loaded.SaveToFile("/nonexistent-kelvane-dir/x.dxg"), std::runtime_error);
}

}  // namespace
}  // namespace kelvane
