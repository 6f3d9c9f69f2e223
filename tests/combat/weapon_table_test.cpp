#include <gtest/gtest.h>

#include <set>
#include <string>

#include "combat/WeaponTable.h"
#include "world/ArchiveItems.h"

namespace kelvane {
namespace {

// A new row must name a picture and a sound the archives have, and an identifier of its own.
TEST(WeaponTable, RowsNameRealItemsAndUniqueIdentifiers) {
    std::set<std::string> seen;
    for (const WeaponRow& row : WeaponTable()) {
        EXPECT_TRUE(seen.insert(row.Id).second) << row.Id;
        EXPECT_LT(row.Picture, Gfx::Count) << row.Id;
        EXPECT_GE(row.Sound, 0) << row.Id;
        EXPECT_LT(row.Sound, Sfx::Count) << row.Id;
        EXPECT_EQ(FindWeapon(row.Id), &row);
        if (row.Kind != WeaponKind::Beam) {
            EXPECT_GT(row.Speed, 0.0) << row.Id;
        }
    }
    EXPECT_EQ(seen.size(), 11u);
}

TEST(WeaponTable, LookupsAreExact) {
    EXPECT_EQ(FindWeapon("NONE"), nullptr);
    EXPECT_EQ(FindWeapon("phaser_orange"), nullptr);  // the loader upper-cases, the table does not
    EXPECT_EQ(FindWeapon(""), nullptr);
    EXPECT_TRUE(IsWeaponOfKind("BEAM_POLARON", WeaponKind::Beam));
    EXPECT_TRUE(IsWeaponOfKind("PHASER_PULSE", WeaponKind::Pulse));  // whatever slot carries it
    EXPECT_FALSE(IsWeaponOfKind("TORPEDO_ION", WeaponKind::Pulse));
    EXPECT_FALSE(IsWeaponOfKind("NONE", WeaponKind::Beam));
}

TEST(WeaponTable, ReloadTimes) {
    TShip ship;
    struct Case { const char* id; int32_t strength; int32_t frames; };
    const Case cases[] = {
        {"PHASER_ORANGE", 50, 78}, {"DISRUPTOR_MARK1", 50, 31}, {"TORPEDO_PHOTON", 50, 78},
        {"TACHYON_PULSE", 50, 200}, {"BEAM_POLARON", 10, 40},  // 39.5 rounds to even
        {"PHASER_PULSE", 0, 12},
    };
    for (const Case& c : cases) {
        ship.PrimaryStrength = c.strength;
        EXPECT_EQ(ReloadFrames(*FindWeapon(c.id), ship), c.frames) << c.id;
    }
}

}  // namespace
}  // namespace kelvane
