// The hint line: what a console line that did nothing tells its player, beside a log that
// stays exactly as the console has always written it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "console/Commands.h"
#include "console/ConsoleHint.h"
#include "text/Language.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using Kind = CommandOutcome::Kind;
using Names = std::vector<std::string>;

// A world with Kestrel, Wisp and Falcon's near namesakes defined and Kestrel in play, and a
// game folder with two scripts.
class ConsoleHintTest : public ::testing::Test {
protected:
    ConsoleHintTest() : context{World, "", nullptr} {
        const char* names[] = {"Kestrel", "Wisp", "Falchion", "Halcyon", "Heron"};
        for (int slot = 1; slot <= 5; ++slot) World.Ships[slot].ShipName = names[slot - 1];
        World.Ships[1].InPlay = true;
        World.ShipCount = 1;
        World.ControlledShip = 1;
        dir_ = fs::temp_directory_path() / ("kelvane-hint-" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "Scripts");
        std::ofstream(dir_ / "Scripts" / "battle") << "CREATESHIP Wisp\r\n";
        std::ofstream(dir_ / "Scripts" / "Arena") << "CREATESHIP Heron\r\n";
        context.GameDir = dir_.string() + "/";
    }
    ~ConsoleHintTest() override { fs::remove_all(dir_); }

    fs::path dir_;
    kelvane::World World;
    ConsoleContext context;
};

TEST_F(ConsoleHintTest, LinesThatDoNothingSayWhyAndLeaveTheLogAlone) {
    struct Case {
        const char* line;
        CommandOutcome expected;
    };
    const Case cases[] = {
        {"help", {Kind::Help, "HELP", {}}},
        {"HeLp", {Kind::Help, "HELP", {}}},
        {"1+1", {Kind::UnknownCommand, "1+1", {}}},
        {"launch Wisp", {Kind::UnknownCommand, "LAUNCH", {}}},
        {" createship Wisp", {Kind::LeadingBlank, "", {}}},
        {"createship  Wisp", {Kind::LeadingBlank, "CREATESHIP", {}}},
        {"createship", {Kind::NeedsShipName, "CREATESHIP", {"Kestrel", "Wisp", "Falchion", "Halcyon", "Heron"}}},
        {"createship Falcon", {Kind::UnknownShipType, "FALCON", {"Falchion", "Halcyon", "Heron"}}},
        {"createship Kestrel", {Kind::InPlayAlready, "KESTREL", {}}},
        {"deleteship", {Kind::NeedsShipName, "DELETESHIP", {"Kestrel"}}},
        {"deleteship Wisp", {Kind::NotInPlay, "WISP", {"Kestrel"}}},
        {"deleteship Wasp", {Kind::UnknownShipType, "WASP", {"Wisp", "Heron", "Kestrel"}}},
        {"yourship Wisp", {Kind::NotInPlay, "WISP", {"Kestrel"}}},
        {"exec", {Kind::NeedsScript, "EXEC", {"Arena", "battle"}}},
        {"exec nothing", {Kind::NoSuchScript, "NOTHING", {"Arena", "battle"}}},
        {"exec ../battle", {Kind::NoSuchScript, "../BATTLE", {"Arena", "battle"}}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> log = World.ConsoleLog;
        const CommandOutcome outcome = DoConsoleCommand(context, c.line);
        EXPECT_EQ(outcome.What, c.expected.What) << c.line;
        EXPECT_EQ(outcome.Word, c.expected.Word) << c.line;
        // The nearest names come nearest first; which of two equally near ones comes first
        // is not the player's concern.
        if (c.expected.What == Kind::UnknownShipType) {
            EXPECT_EQ(outcome.Names.size(), c.expected.Names.size()) << c.line;
            EXPECT_EQ(outcome.Names.front(), c.expected.Names.front()) << c.line;
        } else {
            EXPECT_EQ(outcome.Names, c.expected.Names) << c.line;
        }
        EXPECT_EQ(World.ConsoleLog, log) << c.line << ": the log changed";
        EXPECT_EQ(World.ShipCount, 1) << c.line;
    }
}

TEST_F(ConsoleHintTest, LinesThatActHaveNothingToSay) {
    for (const char* line : {"createship Wisp", "yourship Wisp", "deleteship Wisp", "exec battle"}) {
        EXPECT_EQ(DoConsoleCommand(context, line).What, Kind::Acted) << line;
    }
    EXPECT_EQ(World.Ships[2].InPlay, true) << "exec battle created Wisp again";
}

TEST(HintText, NamesTheWordAndWhatWouldHaveWorked) {
    const Language& original = OriginalLanguage();
    struct Case {
        CommandOutcome outcome;
        std::vector<std::string> parts;  // in the hint, in this order
    };
    const Case cases[] = {
        {{}, {"HELP"}},
        {{Kind::Help, "HELP", {}}, {"CREATESHIP", "DELETESHIP", "YOURSHIP", "EXEC", "QUIT"}},
        {{Kind::UnknownCommand, "1+1", {}}, {"1+1", "no command", "CREATESHIP"}},
        {{Kind::UnknownShipType, "FALCON", {"Falchion", "Halcyon"}}, {"FALCON", "Falchion, Halcyon"}},
        {{Kind::UnknownShipType, "FALCON", {}}, {"FALCON", "none"}},
        {{Kind::NotInPlay, "WISP", {"Kestrel"}}, {"WISP", "not in play", "Kestrel"}},
        {{Kind::NoSuchScript, "NOTHING", {"Arena", "battle"}}, {"NOTHING", "Arena, battle"}},
        {{Kind::NeedsScript, "EXEC", {}}, {"EXEC", "no scripts"}},
    };
    for (const Case& c : cases) {
        const std::string hint = HintText(c.outcome, original);
        size_t from = 0;
        for (const std::string& part : c.parts) {
            const size_t at = hint.find(part, from);
            EXPECT_NE(at, std::string::npos) << "\"" << part << "\" in order in: " << hint;
            if (at != std::string::npos) from = at + part.size();
        }
    }
}

TEST(HintText, ALongListIsCutToOneLine) {
    Names many;
    for (int i = 1; i <= 30; ++i) many.push_back("Script" + std::to_string(i));
    const std::string hint = HintText({Kind::NoSuchScript, "X", many}, OriginalLanguage());
    EXPECT_NE(hint.find("Script12"), std::string::npos);
    EXPECT_EQ(hint.find("Script13"), std::string::npos);
    EXPECT_EQ(hint.back(), '\x85') << "an ellipsis says there are more";
}

}  // namespace
}  // namespace kelvane
