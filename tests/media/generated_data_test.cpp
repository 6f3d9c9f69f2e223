// The data kelvane-assets generates into the build tree, read back with the game's own
// readers: the graphics and sound archives, the loading pictures, the ship pictures and
// definitions, and the scripts. Build the target kelvane_assets_data before running.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "media/Archive.h"
#include "media/Dib.h"
#include "media/ProfileFile.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

const fs::path GameDir = KELVANE_BINARY_DIR;
const fs::path SourceData = fs::path(KELVANE_SOURCE_DIR) / "data";

PictureCollection ReadPictures(const std::string& name) {
    PictureCollection c;
    ReadPictureArchive(ReadWholeFile((GameDir / "Data" / name).string()), c);
    return c;
}

int MaxChannel(uint32_t pixel) {
    return std::max({static_cast<int>(pixel >> 16 & 0xFF), static_cast<int>(pixel >> 8 & 0xFF),
                     static_cast<int>(pixel & 0xFF)});
}

// Brightest channel found in a rectangle [x0, x1) x [y0, y1) of a picture.
int BrightestIn(const Bitmap& b, int x0, int y0, int x1, int y1) {
    int most = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) most = std::max(most, MaxChannel(b.At(x, y)));
    return most;
}

class GeneratedGraphics : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gfx_ = new PictureCollection(ReadPictures("GFX.dxg")); }
    static void TearDownTestSuite() {
        delete gfx_;
        gfx_ = nullptr;
    }
    static const TPictureCollectionItem& Item(size_t i) { return *gfx_->Items.at(i); }
    static PictureCollection* gfx_;
};
PictureCollection* GeneratedGraphics::gfx_ = nullptr;

TEST_F(GeneratedGraphics, HoldsEveryItemTheGameAddressesWithEnoughPatterns) {
    ASSERT_EQ(gfx_->Items.size(), 22u);
    struct Need {
        size_t Index;
        int MinPatterns, MaxPatterns;
    };
    const Need needs[] = {{0, 1, 1},   {1, 1, 1},    {2, 2, 64},   {3, 2, 64},  {4, 1, 1},   {5, 1, 1},
                          {6, 26, 64}, {7, 26, 64},  {8, 15, 64},  {9, 2, 64},  {10, 1, 1},  {11, 2, 64},
                          {12, 2, 64}, {13, 2, 64},  {14, 2, 64},  {15, 2, 64}, {16, 1, 1},  {17, 2, 64},
                          {18, 1, 1},  {19, 10, 10}, {20, 1, 1},   {21, 2, 64}};
    for (const Need& n : needs) {
        const auto& item = Item(n.Index);
        SCOPED_TRACE("item " + std::to_string(n.Index));
        EXPECT_EQ(item.Pic.ClassName, "TDIB");
        ASSERT_TRUE(item.Pic.HasPicture());
        EXPECT_GE(item.PatternCount(), n.MinPatterns);
        EXPECT_LE(item.PatternCount(), n.MaxPatterns);
        // Every pattern is a full cell of the picture: no partial column or row is left over.
        EXPECT_EQ(item.Pic.Image.Width % item.Width(), 0);
        EXPECT_EQ(item.Pic.Image.Height % item.Height(), 0);
    }
}

TEST_F(GeneratedGraphics, SizesMatchHowTheGameDrawsThem) {
    EXPECT_EQ(Item(0).Width(), 640);
    EXPECT_EQ(Item(0).Height(), 480);
    EXPECT_FALSE(Item(0).Transparent);
    for (size_t explosion : {6u, 7u}) EXPECT_EQ(Item(explosion).Width(), Item(explosion).Height()) << explosion;
    EXPECT_EQ(Item(8).Width(), 100);
    EXPECT_EQ(Item(8).Height(), 101);
    EXPECT_EQ(Item(17).Width(), 62);
    EXPECT_EQ(Item(17).Height(), 62);
    // Beams are narrow and stretched along their height.
    for (size_t beam : {1u, 10u}) {
        EXPECT_GE(Item(beam).Width(), 9) << beam;
        EXPECT_LE(Item(beam).Width(), 15) << beam;
    }
    // The list and map panel at (842, 494) reaches the screen's bottom-right corner exactly.
    EXPECT_EQ(842 + Item(16).Width(), 1024);
    EXPECT_EQ(494 + Item(16).Height(), 768);
    // Caption and digit sit side by side on row 340 without overlapping.
    EXPECT_LE(160 + Item(18).Width(), 810);
}

