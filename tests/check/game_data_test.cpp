// The data the game ships checks clean, and so does the example definition of the README.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "CheckFixture.h"
#include "platform/font/FontRasteriser.h"

namespace kelvane::check::testing {
namespace {

TEST(GameData, TheShippedDataChecksClean) {
    const std::unique_ptr<IFontRasteriser> font = MakeFontRasteriser();
    const Report report = CheckGameData({std::string(KELVANE_BINARY_DIR) + "/", "", font.get()});
    EXPECT_TRUE(report.Findings().empty()) << Listed(report.Findings());
    EXPECT_EQ(report.Status(), ExitStatus::Success);
    EXPECT_EQ(report.Definitions, 8);
    EXPECT_EQ(report.Pictures, 8);
    EXPECT_EQ(report.Scripts, 3);
}

// The first ini block of the README's section on making ships, as a player would copy it.
std::string ReadmeExample() {
    std::ifstream file(std::string(KELVANE_SOURCE_DIR) + "/README.md");
    std::stringstream text;
    text << file.rdbuf();
    const std::string readme = text.str();
    const size_t section = readme.find("## Making your own ships");
    if (section == std::string::npos) return {};
    const size_t start = readme.find("```ini\n", section);
    if (start == std::string::npos) return {};
    const size_t body = start + 7;
    const size_t end = readme.find("```", body);
    return end == std::string::npos ? std::string() : readme.substr(body, end - body);
}

TEST(GameData, TheReadmeExampleChecksClean) {
    const std::string example = ReadmeExample();
    ASSERT_NE(example.find("[OverallInfo]"), std::string::npos) << "no example found in the README";
    const std::unique_ptr<IFontRasteriser> font = MakeFontRasteriser();
    CheckGame game;
    game.Definition("Example", example, false);
    game.Picture("Example", Bmp(ShipBitmap(80)));
    const Report report = game.Run(font.get());
    EXPECT_TRUE(report.Findings().empty()) << Listed(report.Findings());
    // Every key the game reads is in it, so the example shows them all.
    for (const char* key : {"ClassName",
                            "ShipName",
                            "FullShipName",
                            "Crew",
                            "Length",
                            "ShipDescription1",
                            "ShipDescription5",
                            "PrimaryWeapon",
                            "SecondaryWeapon",
                            "Accurancy",
                            "Shields",
                            "Hull",
                            "Speed",
                            "Manoeuvrability",
                            "PrimaryWeaponType",
                            "SecondaryWeaponType",
                            "SpecialDevice",
                            "ShipDisappearance",
                            "Explo4",
                            "Type4Explo",
                            "Angle4Explo",
                            "Distance4Explo",
                            "Delay4Explo"})
        EXPECT_NE(example.find(std::string(key) + "="), std::string::npos) << key;
}

}  // namespace
}  // namespace kelvane::check::testing
