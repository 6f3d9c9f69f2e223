// One crafted definition per finding: the good definition with one thing changed, and
// exactly the findings that change must give.

#include <gtest/gtest.h>

#include <functional>

#include "CheckFixture.h"
#include "platform/font/FontRasteriser.h"

namespace kelvane::check::testing {
namespace {

using enum Severity;

struct Case {
    const char* What;
    std::function<std::string()> Text;
    std::vector<Expected> Findings;
};

std::function<std::string()> With(const std::string& from, const std::string& to) {
    return [=] { return Replaced(GoodDefinition, from, to); };
}

void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        CheckGame game;
        game.Definition("Probe", c.Text());
        const Report report = game.Run();
        ExpectFindings(About(report, "Probe.ini"), c.Findings);
        EXPECT_TRUE(About(report, "Probe.bmp").empty()) << Listed(report.Findings());
        EXPECT_EQ(report.Status(), report.Count(Error) > 0 ? ExitStatus::Failure : ExitStatus::Success);
    }
}

TEST(DefinitionCheck, TheGoodDefinitionChecksClean) {
    CheckGame game;
    game.Definition("Probe", GoodDefinition);
    const Report report = game.Run();
    EXPECT_TRUE(report.Findings().empty()) << Listed(report.Findings());
    EXPECT_EQ(report.Status(), ExitStatus::Success);
    EXPECT_EQ(report.Summary(), "1 ship definition, 1 picture and 0 scripts checked: no errors, no warnings");
}

TEST(DefinitionCheck, SectionsKeysAndLinesTheGameDoesNotRead) {
    RunCases({
        {"misspelt section",
         With("[StrengthIndices]", "[StrenghtIndices]"),
         {{Warning, 7,
           "unknown section [StrenghtIndices]: the game reads nothing from it; did you mean "
           "[StrengthIndices]?"},
          {Error, 0, "Hull 0"},
          {Warning, 0, "top speed of 0"},
          {Warning, 0, "accuracy of 0"},
          {Warning, 0, "PHASER_ORANGE does no damage"},
          {Warning, 0, "TORPEDO_PHOTON does no damage"},
          {Warning, 0, "strength rating comes to 0"}}},
        {"misspelt key",
         With("Shields=", "Sheilds="),
         {{Warning, 11, "unknown key Sheilds in [StrengthIndices]: the game ignores it; did you mean Shields?"}}},
        {"the usual spelling of the game's odd one",
         With("Accurancy=", "Accuracy="),
         {{Warning, 10, "did you mean Accurancy (the game's spelling)?"}, {Warning, 7, "accuracy of 0"}}},
        {"a key far from any",
         With("Crew=10", "Colour=red"),
         {{Warning, 5, "unknown key Colour in [OverallInfo]: the game ignores it"}}},
        {"key in the wrong section",
         With("Crew=10", "Speed=10"),
         {{Warning, 5, "Speed belongs in [StrengthIndices]: the game does not read it in [OverallInfo]"}}},
        {"key given twice",
         With("Speed=600", "Speed=600\nSpeed=900"),
         {{Warning, 14, "Speed is given again: the game reads the one on line 13"}}},
        {"second section written differently",
         [] {
             return Replaced(GoodDefinition, "SpecialDevice=NONE\n", "") + "[WEAPONS]\nSpecialDevice=TACHYON_PULSE\n";
         },
         {{Warning, 26, "the game reads only the first [Weapons] section (line 15) and ignores this one"}}},
        {"key before any section",
         [] { return "ShipName=Early\n" + GoodDefinition; },
         {{Warning, 1, "\"ShipName=Early\" stands before the first [section]: the game never reads it"}}},
        {"a line that is nothing",
         With("Crew=10", "Crew 10"),
         {{Warning, 5, "\"Crew 10\" is not a [section], a key=value line or a ; comment: the game skips it"}}},
        {"a # comment", With("Crew=10", "# a note"), {{Warning, 5, "comments start with ';'"}}},
        {"unclosed header", With("[Weapons]", "[Weapons"), {{Warning, 15, "[Weapons has no closing ]"}}},
        {"an over-long value",
         With("ClassName=Test class", "ClassName=" + std::string(3000, 'x')),
         {{Warning, 2, "ClassName is longer than 2047 characters: the game reads only the first 2047"}}},
        {"a ; comment after text",
         With("ClassName=Test class", "ClassName=Test class ; a note"),
         {{Warning, 2, "ClassName is \"Test class ; a note\": values take no trailing ; comments"}}},
        {"a ; without a blank is text", With("ClassName=Test class", "ClassName=Test;class"), {}},
    });
}

