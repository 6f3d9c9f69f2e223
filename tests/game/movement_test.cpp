#include "game/Movement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

#include "world/VirtualKeys.h"

namespace kelvane {
namespace {

TEST(MoveShip, MovesAlongTheHeadingAndStopsAtTheEdges) {
    struct Case { int32_t x, y; double heading, speed, turn; int32_t xAfter, yAfter; double headingAfter; };
    const std::vector<Case> cases = {
        {2040, 800, 90, 10, 0, 2047, 800, 90},
        {2040, 800, 45, 10, 0, 2047, 793, 45},  // slides up the right edge
        {2047, 793, 45, 10, 0, 2047, 786, 45},
        {5, 5, 315, 10, 0, 0, 0, 315},
        {700, 1530, 180, 10, 0, 700, 1535, 180},
        {1000, 1000, 350, 10, 15, 998, 990, 5},  // advanced along 350 before turning to 5
    };
    for (const Case& c : cases) {
        World world;
        TShip& ship = world.Ships[6];
        ship.X = c.x;
        ship.Y = c.y;
        ship.Heading = c.heading;
        ship.Speed = c.speed;
        ship.TurnRate = c.turn;
        MoveShip(world, 6);
        EXPECT_EQ(ship.X, c.xAfter) << c.x << "," << c.y << " heading " << c.heading;
        EXPECT_EQ(ship.Y, c.yAfter) << c.x << "," << c.y << " heading " << c.heading;
        EXPECT_NEAR(ship.Heading, c.headingAfter, 1e-9);
    }
}

TEST(TurnSnap, SmallTurnRatesBecomeZeroInEverySlot) {
    struct Case { double rate, after; };
    const std::vector<Case> cases = {{0.2, 0},       {-0.2, 0},  {0.2499, 0}, {0.25, 0.25},
                                     {-0.25, -0.25}, {1.5, 1.5}, {0, 0}};
    for (const Case& c : cases) {
        World world;
        world.Ships[1].TurnRate = c.rate;
        world.Ships[1].InPlay = 1;
        world.Ships[64].TurnRate = c.rate;  // not in play: snapped all the same
        TurnSnap(world);
        EXPECT_EQ(world.Ships[1].TurnRate, c.after) << c.rate;
        EXPECT_EQ(world.Ships[64].TurnRate, c.after) << c.rate;
    }
}

TEST(CentreView, KeepsTheViewInsideTheWorld) {
    struct Case { int32_t x, y, viewX, viewY; };
    const std::vector<Case> cases = {
        {100, 1500, 0, 768}, {1024, 768, 513, 385}, {511, 383, 0, 0}, {600, 500, 89, 117},
        {0, 0, 0, 0},        {2047, 1535, 1024, 768},
    };
    for (const Case& c : cases) {
        World world;
        CentreView(world, c.x, c.y);
        EXPECT_EQ(world.ViewX, c.viewX) << c.x << "," << c.y;
        EXPECT_EQ(world.ViewY, c.viewY) << c.x << "," << c.y;
    }
}

TEST(WatchersView, AGameWithoutAPlayersShipIsFollowedByItsMiddle) {
    World world;
    world.ShipCount = 2;
    world.ControlledShip = 0;
    world.ViewX = world.ViewY = 5;
    world.Ships[2].InPlay = world.Ships[5].InPlay = true;
    world.Ships[2].X = 1000;
    world.Ships[2].Y = 400;
    world.Ships[5].X = 1400;
    world.Ships[5].Y = 1000;
    const View followed = WatchersView(world);
    EXPECT_EQ(followed.X, 1200 - 511);  // the view centred as the game centres it
    EXPECT_EQ(followed.Y, 700 - 383);
    EXPECT_EQ(world.ViewX, 5);  // the world's own view stays
    // A game with a player's ship is watched from the view its rules give it.
    world.ControlledShip = 2;
    const View own = WatchersView(world);
    EXPECT_EQ(own.X, 5);
    EXPECT_EQ(own.Y, 5);
}

class SteeringTest : public ::testing::Test {
protected:
    SteeringTest() {
        World.ControlledShip = 3;
        Ship().InPlay = 1;
        Ship().MaxSpeed = 6;
    }
    TShip& Ship() { return World.Ships[3]; }
    // One frame of the controls with exactly these keys active (as the ageing leaves them).
    void Frame(std::initializer_list<uint16_t> keys) {
        for (uint16_t key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) World.KeyState[key] = 0;
        for (uint16_t key : keys) World.KeyState[key] = 1;
        PlayerSteering(World);
    }
    kelvane::World World;
};

TEST_F(SteeringTest, TurnKeysStepTheTurnRateUpTo2_25) {
    struct Case { uint16_t key; std::vector<double> rates; };
    for (const Case& c : std::vector<Case>{{VK_LEFT, {-0.75, -1.5, -2.25, -2.25}},
                                           {VK_RIGHT, {0.75, 1.5, 2.25, 2.25}}}) {
        Ship().TurnRate = 0;
        for (double rate : c.rates) {
            Frame({c.key});
            EXPECT_EQ(Ship().TurnRate, rate) << "key " << c.key;
        }
    }
}

TEST_F(SteeringTest, OppositeKeyStopsATurnAndBothKeysKeepZero) {
    Ship().TurnRate = -2.25;
    Frame({VK_RIGHT});
    EXPECT_EQ(Ship().TurnRate, 0);
    Frame({VK_RIGHT});
    EXPECT_EQ(Ship().TurnRate, 0.75);

    Ship().TurnRate = 0;
    for (int i = 0; i < 3; ++i) {
        Frame({VK_LEFT, VK_RIGHT});
        EXPECT_EQ(Ship().TurnRate, 0);
    }
}

TEST_F(SteeringTest, ReleasedTurnDecaysUntilTheSnap) {
    for (double start : {2.25, -2.25}) {
        Ship().TurnRate = start;
        int frames = 0;
        // Frame order: the snap comes with the world update, the controls after it.
        while (Ship().TurnRate != 0 && frames < 1000) {
            TurnSnap(World);
            Frame({});
            ++frames;
            if (frames == 400) {
                EXPECT_NEAR(std::abs(Ship().TurnRate), 0.25, 1e-9);
            }
        }
        // 400 decays bring it to 0.25, one more takes it below, and the next frame snaps it.
        EXPECT_EQ(frames, 402) << start;
    }
}

TEST_F(SteeringTest, ThrustAndBrake) {
    struct Case { double maxSpeed, start; uint16_t key; std::vector<double> speeds; };
    const std::vector<Case> cases = {
        {6, 0, VK_UP, {4.0, 4.5, 5.0, 5.5, 6.0, 6.0}},
        {3, 0, VK_UP, {4.0, 4.0}},  // the first thrust always gives 4.0
        {3, 4, VK_DOWN, {0}},
        {6, 6, VK_DOWN, {5.5, 5.0, 4.5, 4.0, 0, 0}},
    };
    for (const Case& c : cases) {
        Ship().MaxSpeed = c.maxSpeed;
        Ship().Speed = c.start;
        for (double speed : c.speeds) {
            Frame({c.key});
            EXPECT_EQ(Ship().Speed, speed) << "MaxSpeed " << c.maxSpeed << ", key " << c.key;
        }
    }
    Ship().Speed = 5.5;
    Frame({});
    EXPECT_EQ(Ship().Speed, 5.5) << "without keys the speed stays";
}

TEST_F(SteeringTest, NoControlledShipLeavesSlotZeroAlone) {
    World.ControlledShip = 0;
    Frame({VK_UP, VK_LEFT});
    EXPECT_EQ(World.Ships[0].Speed, 0);
    EXPECT_EQ(World.Ships[0].TurnRate, 0);
}

}  // namespace
}  // namespace kelvane
