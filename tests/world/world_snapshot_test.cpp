// A world saved into a snapshot and restored is the saved world in every field, over
// another world or into a fresh one; saving again reuses the snapshot's buffer.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "world/WorldFields.h"
#include "world/WorldSnapshot.h"

namespace kelvane {
namespace {

// Writes a value into every described field, counting on from `next`: two worlds filled
// from neighbouring counts differ in every field (flags included), texts are short and
// long (beyond the string's own buffer), the log has its own length.
struct FillFields {
    uint32_t Next;

    template <class T>
    void operator()(const char* name, T& field) {
        ++Next;
        if constexpr (std::is_same_v<T, bool>) {
            field = Next % 2 == 0;
        } else if constexpr (std::is_same_v<T, uint8_t> || std::is_same_v<T, int32_t>) {
            field = static_cast<T>(Next);
        } else if constexpr (std::is_same_v<T, double>) {
            field = Next + 0.25;
        } else if constexpr (std::is_same_v<T, std::string>) {
            field = std::string(Next % 3 == 0 ? 40 : 3, static_cast<char>('a' + Next % 26));
        } else if constexpr (TableType<T>) {
            DescribeSlots(*this, name, field);
        } else if constexpr (std::is_same_v<T, std::vector<uint8_t>> || ByteArrayType<T>) {
            for (size_t i = 0; i < field.size(); ++i) field[i] = static_cast<uint8_t>((i + Next) % 3);
        } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
            field.assign(Next % 5 + 1, "7line " + std::to_string(Next));
        } else {
            field.Seed(Next * 2654435761u);
        }
    }
};

World Filled(uint32_t from) {
    World world;
    FillFields fill{from};
    Describe(fill, world);
    return world;
}

TEST(WorldSnapshot, RestoresEveryFieldOverAnotherWorldAndIntoAFreshOne) {
    World saved = Filled(1);
    saved.Ships[3].Speed = -0.0;  // the sign of a zero is kept
    World other = Filled(2);
    ASSERT_FALSE(other == saved);
    ASSERT_NE(other.ConsoleLog.size(), saved.ConsoleLog.size());

    WorldSnapshot snapshot;
    SaveWorld(saved, snapshot);
    RestoreWorld(other, snapshot);
    EXPECT_TRUE(other == saved);
    EXPECT_TRUE(std::signbit(other.Ships[3].Speed));
    EXPECT_EQ(other.Rng.State(), saved.Rng.State());

    World fresh;
    RestoreWorld(fresh, snapshot);
    EXPECT_TRUE(fresh == saved);
    // Restoring leaves the snapshot as it was: it can be restored again.
    World again = Filled(3);
    RestoreWorld(again, snapshot);
    EXPECT_TRUE(again == saved);
}

TEST(WorldSnapshot, SavingAgainReusesTheBuffer) {
    const World large = Filled(3);
    WorldSnapshot snapshot;
    SaveWorld(large, snapshot);
    const unsigned char* buffer = snapshot.Bytes.data();
    const size_t size = snapshot.Size;

    World smaller = large;
    smaller.ConsoleLog.clear();
    smaller.Ships[1].ShipName.clear();
    SaveWorld(smaller, snapshot);
    EXPECT_LT(snapshot.Size, size);
    SaveWorld(large, snapshot);
    EXPECT_EQ(snapshot.Size, size);
    EXPECT_EQ(snapshot.Bytes.data(), buffer);
}

TEST(WorldSnapshot, NothingSavedIsNothingToRestore) {
    World world;
    world.Paused = true;
    EXPECT_THROW(RestoreWorld(world, WorldSnapshot{}), std::logic_error);
    EXPECT_TRUE(world.Paused);
}

}  // namespace
}  // namespace kelvane
