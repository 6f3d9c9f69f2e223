// The result file: written the same way every time, read back whole, and parts merged
// only when they make up exactly one tournament.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DuelSeed.h"
#include "ResultFile.h"
#include "Schedule.h"

namespace kelvane::sim {
namespace {

TournamentResults Made(int parts = 1, int index = 1) {
    TournamentResults results;
    results.Seed = 3;
    results.Games = 2;
    results.Ticks = 5000;
    results.Ships = {"Ardent", "Bastion", "Šíp"};
    results.Data = "0123456789abcdef";
    results.Shard = {index, parts};
    for (const DuelKey& key : ScheduleDuels(3, 2, results.Shard)) {
        DuelRecord duel;
        duel.First = key.First;
        duel.Second = key.Second;
        duel.Game = key.Game;
        duel.Seed = DuelSeed(results.Seed, results.Ships[key.First], results.Ships[key.Second], key.Game);
        const DuelWinner winners[] = {DuelWinner::None, DuelWinner::First, DuelWinner::Second};
        duel.Winner = winners[key.Index % 3];
        duel.Frames = duel.Winner == DuelWinner::None ? 5000 : 100 + key.Index;
        duel.Scatters = key.Index % 2;
        duel.Errors = key.Index == 4 ? 2 : 0;
        results.Duels.push_back(duel);
    }
    return results;
}

std::string Text(const TournamentResults& results) { return ResultJson(results, MakeTable(results)); }

TEST(ResultFile, ReadsBackToTheSameBytes) {
    const TournamentResults results = Made();
    const std::string text = Text(results);
    EXPECT_EQ(Text(ParseResultJson(text, "x.json")), text);
    EXPECT_EQ(text.find("\"shard\""), std::string::npos);
    const std::string part = Text(Made(2, 2));
    EXPECT_NE(part.find("\"shard\": \"2/2\""), std::string::npos);
    EXPECT_EQ(Text(ParseResultJson(part, "p.json")), part);
}

TEST(ResultFile, PartsMergeIntoTheWholeTournament) {
    const std::string whole = Text(Made());
    for (int count : {1, 2, 4, 9}) {
        std::vector<TournamentResults> parts;
        std::vector<std::string> names;
        for (int index = count; index >= 1; --index) {  // any order of files
            names.push_back(std::to_string(index) + ".json");
            parts.push_back(ParseResultJson(Text(Made(count, index)), names.back()));
        }
        EXPECT_EQ(Text(MergeParts(parts, names)), whole) << count << " parts";
    }
}

TEST(ResultFile, PartsThatDoNotMakeOneTournamentAreRefused) {
    const TournamentResults one = Made(2, 1), two = Made(2, 2);
    TournamentResults otherSeed = two;
    otherSeed.Seed = 4;
    TournamentResults otherData = two;
    otherData.Data = "fedcba9876543210";
    TournamentResults lacking = two;
    lacking.Duels.pop_back();
    TournamentResults foreign = two;
    foreign.Duels.push_back(one.Duels.front());
    TournamentResults huge = Made();  // claims a billion games a pair: refused before laid out
    huge.Games = 1000000000;
    const std::vector<std::vector<TournamentResults>> bad = {
        {one}, {one, one}, {one, otherSeed}, {one, otherData}, {one, lacking}, {one, foreign}, {one, Made(3, 2)},
        {huge}};
    for (size_t i = 0; i < bad.size(); ++i) {
        const std::vector<std::string> names(bad[i].size(), "part.json");
        EXPECT_THROW(MergeParts(bad[i], names), ResultFileError) << "case " << i;
    }
}

// `text` with its checksum made anew for what it now holds, as a forger would.
std::string Resealed(const std::string& text) {
    const size_t seal = text.rfind(" \"checksum\": ");
    if (seal == std::string::npos) return text;
    return text.substr(0, seal) + ResultFileSeal(text.substr(0, seal));
}

// One result changed by hand, or a file cut or garbled on its way, no longer matches
// its checksum: the merge refuses it.
TEST(ResultFile, AFileChangedSinceItWasWrittenIsRefused) {
    const std::string good = Text(Made());
    ASSERT_NE(good.find("\"winner\":\"Ardent\""), std::string::npos);
    const size_t winner = good.find("\"winner\":\"Ardent\"");
    const std::string flipped = good.substr(0, winner) + "\"winner\":\"Bastion\"" + good.substr(winner + 17);
    const std::vector<std::string> changed = {
        flipped,
        good.substr(0, good.size() - 1),                // cut by a byte
        good + "\n",                                    // a byte more
        good.substr(0, good.rfind(" \"checksum\"") - 2) + "\n}\n",  // without its checksum
    };
    for (const std::string& text : changed) {
        try {
            ParseResultJson(text, "part.json");
            ADD_FAILURE() << text.substr(text.size() - 60);
        } catch (const ResultFileError& error) {
            EXPECT_EQ(std::string(error.what()).rfind("part.json: ", 0), 0u) << error.what();
        }
    }
    try {
        ParseResultJson(flipped, "part.json");
    } catch (const ResultFileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "part.json: its checksum does not match what it holds: the file was changed or damaged since it was "
                  "written");
    }
    EXPECT_NO_THROW(ParseResultJson(Resealed(flipped), "part.json"));  // a forger's own checksum reads
}

TEST(ResultFile, DamagedFilesAreRefusedWithTheirName) {
    const std::string good = Text(Made());
    // Each with a fitting checksum, so that the reader's other checks are what refuse it.
    const auto replaced = [&](const std::string& from, const std::string& to) {
        const size_t at = good.find(from);
        return Resealed(good.substr(0, at) + to + good.substr(at + from.size()));
    };
    const std::vector<std::string> bad = {
        "",
        "[]",
        replaced("kelvane-tournament 1", "something else"),
        replaced(",\"seed\":", ",\"seed\":1"),                     // the first duel's seed
        replaced("\"winner\":null", "\"winner\":\"Wisp\""),         // not one of its ships
        replaced("\"first\":\"Ardent\"", "\"first\":\"Bastion\""),  // out of order
        replaced("\"frames\":5000", "\"frames\":5001"),             // beyond the ticks
        replaced("\"games\": 2", "\"games\": \"2\""),
    };
    for (const std::string& text : bad) {
        try {
            ParseResultJson(text, "broken.json");
            ADD_FAILURE() << text.substr(0, 200);
        } catch (const ResultFileError& error) {
            EXPECT_EQ(std::string(error.what()).rfind("broken.json: ", 0), 0u) << error.what();
        }
    }
}

}  // namespace
}  // namespace kelvane::sim
