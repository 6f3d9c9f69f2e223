#include "combat/Damage.h"
#include "combat/Geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace kelvane {
namespace {

TEST(AngleAndDistance, BearingAndDistanceInEveryDirection) {
    struct Case { int32_t x1, y1, x2, y2, angle, distance; };
    const std::vector<Case> cases = {
        {100, 100, 100, 50, 0, 50},    {100, 100, 150, 100, 90, 50},  {100, 100, 100, 150, 180, 50},
        {100, 100, 50, 100, 270, 50},  {0, 100, 100, 0, 45, 141},     {0, 100, 100, 200, 135, 141},
        {100, 100, 0, 200, 225, 141},  {100, 100, 0, 0, 315, 141},
        // Each diagonal case takes its own ratio: a swapped ratio would give 84 instead of 6.
        {0, 10, 1, 0, 6, 10},          {0, 0, 10, 1, 96, 10},         {10, 0, 0, 1, 264, 10},
        {10, 1, 0, 0, 276, 10},
        {0, 1000, 1, 0, 0, 1000},      // nearly straight up rounds to 0
        {1, 1000, 0, 0, 360, 1000},    // nearly straight up from the left: 270 + 90, not wrapped
        {0, 0, 3, 4, 143, 5},
    };
    for (const Case& c : cases) {
        int32_t distance = -1;
        EXPECT_EQ(AngleAndDistance(c.x1, c.y1, c.x2, c.y2, distance), c.angle)
            << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
        EXPECT_EQ(distance, c.distance) << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
    }
}

TEST(AngleAndDistance, EqualPointsGiveZeroAndLeaveTheDistanceAlone) {
    int32_t distance = 12345;
    EXPECT_EQ(AngleAndDistance(700, 300, 700, 300, distance), 0);
    EXPECT_EQ(distance, 12345);
}

TEST(AngleArithmetic, AngleDiffAndTurnDirection) {
    struct Diff { int32_t a, b, result; };
    // One correction only: 720 - 0 stays 360 and 0 - 400 stays negative.
    const std::vector<Diff> diffs = {{10, 20, 350}, {350, -20, 10}, {0, 0, 0},    {0, 359, 1},
                                     {719, 0, 359}, {720, 0, 360},  {0, 400, -40}};
    for (const Diff& c : diffs)
        EXPECT_EQ(AngleDiff(c.a, c.b), c.result) << c.a << " - " << c.b;

    struct Turn { int32_t from, to, result; };
    for (const Turn& c : std::vector<Turn>{{0, 180, 1}, {0, 181, 2}, {90, 90, 1}, {350, 10, 1}, {10, 350, 2}})
        EXPECT_EQ(TurnDirection(c.from, c.to), c.result) << c.from << " -> " << c.to;
}

TEST(PolarOffset, QuadrantsAxisAndAnglesOutsideTheCircle) {
    struct Case { int32_t x, y, d; const char* axis; int32_t angle, result; };
    const std::vector<Case> cases = {
        {0, 0, 100, "X", 90, 100},      {0, 0, 100, "Y", 90, 0},        {0, 0, 100, "x", 90, 100},
        {1000, 1000, 100, "X", 0, 1000}, {1000, 1000, 100, "Y", 0, 900},
        {1000, 1000, 100, "X", 45, 1071}, {1000, 1000, 100, "Y", 45, 929},
        {1000, 1000, 100, "X", 135, 1071}, {1000, 1000, 100, "Y", 135, 1071},
        {1000, 1000, 100, "X", 225, 929}, {1000, 1000, 100, "Y", 225, 1071},
        {1000, 1000, 100, "X", 315, 929}, {1000, 1000, 100, "Y", 315, 929},
        {1000, 1000, 100, "X", 300, 913}, {1000, 1000, 100, "Y", 300, 950},
        {10, 20, 100, "X", 360, 10},     {10, 20, 100, "Y", 360, 20},
        {10, 20, 100, "X", -1, 10},      {10, 20, 100, "Y", -1, 20},
        {10, 20, 100, "XY", 90, 20},     {10, 20, 100, "", 90, 20},      // anything but "X" is Y
    };
    for (const Case& c : cases)
        EXPECT_EQ(PolarOffset(c.x, c.y, c.d, c.axis, c.angle), c.result) << c.axis << " at " << c.angle;
}

TEST(HeadingStep, MovesInRoundedStepsThenTurns) {
    struct Case { double speed, heading, turn; int32_t x, y; double headingAfter; };
    const std::vector<Case> cases = {
        {6, 90, 0, 106, 100, 90},   {6, 0, 0, 100, 94, 0},      {6, 45, 0, 104, 96, 45},
        {6, 135, 0, 104, 104, 135}, {6, 180, 0, 100, 106, 180}, {6, 225, 0, 96, 104, 225},
        {6, 270, 0, 94, 100, 270},  {6, 315, 0, 96, 96, 315},
        {10, 350, 15, 98, 90, 5},   // moves along 350 first, then turns past 360
        {0, 359.9, 0.2, 100, 100, 0.1}, {0, 0, -0.5, 100, 100, 359.5},
    };
    for (const Case& c : cases) {
        int32_t x = 100, y = 100;
        double heading = c.heading;
        HeadingStep(x, y, c.speed, heading, c.turn);
        EXPECT_EQ(x, c.x) << "heading " << c.heading;
        EXPECT_EQ(y, c.y) << "heading " << c.heading;
        EXPECT_NEAR(heading, c.headingAfter, 1e-9) << "heading " << c.heading;
    }
}

class ShipsTest : public ::testing::Test {
protected:
    TShip& Ship(int i) { return World.Ships[i]; }
    void Place(int i, int32_t x, int32_t y, bool inPlay = true, bool dead = false) {
        Ship(i).X = x;
        Ship(i).Y = y;
        Ship(i).InPlay = inPlay;
        Ship(i).Dead = dead;
    }
    kelvane::World World;
};

TEST_F(ShipsTest, AimAngleUsesTheBearingOnlyWhenTheNoseIsWithinTenDegrees) {
    struct Case { double heading; int32_t bearing, result; };
    const std::vector<Case> cases = {
        {45, 52, 52}, {45, 56, 45}, {45, 55, 45}, {45, 35, 35}, {45, 34, 45},
        {5, 355, 355}, {356, 5, 5},  // the window wraps around north
        {44.5, 54, 44},              // the nose is rounded half to even: 44, just outside (44, 64]
    };
    for (const Case& c : cases) {
        Place(1, 1000, 700);
        Ship(1).Heading = c.heading;
        Place(2, PolarOffset(1000, 700, 400, "X", c.bearing), PolarOffset(1000, 700, 400, "Y", c.bearing));
        int32_t distance = 0;
        ASSERT_EQ(AngleAndDistance(1000, 700, Ship(2).X, Ship(2).Y, distance), c.bearing);
        EXPECT_EQ(AimAngle(World, 1, 2), c.result) << "heading " << c.heading << ", bearing " << c.bearing;
    }
}

TEST_F(ShipsTest, HitRollDrawsAccuracyThenManoeuvrability) {
    bool orderMatters = false;
    for (uint32_t seed = 1; seed <= 50; ++seed) {
        Ship(1).Accuracy = 100;
        Ship(2).Manoeuvrability = 60;
        World.Rng.Seed(seed);
        RandomGenerator reference;
        reference.Seed(seed);
        const int32_t aim = reference.Random(100);
        const int32_t dodge = reference.Random(60);
        RandomGenerator swapped;
        swapped.Seed(seed);
        const int32_t dodgeFirst = swapped.Random(60);
        const int32_t aimSecond = swapped.Random(100);
        orderMatters = orderMatters || std::max(aim - dodge, 0) != std::max(aimSecond - dodgeFirst, 0);

        const int32_t roll = HitRoll(World, 1, 2);
        EXPECT_EQ(roll, std::max(aim - dodge, 0)) << "seed " << seed;
        EXPECT_EQ(World.Rng.State(), reference.State()) << "exactly two draws";

        Ship(1).Accuracy = 0;
        EXPECT_EQ(HitRoll(World, 1, 2), 0);
    }
    EXPECT_TRUE(orderMatters) << "the seeds chosen cannot tell the draw order apart";
}

TEST_F(ShipsTest, DamageGoesWhollyToShieldsOrHull) {
    struct Case { int32_t shields, hull, damage, shieldsAfter, hullAfter; };
    for (const Case& c : std::vector<Case>{{10, 50, 4, 6, 50}, {3, 50, 10, -7, 50}, {0, 50, 5, 0, 45},
                                           {-2, 50, 5, -2, 45}, {10, 50, 0, 10, 50}, {0, 50, 0, 0, 50}}) {
        Ship(3).Shields = c.shields;
        Ship(3).Hull = c.hull;
        ApplyDamage(World, 3, c.damage);
        EXPECT_EQ(Ship(3).Shields, c.shieldsAfter) << c.shields << "/" << c.hull << " - " << c.damage;
        EXPECT_EQ(Ship(3).Hull, c.hullAfter) << c.shields << "/" << c.hull << " - " << c.damage;
    }
}

TEST_F(ShipsTest, PointsForAKillFollowTheStrengthRatio) {
    struct Case { int32_t targetRating, shooterRating, targetHull, points; };
    const std::vector<Case> cases = {
        {300, 200, 0, 150}, {300, 200, -5, 150}, {300, 200, 1, 0},
        {1, 8, 0, 12}, {3, 8, 0, 38},  // 12.5 and 37.5 go to the even neighbour
        {0, 200, 0, 0},
        {300, 0, 0, 0},  // a shooter without a rating scores nothing rather than dividing by zero
    };
    for (const Case& c : cases) {
        Ship(1).StrengthRating = c.shooterRating;
        Ship(1).Score = 7;
        Ship(2).StrengthRating = c.targetRating;
        Ship(2).Hull = c.targetHull;
        AwardPoints(World, 1, 2);
        EXPECT_EQ(Ship(1).Score, 7 + c.points) << c.targetRating << "/" << c.shooterRating;
    }
}

TEST_F(ShipsTest, OnScreenBoundsAreStrict) {
    const View view{100, 200};
    struct Case { int32_t x, y, margin; bool on; };
    const std::vector<Case> cases = {
        {36, 500, 64, false}, {37, 500, 64, true},   {1186, 500, 64, true}, {1187, 500, 64, false},
        {500, 136, 64, false}, {500, 137, 64, true}, {500, 1030, 64, true}, {500, 1031, 64, false},
        {100, 500, 0, false}, {101, 500, 0, true},   {1122, 966, 0, true},  {1123, 500, 0, false},
        {500, 967, 0, false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsOnScreen(view, c.x, c.y, c.margin), c.on) << c.x << "," << c.y;
}

TEST_F(ShipsTest, NearestShipSkipsAndPrefersTheLowerIndexOnTies) {
    Place(5, 500, 500);
    EXPECT_EQ(FindNearestShip(World, 5), 5) << "nobody else in play";

    Place(9, 600, 500);                       // 100 away
    Place(3, 500, 400);                       // 100 away, lower index
    Place(2, 510, 500, /*inPlay=*/false);     // nearer but not in play
    Place(4, 505, 500, true, /*dead=*/true);  // nearer but destroyed
    Place(12, 560, 560);                      // 85 away
    EXPECT_EQ(FindNearestShip(World, 5), 12);

    Ship(12).InPlay = 0;
    EXPECT_EQ(FindNearestShip(World, 5), 3);

    Place(40, 500, 500);  // on the very same point: distance 0
    EXPECT_EQ(FindNearestShip(World, 5), 40);
    EXPECT_EQ(FindNearestShip(World, 40), 5);
}

}  // namespace
}  // namespace kelvane
