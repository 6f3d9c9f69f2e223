// The definition files in slot order: shipped ones by name, then the player's own by
// name, a same-named own file in the shipped one's slot, 64 slots in all.

#include "game/ShipDefinitionFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempGameDir.h"

namespace kelvane {
namespace {

using testing::TempGameDir;

struct Expected {
    std::string definition;  // relative to the temporary folder
    std::string picture;
};

class ShipDefinitionFilesTest : public ::testing::Test {
protected:
    ShipDefinitionFilesTest() {
        for (const char* name : {"Data/Ships/b.ini", "Data/Ships/A.ini", "Data/Ships/c.INI", "Data/Ships/A.bmp",
                                 "Data/Ships/notes.txt", "Data/Ships/sub.ini/x"}) {
            dir.WriteFile(name, "");
        }
    }

    void ExpectFiles(const std::vector<ShipDefinitionFile>& files, const std::vector<Expected>& expected,
                     const char* what) {
        ASSERT_EQ(files.size(), expected.size()) << what;
        for (size_t i = 0; i < files.size(); ++i) {
            EXPECT_EQ(files[i].Definition, dir.Path() + expected[i].definition) << what << ", slot " << i + 1;
            EXPECT_EQ(files[i].Picture, dir.Path() + expected[i].picture) << what << ", slot " << i + 1;
        }
    }

    TempGameDir dir{{false, false, false}};
};

TEST_F(ShipDefinitionFilesTest, ShippedOnlyWhenThePlayerHasNone) {
    const std::vector<Expected> shipped = {{"Data/Ships/A.ini", "Data/Ships/A.bmp"},
                                           {"Data/Ships/b.ini", "Data/Ships/b.bmp"},
                                           {"Data/Ships/c.INI", "Data/Ships/c.bmp"}};
    struct Case {
        const char* what;
        std::string playerDir;
    } cases[] = {{"no player folder", ""}, {"a player folder without Ships", dir.Path() + "player/"}};
    for (const Case& c : cases) {
        const ShipDefinitionFiles listing = ListShipDefinitionFiles(dir.Path(), c.playerDir);
        EXPECT_EQ(listing.ShippedDir, dir.Path() + "Data/Ships") << c.what;
        ExpectFiles(listing.Files, shipped, c.what);
        EXPECT_TRUE(listing.LeftOut.empty()) << c.what;
    }
}

TEST_F(ShipDefinitionFilesTest, OwnFilesComeAfterAndASameNamedOneTakesTheShippedSlot) {
    for (const char* name : {"player/ships/a.ini", "player/ships/Z.ini", "player/ships/d.ini", "player/ships/d.bmp",
                             "player/ships/B.Two.ini"}) {
        dir.WriteFile(name, "");
    }
    const ShipDefinitionFiles listing = ListShipDefinitionFiles(dir.Path(), dir.Path() + "player/");
    ExpectFiles(listing.Files,
                {{"player/ships/a.ini", "Data/Ships/A.bmp"},  // no picture of its own: the shipped one
                 {"Data/Ships/b.ini", "Data/Ships/b.bmp"},
                 {"Data/Ships/c.INI", "Data/Ships/c.bmp"},
                 {"player/ships/B.Two.ini", "player/ships/B.bmp"},  // a new name, whatever its base name
                 {"player/ships/d.ini", "player/ships/d.bmp"},
                 {"player/ships/Z.ini", "player/ships/Z.bmp"}},  // none anywhere: where it should be
                "with the player's files");
}

TEST_F(ShipDefinitionFilesTest, FilesBeyondTheSixtyFourSlotsAreLeftOut) {
    for (int n = 10; n < 72; ++n) dir.WriteFile("player/Ships/p" + std::to_string(n) + ".ini", "");
    const ShipDefinitionFiles listing = ListShipDefinitionFiles(dir.Path(), dir.Path() + "player/");
    ASSERT_EQ(listing.Files.size(), 64u);
    EXPECT_EQ(listing.Files[3].Definition, dir.Path() + "player/Ships/p10.ini");
    EXPECT_EQ(listing.Files[63].Definition, dir.Path() + "player/Ships/p70.ini");
    ASSERT_EQ(listing.LeftOut.size(), 1u);
    EXPECT_EQ(listing.LeftOut[0].Definition, dir.Path() + "player/Ships/p71.ini");
}

}  // namespace
}  // namespace kelvane