TEST_F(GeneratedGraphics, BackgroundTileWrapsWithoutASeam) {
    const Bitmap& sky = Item(0).Pic.Image;
    auto difference = [&sky](int ax, int ay, int bx, int by) {
        uint32_t a = sky.At(ax, ay), b = sky.At(bx, by);
        int d = 0;
        for (int shift : {0, 8, 16}) d += std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF));
        return d;
    };
    double acrossSeam = 0, inside = 0;
    for (int y = 0; y < 480; ++y) {
        acrossSeam += difference(639, y, 0, y);
        inside += difference(319, y, 320, y);
    }
    double acrossSeamY = 0, insideY = 0;
    for (int x = 0; x < 640; ++x) {
        acrossSeamY += difference(x, 479, x, 0);
        insideY += difference(x, 239, x, 240);
    }
    // Neighbouring columns across the wrap differ no more than neighbours inside the tile.
    EXPECT_LT(acrossSeam, inside * 1.5 + 480);
    EXPECT_LT(acrossSeamY, insideY * 1.5 + 640);
}

TEST_F(GeneratedGraphics, PanelsLeaveTheTextAndBarAreasDark) {
    struct Area {
        size_t Item;
        int X0, Y0, X1, Y1;  // panel-relative, from the status display's screen positions
    };
    const Area areas[] = {
        {4, 60, 28, 202, 52},   // own bars (65,33)-(207,57) less the panel origin (5,5)
        {4, 18, 27, 250, 80},   // own texts from (23,32), reload texts run long
        {5, 44, 28, 186, 52},   // target bars (856,33)-(998,57) less (812,5)
        {5, 2, 27, 44, 52},     // target labels from (814,32)
        {16, 2, 28, 156, 144},  // map frame (844,522)-(998,638) less (842,494)
        {16, 2, 176, 156, 264}, // eight list rows from (844,670), scores to x 997
    };
    for (const Area& a : areas) {
        const auto& item = Item(a.Item);
        SCOPED_TRACE("item " + std::to_string(a.Item));
        ASSERT_LE(a.X1, item.Width());
        ASSERT_LE(a.Y1, item.Height());
        EXPECT_LE(BrightestIn(item.Pic.Image, a.X0, a.Y0, a.X1, a.Y1), 40);
        // The wells are part of the panel, not holes in it.
        for (int y = a.Y0; y < a.Y1; ++y)
            for (int x = a.X0; x < a.X1; ++x)
                ASSERT_NE(item.Pic.Image.At(x, y), ColorToPixel(item.TransparentColor)) << x << "," << y;
    }
    for (size_t panel : {4u, 5u, 16u}) {
        const auto& item = Item(panel);
        EXPECT_TRUE(item.Transparent);
        EXPECT_EQ(item.Pic.Image.At(0, 0), ColorToPixel(item.TransparentColor)) << "rounded corner " << panel;
    }
}

TEST_F(GeneratedGraphics, AnimatedPicturesChangeFromPatternToPattern) {
    for (size_t i : {2u, 3u, 6u, 7u, 8u, 9u, 11u, 12u, 13u, 14u, 15u, 17u, 19u, 21u}) {
        const auto& item = Item(i);
        const Bitmap& b = item.Pic.Image;
        const int w = item.Width(), h = item.Height();
        const int columns = b.Width / w;
        auto pattern = [&](int p) {
            std::vector<uint32_t> pixels;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) pixels.push_back(b.At((p % columns) * w + x, (p / columns) * h + y));
            return pixels;
        };
        std::set<std::vector<uint32_t>> distinct;
        for (int p = 0; p < item.PatternCount(); ++p) {
            auto pixels = pattern(p);
            EXPECT_TRUE(std::any_of(pixels.begin(), pixels.end(),
                                    [&](uint32_t px) { return px != ColorToPixel(item.TransparentColor); }))
                << "item " << i << " pattern " << p << " is empty";
            distinct.insert(pixels);
        }
        EXPECT_EQ(static_cast<int>(distinct.size()), item.PatternCount()) << "item " << i;
    }
}

