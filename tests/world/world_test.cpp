#include <gtest/gtest.h>

#include <algorithm>

#include "world/FieldRegistry.h"
#include "world/World.h"

namespace kelvane {
namespace {

TEST(Table, SlotZeroReadsZeroAndOutsideIndicesThrow) {
    World world;
    EXPECT_EQ(world.Ships[0].Hull, 0);
    EXPECT_EQ(world.Projectiles[0].Active, 0);
    EXPECT_NO_THROW(world.Ships[64]);
    EXPECT_NO_THROW(world.Projectiles[128]);
    EXPECT_NO_THROW(world.Beams[32]);
    EXPECT_THROW(world.Ships[65], TableIndexError);
    EXPECT_THROW(world.Ships[-1], TableIndexError);
    EXPECT_THROW(world.Projectiles[129], TableIndexError);
    EXPECT_THROW(world.Beams[33], TableIndexError);
    try {
        world.Ships[300];
        FAIL();
    } catch (const TableIndexError& error) {
        EXPECT_STREQ(error.what(), "Ships index out of bounds (300)");
    }
}

TEST(Table, IterationCoversSlotsOneToN) {
    World world;
    int count = 0;
    for (TShip& ship : world.Ships) ship.Hull = ++count;
    EXPECT_EQ(count, MaxShips);
    EXPECT_EQ(world.Ships[1].Hull, 1);
    EXPECT_EQ(world.Ships[64].Hull, 64);
    EXPECT_EQ(world.Ships[0].Hull, 0);
}

TEST(Random, SameSeedSameSequenceAndRangeHolds) {
    RandomGenerator a, b;
    a.Seed(12345);
    b.Seed(12345);
    for (int i = 0; i < 1000; ++i) {
        const int32_t n = 1 + i % 1447;
        const int32_t va = a.Random(n);
        ASSERT_EQ(va, b.Random(n));
        ASSERT_GE(va, 0);
        ASSERT_LT(va, n);
    }
    EXPECT_EQ(a.Random(0), 0);
    EXPECT_EQ(a.Random(-5), 0);
}

TEST(Random, CoversTheWholeRange) {
    RandomGenerator rng;
    rng.Seed(7);
    int seen[3] = {};
    for (int i = 0; i < 3000; ++i) ++seen[rng.Random(3)];
    for (int count : seen) EXPECT_GT(count, 800);
}

TEST(FieldRegistry, ReadsAndWritesEveryKindOfPath) {
    World world;
    SetField(world, "Ships[3].Hull", int64_t{77});
    SetField(world, "Ships[3].Heading", 45.5);
    SetField(world, "Ships[3].ShipName", std::string("Aurora"));
    SetField(world, "Ships[2].ExplosionParts[4].Delay", int64_t{9});
    SetField(world, "Ships[1].ShipDescription[5]", std::string("last line"));
    SetField(world, "Projectiles[128].Active", int64_t{1});
    SetField(world, "Beams[1].TimeLeft", int64_t{15});
    SetField(world, "ViewX", int64_t{10});
    SetField(world, "Paused", int64_t{1});
    SetField(world, "ShipCount", int64_t{300});  // cut to the byte's width

    EXPECT_EQ(world.Ships[3].Hull, 77);
    EXPECT_EQ(world.Ships[3].Heading, 45.5);
    EXPECT_EQ(world.Ships[3].ShipName, "Aurora");
    EXPECT_EQ(world.Ships[2].ExplosionParts[4].Delay, 9);
    EXPECT_EQ(world.Ships[1].ShipDescription[5], "last line");
    EXPECT_EQ(world.Projectiles[128].Active, 1);
    EXPECT_EQ(world.Beams[1].TimeLeft, 15);
    EXPECT_EQ(world.ViewX, 10);
    EXPECT_TRUE(world.Paused);
    EXPECT_EQ(world.ShipCount, 300 % 256);

    EXPECT_EQ(std::get<int64_t>(GetField(world, "Ships[3].Hull")), 77);
    EXPECT_EQ(std::get<double>(GetField(world, "Ships[3].Heading")), 45.5);
    EXPECT_EQ(std::get<std::string>(GetField(world, "Ships[1].ShipDescription[5]")), "last line");
    EXPECT_EQ(std::get<int64_t>(GetField(world, "Paused")), 1);
    // An integer is accepted for a real field.
    SetField(world, "Ships[3].Speed", int64_t{6});
    EXPECT_EQ(world.Ships[3].Speed, 6.0);
}

TEST(FieldRegistry, RejectsBadPaths) {
    World world;
    const char* bad[] = {"Ships[0].Hull",  "Ships[65].Hull",     "Ships[1].Nope",  "Nope",
                         "Ships[x].Hull",  "Ships[1]Hull",        "Projectiles[129].X",
                         "Ships[1].ExplosionParts[5].Delay", "Ships[1].ShipDescription[0]", "Ships[1"};
    for (const char* path : bad) EXPECT_THROW(GetField(world, path), FieldError) << path;
    EXPECT_THROW(SetField(world, "Ships[1].Hull", std::string("text")), FieldError);
    EXPECT_THROW(SetField(world, "Ships[1].ShipName", int64_t{1}), FieldError);
    EXPECT_THROW(SetField(world, "Ships[1].Hull", 1.5), FieldError);
    EXPECT_EQ(world.Ships[0].Hull, 0);
}

TEST(FieldRegistry, TheRandomStateReseedsTheGeneratorAndIsNoDumpedGlobal) {
    World world;
    SetField(world, RandomStateField, int64_t{4000000000});
    RandomGenerator same;
    same.Seed(4000000000u);
    EXPECT_EQ(std::get<int64_t>(GetField(world, RandomStateField)), 4000000000);
    EXPECT_EQ(world.Random(1000), same.Random(1000));
    EXPECT_EQ(std::get<int64_t>(GetField(world, RandomStateField)), static_cast<int64_t>(same.State()));
    EXPECT_THROW(SetField(world, RandomStateField, 1.5), FieldError);
    const std::vector<std::string>& globals = GlobalFieldNames();
    EXPECT_EQ(std::find(globals.begin(), globals.end(), RandomStateField), globals.end());
}

TEST(FieldRegistry, NameListsFollowTheRecords) {
    EXPECT_EQ(ShipFieldNames().front(), "PrimaryStrength");
    EXPECT_EQ(ShipFieldNames().back(), "StoredShields");
    EXPECT_EQ(ProjectileFieldNames().size(), 14u);
    EXPECT_EQ(BeamFieldNames().size(), 5u);
    EXPECT_EQ(ExplosionPartFieldNames().size(), 5u);
    EXPECT_EQ(GlobalFieldNames().front(), "Loaded");
}

}  // namespace
}  // namespace kelvane
