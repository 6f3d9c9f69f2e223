// Which types take part, and that a tournament's duels come out the same whatever the
// threads and however it is split.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LoadedGround.h"
#include "SimOptions.h"
#include "Tournament.h"

namespace kelvane::sim {
namespace {

using testing::Shipped;

std::vector<std::string> Names(const std::vector<TournamentShip>& ships) {
    std::vector<std::string> names;
    for (const TournamentShip& ship : ships) names.push_back(ship.Name);
    return names;
}

TEST(ChooseShips, EveryTypeOrThoseNamedAsTheConsoleMatchesThem) {
    std::vector<std::string> notes;
    EXPECT_EQ(Names(ChooseShips(Shipped().Form.World, {}, notes)),
              (std::vector<std::string>{"Ardent", "Bastion", "Halberd", "Kestrel", "Sable", "Talon", "Vigil", "Wisp"}));
    EXPECT_TRUE(notes.empty());
    // Any case, in slot order whatever the order given; a trailing blank is no matter.
    EXPECT_EQ(Names(ChooseShips(Shipped().Form.World, {"wisp", "KESTREL "}, notes)),
              (std::vector<std::string>{"Kestrel", "Wisp"}));
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"Wisp", "Nobody"}, {"Wisp", "wisp"}, {"Wisp", " Kestrel"}}) {
        EXPECT_THROW(ChooseShips(Shipped().Form.World, bad, notes), UsageError) << bad[1];
    }
}

TEST(ChooseShips, TypesTheConsoleCannotReachAreLeftOutWithANote) {
    kelvane::World world = Shipped().Form.World;
    world.Ships[2].ShipName = "Two  Blanks";  // the console runs blanks together
    world.Ships[4].ShipName = "ardent";       // answers to the same name as slot 1
    std::vector<std::string> notes;
    EXPECT_EQ(Names(ChooseShips(world, {}, notes)),
              (std::vector<std::string>{"Ardent", "Halberd", "Sable", "Talon", "Vigil", "Wisp"}));
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_NE(notes[0].find("Two  Blanks"), std::string::npos);
    EXPECT_NE(notes[1].find("slot 4"), std::string::npos);
}

TEST(DataFingerprint, ChangesWithTheDefinitionsNotWithWhereLoadingPutTheShips) {
    const kelvane::World& loaded = Shipped().Form.World;
    const TImageList& pictures = Shipped().Form.ShipImages;
    std::vector<std::string> notes;
    const std::vector<TournamentShip> ships = ChooseShips(loaded, {"Vigil", "Wisp"}, notes);
    const std::string fingerprint = DataFingerprint(loaded, pictures, ships);
    EXPECT_EQ(fingerprint.size(), 16u);

    kelvane::World placed = loaded;
    placed.Ships[ships[0].Slot].X += 100;
    placed.Ships[ships[1].Slot].Heading = 90;
    EXPECT_EQ(DataFingerprint(placed, pictures, ships), fingerprint);
    kelvane::World other = loaded;
    other.Ships[ships[1].Slot].MaxHull += 1;
    EXPECT_NE(DataFingerprint(other, pictures, ships), fingerprint);
    other = loaded;
    other.Ships[ships[0].Slot].ExplosionParts[2].Delay += 1;
    EXPECT_NE(DataFingerprint(other, pictures, ships), fingerprint);
    EXPECT_NE(DataFingerprint(loaded, pictures, ChooseShips(loaded, {"Vigil", "Talon"}, notes)), fingerprint);
}

TEST(RunTournament, SameDuelsWhateverTheThreadsAndTheParts) {
    std::vector<std::string> notes;
    const std::vector<TournamentShip> ships = ChooseShips(Shipped().Form.World, {"Vigil", "Talon", "Wisp"}, notes);
    TournamentOptions options;
    options.Games = 3;
    options.Ticks = 400;
    options.Seed = 5;
    options.Jobs = 1;
    RunCounts counts;
    const TournamentResults whole = RunTournament(Shipped().Ground, ships, options, "data", {}, counts);
    ASSERT_EQ(whole.Duels.size(), 9u);
    EXPECT_EQ(counts.Duels, 9u);

    options.Jobs = 3;
    const TournamentResults threaded = RunTournament(Shipped().Ground, ships, options, "data", {}, counts);
    std::vector<DuelRecord> parts;
    for (int index = 1; index <= 2; ++index) {
        options.Shard = {index, 2};
        const TournamentResults part = RunTournament(Shipped().Ground, ships, options, "data", {}, counts);
        parts.insert(parts.end(), part.Duels.begin(), part.Duels.end());
    }
    ASSERT_EQ(threaded.Duels.size(), whole.Duels.size());
    ASSERT_EQ(parts.size(), whole.Duels.size());
    for (const DuelRecord& duel : parts) {
        bool found = false;
        for (size_t k = 0; k < whole.Duels.size(); ++k) {
            const DuelRecord& expected = whole.Duels[k];
            if (expected.First != duel.First || expected.Second != duel.Second || expected.Game != duel.Game) continue;
            found = true;
            EXPECT_EQ(duel.Seed, expected.Seed);
            EXPECT_EQ(duel.Winner, expected.Winner);
            EXPECT_EQ(duel.Frames, expected.Frames);
            EXPECT_EQ(threaded.Duels[k].Seed, expected.Seed);
            EXPECT_EQ(threaded.Duels[k].Winner, expected.Winner);
            EXPECT_EQ(threaded.Duels[k].Frames, expected.Frames);
        }
        EXPECT_TRUE(found);
    }
}

}  // namespace
}  // namespace kelvane::sim