TEST(DefinitionCheck, NumbersThatAreNot) {
    RunCases({
        {"a trailing comment",
         With("Hull=200", "Hull=200 ; hull points"),
         {{Warning, 12,
           "Hull \"200 ; hull points\" is not a number: the game uses the default 0 instead (values take "
           "no trailing ; comments)"},
          {Error, 12, "Hull 0: the ship explodes as soon as it is put into play"}}},
        {"a word for a flag",
         With("Explo1=1", "Explo1=yes"),
         {{Warning, 21, "Explo1 \"yes\" is not a number: the game uses the default 0 instead"}}},
        {"a delay's own default",
         With("Delay1Explo=3", "Delay1Explo=three"),
         {{Warning, 25, "the game uses the default 1 instead"}}},
        {"hexadecimal is a number", With("Hull=200", "Hull=0xC8"), {}},
        {"beyond 32 bits", With("Crew=10", "Crew=99999999999"), {{Warning, 5, "is not a number"}}},
    });
}

TEST(DefinitionCheck, WeaponsTheGameCannotFire) {
    RunCases({
        {"unknown identifier",
         With("PHASER_ORANGE", "BEAM_POLARONN"),
         {{Error, 16,
           "unknown weapon \"BEAM_POLARONN\" in PrimaryWeaponType: it fires nothing; did you mean "
           "BEAM_POLARON?"}}},
        {"pulse phaser as primary",
         With("=PHASER_ORANGE", "=PHASER_PULSE"),
         {{Error, 16, "PHASER_PULSE is carried in SecondaryWeaponType: as PrimaryWeaponType it fires nothing"}}},
        {"torpedo as primary",
         With("=PHASER_ORANGE", "=TORPEDO_ION"),
         {{Error, 16, "TORPEDO_ION is carried in SecondaryWeaponType"}}},
        {"device as secondary",
         With("=TORPEDO_PHOTON", "=TACHYON_PULSE"),
         {{Error, 17, "TACHYON_PULSE is carried in SpecialDevice: as SecondaryWeaponType it fires nothing"}}},
        {"lower case is read upper-cased", With("=PHASER_ORANGE", "=phaser_orange"), {}},
        {"empty", With("=PHASER_ORANGE", "="), {{Warning, 16, "PrimaryWeaponType is empty"}}},
        {"no weapon at all",
         [] { return Replaced(Replaced(GoodDefinition, "=PHASER_ORANGE", "=NONE"), "=TORPEDO_PHOTON", "=NONE"); },
         {{Warning, 16, "the ship carries no weapon"}}},
    });
}

TEST(DefinitionCheck, ShipNamesTheConsoleCannotUse) {
    RunCases({
        {"no name", With("ShipName=Probe", "ShipName="), {{Error, 3, "no ShipName"}}},
        {"no name key", With("ShipName=Probe\n", ""), {{Error, 1, "no ShipName"}}},
        {"two blanks", With("=Probe", "=Sea  Wolf"), {{Error, 3, "has two blanks in a row"}}},
        {"one blank is fine", With("=Probe", "=Sea Wolf"), {}},
        {"Czech letters the console types",
         With("=Probe",
              "=\x8A\xED"
              "p"),
         {}},  // Šíp
        {"a letter it cannot type",
         With("=Probe", "=\xD9ra"),  // Ůra
         {{Warning, 3,
           "holds \"\xC5\xAE\", which the console's keyboard cannot type: only a script can name this ship"}}},
        {"a tab", With("=Probe", "=Pro\tbe"), {{Warning, 3, "holds \"\\x09\""}}},
        {"the console key's own character", With("=Probe", "=Pro;be"), {{Warning, 3, "holds \";\""}}},
        {"too long to type and to show",
         With("=Probe", "=" + std::string(60, 'A')),
         {{Warning, 3, "too long to type: CREATESHIP and the name take 71 characters, and the console's line holds 65"},
          {Warning, 3, "has 60 characters: the ship list has room for 18 beside a score"}}},
        {"no full name", With("FullShipName=The Probe", "FullShipName="), {{Warning, 4, "no FullShipName"}}},
    });
}

