#include "console/Commands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "world/ConsoleLog.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

// A world whose slots hold a few ship types, none in play yet.
class CommandTest : public ::testing::Test {
protected:
    CommandTest() : context{World, "", [this] { ++closeCalls; }} {
        Define(1, "Kestrel", "Kestrel Alpha", 100, 100);
        Define(2, "Sea Wolf", "Sea Wolf II", 900, 900);
        Define(4, "Kestrel", "Kestrel Beta", 300, 100);
        Define(5, "Lark", "Lark", 500, 500);
        Define(7, "\x9E" "aba", "\x8E" "aba", 700, 100);  // a Czech name: "žaba"
        Define(9, "Heron", "Heron", 1500, 1000);
    }

    void Define(int slot, const std::string& name, const std::string& full, int32_t x, int32_t y) {
        TShip& ship = World.Ships[slot];
        ship.ShipName = name;
        ship.FullShipName = full;
        ship.X = x;
        ship.Y = y;
    }

    void Run(std::string_view line) { DoConsoleCommand(context, line); }

    // The console lines written since the last call, without their colour digit; every
    // command message must be in colour 7.
    std::vector<std::string> Said() {
        std::vector<std::string> texts;
        for (size_t i = seen; i < World.ConsoleLog.size(); ++i) {
            EXPECT_EQ(World.ConsoleLog[i].front(), '7') << World.ConsoleLog[i];
            texts.push_back(World.ConsoleLog[i].substr(1));
        }
        seen = World.ConsoleLog.size();
        return texts;
    }

    kelvane::World World;
    int closeCalls = 0;
    ConsoleContext context;
    size_t seen = 0;
};

using Lines = std::vector<std::string>;

TEST(CommandParsing, EveryBlankEndsAWordAndOnlySixteenAreKept) {
    CommandWords words = ParseCommandWords(" a  b\xE8 ");
    EXPECT_EQ(words[0], "");
    EXPECT_EQ(words[1], "A");
    EXPECT_EQ(words[2], "");
    EXPECT_EQ(words[3], "B\xE8");  // only a to z change case
    EXPECT_EQ(CommandArgument(words), "A B\xE8");

    std::string line = "W";
    for (int i = 2; i <= 20; ++i) line += " w" + std::to_string(i);
    words = ParseCommandWords(line);
    EXPECT_EQ(words[15], "W16");
    EXPECT_EQ(CommandArgument(words).substr(CommandArgument(words).rfind(' ') + 1), "W16");
}

TEST_F(CommandTest, FirstShipIsYoursAndTheNextOneIsNot) {
    Run("yourship");
    EXPECT_EQ(Said(), Lines{"There are no ship you can control."});

    Run("createship kestrel");
    EXPECT_EQ(Said(), Lines{"Ship Kestrel Alpha hase been created and is under your control."});
    EXPECT_EQ(World.ControlledShip, 1);
    EXPECT_EQ(World.Ships[1].Target, 1);
    EXPECT_EQ(World.ShipCount, 1);

    Run("CreateShip Lark");
    EXPECT_EQ(Said(), Lines{"Ship Lark hase been created."});
    EXPECT_EQ(World.ControlledShip, 1);
    EXPECT_EQ(World.Ships[5].Target, 1) << "a new ship aims at the nearest ship in play";
    EXPECT_EQ(World.ShipCount, 2);

    Run("YOURSHIP");
    EXPECT_EQ(Said(), Lines{"Ship you are currently controling is: Kestrel Alpha"});
}

TEST_F(CommandTest, AShipAlreadyInPlayIsCreatedOnlyFromAFreeSlotOfTheSameName) {
    Run("CREATESHIP KESTREL");
    Run("CREATESHIP KESTREL");
    EXPECT_TRUE(World.Ships[4].InPlay);
    Run("CREATESHIP KESTREL");
    EXPECT_EQ(Said(), (Lines{"Ship Kestrel Alpha hase been created and is under your control.",
                             "Ship Kestrel Beta hase been created."}));
    EXPECT_EQ(World.ShipCount, 2);
}

TEST_F(CommandTest, NamesMatchOnlyAsTheArgumentIsBuilt) {
    struct Case {
        const char* line;
        int slot;  // the slot that must come into play, 0 for none
    } const cases[] = {
        {"CREATESHIP  Kestrel", 0},  // two blanks leave a leading blank in the name
        {"CREATESHIP Kestrel ", 1},
        {"CREATESHIP sea   wolf", 2},
        {"CREATESHIP \x9E" "aba", 7},  // Czech letters must be typed as they are
        {"CREATESHIP \x8E" "ABA", 0},
        {"CREATESHIP", 0},  // an empty name never puts an unfilled slot into play
        {" CREATESHIP Kestrel", 0},
        {"CREATESHIPS Kestrel", 0},
    };
    for (const Case& c : cases) {
        kelvane::World fresh;
        World.Ships = fresh.Ships;
        World.ShipCount = 0;
        Define(1, "Kestrel", "Kestrel Alpha", 100, 100);
        Define(2, "Sea Wolf", "Sea Wolf II", 900, 900);
        Define(7, "\x9E" "aba", "\x8E" "aba", 700, 100);
        Run(c.line);
        for (int slot = 1; slot <= MaxShips; ++slot)
            EXPECT_EQ(World.Ships[slot].InPlay, slot == c.slot ? 1 : 0) << c.line << " slot " << slot;
        EXPECT_EQ(Said().size(), c.slot ? 1u : 0u) << c.line;
    }
}

