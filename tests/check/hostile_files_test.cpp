// Files the checker meets that are no ordinary text or picture: too large, unreadable,
// links that loop, lines of a megabyte, scripts longer than the game runs. Each gets one
// finding that says why, and the report stays short.

#include <gtest/gtest.h>

#include <filesystem>

#include "CheckFixture.h"
#include "console/Commands.h"

namespace kelvane::check::testing {
namespace {

namespace fs = std::filesystem;
using enum Severity;

class HostileFiles : public ::testing::Test {
protected:
    HostileFiles() { game.Definition("Probe", GoodDefinition); }
    void Link(const std::string& from, const std::string& to) { fs::create_symlink(game.Path(to), game.Path(from)); }
    CheckGame game;
};

TEST_F(HostileFiles, FilesTheGameCannotReadAreNamedWithTheReason) {
    game.Own("Ships/.keep", "");
    game.Definition("Huge", GoodDefinition + std::string(1 << 20, ';'));  // a definition of over 1 MiB
    game.Definition("Folder", GoodDefinition, false);
    fs::create_directories(game.Path("Data/Ships/Folder.bmp"));  // a folder where the picture should be
    game.Definition("Gone", GoodDefinition, false);
    Link("player/Ships/Loop.ini", "player/Ships/Round.ini");  // two links that point at each other
    Link("player/Ships/Round.ini", "player/Ships/Loop.ini");
    Link("Scripts/circle", "Scripts/square");
    Link("Scripts/square", "Scripts/circle");
    game.Script("long", std::string(ScriptFileLimit.Bytes + 1, '\n'));
    const Report report = game.Run();
    ExpectFindings(About(report, "Huge.ini"), {{Error, 0, "more than the 1 MiB a ship definition may take"}});
    ExpectFindings(About(report, "Folder.bmp"), {{Error, 0, "Cannot open file "}}, false);
    ExpectFindings(About(report, "Folder.bmp"), {{Error, 0, "it is a folder, not a file"}}, false);
    ExpectFindings(About(report, "Gone.ini"), {{Error, 0, "Gone.bmp is missing"}}, false);
    ExpectFindings(About(report, "Loop.ini"), {{Error, 0, "(Too many levels of symbolic links): the game skips it"}});
    ExpectFindings(About(report, "Round.ini"), {{Error, 0, "Too many levels of symbolic links"}});
    ExpectFindings(About(report, "circle"), {{Error, 0, "no script EXEC can run (Too many levels of symbolic links)"}});
    ExpectFindings(About(report, "long"), {{Error, 0, "more than the 1 MiB a script may take"}});
}

TEST_F(HostileFiles, LongLinesAreQuotedShortAndLongScriptsStopWhereTheGameStops) {
    // One line of half a megabyte, and a script of 10,050 lines that all name no command.
    game.Script("wide", "CREATESHIP " + std::string(500000, 'W') + "\n");
    std::string lines;
    for (int line = 0; line < MaxScriptLines + 50; ++line) lines += "HELLO\n";
    game.Script("tall", lines);
    const Report report = game.Run();
    const std::vector<Finding> wide = About(report, "wide");
    ASSERT_EQ(wide.size(), 1u) << Listed(wide);
    EXPECT_LT(FormatFinding(wide[0]).size(), 400u) << FormatFinding(wide[0]).substr(0, 400);
    EXPECT_NE(wide[0].Message.find(" ... (500000 characters in all)"), std::string::npos) << wide[0].Message.substr(0, 300);
    const std::vector<Finding> tall = About(report, "tall");
    ASSERT_EQ(tall.size(), static_cast<size_t>(MaxScriptLines) + 1);  // each line run, and the one that never runs
    EXPECT_TRUE(Matches(tall.back(), {Warning, MaxScriptLines + 1, "the game runs at most 10000 script lines"}))
        << FormatFinding(tall.back());
}

}  // namespace
}  // namespace kelvane::check::testing