TEST(GeneratedLoadingScreen, HoldsTheTitlePictureAndTheProgressCell) {
    PictureCollection loading = ReadPictures("Loading.dxg");
    ASSERT_EQ(loading.Items.size(), 2u);
    const auto& title = *loading.Items[0];
    const auto& cell = *loading.Items[1];
    auto bits = [](const TPictureCollectionItem& item) { return item.Pic.Data[14] | item.Pic.Data[15] << 8; };
    auto compression = [](const TPictureCollectionItem& item) { return item.Pic.Data[16]; };
    ASSERT_GE(title.Pic.Data.size(), 40u);
    ASSERT_GE(cell.Pic.Data.size(), 40u);
    EXPECT_EQ(title.Pic.ClassName, "TDIB");
    EXPECT_EQ(title.Pic.Image.Width, 640);
    EXPECT_EQ(title.Pic.Image.Height, 480);
    EXPECT_EQ(bits(title), 8);
    EXPECT_EQ(compression(title), 1);  // RLE8
    EXPECT_FALSE(title.Transparent);
    EXPECT_EQ(cell.Pic.Image.Width, 9);
    EXPECT_EQ(cell.Pic.Image.Height, 9);
    EXPECT_EQ(bits(cell), 4);
    EXPECT_EQ(compression(cell), 0);
    EXPECT_FALSE(cell.Transparent);
    EXPECT_EQ(cell.TransparentColor, 14396362u);
    // The nine cells (picture x 278..367, y 380..388) land in a dark well.
    EXPECT_LE(BrightestIn(title.Pic.Image, 278, 380, 368, 389), 40);
}

// The window's icon: 64 x 64, read by the game's own BMP reader, opaque on the badge's dark
// ground (the corners) with a bright ship across its middle.
TEST(GeneratedIcon, IsASquareBmpTheGameReads) {
    const Bitmap icon = DecodeBmpFile(ReadWholeFile((GameDir / "Data" / "Icon.bmp").string()));
    ASSERT_EQ(icon.Width, 64);
    ASSERT_EQ(icon.Height, 64);
    EXPECT_LT(BrightestIn(icon, 0, 0, 2, 2), 40);
    EXPECT_LT(BrightestIn(icon, 62, 62, 64, 64), 40);
    EXPECT_GT(BrightestIn(icon, 24, 24, 40, 40), 150);
}

TEST(GeneratedSounds, HoldNineShortLevelledPcmSounds) {
    WaveCollection waves;
    ReadWaveArchive(ReadWholeFile((GameDir / "Data" / "SFX.dxg").string()), waves);
    ASSERT_EQ(waves.Items.size(), 9u);
    // Distinct sample data, kept as text: a set of byte vectors trips a false GCC 12 warning.
    std::set<std::string> distinct;
    for (size_t i = 0; i < waves.Items.size(); ++i) {
        const WaveData& w = waves.Items[i]->Wave;
        SCOPED_TRACE("wave " + std::to_string(i));
        ASSERT_GE(w.Format.size(), 16u);
        ASSERT_FALSE(w.Samples.empty());
        auto u16 = [&w](size_t at) { return w.Format[at] | w.Format[at + 1] << 8; };
        const int rate = u16(4) | u16(6) << 16;
        EXPECT_EQ(u16(0), 1);   // PCM
        EXPECT_EQ(u16(2), 1);   // mono
        EXPECT_TRUE(rate == 22050 || rate == 44100);
        EXPECT_EQ(u16(14), 16);
        ASSERT_EQ(w.Samples.size() % 2, 0u);
        const double seconds = w.Samples.size() / 2.0 / rate;
        EXPECT_GE(seconds, 0.15 - 1e-3);
        EXPECT_LE(seconds, 1.5 + 1e-3);
        int peak = 0;
        for (size_t s = 0; s + 1 < w.Samples.size(); s += 2)
            peak = std::max(peak, std::abs(static_cast<int>(static_cast<int16_t>(w.Samples[s] | w.Samples[s + 1] << 8))));
        const double peakDb = 20 * std::log10(peak / 32767.0);
        EXPECT_NEAR(peakDb, -3.0, 0.2);
        distinct.insert(std::string(w.Samples.begin(), w.Samples.end()));
    }
    EXPECT_EQ(distinct.size(), 9u);
}

