// Which types take part, and that a tournament's duels come out the same whatever the
// threads and however it is split.

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "LoadedGround.h"
#include "SimOptions.h"
#include "Tournament.h"

namespace kelvane::sim {
namespace {

using testing::Shipped;

std::vector<TournamentShip> Chosen(const kelvane::World& world, const std::vector<std::string>& requested,
                                   std::vector<std::string>& notes) {
    const Result<std::vector<TournamentShip>> ships = ChooseShips(world, requested, notes);
    EXPECT_TRUE(ships) << ships.Error().Reason;
    return ships ? *ships : std::vector<TournamentShip>{};
}

std::vector<std::string> Names(const std::vector<TournamentShip>& ships) {
    std::vector<std::string> names;
    for (const TournamentShip& ship : ships) names.push_back(ship.Name);
    return names;
}

TEST(ChooseShips, EveryTypeOrThoseNamedAsTheConsoleMatchesThem) {
    std::vector<std::string> notes;
    EXPECT_EQ(Names(Chosen(Shipped().Form.World, {}, notes)),
              (std::vector<std::string>{"Ardent", "Bastion", "Halberd", "Kestrel", "Sable", "Talon", "Vigil", "Wisp"}));
    EXPECT_TRUE(notes.empty());
    // Any case, in slot order whatever the order given; a trailing blank is no matter.
    EXPECT_EQ(Names(Chosen(Shipped().Form.World, {"wisp", "KESTREL "}, notes)),
              (std::vector<std::string>{"Kestrel", "Wisp"}));
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"Wisp", "Nobody"}, {"Wisp", "wisp"}, {"Wisp", " Kestrel"}}) {
        const Result<std::vector<TournamentShip>> refused = ChooseShips(Shipped().Form.World, bad, notes);
        ASSERT_FALSE(refused) << bad[1];
        EXPECT_EQ(refused.Error().Status, ExitStatus::BadInput);
    }
}

TEST(ChooseShips, TypesTheConsoleCannotReachAreLeftOutWithANote) {
    kelvane::World world = Shipped().Form.World;
    world.Ships[2].ShipName = "Two  Blanks";  // the console runs blanks together
    world.Ships[4].ShipName = "ardent";       // answers to the same name as slot 1
    std::vector<std::string> notes;
    EXPECT_EQ(Names(Chosen(world, {}, notes)),
              (std::vector<std::string>{"Ardent", "Halberd", "Sable", "Talon", "Vigil", "Wisp"}));
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_NE(notes[0].find("Two  Blanks"), std::string::npos);
    EXPECT_NE(notes[1].find("slot 4"), std::string::npos);
}

TEST(ChosenTypesFingerprint, ChangesWithTheDefinitionsNotWithWhereLoadingPutTheShips) {
    const kelvane::World& loaded = Shipped().Form.World;
    const TImageList& pictures = Shipped().Form.ShipImages;
    std::vector<std::string> notes;
    const std::vector<TournamentShip> ships = Chosen(loaded, {"Vigil", "Wisp"}, notes);
    const std::string fingerprint = ChosenTypesFingerprint(loaded, pictures, ships);
    EXPECT_EQ(fingerprint.size(), 16u);

    kelvane::World placed = loaded;
    placed.Ships[ships[0].Slot].X += 100;
    placed.Ships[ships[1].Slot].Heading = 90;
    EXPECT_EQ(ChosenTypesFingerprint(placed, pictures, ships), fingerprint);
    kelvane::World other = loaded;
    other.Ships[ships[1].Slot].MaxHull += 1;
    EXPECT_NE(ChosenTypesFingerprint(other, pictures, ships), fingerprint);
    other = loaded;
    other.Ships[ships[0].Slot].ExplosionParts[2].Delay += 1;
    EXPECT_NE(ChosenTypesFingerprint(other, pictures, ships), fingerprint);
    EXPECT_NE(ChosenTypesFingerprint(loaded, pictures, Chosen(loaded, {"Vigil", "Talon"}, notes)), fingerprint);
}

// Vigil, Talon and Wisp: three pairs.
std::vector<TournamentShip> ThreeTypes() {
    std::vector<std::string> notes;
    return Chosen(Shipped().Form.World, {"Vigil", "Talon", "Wisp"}, notes);
}

TournamentOptions Options(int games, uint64_t ticks, unsigned jobs) {
    TournamentOptions options;
    options.Games = games;
    options.Ticks = ticks;
    options.Jobs = jobs;
    return options;
}

TEST(RunTournament, SameDuelsWhateverTheThreadsAndTheParts) {
    const std::vector<TournamentShip> ships = ThreeTypes();
    TournamentOptions options = Options(3, 400, 1);
    options.Seed = 5;
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

TEST(RunTournament, NoMoreThreadsThanDuels) {
    const std::vector<TournamentShip> ships = ThreeTypes();
    TournamentOptions options = Options(1, 10, 4096);
    RunCounts counts;
    EXPECT_EQ(RunTournament(Shipped().Ground, ships, options, "data", {}, counts).Duels.size(), 3u);
    EXPECT_EQ(counts.Threads, 3u);
    options.Shard = {5, 5};  // a part with no duel at all
    EXPECT_TRUE(RunTournament(Shipped().Ground, ships, options, "data", {}, counts).Duels.empty());
    EXPECT_EQ(counts.Threads, 0u);
}

TEST(RunTournament, AnErrorInTheProgressReportStopsAndJoinsTheWorkers) {
    // 60 duels: far more than are done when the report fails at the start.
    const TournamentOptions options = Options(20, 2000, 2);
    RunCounts counts;
    const auto failingReport = [](size_t, size_t) { throw std::runtime_error("the terminal went away"); };
    try {
        (void)RunTournament(Shipped().Ground, ThreeTypes(), options, "data", failingReport, counts);
        FAIL() << "the report's error must end the run";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "the terminal went away");
    }
    EXPECT_EQ(counts.Duels, 0u);  // nothing counted as played
}

TEST(RunTournament, AThreadThatCannotStartOrADuelThatFailsStopsTheRun) {
    // 60 duels on two threads: the run ends long before they are played.
    const TournamentOptions options = Options(20, 2000, 2);
    const ThreadStarter secondFails = [started = 0](const std::function<void()>& work) mutable {
        if (++started == 2) throw std::system_error(EAGAIN, std::generic_category());
        return std::thread(work);
    };
    std::vector<TournamentShip> unknown = ThreeTypes();
    unknown[2].Name = "Nobody";  // the console puts no such type into play
    struct Case {
        std::vector<TournamentShip> Ships;
        ThreadStarter Start;
        std::string Error;
    };
    const Case cases[] = {
        {ThreeTypes(), secondFails, "thread 2 of 2 cannot be started: Resource temporarily unavailable"},
        {unknown, StartThread, "the console cannot put Nobody into play"},
    };
    for (const Case& c : cases) {
        RunCounts counts;
        try {
            (void)RunTournament(Shipped().Ground, c.Ships, options, "data", {}, counts, nullptr, c.Start);
            ADD_FAILURE() << c.Error << ": the run went on";
        } catch (const std::exception& error) {
            EXPECT_EQ(error.what(), c.Error);
        }
        EXPECT_EQ(counts.Duels, 0u) << c.Error;
    }
}

}  // namespace
}  // namespace kelvane::sim
