// Reading picture and sound archives assembled by hand.

#include <gtest/gtest.h>

#include <stdexcept>

#include "media/Archive.h"
#include "media/archive_bytes.h"

namespace kelvane {
namespace {

using test::Bytes;

std::string ErrorOf(const std::vector<uint8_t>& bytes) {
    PictureCollection c;
    try {
        ReadPictureArchive(bytes, c);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

TEST(ArchiveRead, ItemPropertiesAndPayload) {
    Bytes a;
    a.Start().Prop("List.ColorTable").U8(10).U32(1024);
    for (int i = 0; i < 1024; ++i) a.U8(static_cast<uint8_t>(i * 7));
    a.Prop("List").U8(14);
    a.U8(1);
    a.Prop("Name").Text("Beam").Prop("PatternHeight").Int8(5).Prop("PatternWidth").Int16(300);
    a.Prop("Picture.Data").Binary(test::DibPayload(test::SmallDib24()));
    a.Prop("SkipHeight").Int8(-3).Prop("SkipWidth").Int32(70000);
    a.Prop("SystemMemory")
        .Bool(true)
        .Prop("Transparent")
        .Bool(false)
        .Prop("TransparentColor")
        .Ident("clFuchsia");
    a.U8(0);
    a.U8(1).U8(0);  // a second item with no properties at all
    a.Finish();

    PictureCollection c;
    ReadPictureArchive(a.b, c);
    ASSERT_EQ(c.Items.size(), 2u);
    EXPECT_EQ(c.ColorTable[1023], static_cast<uint8_t>(1023 * 7));
    const TPictureCollectionItem& first = *c.Items[0];
    EXPECT_EQ(first.Name, "Beam");
    EXPECT_EQ(first.PatternHeight, 5);
    EXPECT_EQ(first.PatternWidth, 300);
    EXPECT_EQ(first.SkipHeight, -3);
    EXPECT_EQ(first.SkipWidth, 70000);
    EXPECT_TRUE(first.SystemMemory);
    EXPECT_FALSE(first.Transparent);
    EXPECT_EQ(first.TransparentColor, 0xFF00FFu);
    EXPECT_EQ(first.Pic.ClassName, "TDIB");
    EXPECT_EQ(first.Pic.Data, test::SmallDib24());
    ASSERT_EQ(first.Pic.Image.Width, 2);
    ASSERT_EQ(first.Pic.Image.Height, 2);
    EXPECT_EQ(first.Pic.Image.Pixels, (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));

    // Defaults of a new item: transparent, black key, no picture.
    const TPictureCollectionItem& second = *c.Items[1];
    EXPECT_TRUE(second.Transparent);
    EXPECT_EQ(second.TransparentColor, 0u);
    EXPECT_FALSE(second.SystemMemory);
    EXPECT_EQ(second.PatternWidth, 0);
    EXPECT_FALSE(second.Pic.HasPicture());
}

TEST(ArchiveRead, NamesAndColourIdentifiersIgnoreCase) {
    Bytes a;
    a.Start("OTHERNAME").Prop("list.colortable").Binary(std::vector<uint8_t>(1024, 9)).Prop("LIST").U8(14);
    a.U8(1)
        .Prop("patternwidth")
        .Int8(7)
        .Prop("TRANSPARENTCOLOR")
        .Ident("CLLIME")
        .Prop("transparent")
        .Bool(false);
    a.U8(0).Finish();
    PictureCollection c;
    ReadPictureArchive(a.b, c);
    ASSERT_EQ(c.Items.size(), 1u);
    EXPECT_EQ(c.ColorTable[0], 9);
    EXPECT_EQ(c.Items[0]->PatternWidth, 7);
    EXPECT_EQ(c.Items[0]->TransparentColor, 0x00FF00u);
    EXPECT_FALSE(c.Items[0]->Transparent);
}

TEST(ArchiveRead, WithoutColorTableThePaletteStaysAndOldItemsGo) {
    PictureCollection c;
    c.ColorTable.fill(0x5A);
    c.Items.push_back(std::make_unique<TPictureCollectionItem>());
    Bytes a;
    a.Start().Prop("List").U8(14).U8(1).U8(0).Finish();
    // A wrong byte count in the header does not matter.
    a.b[30] = 0xEE;
    ReadPictureArchive(a.b, c);
    EXPECT_EQ(c.ColorTable[0], 0x5A);
    EXPECT_EQ(c.ColorTable[1023], 0x5A);
    EXPECT_EQ(c.Items.size(), 1u);
}

TEST(ArchiveRead, FlagsPrefixAndItemIndicesAreSkipped) {
    Bytes a;
    a.U8s({0xFF, 0x0A, 0x00}).Raw("X").U8(0).U16(0x1030).U32(0).Raw("TPF0");
    a.U8(0xF2).Int16(1234);  // flags with a child position
    a.Str("TPictureCollectionComponent").Str("");
    a.Prop("List").U8(14);
    a.Int8(0).U8(1).Prop("PatternWidth").Int8(1).U8(0);
    a.Int32(99).U8(1).Prop("PatternWidth").Int8(2).U8(0);
    a.Finish();
    PictureCollection c;
    ReadPictureArchive(a.b, c);
    ASSERT_EQ(c.Items.size(), 2u);
    EXPECT_EQ(c.Items[1]->PatternWidth, 2);
}

TEST(ArchiveRead, StringValueKindsBecomeWindows1250) {
    struct Case {
        const char* what;
        std::vector<uint8_t> value;
        std::string expected;
    };
    const std::string longText(300, 'x');
    const Case cases[] = {
        {"long string", Bytes().U8(12).U32(300).Raw(longText).b, longText},
        // "Až€" + a CJK character the code page lacks + an unpaired surrogate.
        {"wide string", Bytes().U8(18).U32(5).U16('A').U16(0x017E).U16(0x20AC).U16(0x4E2D).U16(0xD800).b,
         "A\x9E\x80??"},
        // "čx" + a 4-byte emoji + a broken sequence.
        {"utf-8 string", Bytes().U8(20).U32(9).U8s({0xC4, 0x8D, 'x', 0xF0, 0x9F, 0x98, 0x80, 0xC3, 'y'}).b,
         "\xE8x??y"},
    };
    for (const Case& k : cases) {
        Bytes a;
        a.Start().Prop("List").U8(14).U8(1).Prop("Name").Raw(k.value).U8(0).Finish();
        PictureCollection c;
        ReadPictureArchive(a.b, c);
        ASSERT_EQ(c.Items.size(), 1u) << k.what;
        EXPECT_EQ(c.Items[0]->Name, k.expected) << k.what;
    }
}

TEST(ArchiveRead, ColourValues) {
    struct Case {
        std::vector<uint8_t> value;
        uint32_t expected;
    };
    const Case cases[] = {
        {Bytes().Ident("clBtnFace").b, 0x8000000Fu},
        {Bytes().Ident("clgradientinactivecaption").b, 0x8000001Cu},
        {Bytes().Ident("clNone").b, 0x1FFFFFFFu},
        {Bytes().Ident("clSkyBlue").b, 0xF0CAA6u},
        {Bytes().Int32(14396362).b, 14396362u},
        {Bytes().Int8(-1).b, 0xFFFFFFFFu},
    };
    for (const Case& k : cases) {
        Bytes a;
        a.Start().Prop("List").U8(14).U8(1).Prop("TransparentColor").Raw(k.value).U8(0).Finish();
        PictureCollection c;
        ReadPictureArchive(a.b, c);
        ASSERT_EQ(c.Items.size(), 1u);
        EXPECT_EQ(c.Items[0]->TransparentColor, k.expected);
    }
}

TEST(ArchiveRead, PicturePayloadsWithoutPixels) {
    struct Case {
        const char* what;
        std::vector<uint8_t> payload;
        std::string className;
    };
    const Case cases[] = {
        {"TDIB ending after the tag", Bytes().Str("TDIB").b, "TDIB"},
        {"TBitmap ending after the tag", Bytes().Str("TBitmap").b, "TBitmap"},
        {"TBitmap of 0 bytes", Bytes().Str("TBitmap").U32(0).b, "TBitmap"},
        {"unknown class", Bytes().Str("TJPEGImage").U8s({1, 2, 3}).b, ""},
        {"empty value", {}, ""},
    };
    for (const Case& k : cases) {
        Bytes a;
        a.Start().Prop("List").U8(14).U8(1).Prop("Picture.Data").Binary(k.payload).U8(0).Finish();
        PictureCollection c;
        ReadPictureArchive(a.b, c);
        ASSERT_EQ(c.Items.size(), 1u) << k.what;
        EXPECT_EQ(c.Items[0]->Pic.ClassName, k.className) << k.what;
        EXPECT_FALSE(c.Items[0]->Pic.HasPicture()) << k.what;
    }
}

TEST(ArchiveRead, FailuresCarryTheirTexts) {
    auto item = [](const std::vector<uint8_t>& props) {
        return Bytes().Start().Prop("List").U8(14).U8(1).Raw(props).U8(0).Finish().b;
    };
    auto picture = [&](const std::vector<uint8_t>& payload) {
        return item(Bytes().Prop("Picture.Data").Binary(payload).b);
    };
    std::vector<uint8_t> badHeader = item({});
    badHeader[0] = 0xFE;
    std::vector<uint8_t> badType = item({});
    badType[1] = 11;
    std::vector<uint8_t> badSignature = item({});
    badSignature[37] = '1';
    std::vector<uint8_t> truncated = item(Bytes().Prop("PatternWidth").Int8(1).b);
    truncated.erase(truncated.end() - 5, truncated.end());
    std::vector<uint8_t> noNameEnd = Bytes().U8s({0xFF, 0x0A, 0x00}).Raw(std::string(100, 'A')).b;

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        std::string text;
    };
    const Case cases[] = {
        {"empty file", {}, "Invalid stream format"},
        {"first byte", badHeader, "Invalid stream format"},
        {"resource type", badType, "Invalid stream format"},
        {"no end of the resource name", noNameEnd, "Invalid stream format"},
        {"signature", badSignature, "Invalid stream format"},
        {"stream ends early", truncated, "Stream read error"},
        {"short colour table",
         Bytes().Start().Prop("List.ColorTable").Binary(std::vector<uint8_t>(1000)).Finish().b,
         "Stream read error"},
        {"binary longer than the file", item(Bytes().Prop("Picture.Data").U8(10).U32(1000).b),
         "Stream read error"},
        {"unknown item property", item(Bytes().Prop("Frequency").Int8(1).b),
         "Property Frequency does not exist"},
        {"unknown root property", Bytes().Start().Prop("List.Foo").Int8(1).Finish().b,
         "Property List.Foo does not exist"},
        {"integer given as boolean", item(Bytes().Prop("PatternWidth").Bool(true).b),
         "Invalid property value"},
        {"integer given as string", item(Bytes().Prop("SkipWidth").Text("5").b), "Invalid property value"},
        {"boolean given as integer", item(Bytes().Prop("Transparent").Int8(1).b), "Invalid property value"},
        {"string given as identifier", item(Bytes().Prop("Name").Ident("clRed").b), "Invalid property value"},
        {"unknown colour name", item(Bytes().Prop("TransparentColor").Ident("clPink").b),
         "Invalid property value"},
        {"list without tag 14", Bytes().Start().Prop("List").U8(1).Finish().b, "Invalid property value"},
        {"item without tag 1", Bytes().Start().Prop("List").U8(14).U8(6).Finish().b,
         "Invalid property value"},
        {"binary given as string", item(Bytes().Prop("Picture.Data").Text("TDIB").b),
         "Invalid property value"},
        {"DIB header size", picture(test::DibPayload(Bytes().U32(50).Zeros(46).b)), "DIB is invalid"},
        {"DIB compression", picture(test::DibPayload(test::InfoHeader(1, 1, 8, 4).Zeros(1028).b)),
         "DIB is invalid"},
        {"DIB of 3 bytes", picture(test::DibPayload({40, 0, 0})), "DIB is invalid"},
        {"DIB header cut", picture(test::DibPayload(Bytes().U32(40).Zeros(10).b)), "Stream read error"},
        {"DIB bit count", picture(test::DibPayload(test::InfoHeader(1, 1, 7).Zeros(8).b)),
         "Bitcount in invalid (7)"},
        {"DIB masks",
         picture(test::DibPayload(test::InfoHeader(1, 1, 16, 3).U32(0xF00).U32(0xF0).U32(0xF).Zeros(4).b)),
         "PixelFormat in invalid"},
        {"BMP without BM", picture(test::BitmapPayload(Bytes().Raw("XM").Zeros(60).b)),
         "Bitmap image is not valid"},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(ErrorOf(k.bytes), k.text) << k.what;
    }
}

TEST(ArchiveRead, ItemsBeforeAnErrorStay) {
    Bytes a;
    a.Start().Prop("List").U8(14);
    a.U8(1).Prop("PatternWidth").Int8(11).U8(0);
    a.U8(1).Prop("PatternWidth").Int8(22).U8(0);
    a.U8(1).Prop("PatternWidth").Int8(33).Prop("Bogus").Int8(0).U8(0);
    a.Finish();
    PictureCollection c;
    EXPECT_THROW(ReadPictureArchive(a.b, c), std::runtime_error);
    ASSERT_EQ(c.Items.size(), 3u);  // the item being read when the error came is kept too
    EXPECT_EQ(c.Items[0]->PatternWidth, 11);
    EXPECT_EQ(c.Items[1]->PatternWidth, 22);
    EXPECT_EQ(c.Items[2]->PatternWidth, 33);
}

TEST(ArchiveRead, WaveArchive) {
    Bytes a;
    a.Start("SFX", "TWaveCollectionComponent").Prop("List").U8(14);
    a.U8(1).Prop("Name").Text("Phaser").Prop("Looped").Bool(true).Prop("MaxPlayingCount").Int8(-4);
    a.Prop("Wave.WAVE").Binary(test::SmallWave({1, 2, 3, 4, 5})).U8(0);
    a.U8(1).Prop("maxplayingcount").Int16(300).U8(0);
    a.Finish();
    WaveCollection c;
    ReadWaveArchive(a.b, c);
    ASSERT_EQ(c.Items.size(), 2u);
    EXPECT_EQ(c.Items[0]->Name, "Phaser");
    EXPECT_TRUE(c.Items[0]->Looped);
    EXPECT_EQ(c.Items[0]->MaxPlayingCount, 0);  // negative counts as no limit
    EXPECT_EQ(c.Items[0]->Wave.Samples, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(c.Items[0]->Wave.Format.size(), 16u);
    EXPECT_FALSE(c.Items[1]->Looped);
    EXPECT_EQ(c.Items[1]->MaxPlayingCount, 300);
    EXPECT_TRUE(c.Items[1]->Wave.Empty());
}

TEST(ArchiveRead, WaveArchiveFailures) {
    auto error = [](const std::vector<uint8_t>& props) {
        Bytes a;
        a.Start("SFX", "TWaveCollectionComponent").Prop("List").U8(14).U8(1).Raw(props).U8(0).Finish();
        WaveCollection c;
        try {
            ReadWaveArchive(a.b, c);
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_EQ(error(Bytes().Prop("Wave.WAVE").Binary(Bytes().Raw("RIFXxxxxWAVE").b).b), "Wave is invalid");
    EXPECT_EQ(error(Bytes().Prop("Volume").Int8(0).b), "Property Volume does not exist");
    EXPECT_EQ(error(Bytes().Prop("Looped").Int8(1).b), "Invalid property value");
    Bytes colourTable;
    colourTable.Start("SFX", "TWaveCollectionComponent").Prop("List.ColorTable").Binary({}).Finish();
    WaveCollection c;
    EXPECT_THROW(ReadWaveArchive(colourTable.b, c), std::runtime_error);
}

TEST(ArchiveRead, FilesThatCannotBeOpenedOrCreated) {
    const std::string missing = "/nonexistent-kelvane-dir/GFX.dxg";
    try {
        ReadWholeFile(missing);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing + ": No such file or directory");
    }
    try {
        WriteWholeFile(missing, {1, 2, 3});
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + missing);
    }
    EXPECT_THROW(ReadWholeFile("/"), std::runtime_error);  // a directory is not a file
    EXPECT_THROW(ReadWholeFile("/dev/zero"), std::runtime_error);  // nor is an endless device
}

}  // namespace
}  // namespace kelvane