// Every definition file of the repository, read with the game's own profile reader.
std::map<std::string, ProfileFile> ShipDefinitions() {
    std::map<std::string, ProfileFile> out;
    for (const auto& e : fs::directory_iterator(SourceData / "Ships"))
        if (e.path().extension() == ".ini") out.emplace(e.path().stem().string(), ProfileFile::Load(e.path().string(), {1 << 20, "a ship definition"}));
    return out;
}

TEST(GeneratedShips, EveryDefinitionHasAPictureOfThreePatternsWithAnAlignedHitMask) {
    const auto definitions = ShipDefinitions();
    ASSERT_GE(definitions.size(), 8u);
    constexpr uint32_t Key = 0x00FF00, Mask = 0xFF00FF;
    constexpr int Shift = 7;  // the game reads the mask 7 pixels in from the hit box corner
    for (const auto& [name, ini] : definitions) {
        SCOPED_TRACE(name);
        const fs::path bmp = GameDir / "Data" / "Ships" / (name.substr(0, name.find('.')) + ".bmp");
        ASSERT_TRUE(fs::exists(GameDir / "Data" / "Ships" / (name + ".ini")));
        const Bitmap ship = DecodeBmpFile(ReadWholeFile(bmp.string()));
        ASSERT_EQ(ship.Width % 3, 0);
        const int w = ship.Width / 3, h = ship.Height;
        EXPECT_GE(std::max(w, h), 60);
        EXPECT_LE(std::max(w, h), 170);
        int hull = 0, maskPixels = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint32_t drawn = ship.At(x, y), mask = ship.At(w + x, y);
                ASSERT_TRUE(mask == Mask || mask == 0) << "mask pixel " << x << "," << y;
                if (drawn != Key) ++hull;
                if (mask != Mask) continue;
                ++maskPixels;
                // Nothing in the columns and rows the game never reads.
                EXPECT_LT(x, 2 * (w / 2) - 2 * Shift) << x << "," << y;
                EXPECT_LT(y, 2 * (h / 2) - 2 * Shift) << x << "," << y;
                // A hit over the mask is a hit on the ship as drawn, damaged or not.
                ASSERT_LT(x + Shift, w);
                ASSERT_LT(y + Shift, h);
                EXPECT_NE(ship.At(x + Shift, y + Shift), Key) << x << "," << y;
                EXPECT_NE(ship.At(2 * w + x + Shift, y + Shift), Key) << x << "," << y;
            }
        EXPECT_GT(maskPixels, w * h / 8);
        EXPECT_GE(hull, maskPixels);  // engine glow and soft edges are drawn but not hit
        for (int k : {0, 2})  // the corners show space, not a box around the ship
            for (auto [x, y] : {std::pair{0, 0}, std::pair{w - 1, 0}, std::pair{0, h - 1}, std::pair{w - 1, h - 1}})
                EXPECT_EQ(ship.At(k * w + x, y), Key) << "pattern " << k;
    }
}

