// The shipped ship types, as balanced, keep their character beside the classic types
// (kept for the recordings made with them): the same eight types, the heavy one still the
// toughest and the slowest, the light ones still the fastest.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "game/ShipDefinition.h"
#include "media/ProfileFile.h"
#include "world/World.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

// Every definition of a folder, read as the loader reads it, by ship name.
std::map<std::string, TShip> TypesIn(const char* folder) {
    std::map<std::string, TShip> types;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(KELVANE_SOURCE_DIR) / folder)) {
        if (entry.path().extension() != ".ini") continue;
        std::ifstream file(entry.path(), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        World world;
        ReadShipDefinition(world, ProfileFile::Parse(text.str()), 1);
        types[world.Ships[1].ShipName] = world.Ships[1];
    }
    return types;
}

int Toughness(const TShip& ship) { return ship.MaxShields + ship.MaxHull; }

TEST(ShippedTypes, KeepTheirCharacterInEitherSet) {
    const std::map<std::string, TShip> shipped = TypesIn("data/Ships");
    const std::map<std::string, TShip> classic = TypesIn("tests/e2e/classic-ships");
    ASSERT_EQ(shipped.size(), 8u);
    ASSERT_EQ(classic.size(), 8u);
    for (const auto& [name, ship] : shipped) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(classic.count(name));
        EXPECT_EQ(ship.FullShipName, classic.at(name).FullShipName);
        EXPECT_EQ(ship.ClassName, classic.at(name).ClassName);
        EXPECT_EQ(ship.PrimaryWeaponType, classic.at(name).PrimaryWeaponType);
        EXPECT_EQ(ship.SecondaryWeaponType, classic.at(name).SecondaryWeaponType);
    }
    for (const auto* types : {&shipped, &classic}) {
        const TShip& heavy = types->at("Bastion");
        for (const auto& [name, ship] : *types) {
            if (name == "Bastion") continue;
            SCOPED_TRACE(name);
            EXPECT_GT(Toughness(heavy), Toughness(ship));
            EXPECT_LT(heavy.MaxSpeed, ship.MaxSpeed);
            if (name != "Talon" && name != "Wisp") {
                EXPECT_GT(types->at("Talon").MaxSpeed, ship.MaxSpeed);
                EXPECT_GT(types->at("Wisp").MaxSpeed, ship.MaxSpeed);
            }
        }
    }
}

}  // namespace
}  // namespace kelvane