TEST_F(CommandTest, WordsAfterTheSixteenthAreDropped) {
    std::string name = "A";
    for (char c = 'B'; c <= 'O'; ++c) name += std::string(" ") + c;  // 15 words
    Define(3, name, "Long", 10, 10);
    Run("CREATESHIP " + name + " P Q R");
    EXPECT_TRUE(World.Ships[3].InPlay);
}

TEST_F(CommandTest, EightShipsInPlayRefuseAnyCreate) {
    World.ShipCount = MaxShipsInPlay;
    const std::string message =
        "Maximum number of ships is 8. There already is 8 ships. You cannot create another one.";
    for (const char* line : {"CREATESHIP Lark", "CREATESHIP NoSuchShip", "createship"}) {
        Run(line);
        EXPECT_EQ(Said(), Lines{message}) << line;
    }
    EXPECT_FALSE(World.Ships[5].InPlay);
    EXPECT_EQ(World.ShipCount, MaxShipsInPlay);
}

TEST_F(CommandTest, DeletingTheControlledShipHandsControlToTheHighestOtherSlot) {
    for (const char* name : {"Kestrel", "Sea Wolf", "Lark", "Heron"}) Run(std::string("CREATESHIP ") + name);
    Said();
    Run("DELETESHIP kestrel");
    EXPECT_EQ(Said(), Lines{"Kestrel Alpha has been deleted. She was under your control. You are now "
                            "controling ship Heron"});
    EXPECT_EQ(World.ControlledShip, 9);
    EXPECT_EQ(World.Ships[9].Target, 9);
    EXPECT_FALSE(World.Ships[1].InPlay);
    EXPECT_EQ(World.ShipCount, 3);

    Run("DELETESHIP Lark");
    EXPECT_EQ(Said(), Lines{"Lark has been deleted."});
    EXPECT_EQ(World.ControlledShip, 9);
    Run("DELETESHIP Lark");
    EXPECT_EQ(Said(), Lines{});
    EXPECT_EQ(World.ShipCount, 2);
}

TEST_F(CommandTest, DeletingTheOnlyShipSaysNothing) {
    Run("CREATESHIP Lark");
    Said();
    Run("DELETESHIP Lark");
    EXPECT_EQ(Said(), Lines{});
    EXPECT_EQ(World.ShipCount, 0);
    EXPECT_EQ(World.ControlledShip, 5) << "keeps naming the deleted slot";
    Run("YOURSHIP");
    EXPECT_EQ(Said(), Lines{"There are no ship you can control."});
}

TEST_F(CommandTest, DeleteWithoutANameLeavesAnUnnamedSlotAlone) {
    World.Ships[3].InPlay = 1;
    World.ShipCount = 1;
    Run("DELETESHIP");
    EXPECT_TRUE(World.Ships[3].InPlay);
    EXPECT_EQ(World.ShipCount, 1);
}

TEST_F(CommandTest, YourShipTakesTheHighestMatchingShipInPlaySilently) {
    Run("CREATESHIP Lark");
    Run("CREATESHIP Kestrel");
    Run("CREATESHIP Kestrel");
    Said();
    World.Ships[4].Dead = 1;
    Run("yourship kestrel");
    EXPECT_EQ(World.ControlledShip, 4) << "a destroyed ship in play can be taken over";
    EXPECT_EQ(World.Ships[4].Target, 4);
    Run("YOURSHIP Heron");  // not in play
    EXPECT_EQ(World.ControlledShip, 4);
    EXPECT_EQ(Said(), Lines{});
}

TEST_F(CommandTest, QuitAndExitAskToClose) {
    Run("quit");
    Run("Exit now");
    Run("QUITTING");
    EXPECT_EQ(closeCalls, 2);
    context.Close = nullptr;
    EXPECT_NO_THROW(Run("QUIT"));
}

// Scripts live in a temporary game directory with a lower-case "scripts" folder.
class ScriptTest : public CommandTest {
protected:
    ScriptTest() {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() / (std::string("kelvane_scripts_") + info->name());
        fs::remove_all(root);
        fs::create_directories(root / "scripts");
        context.GameDir = root.string() + "/";
    }
    ~ScriptTest() override { fs::remove_all(root); }