TEST(GeneratedShips, DefinitionsAreCompleteAndTogetherUseEveryWeapon) {
    const std::set<std::string> primaries = {"PHASER_ORANGE", "BEAM_POLARON", "DISRUPTOR_MARK1", "DISRUPTOR_MARK2"};
    const std::set<std::string> secondaries = {"TORPEDO_PHOTON", "TORPEDO_QUANTUM", "TORPEDO_POLARON",
                                               "TORPEDO_ION",    "TORPEDO_PLASMA",  "PHASER_PULSE"};
    const std::vector<std::pair<std::string, std::vector<std::string>>> keys = {
        {"StrengthIndices",
         {"PrimaryWeapon", "SecondaryWeapon", "Accurancy", "Shields", "Hull", "Speed", "Manoeuvrability"}},
        {"OverallInfo",
         {"ClassName", "ShipName", "FullShipName", "Crew", "Length", "ShipDescription1", "ShipDescription2",
          "ShipDescription3", "ShipDescription4", "ShipDescription5"}},
        {"Weapons", {"PrimaryWeaponType", "SecondaryWeaponType", "SpecialDevice"}},
        {"ExploDefinition", {"ShipDisappearance", "Explo1", "Explo2", "Explo3", "Explo4"}},
    };
    const std::string missing = "\x01missing";
    std::set<std::string> usedPrimaries, usedSecondaries, names;
    int tachyons = 0;
    for (const auto& [name, ini] : ShipDefinitions()) {
        SCOPED_TRACE(name);
        for (const auto& [section, list] : keys)
            for (const std::string& key : list) EXPECT_NE(ini.ReadString(section, key, missing), missing) << key;
        const std::string primary = ini.ReadString("Weapons", "PrimaryWeaponType", "NONE");
        const std::string secondary = ini.ReadString("Weapons", "SecondaryWeaponType", "NONE");
        const std::string special = ini.ReadString("Weapons", "SpecialDevice", "NONE");
        EXPECT_TRUE(primaries.count(primary)) << primary;
        EXPECT_TRUE(secondaries.count(secondary)) << secondary;
        EXPECT_TRUE(special == "NONE" || special == "TACHYON_PULSE") << special;
        usedPrimaries.insert(primary);
        usedSecondaries.insert(secondary);
        tachyons += special == "TACHYON_PULSE";
        EXPECT_TRUE(names.insert(ini.ReadString("OverallInfo", "ShipName", "")).second) << "ShipName repeats";

        const int speed = ini.ReadInteger("StrengthIndices", "Speed", 0);
        EXPECT_GE(speed, 400);
        EXPECT_LE(speed, 1000);
        for (const char* key : {"Shields", "Hull"}) {
            EXPECT_GE(ini.ReadInteger("StrengthIndices", key, 0), 100) << key;
            EXPECT_LT(ini.ReadInteger("StrengthIndices", key, 0), 1000) << key;
        }
        for (const char* key : {"PrimaryWeapon", "SecondaryWeapon", "Accurancy", "Manoeuvrability"})
            EXPECT_GT(ini.ReadInteger("StrengthIndices", key, 0), 0) << key;

        const int disappearance = ini.ReadInteger("ExploDefinition", "ShipDisappearance", 1);
        EXPECT_GE(disappearance, 8);
        EXPECT_LE(disappearance, 20);
        int parts = 0;
        std::set<bool> small;
        for (int n = 1; n <= 4; ++n) {
            const std::string k = std::to_string(n);
            if (!ini.ReadBool("ExploDefinition", "Explo" + k, false)) continue;
            ++parts;
            const int delay = ini.ReadInteger("ExploDefinition", "Delay" + k + "Explo", 1);
            EXPECT_GE(delay, 1);
            EXPECT_LE(delay, 20);
            const int distance = ini.ReadInteger("ExploDefinition", "Distance" + k + "Explo", 0);
            EXPECT_GE(distance, 0);
            EXPECT_LE(distance, 45);
            small.insert(ini.ReadString("ExploDefinition", "Type" + k + "Explo", "") == "SMALL");
        }
        EXPECT_GE(parts, 2);
        EXPECT_LE(parts, 4);
        EXPECT_EQ(small.size(), 2u) << "both explosion types";
    }
    EXPECT_EQ(usedPrimaries, primaries);
    EXPECT_EQ(usedSecondaries, secondaries);
    EXPECT_GE(tachyons, 2);
}

TEST(GeneratedScripts, CreateShipsThatExist) {
    std::set<std::string> names;
    for (const auto& [file, ini] : ShipDefinitions()) names.insert(ini.ReadString("OverallInfo", "ShipName", ""));
    const std::map<std::string, size_t> expected = {{"battle", 8}, {"duel", 2}, {"trio", 3}};
    for (const auto& [script, count] : expected) {
        SCOPED_TRACE(script);
        std::ifstream in(GameDir / "Scripts" / script);
        ASSERT_TRUE(in.good());
        std::set<std::string> created;
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream words(line);
            std::string keyword, name;
            words >> keyword >> name;
            EXPECT_EQ(keyword, "CREATESHIP");
            EXPECT_TRUE(names.count(name)) << name;
            created.insert(name);
        }
        EXPECT_EQ(created.size(), count);
    }
}

}  // namespace
}  // namespace kelvane
