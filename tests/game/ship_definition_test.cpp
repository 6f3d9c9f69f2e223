#include <gtest/gtest.h>

#include <string>

#include "TempGameDir.h"
#include "game/ShipDefinition.h"
#include "media/Dib.h"

namespace kelvane {
namespace {

using testing::TempGameDir;

std::string ShipPicture(int width, int height) {
    Bitmap picture;
    picture.Resize(width, height, 0x00FF00);
    const std::vector<uint8_t> bmp = EncodeBmpFile(picture);
    return std::string(bmp.begin(), bmp.end());
}

struct Loaded {
    kelvane::World World;
    TImageList images;
};

// A definition of the test's Data/Ships, with its picture, as the loading sequence reads it.
void LoadFromShips(const TempGameDir& dir, Loaded& loaded, const std::string& name, int slot) {
    const std::string ships = dir.Path() + "Data/Ships/";
    LoadShipDefinitionFile(loaded.World, loaded.images, ships + name, ShipPicturePath(ships, name), slot);
}

void LoadOne(TempGameDir& dir, Loaded& loaded, const std::string& ini, const std::string& name = "Alpha.ini",
             int slot = 1) {
    dir.WriteFile("Data/Ships/" + name, ini);
    dir.WriteFile("Data/Ships/" + name.substr(0, name.find('.')) + ".bmp", ShipPicture(300, 100));
    LoadFromShips(dir, loaded, name, slot);
}

TempGameDir::Options BareDir() { return {false, false, false}; }

TEST(ShipDefinition, DefaultsForAFileWithOnlyWeapons) {
    TempGameDir dir(BareDir());
    Loaded loaded;
    LoadOne(dir, loaded, "[Weapons]\nPrimaryWeaponType=phaser_orange\n");
    const TShip& ship = loaded.World.Ships[1];
    EXPECT_EQ(ship.PrimaryWeaponType, "PHASER_ORANGE");
    EXPECT_EQ(ship.SecondaryWeaponType, "NONE");
    EXPECT_EQ(ship.SpecialDevice, "NONE");
    EXPECT_EQ(ship.PrimaryStrength, 0);
    EXPECT_EQ(ship.MaxHull, 0);
    EXPECT_EQ(ship.ShipDisappearance, 1);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(ship.ExplosionParts[n].Enabled, 0);
        EXPECT_EQ(ship.ExplosionParts[n].Delay, 1);
        EXPECT_EQ(ship.ExplosionParts[n].ImageIndex, 6);
    }
    EXPECT_EQ(ship.Target, 1);
    EXPECT_EQ(ship.ShieldsUp, 1);
    EXPECT_EQ(ship.InPlay, 0);
    EXPECT_EQ(ship.ImageIndex, 0);
    ASSERT_EQ(loaded.images.Count(), 1);
    EXPECT_EQ(loaded.images.Item(0).PatternWidth, 100);
    EXPECT_EQ(loaded.images.Item(0).PatternHeight, 100);
    EXPECT_TRUE(loaded.images.Item(0).Transparent);
    EXPECT_EQ(loaded.images.Item(0).TransparentColor, 0x00FF00u);
}

TEST(ShipDefinition, ValuesScaleWithHalvesToEven) {
    struct Case {
        const char* key;
        int value;
        int32_t TShip::*field;
        int32_t expected;
    } cases[] = {
        {"PrimaryWeapon", 25, &TShip::PrimaryStrength, 2},  {"PrimaryWeapon", 35, &TShip::PrimaryStrength, 4},
        {"SecondaryWeapon", 200, &TShip::SecondaryStrength, 20}, {"Accurancy", 400, &TShip::Accuracy, 30},
        {"Manoeuvrability", 2000, &TShip::Manoeuvrability, 3}, {"Hull", 600, &TShip::MaxHull, 600},
    };
    for (const Case& c : cases) {
        TempGameDir dir(BareDir());
        Loaded loaded;
        LoadOne(dir, loaded, std::string("[StrengthIndices]\n") + c.key + "=" + std::to_string(c.value) + "\n");
        EXPECT_EQ(loaded.World.Ships[1].*c.field, c.expected) << c.key << "=" << c.value;
    }
    for (auto [speed, expected] : {std::pair{1250, 12.0}, std::pair{1350, 14.0}}) {
        TempGameDir dir(BareDir());
        Loaded loaded;
        LoadOne(dir, loaded, "[StrengthIndices]\nSpeed=" + std::to_string(speed) + "\n");
        EXPECT_EQ(loaded.World.Ships[1].MaxSpeed, expected) << speed;
    }
}

TEST(ShipDefinition, StrengthRatingFromTheRoundedFields) {
    TempGameDir dir(BareDir());
    Loaded loaded;
    LoadOne(dir, loaded,
            "[StrengthIndices]\nPrimaryWeapon=100\nSecondaryWeapon=200\nAccurancy=400\nShields=500\nHull=600\n"
            "Speed=1000\nManoeuvrability=2000\n");
    const TShip& ship = loaded.World.Ships[1];
    EXPECT_EQ(ship.StrengthRating, 1166);
    EXPECT_EQ(ship.Shields, 500);
    EXPECT_EQ(ship.Hull, 600);
}

TEST(ShipDefinition, ExplosionScriptAndHexValues) {
    TempGameDir dir(BareDir());
    Loaded loaded;
    LoadOne(dir, loaded,
            "[StrengthIndices]\nHull=$64\n[ExploDefinition]\nShipDisappearance=300\nExplo2=1\nType2Explo=  SMALL  \n"
            "Type3Explo=small\nType4Explo=Small1\nDelay2Explo=0x0A\nAngle2Explo=-45\nDistance2Explo=12\n");
    const TShip& ship = loaded.World.Ships[1];
    EXPECT_EQ(ship.MaxHull, 100);
    EXPECT_EQ(ship.ShipDisappearance, 44);  // the low 8 bits of 300
    EXPECT_EQ(ship.ExplosionParts[2].Enabled, 1);
    EXPECT_EQ(ship.ExplosionParts[2].ImageIndex, 7);
    EXPECT_EQ(ship.ExplosionParts[3].ImageIndex, 7);
    EXPECT_EQ(ship.ExplosionParts[4].ImageIndex, 6);
    EXPECT_EQ(ship.ExplosionParts[2].Delay, 10);
    EXPECT_EQ(ship.ExplosionParts[2].Angle, -45);
    EXPECT_EQ(ship.ExplosionParts[2].Distance, 12);
}

TEST(ShipDefinition, StartValuesAreInTheField) {
    TempGameDir dir(BareDir());
    Loaded loaded;
    for (int seed = 0; seed < 50; ++seed) {
        loaded.World.Rng.Seed(static_cast<uint32_t>(seed));
        LoadOne(dir, loaded, "[OverallInfo]\nShipName=Alpha\n", "Alpha.ini", 2);
        const TShip& ship = loaded.World.Ships[2];
        EXPECT_GE(ship.X, 300);
        EXPECT_LE(ship.X, 1746);
        EXPECT_GE(ship.Y, 300);
        EXPECT_LE(ship.Y, 1234);
        EXPECT_TRUE(ship.Heading == 0 || ship.Heading == 90 || ship.Heading == 180);
        EXPECT_EQ(ship.Target, 2);
        EXPECT_EQ(ship.ImageIndex, 1);
    }
}

TEST(ShipDefinition, PictureNamedByTheBaseNameAndFoundWithoutRegardToCase) {
    TempGameDir dir(BareDir());
    Loaded loaded;
    dir.WriteFile("Data/Ships/Alpha.Two.ini", "[OverallInfo]\nShipName=Two\n");
    dir.WriteFile("Data/Ships/ALPHA.BMP", ShipPicture(301, 100));
    LoadFromShips(dir, loaded, "Alpha.Two.ini", 1);
    EXPECT_EQ(loaded.World.Ships[1].ShipName, "Two");
    EXPECT_EQ(loaded.images.Item(0).PatternWidth, 100);
}

TEST(ShipDefinition, AMissingPictureFailsAfterTheSlotIsSet) {
    TempGameDir dir(BareDir());
    Loaded loaded;
    dir.WriteFile("Data/Ships/Lonely.ini", "[OverallInfo]\nShipName=Lonely\n");
    try {
        LoadFromShips(dir, loaded, "Lonely.ini", 1);
        FAIL() << "a missing picture must fail";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot open file ", 0), 0u) << error.what();
    }
    EXPECT_EQ(loaded.World.Ships[1].ShipName, "Lonely");
    EXPECT_EQ(loaded.images.Count(), 1);

    dir.WriteFile("Data/Ships/Broken.ini", "");
    dir.WriteFile("Data/Ships/Broken.bmp", "not a picture");
    EXPECT_THROW(LoadFromShips(dir, loaded, "Broken.ini", 2), std::runtime_error);
}

}  // namespace
}  // namespace kelvane
