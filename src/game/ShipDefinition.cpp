#include "game/ShipDefinition.h"

#include "combat/Geometry.h"
#include "combat/WeaponTable.h"
#include "media/Archive.h"
#include "media/Dib.h"
#include "base/FileError.h"
#include "base/GamePaths.h"
#include "media/ProfileFile.h"
#include "base/Extended.h"
#include "base/Rounding.h"
#include "world/ArchiveItems.h"
#include "world/TextUtil.h"

namespace kelvane {
namespace {

// The products are formed in extended precision so that 25 x 0.1 is exactly 2.5.
constexpr Extended Tenth = Extended::Ratio(1, 10);
int32_t Scaled(int32_t value, Extended factor) { return RoundEven(Extended(value) * factor); }

void ReadStrengths(const ProfileFile& ini, TShip& ship) {
    const char* section = "StrengthIndices";
    ship.PrimaryStrength = Scaled(ini.ReadInteger(section, "PrimaryWeapon", 0), Tenth);
    ship.SecondaryStrength = Scaled(ini.ReadInteger(section, "SecondaryWeapon", 0), Tenth);
    ship.Accuracy = Scaled(ini.ReadInteger(section, "Accurancy", 0), Extended::Ratio(3, 40));
    ship.Shields = ship.MaxShields = ini.ReadInteger(section, "Shields", 0);
    ship.Hull = ship.MaxHull = ini.ReadInteger(section, "Hull", 0);
    ship.MaxSpeed = Scaled(ini.ReadInteger(section, "Speed", 0), Extended::Ratio(1, 100));
    ship.Manoeuvrability = Scaled(ini.ReadInteger(section, "Manoeuvrability", 0), Extended::Ratio(3, 2000));
    const Extended elevenTenths = Extended::Ratio(11, 10), threeQuarters(0.75);
    ship.StrengthRating = RoundEven(elevenTenths * Extended(ship.PrimaryStrength) +
                                    elevenTenths * Extended(ship.SecondaryStrength) + Extended(ship.Accuracy) +
                                    Extended(ship.MaxShields) + Extended(ship.MaxHull) +
                                    Tenth * Extended(ship.MaxSpeed) + threeQuarters * Extended(ship.Manoeuvrability));
}

void ReadInfo(const ProfileFile& ini, TShip& ship) {
    const char* section = "OverallInfo";
    ship.ClassName = ini.ReadString(section, "ClassName", "");
    ship.ShipName = ini.ReadString(section, "ShipName", "");
    ship.FullShipName = ini.ReadString(section, "FullShipName", "");
    ship.Crew = ini.ReadInteger(section, "Crew", 0);
    ship.Length = ini.ReadInteger(section, "Length", 0);
    for (int n = 1; n <= 5; ++n) {
        ship.ShipDescription[n] = ini.ReadString(section, "ShipDescription" + std::to_string(n), "");
    }
}

void ReadWeapons(const ProfileFile& ini, TShip& ship) {
    ship.PrimaryWeaponType = UpperCaseText(ini.ReadString("Weapons", SlotKey(WeaponSlot::Primary), "NONE"));
    ship.SecondaryWeaponType = UpperCaseText(ini.ReadString("Weapons", SlotKey(WeaponSlot::Secondary), "NONE"));
    ship.SpecialDevice = UpperCaseText(ini.ReadString("Weapons", SlotKey(WeaponSlot::Special), "NONE"));
}

void ReadExplosion(const ProfileFile& ini, TShip& ship) {
    const char* section = "ExploDefinition";
    ship.ShipDisappearance = static_cast<uint8_t>(ini.ReadInteger(section, "ShipDisappearance", 1));
    for (int n = 1; n <= 4; ++n) {
        const std::string digit = std::to_string(n);
        TExplosionPart& part = ship.ExplosionParts[n];
        part.Enabled = ini.ReadBool(section, "Explo" + digit, false) ? 1 : 0;
        part.Angle = ini.ReadInteger(section, "Angle" + digit + "Explo", 0);
        part.Distance = ini.ReadInteger(section, "Distance" + digit + "Explo", 0);
        part.Delay = ini.ReadInteger(section, "Delay" + digit + "Explo", 1);
        const bool small = UpperCaseText(ini.ReadString(section, "Type" + digit + "Explo", "")) == "SMALL";
        part.ImageIndex = small ? Gfx::SmallExplosion : Gfx::LargeExplosion;
    }
}

void SetStartValues(World& world, TShip& ship, int slot) {
    PlaceAtRandom(world, ship);
    ship.Speed = 0;
    ship.TurnRate = 0;
    ship.Target = static_cast<uint8_t>(slot);
    ship.InPlay = 0;
    ship.Dead = 0;
    ship.Exploding = 0;
    ship.Appearing = 0;
    ship.ShieldsUp = 1;
}

}  // namespace

std::string ShipPicturePath(const std::string& folder, const std::string& definitionName) {
    return ResolveGamePath(folder, BaseName(definitionName) + ".bmp");
}

void LoadShipDefinition(World& world, TImageList& shipImages, const std::string& gameDir,
                        const std::string& fileName, int slot) {
    const std::string shipsDir = ResolveGamePath(gameDir, "Data/Ships") + "/";
    LoadShipDefinitionFile(world, shipImages, ResolveGamePath(shipsDir, fileName),
                           ShipPicturePath(shipsDir, fileName), slot);
}

void LoadShipDefinitionFile(World& world, TImageList& shipImages, const std::string& definitionPath,
                            const std::string& picturePath, int slot) {
    ReadShipDefinition(world, ProfileFile::Load(definitionPath, ShipDefinitionFileLimit), slot);
    LoadShipPicture(shipImages, picturePath);
    world.Ships[slot].ImageIndex = static_cast<uint8_t>(slot - 1);
    world.Ships[slot].InPlay = 0;
}

void ReadShipDefinition(World& world, const ProfileFile& ini, int slot) {
    TShip& ship = world.Ships[slot];
    ReadStrengths(ini, ship);
    ReadInfo(ini, ship);
    ReadWeapons(ini, ship);
    ReadExplosion(ini, ship);
    SetStartValues(world, ship, slot);
}

void LoadShipPicture(TImageList& shipImages, const std::string& picturePath) {
    TPictureCollectionItem& item = shipImages.Add();
    item.Transparent = true;
    item.TransparentColor = ShipKeyColor;
    WhileReading(picturePath, [&] {
        std::vector<uint8_t> bytes = ReadWholeFile(picturePath, ShipPictureFileLimit);
        item.Pic.Image = DecodeBmpFile(bytes);
        item.Pic.ClassName = "TBitmap";
        item.Pic.Data = std::move(bytes);
    });
    item.PatternWidth = item.Pic.Image.Width / 3;
    item.PatternHeight = item.Pic.Image.Height;
    item.SkipWidth = 0;
    item.SkipHeight = 0;
}

}  // namespace kelvane
