// Script lines the console ignores without a word, and names it cannot find.

#include <gtest/gtest.h>

#include "CheckFixture.h"

namespace kelvane::check::testing {
namespace {

using enum Severity;

struct Case {
    const char* What;
    std::string Script;
    std::vector<Expected> Findings;
};

// Two ship types (Probe and Sea Wolf) and a script "duel" to run.
class ScriptCheckTest : public ::testing::Test {
protected:
    ScriptCheckTest() {
        game.Definition("Probe", GoodDefinition);
        game.Definition("Wolf", Replaced(GoodDefinition, "=Probe", "=Sea Wolf"));
        game.Script("duel", "CREATESHIP Probe\nCREATESHIP sea wolf\n");
    }
    CheckGame game;
};

TEST_F(ScriptCheckTest, EveryLineAsTheConsoleReadsIt) {
    std::string nine;
    for (int i = 0; i < 9; ++i) nine += "CREATESHIP Probe\n";
    const std::vector<Case> cases = {
        {"good lines",
         "createship probe\nCREATESHIP Sea   Wolf\nYOURSHIP\nYOURSHIP Probe\nDELETESHIP Probe\n\n   \nEXEC "
         "duel\r\nQUIT\n",
         {}},
        {"a misspelt command",
         "CREATSHIP Probe\n",
         {{Error, 1, "unknown command \"CREATSHIP\": the console ignores the line; did you mean CREATESHIP?"}}},
        {"a comment", "# start the fight\n", {{Warning, 1, "\"#\" is no command: the console ignores the line"}}},
        {"a leading blank", " CREATESHIP Probe\n", {{Warning, 1, "the line starts with a blank"}}},
        {"an unknown ship",
         "EXEC duel\nCREATESHIP Prob\n",
         {{Error, 2, "CREATESHIP \"PROB\": no ship type has that name; did you mean Probe?"}}},
        {"an unknown ship far from any",
         "DELETESHIP Zanzibar\n",
         {{Error, 1, "DELETESHIP \"ZANZIBAR\": no ship type has that name"}}},
        {"two blanks after the command",
         "YOURSHIP  Probe\n",
         {{Error, 1, "more than one blank after YOURSHIP: the name then starts with a blank and matches nothing"}}},
        {"no name", "CREATESHIP\n", {{Warning, 1, "CREATESHIP without a name does nothing"}}},
        {"a missing script", "EXEC dule\n", {{Error, 1, "EXEC \"DULE\": there is no such script; did you mean duel?"}}},
        {"a path", "EXEC ../Data/x\n", {{Error, 1, "scripts come only from the Scripts folders"}}},
        {"a script running itself",
         "CREATESHIP Probe\nEXEC fight\n",
         {{Warning, 2, "EXEC \"FIGHT\" runs this script again: the scripts repeat until they are 16 deep"}}},
        {"ships beyond eight", nine, {{Note, 9, "ship number 9 of this script: at most 8 ships are in play at once"}}},
        {"ships deleted in between",
         nine + "DELETESHIP Probe\nDELETESHIP Probe\nCREATESHIP Probe\n",
         {{Note, 9, "ship number 9"}}},
        {"words beyond sixteen",
         "CREATESHIP Probe" + std::string(16, ' ') + "x\n",
         {{Warning, 1, "reads only the first 16 words"}}},
        {"a byte-order mark",
         "\xEF\xBB\xBF"
         "CREATESHIP Probe\n",
         {{Warning, 1, "byte-order mark"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        CheckGame one;
        one.Definition("Probe", GoodDefinition);
        one.Definition("Wolf", Replaced(GoodDefinition, "=Probe", "=Sea Wolf"));
        one.Script("duel", "CREATESHIP Probe\n");
        one.Script("fight", c.Script);
        const Report report = one.Run();
        ExpectFindings(About(report, "Scripts/fight"), c.Findings);
        EXPECT_EQ(report.Findings().size(), c.Findings.size()) << Listed(report.Findings());
        EXPECT_EQ(report.Scripts, 2);
    }
}

TEST_F(ScriptCheckTest, LoopsThroughOtherScriptsAndThePlayersOwn) {
    game.Script("ping", "EXEC pong\n");
    game.Script("pong", "EXEC ping\n");
    // The player's own script stands in for a shipped one of that name and may run shipped ones.
    game.Own("Scripts/Duel", "EXEC trio\nCREATESHIP Probe\n");
    game.Script("trio", "CREATESHIP Probe\n");
    const Report report = game.Run();
    ExpectFindings(About(report, "Scripts/ping"), {{Warning, 1, "EXEC \"PONG\" runs this script again"}});
    ExpectFindings(About(report, "Scripts/pong"), {{Warning, 1, "EXEC \"PING\" runs this script again"}});
    EXPECT_TRUE(About(report, "Duel").empty()) << Listed(report.Findings());
    EXPECT_EQ(report.Scripts, 5);
}

TEST_F(ScriptCheckTest, ScriptNamesTheConsoleCannotRun) {
    game.Script("two  blanks", "YOURSHIP\n");
    game.Script("DUEL", "YOURSHIP\n");  // found for "duel" as well as duel itself: only one of them runs
    const Report report = game.Run();
    ExpectFindings(About(report, "Scripts/two  blanks"), {{Warning, 0, "EXEC can never run this script"}});
    EXPECT_EQ(About(report, "Scripts/DUEL").size() + About(report, "Scripts/duel").size(), 1u)
        << Listed(report.Findings());
}

}  // namespace
}  // namespace kelvane::check::testing
