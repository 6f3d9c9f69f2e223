// A UTF-8 byte-order mark before a definition's first section is skipped. That is the only
// change to how definitions read, so every definition the game ships and the tests use
// reads as before: none starts with a mark, and each reads to the same ship with one.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/CraftedShips.h"
#include "game/ShipDefinition.h"
#include "base/Windows1250.h"
#include "world/FieldRegistry.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

struct Definition {
    std::string Name;
    std::string Text;
};

std::string FileText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The shipped definitions, the classic ones the tests play, the fuzz seeds of the definition reader and the definitions
// the end-to-end tests write (through ShipIni, as they call it).
std::vector<Definition> Definitions() {
    std::vector<Definition> found;
    for (const char* dir : {"data/Ships", "tests/e2e/classic-ships", "fuzz/corpus/definition"})
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(KELVANE_SOURCE_DIR) / dir))
            found.push_back({entry.path().string(), FileText(entry.path())});
    using testing::ShipIni;
    found.push_back({"Zephyr", ShipIni("Zephyr", "Zephyr Prime", "Shields=250\r\nHull=200\r\nSpeed=700\r\n",
                                       "PrimaryWeaponType=DISRUPTOR_MARK1\r\n")});
    found.push_back({"Vigil refit", ShipIni("Vigil", "KSS Vigil Refit", "Shields=999\r\nHull=380\r\n",
                                            "PrimaryWeaponType=BEAM_POLARON\r\n")});
    found.push_back({"Drone", ShipIni("Drone07", "Drone 07", "Hull=10\r\n", "")});
    found.push_back({"Vevoda", ShipIni("V\xE9voda", "KSS V\xE9voda", "Shields=100\r\nHull=90\r\n", "")});
    found.push_back({"Ghost", ShipIni("Ghost", "The Ghost", "Shields=50\r\n", "")});
    return found;
}

// Every field of slot 1 as the runner dumps it.
std::vector<FieldValue> Fields(const World& world) {
    std::vector<FieldValue> values;
    for (const std::string& name : ShipFieldNames()) values.push_back(GetField(world, "Ships[1]." + name));
    for (int part = 1; part <= 4; ++part)
        for (const std::string& name : ExplosionPartFieldNames())
            values.push_back(GetField(world, "Ships[1].ExplosionParts[" + std::to_string(part) + "]." + name));
    for (int n = 1; n <= 5; ++n)
        values.push_back(GetField(world, "Ships[1].ShipDescription[" + std::to_string(n) + "]"));
    return values;
}

TEST(DefinitionByteOrderMark, EveryDefinitionInUseReadsAsBefore) {
    const std::vector<Definition> definitions = Definitions();
    EXPECT_GE(definitions.size(), 8u + 8u + 4u + 5u);
    for (const Definition& definition : definitions) {
        SCOPED_TRACE(definition.Name);
        EXPECT_FALSE(StartsWithUtf8ByteOrderMark(definition.Text));
        World plain, marked;
        ReadShipDefinition(plain, ProfileFile::Parse(definition.Text), 1);
        ReadShipDefinition(marked, ProfileFile::Parse(std::string(Utf8ByteOrderMark) + definition.Text), 1);
        EXPECT_EQ(Fields(plain), Fields(marked));
    }
}

TEST(DefinitionByteOrderMark, AMarkedFileLoadsItsFirstSection) {
    testing::TempGameDir dir({false, false, false});
    dir.WriteFile("Data/Ships/Marked.ini", std::string(Utf8ByteOrderMark) +
                                               "[OverallInfo]\r\nShipName=Marked\r\nFullShipName=KSS Marked\r\n"
                                               "[StrengthIndices]\r\nHull=120\r\n");
    testing::WriteBytes(dir, "Data/Ships/Marked.bmp", testing::ShipPictureBmp(40, 40, [](int, int) { return true; }));
    World world;
    TImageList images;
    const std::string ships = dir.Path() + "Data/Ships/";
    LoadShipDefinitionFile(world, images, ships + "Marked.ini", ships + "Marked.bmp", 1);
    EXPECT_EQ(world.Ships[1].ShipName, "Marked");
    EXPECT_EQ(world.Ships[1].FullShipName, "KSS Marked");
    EXPECT_EQ(world.Ships[1].MaxHull, 120);
}

}  // namespace
}  // namespace kelvane