TEST(DefinitionCheck, ValuesThatSpoilTheShip) {
    RunCases({
        {"no hull",
         With("Hull=200", "Hull=0"),
         {{Error, 12, "Hull 0: the ship explodes as soon as it is put into play"}}},
        {"hull below zero", With("Hull=200", "Hull=-5"), {{Error, 12, "Hull -5"}}},
        {"shields below zero", With("Shields=200", "Shields=-1"), {{Warning, 11, "Shields -1 is below zero"}}},
        {"slow", With("Speed=600", "Speed=300"), {{Warning, 13, "top speed of 3 pixels a frame"}}},
        {"no accuracy with a beam", With("Accurancy=600", "Accurancy=6"), {{Warning, 10, "accuracy of 0"}}},
        {"no accuracy, no weapon",
         [] {
             return Replaced(
                 Replaced(Replaced(GoodDefinition, "Accurancy=600", "Accurancy=0"), "=PHASER_ORANGE", "=NONE"),
                 "=TORPEDO_PHOTON", "=NONE");
         },
         {{Warning, 16, "the ship carries no weapon"}}},
        {"no damage",
         With("PrimaryWeapon=300", "PrimaryWeapon=4"),
         {{Warning, 8,
           "PrimaryWeapon gives a strength of 0 (PrimaryWeapon x 0.1, rounded): PHASER_ORANGE does no damage"}}},
        {"negative damage",
         With("SecondaryWeapon=300", "SecondaryWeapon=-300"),
         {{Error, 9, "TORPEDO_PHOTON heals its target instead of hurting it"}}},
        {"worth less than nothing",
         With("Shields=200", "Shields=-1000"),
         {{Warning, 11, "below zero"}, {Warning, 12, "destroying this ship costs its shooter points"}}},
        {"never drawn",
         With("ShipDisappearance=12", "ShipDisappearance=0"),
         {{Error, 20, "ShipDisappearance 0: the hull is drawn only while the explosion's frame is below this number"}}},
        {"eight bits",
         With("ShipDisappearance=12", "ShipDisappearance=300"),
         {{Warning, 20, "ShipDisappearance 300 is kept as its low 8 bits: 44"}}},
        {"a part before the first frame",
         With("Delay1Explo=3", "Delay1Explo=0"),
         {{Warning, 25, "Delay1Explo 0: the explosion's frames count from 1"}}},
        {"a part after the last",
         With("Delay1Explo=3", "Delay1Explo=40"),
         {{Warning, 25, "Delay1Explo 40: the explosion ends after 25 frames, so this part is never shown"}}},
        {"small misspelt",
         With("Type1Explo=SMALL", "Type1Explo=Smal"),
         {{Warning, 22, "Type1Explo \"Smal\" is not SMALL, so this part is the large fireball; did you mean SMALL?"}}},
        {"large said so", With("Type1Explo=SMALL", "Type1Explo=LARGE"), {}},
    });
}

TEST(DefinitionCheck, NamesShownInTheShipListAreMeasuredInTheGamesFont) {
    std::unique_ptr<IFontRasteriser> font = MakeFontRasteriser();
    ASSERT_TRUE(font);
    CheckGame game;
    game.Definition("Probe", Replaced(GoodDefinition, "=Probe", "=Wide"));
    game.Definition("Long", Replaced(GoodDefinition, "=Probe", "=WWWWWWWWWWWWWWWWWW"));
    const Report report = game.Run(font.get());
    EXPECT_TRUE(About(report, "Probe.ini").empty()) << Listed(report.Findings());
    ExpectFindings(About(report, "Long.ini"), {{Warning, 3, "pixels wide in the ship list, which has room for"}});
}

TEST(DefinitionCheck, TwoTypesOfOneNameAndTypesBeyondTheSlots) {
    CheckGame game;
    game.Definition("Alpha", GoodDefinition);
    game.Definition("Beta", Replaced(GoodDefinition, "=Probe", "=PROBE"));
    // 64 slots: Alpha, Beta and Drone.01 .. Drone.63 (sharing Drone.bmp) make 65.
    for (int n = 1; n <= 63; ++n) {
        std::string number = std::to_string(n);
        if (n < 10) number.insert(0, 1, '0');
        game.Definition("Drone." + number, Replaced(GoodDefinition, "=Probe", "=Drone" + number), false);
    }
    game.Picture("Drone", Bmp(ShipBitmap()));
    const Report report = game.Run();
    ExpectFindings(About(report, "Beta.ini"),
                   {{Warning, 0, "ShipName \"PROBE\" is also the name in " + game.Path("Data/Ships/Alpha.ini")}});
    ExpectFindings(
        About(report, "Drone.63.ini"),
        {{Error, 0, "left out: the game has 64 ship slots and this is definition 65, so its ship never exists"}});
    EXPECT_EQ(report.Findings().size(), 2u) << Listed(report.Findings());
    EXPECT_EQ(report.Definitions, 64);
    EXPECT_EQ(report.Pictures, 3);  // Alpha, Beta and the one Drone picture
}

TEST(DefinitionCheck, NoDefinitionAtAll) {
    CheckGame game;
    const Report report = game.Run();
    ASSERT_EQ(report.Findings().size(), 1u) << Listed(report.Findings());
    EXPECT_EQ(report.Findings()[0].Level, Error);
    EXPECT_NE(report.Findings()[0].Message.find("the game cannot start without one"), std::string::npos);
    EXPECT_EQ(report.Status(), ExitStatus::Failure);
}

}  // namespace
}  // namespace kelvane::check::testing
