// Damaged archives: every cut and many single-byte changes of valid archives either
// read or fail with one of the archive's own messages; none crashes (run under ASan).

#include <gtest/gtest.h>

#include <stdexcept>

#include "media/Archive.h"
#include "media/Dib.h"
#include "media/WaveFile.h"
#include "media/archive_bytes.h"

namespace kelvane {
namespace {

using test::Bytes;

bool IsArchiveMessage(const std::string& text) {
    static const char* const exact[] = {
        "Invalid stream format",  "Stream read error",         "Invalid property value", "DIB is invalid",
        "PixelFormat in invalid", "Bitmap image is not valid", "Wave is invalid"};
    for (const char* e : exact)
        if (text == e) return true;
    auto startsEnds = [&](const std::string& head, const std::string& tail) {
        return text.size() >= head.size() + tail.size() && text.compare(0, head.size(), head) == 0 &&
               text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
    };
    return startsEnds("Property ", " does not exist") || startsEnds("Bitcount in invalid (", ")");
}

// Reads the bytes; returns the error text, "" when they read.
template <class Collection, class Read>
std::string Outcome(const std::vector<uint8_t>& bytes, Read read) {
    Collection c;
    try {
        read(bytes, c);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

std::vector<uint8_t> RichPictureArchive() {
    PictureCollection c;
    auto add = [&](const char* className, std::vector<uint8_t> data, Bitmap image) {
        c.Items.push_back(std::make_unique<TPictureCollectionItem>());
        c.Items.back()->Pic.ClassName = className;
        c.Items.back()->Pic.Data = std::move(data);
        c.Items.back()->Pic.Image = std::move(image);
        c.Items.back()->Name = className;
        c.Items.back()->SkipWidth = 1;
    };
    IndexedImage indexed;
    indexed.Width = 13;
    indexed.Height = 5;
    indexed.Palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    for (int i = 0; i < 13 * 5; ++i) indexed.Indices.push_back(static_cast<uint8_t>(i / 7 % 4));
    Bitmap marker;
    marker.Resize(1, 1, 0xFFFFFF);  // any non-empty picture, so that the payload is written
    add("TDIB", EncodeDibIndexed(indexed, 8, true), marker);
    add("TDIB", EncodeDibIndexed(indexed, 4, false), marker);
    Bytes dib16 = test::InfoHeader(3, 2, 16, 3);
    dib16.U32(0xF800)
        .U32(0x07E0)
        .U32(0x001F)
        .U16(0xFFFF)
        .U16(0x07E0)
        .U16(0)
        .U16(0)
        .U16(0xF800)
        .U16(0x001F)
        .U16(1)
        .U16(2);
    add("TDIB", dib16.b, marker);
    Bitmap ship;
    ship.Resize(6, 2, 0x00FF00);
    add("TBitmap", {}, ship);
    return WritePictureArchive(c);
}

std::vector<uint8_t> RichWaveArchive() {
    Bytes a;
    a.Start("SFX", "TWaveCollectionComponent").Prop("List").U8(14);
    a.U8(1).Prop("Name").Text("one").Prop("Looped").Bool(true).Prop("MaxPlayingCount").Int8(2);
    a.Prop("Wave.WAVE").Binary(test::SmallWave({1, 2, 3, 4, 5, 6, 7})).U8(0);
    a.U8(1).Prop("Wave.WAVE").Binary(test::SmallWave({9})).U8(0);
    return a.Finish().b;
}

void ExpectEveryCutAndChangeIsHandled(const std::vector<uint8_t>& valid,
                                      std::string (*outcome)(const std::vector<uint8_t>&)) {
    ASSERT_EQ(outcome(valid), "");
    for (size_t length = 0; length < valid.size(); ++length) {
        std::vector<uint8_t> cut(valid.begin(), valid.begin() + length);
        std::string error = outcome(cut);
        // Even the closing bytes are required, so every cut fails.
        EXPECT_TRUE(IsArchiveMessage(error)) << "cut at " << length << ": \"" << error << "\"";
    }
    for (size_t at = 0; at < valid.size(); ++at) {
        for (uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, static_cast<uint8_t>(valid[at] ^ 0x41)}) {
            std::vector<uint8_t> changed = valid;
            changed[at] = value;
            std::string error = outcome(changed);
            EXPECT_TRUE(error.empty() || IsArchiveMessage(error)) << "byte " << at << ": \"" << error << "\"";
        }
    }
}

TEST(ArchiveRobustness, DamagedPictureArchives) {
    const std::vector<uint8_t> valid = RichPictureArchive();
    PictureCollection c;
    ReadPictureArchive(valid, c);
    ASSERT_EQ(c.Items.size(), 4u);
    EXPECT_EQ(c.Items[0]->Pic.Image.Width, 13);
    EXPECT_EQ(c.Items[2]->Pic.Image.Pixels,
              (std::vector<uint32_t>{0xFF0000, 0x0000FF, 0x000008, 0xFFFFFF, 0x00FF00, 0x000000}));
    ExpectEveryCutAndChangeIsHandled(valid, [](const std::vector<uint8_t>& bytes) {
        return Outcome<PictureCollection>(
            bytes, [](const std::vector<uint8_t>& b, PictureCollection& c) { ReadPictureArchive(b, c); });
    });
}

TEST(ArchiveRobustness, DecodedPicturesHaveABudgetPerArchive) {
    const std::vector<uint8_t> valid = RichPictureArchive();
    PictureCollection c;
    const uint64_t firstItemBytes = 13 * 5 * 4;
    try {
        ReadPictureArchive(valid, c, firstItemBytes);
        FAIL() << "the second picture went over the budget unnoticed";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(e.what(), ArchivePicturesTooLargeMessage(firstItemBytes));
    }
    // The item that broke the budget is kept, like any item that ends a read.
    EXPECT_EQ(c.Items.size(), 2u);
    const uint64_t allItemsBytes = (13 * 5 + 13 * 5 + 3 * 2 + 6 * 2) * 4;
    EXPECT_NO_THROW(ReadPictureArchive(valid, c, allItemsBytes));
    EXPECT_THROW(ReadPictureArchive(valid, c, allItemsBytes - 1), std::runtime_error);
    EXPECT_EQ(ArchivePicturesTooLargeMessage(MaxArchivePictureBytes),
              "The pictures of this archive take more than 512 MiB when decoded");
}

TEST(ArchiveRobustness, DamagedWaveArchives) {
    ExpectEveryCutAndChangeIsHandled(RichWaveArchive(), [](const std::vector<uint8_t>& bytes) {
        return Outcome<WaveCollection>(bytes, ReadWaveArchive);
    });
}

}  // namespace
}  // namespace kelvane
