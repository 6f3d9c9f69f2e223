// The data fingerprint: which files it lists, by what names, and how two of them differ.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TempGameDir.h"
#include "replay/DataFingerprint.h"
#include "base/Hash64.h"

namespace kelvane {
namespace {

using testing::TempGameDir;

std::vector<std::string> Names(const std::vector<DataFile>& files) {
    std::vector<std::string> names;
    for (const DataFile& file : files) names.push_back(file.Name);
    return names;
}

TEST(DataFingerprint, ListsWhatTheGameReadsByItsNamesOnDisk) {
    TempGameDir dir({.LinkArchives = true, .LinkShips = false, .LinkScripts = false});
    dir.WriteFile("Data/Ships/Vigil.ini", "[OverallInfo]\n");
    dir.WriteFile("Data/Ships/Vigil.BMP", "BM");
    dir.WriteFile("Data/Ships/notes.txt", "not read by the game");
    dir.WriteFile("Data/Ships.dxg", "written by the game");
    dir.WriteFile("Scripts/My Battle", "EXEC duel\n");
    dir.WriteFile("Scripts/duel", "CREATESHIP Vigil\n");
    const std::vector<DataFile> files = FingerprintGameData(dir.Path());
    EXPECT_EQ(Names(files), (std::vector<std::string>{"Data/GFX.dxg", "Data/Loading.dxg", "Data/SFX.dxg",
                                                      "Data/Ships/Vigil.BMP", "Data/Ships/Vigil.ini",
                                                      "Scripts/My Battle", "Scripts/duel"}));
    const auto duel = std::find_if(files.begin(), files.end(), [](const DataFile& f) { return f.Name == "Scripts/duel"; });
    ASSERT_NE(duel, files.end());
    EXPECT_EQ(duel->Hash, Hash64("CREATESHIP Vigil\n"));
}

TEST(DataFingerprint, FirstDifferenceNamesTheFile) {
    const std::vector<DataFile> recorded = {{"Data/GFX.dxg", 1}, {"Data/Ships/Vigil.ini", 2}, {"Scripts/duel", 3}};
    const struct {
        std::vector<DataFile> here;
        std::string difference;
    } cases[] = {
        {recorded, ""},
        {{{"Data/GFX.dxg", 1}, {"Data/Ships/Vigil.ini", 9}, {"Scripts/duel", 8}}, "Data/Ships/Vigil.ini differs"},
        {{{"Data/GFX.dxg", 1}, {"Scripts/duel", 3}}, "Data/Ships/Vigil.ini is missing here"},
        {{{"Data/GFX.dxg", 1}, {"Data/Ships/Vigil.ini", 2}}, "Scripts/duel is missing here"},
        {{{"Data/GFX.dxg", 1}, {"Data/Ships/Talon.ini", 4}, {"Data/Ships/Vigil.ini", 2}, {"Scripts/duel", 3}},
         "Data/Ships/Talon.ini was not there when the recording was made"},
        {{{"Data/GFX.dxg", 1}, {"Data/Ships/Vigil.ini", 2}, {"Scripts/duel", 3}, {"Scripts/trio", 5}},
         "Scripts/trio was not there when the recording was made"},
    };
    for (const auto& c : cases) EXPECT_EQ(FirstDataDifference(recorded, c.here), c.difference);
}

}  // namespace
}  // namespace kelvane