    void Write(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    void Script(const std::string& name, const std::string& text) { Write(root / "scripts" / name, text); }

    fs::path root;
};

TEST_F(ScriptTest, RunsEveryLineAndSkipsBlankOnes) {
    Script("Fleet.Txt", "createship kestrel\r\n\r\n   \r\nCREATESHIP Sea Wolf\r\nCREATESHIP Lark");
    Run("exec fleet.txt");
    EXPECT_EQ(Said(), (Lines{"Ship Kestrel Alpha hase been created and is under your control.",
                             "Ship Sea Wolf II hase been created.", "Ship Lark hase been created."}));
    EXPECT_EQ(context.ScriptDepth, 0);
    EXPECT_TRUE(World.LastCommand.empty());
}

TEST_F(ScriptTest, AByteOrderMarkBeforeTheFirstLineIsSkipped) {
    // Saved as UTF-8 with a byte-order mark: the first command runs; a mark anywhere else
    // is part of its line, as any other bytes are.
    Script("marked", "\xEF\xBB\xBF" "CREATESHIP Lark\r\n\xEF\xBB\xBF" "CREATESHIP Heron\r\n");
    Run("EXEC marked");
    EXPECT_EQ(Said(), Lines{"Ship Lark hase been created and is under your control."});
    Script("short", "\xEF\xBB");  // a part of a mark is no mark, and no command
    Run("EXEC short");
    EXPECT_TRUE(Said().empty());
}

TEST_F(ScriptTest, NamesThatReachOutsideTheScriptsFolderRunNothing) {
    Write(root / "X", "QUIT\n");
    Script("A\\B", "QUIT\n");
    fs::create_directories(root / "scripts" / "SUB");
    for (const char* line : {"EXEC ../x", "EXEC a\\b", "EXEC /etc/passwd", "EXEC ..", "EXEC .", "EXEC",
                             "EXEC sub", "EXEC missing"}) {
        Run(line);
        EXPECT_EQ(closeCalls, 0) << line;
    }
    EXPECT_EQ(Said(), Lines{});
}

TEST_F(ScriptTest, AScriptThatRunsItselfStopsAtTheNestingLimit) {
    Script("LOOP", "EXEC loop\nQUIT\n");
    Run("EXEC LOOP");
    // Each of the 16 nested runs reaches its QUIT; only the innermost EXEC is refused.
    EXPECT_EQ(closeCalls, MaxScriptDepth);
    EXPECT_EQ(Said(), Lines{"Script LOOP was not run: scripts nest too deep."});
    EXPECT_EQ(context.ScriptDepth, 0);
}

TEST_F(ScriptTest, AScriptThatRunsItselfSeveralTimesStopsAtTheLineBudget) {
    // Three self-calls a level would make 3^16 runs; the line budget ends them at once.
    Script("fan", "EXEC fan\nEXEC fan\nEXEC fan\n");
    Run("EXEC fan");
    const Lines said = Said();
    const auto stopped = std::count(said.begin(), said.end(),
                                    "Scripts stopped: one command ran more than 10000 script lines.");
    EXPECT_EQ(stopped, 1);
    EXPECT_LT(said.size(), 20000u);
    EXPECT_EQ(context.ScriptDepth, 0);
    // The next command has its own budget.
    Script("one", "CREATESHIP Lark\n");
    Run("EXEC one");
    EXPECT_EQ(Said().back(), "Ship Lark hase been created and is under your control.");
}

TEST_F(ScriptTest, QuitInAScriptLetsTheRestRun) {
    Script("bye", "QUIT\nCREATESHIP Lark\n");
    Run("EXEC BYE");
    EXPECT_EQ(closeCalls, 1);
    EXPECT_TRUE(World.Ships[5].InPlay);
}

TEST_F(ScriptTest, AnErrorInsideAScriptUnwindsTheNesting) {
    Script("outer", "EXEC inner\nCREATESHIP Lark\n");
    Script("inner", "QUIT\n");
    context.Close = [] { throw std::runtime_error("close failed"); };
    EXPECT_THROW(Run("EXEC outer"), std::runtime_error);
    EXPECT_EQ(context.ScriptDepth, 0);
    EXPECT_FALSE(World.Ships[5].InPlay) << "the error ends the whole command";
}

TEST_F(ScriptTest, ThePlayersOwnScriptsComeFirstWithTheSameConfinement) {
    const fs::path own = root / "own";
    fs::create_directories(own / "Scripts");
    context.PlayerDir = own.string() + "/";
    Script("fleet", "CREATESHIP Lark\n");
    Script("duo", "CREATESHIP Heron\n");
    Write(own / "Scripts" / "FLEET", "CREATESHIP Kestrel\n");
    Write(own / "x", "QUIT\n");
    Run("EXEC fleet");
    Run("EXEC duo");
    EXPECT_TRUE(World.Ships[1].InPlay) << "the player's fleet";
    EXPECT_FALSE(World.Ships[5].InPlay) << "not the shipped fleet";
    EXPECT_TRUE(World.Ships[9].InPlay) << "a shipped script the player has none of";
    for (const char* line : {"EXEC ../x", "EXEC ..", "EXEC " "/etc/passwd"}) Run(line);
    EXPECT_EQ(closeCalls, 0);
}

}  // namespace
}  // namespace kelvane
