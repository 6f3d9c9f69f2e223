// Weapons and player controls, end to end: the runner plays scripted key presses on ship
// types made for the test, and the dumps are checked against the combat rules.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "CraftedShips.h"
#include "DumpSeries.h"
#include "SimRunner.h"
#include "TempGameDir.h"

namespace kelvane::testing {
namespace {

// Slots follow the file names: Alpha 1, Bravo 2, Charlie 3.
constexpr int Alpha = 1;
constexpr int Bravo = 2;
constexpr int Charlie = 3;

// Alpha, the player's ship: a 60 x 60 picture whose whole mask counts.
constexpr int AlphaSide = 60;
constexpr int AlphaStrength = 40;  // PrimaryWeapon=400 and SecondaryWeapon=400, x 0.1
constexpr int AlphaX = 1000;
constexpr int TorpedoRunAlphaY = 1400;  // where the torpedo scenarios put Alpha
// Bravo, the target: 100 x 100, all of it a hit.
constexpr int BravoSide = 100;
constexpr int BravoShields = 120;
constexpr int BravoHull = 100;
// Charlie: 64 x 64 with a gap in its mask; alone in play in the gap test.
constexpr int CharlieSide = 64;
constexpr int CharlieShields = 90;
constexpr int CharlieX = 1000;  // where combat_pulse_gap.json puts it
// Accurancy=14 gives Accuracy 1: Random(1) is always 0, so every hit roll is 0 and each hit
// deals exactly its fixed part.
constexpr int Accurancy = 14;

long RoundEven(double value) { return std::lrint(value); }

// Hit box left edge of a ship at x whose picture is `side` wide: shrunk by 7 pixels.
int HitBoxLeft(int x, int side) { return x - side / 2 + 7; }

// The mask column that a projectile flying straight through Charlie's centre reads.
int CentreMaskColumn() { return CharlieX - HitBoxLeft(CharlieX, CharlieSide); }

bool InCharlieGap(int column) { return std::abs(column - CentreMaskColumn()) <= 5; }

class CombatTest : public ::testing::Test {
protected:
    CombatTest() : dir_({true, false, true}) {
        const std::string stats = "Accurancy=" + std::to_string(Accurancy) + "\r\n";
        dir_.WriteFile("Data/Ships/Alpha.ini",
                       ShipIni("Alpha", "Alpha Lancer",
                               "PrimaryWeapon=400\r\nSecondaryWeapon=400\r\n" + stats +
                                   "Shields=200\r\nHull=150\r\nSpeed=800\r\nManoeuvrability=1000\r\n",
                               "PrimaryWeaponType=phaser_orange\r\nSecondaryWeaponType=TORPEDO_PHOTON\r\n"
                               "SpecialDevice=TACHYON_PULSE\r\n"));
        WriteBytes(dir_, "Data/Ships/Alpha.bmp",
                   ShipPictureBmp(AlphaSide, AlphaSide, [](int, int) { return true; }));
        dir_.WriteFile(
            "Data/Ships/Bravo.ini",
            ShipIni("Bravo", "Bravo Mark",
                    "PrimaryWeapon=300\r\n" + stats + "Shields=" + std::to_string(BravoShields) +
                        "\r\nHull=" + std::to_string(BravoHull) + "\r\nSpeed=600\r\nManoeuvrability=2000\r\n",
                    "PrimaryWeaponType=NONE\r\n"));
        WriteBytes(dir_, "Data/Ships/Bravo.bmp",
                   ShipPictureBmp(BravoSide, BravoSide, [](int, int) { return true; }));
        dir_.WriteFile(
            "Data/Ships/Charlie.ini",
            ShipIni("Charlie", "Charlie Gap",
                    "Shields=" + std::to_string(CharlieShields) + "\r\nHull=80\r\nSpeed=600\r\n", ""));
        WriteBytes(
            dir_, "Data/Ships/Charlie.bmp",
            ShipPictureBmp(CharlieSide, CharlieSide, [](int column, int) { return !InCharlieGap(column); }));
    }

    DumpSeries Run(const char* scenario, const std::vector<uint64_t>& ticks,
                   const std::vector<std::string>& extra = {}) {
        DumpSeries series = RunWithDumps(dir_, Scenario(scenario), ticks, extra);
        EXPECT_EQ(series.Run.ExitCode, 0) << series.Run.Err;
        return series;
    }

    TempGameDir dir_;
};

int Distance(const nlohmann::json& a, const nlohmann::json& b) {
    const double dx = a["X"].get<double>() - b["X"].get<double>();
    const double dy = a["Y"].get<double>() - b["Y"].get<double>();
    return static_cast<int>(RoundEven(std::sqrt(dx * dx + dy * dy)));
}

TEST_F(CombatTest, BeamHitsInTheFrameAfterTheKeyAndReloadsToTheFrame) {
    // Space goes down after tick 4 and again after ticks 71 and 72 (combat_beam_reload.json).
    constexpr uint64_t press = 4, early = 71, onTime = 72;
    constexpr uint64_t fired = press + 1;  // keys act at the end of the next tick, after its update
    const DumpSeries d = Run("combat_beam_reload.json",
                             {press, fired, fired + 1, fired + 15, fired + 16, early + 1, onTime + 1});
    ASSERT_TRUE(d.Has(onTime + 1));

    const int beamRange = static_cast<int>(RoundEven(1 / 2.25 + 300));  // Accuracy 1
    const int reload = static_cast<int>(RoundEven(AlphaStrength * 0.95 + 30));
    const int damage = static_cast<int>(RoundEven(AlphaStrength / 2.0));  // hit roll 0
    ASSERT_EQ(reload, 68);
    for (uint64_t tick : {fired, early + 1, onTime + 1}) {
        ASSERT_LT(Distance(d.Ship(tick, Alpha), d.Ship(tick, Bravo)), beamRange) << "tick " << tick;
    }
    EXPECT_EQ(d.Ship(fired, Alpha)["Target"], Bravo);  // N chose the nearest ship

    EXPECT_EQ(d.Ship(press, Bravo)["Shields"], BravoShields);
    EXPECT_EQ(d[press]["WavePlays"][0], 0);
    EXPECT_EQ(d.Beam(press, 1)["Active"], 0);

    EXPECT_EQ(d.Ship(fired, Bravo)["Shields"], BravoShields - damage);
    EXPECT_EQ(d.Ship(fired, Bravo)["Hull"], BravoHull);
    EXPECT_EQ(d.Ship(fired, Alpha)["PrimaryReload"], reload);
    EXPECT_EQ(d[fired]["WavePlays"][0], 1);
    const nlohmann::json beam = d.Beam(fired, 1);
    EXPECT_EQ(beam["Source"], Alpha);
    EXPECT_EQ(beam["Target"], Bravo);
    EXPECT_EQ(beam["ImageIndex"], 1);
    EXPECT_EQ(beam["TimeLeft"], 15);
    EXPECT_EQ(beam["Active"], 1);
    EXPECT_EQ(d.Ship(fired + 1, Alpha)["PrimaryReload"], reload - 1);
    EXPECT_EQ(d.Beam(fired + 1, 1)["TimeLeft"], 14);
    // Shown for 16 frames: still there with no time left 15 ticks on, gone the tick after.
    EXPECT_EQ(d.Beam(fired + 15, 1)["Active"], 1);
    EXPECT_EQ(d.Beam(fired + 15, 1)["TimeLeft"], 0);
    EXPECT_EQ(d.Beam(fired + 16, 1)["Active"], 0);

    // One tick before the reload runs out the key does nothing; on the tick it runs out it fires.
    ASSERT_EQ(early + 1, fired + reload - 1);
    EXPECT_EQ(d.Ship(early + 1, Alpha)["PrimaryReload"], 1);
    EXPECT_EQ(d.Ship(early + 1, Bravo)["Shields"], BravoShields - damage);
    EXPECT_EQ(d[early + 1]["WavePlays"][0], 1);
    EXPECT_EQ(d.Ship(onTime + 1, Bravo)["Shields"], BravoShields - 2 * damage);
    EXPECT_EQ(d.Ship(onTime + 1, Alpha)["PrimaryReload"], reload);
    EXPECT_EQ(d[onTime + 1]["WavePlays"][0], 2);
    EXPECT_EQ(d.Beam(onTime + 1, 1)["TimeLeft"], 15);
    EXPECT_EQ(d.Ship(onTime + 1, Alpha)["Score"], 0);
}

// Bearing in whole degrees from (x1, y1) to (x2, y2), 0 up and clockwise.
double Bearing(double x1, double y1, double x2, double y2) {
    double degrees = std::atan2(x2 - x1, y1 - y2) * 180.0 / M_PI;
    return degrees < 0 ? degrees + 360 : degrees;
}

TEST_F(CombatTest, TorpedoHomesOnAndHitsAMovingTarget) {
    // Alt after tick 4 launches; after tick 5 Alpha leaves play and Bravo, now the player's
    // ship with no key held, flies straight down at 6 pixels a frame.
    constexpr uint64_t launch = 5, watched = launch + 12, last = 90;
    constexpr int bravoX = 1150, bravoY = 600, bravoSpeed = 6;
    std::vector<uint64_t> ticks = TickRange(launch, watched);
    ticks.push_back(last);
    const DumpSeries d = Run("combat_torpedo_homing.json", ticks);
    ASSERT_TRUE(d.Has(last));

    const nlohmann::json torpedo = d.Projectile(launch, 1);
    EXPECT_EQ(torpedo["Active"], 1);
    EXPECT_EQ(torpedo["ImageIndex"], 2);
    EXPECT_EQ(torpedo["Speed"], 15.0);
    EXPECT_EQ(torpedo["Homing"], 1);
    EXPECT_EQ(torpedo["Damage"], AlphaStrength);
    EXPECT_EQ(torpedo["Owner"], Alpha);
    EXPECT_EQ(torpedo["Target"], Bravo);
    EXPECT_EQ(torpedo["X"], AlphaX - 10);
    // The target lies more than 10 degrees off the nose, so the torpedo leaves straight ahead.
    const nlohmann::json& bravoAtLaunch = d.Ship(launch, Bravo);
    ASSERT_GT(
        Bearing(AlphaX, TorpedoRunAlphaY, bravoAtLaunch["X"].get<double>(), bravoAtLaunch["Y"].get<double>()),
        10.5);
    EXPECT_EQ(torpedo["Heading"], 0.0);
    EXPECT_EQ(d.Ship(launch, Alpha)["SecondaryReload"], RoundEven(AlphaStrength * 0.95 + 30));
    EXPECT_EQ(d[launch]["WavePlays"][1], 1);

    const auto targetY = [&](uint64_t tick) { return bravoY + bravoSpeed * static_cast<int>(tick - launch); };
    for (uint64_t tick = launch + 1; tick <= watched; ++tick) {
        const nlohmann::json& shot = d.Projectile(tick, 1);
        const nlohmann::json& target = d.Ship(tick, Bravo);
        ASSERT_EQ(shot["Active"], 1) << "tick " << tick;
        ASSERT_EQ(target["Y"], targetY(tick)) << "a moving target";
        const int age = shot["Age"];
        ASSERT_EQ(age, static_cast<int>(tick - launch));
        const double turn = shot["TurnRate"], previous = d.Projectile(tick - 1, 1)["TurnRate"];
        if (age * 15 <= AlphaSide) {
            // It first clears its own ship's picture.
            EXPECT_EQ(turn, 0.0) << "age " << age;
            continue;
        }
        // Homing steps the turn rate by 0.5 toward the target's side; past 2 it starts again
        // from 0. Ticks where the bearing is within a degree of the nose are left out, as the
        // game's integer bearing may fall either way there.
        const double bearing = Bearing(shot["X"].get<double>(), shot["Y"].get<double>(),
                                       target["X"].get<double>(), target["Y"].get<double>());
        double offset = bearing - std::nearbyint(shot["Heading"].get<double>());
        if (offset > 180) offset -= 360;
        if (offset < -180) offset += 360;
        if (std::abs(offset) <= 1) continue;
        double expected = previous + (offset > 0 ? 0.5 : -0.5);
        if (std::abs(expected) > 2.0) expected = 0;
        EXPECT_EQ(turn, expected) << "tick " << tick;
    }

    // A spent projectile keeps its last place and age: the age tells the frame of the hit.
    const nlohmann::json& spent = d.Projectile(last, 1);
    ASSERT_EQ(spent["Active"], 0) << "the torpedo never hit";
    const uint64_t hit = launch + spent["Age"].get<uint64_t>();
    EXPECT_GT(hit, watched);
    EXPECT_NE(spent["Heading"], 0.0) << "it turned toward the target";
    // Where it ended lies in the target's hit box (the picture less 7 on each side) at that frame.
    EXPECT_LT(std::abs(spent["X"].get<int>() - bravoX), BravoSide / 2 - 7);
    EXPECT_LT(std::abs(spent["Y"].get<int>() - targetY(hit)), BravoSide / 2 - 7);
    const int damage = static_cast<int>(RoundEven(AlphaStrength / 2.0 * 1.5));  // hit roll 0
    EXPECT_EQ(d.Ship(last, Bravo)["Shields"], BravoShields - damage) << "one hit";
    EXPECT_EQ(d.Ship(last, Bravo)["Hull"], BravoHull);
    EXPECT_EQ(d.Ship(last, Bravo)["Y"], targetY(last));
}

TEST_F(CombatTest, TheSameTorpedoWithoutHomingMisses) {
    constexpr uint64_t launch = 5, last = 90;
    const DumpSeries d = Run("combat_torpedo_unguided.json", {launch, last});
    ASSERT_TRUE(d.Has(last));
    EXPECT_EQ(d.Projectile(launch, 1)["Homing"], 1);
    const nlohmann::json& shot = d.Projectile(last, 1);
    EXPECT_EQ(shot["Active"], 1);
    EXPECT_EQ(shot["X"], AlphaX - 10);
    EXPECT_EQ(shot["Y"], TorpedoRunAlphaY - 15 * static_cast<int>(last - launch));
    EXPECT_EQ(d.Ship(last, Bravo)["Shields"], BravoShields);
}

TEST_F(CombatTest, PulseFliesOnThroughAGapInTheHitMask) {
    // Two pulse shots set after tick 2, flying straight up at 17 pixels a frame: one through
    // Charlie's centre, where the mask has its gap, one 12 pixels to the right.
    constexpr uint64_t set = 2, last = 12;
    constexpr int startY = 900, speed = 17, charlieY = 800;
    ASSERT_TRUE(InCharlieGap(CentreMaskColumn()));
    ASSERT_FALSE(InCharlieGap(CentreMaskColumn() + 12));
    const DumpSeries d = Run("combat_pulse_gap.json", TickRange(set + 1, last));
    ASSERT_TRUE(d.Has(last));

    const int top = charlieY - CharlieSide / 2 + 7, bottom = charlieY + CharlieSide / 2 - 7;
    uint64_t firstInside = 0;
    for (uint64_t tick = set + 1; tick <= last; ++tick) {
        const int y = startY - speed * static_cast<int>(tick - set);
        if (firstInside == 0 && y >= top && y < bottom) firstInside = tick;
        const nlohmann::json& through = d.Projectile(tick, 1);
        EXPECT_EQ(through["Active"], 1) << "tick " << tick;
        EXPECT_EQ(through["X"], CharlieX);
        EXPECT_EQ(through["Y"], y);
    }
    ASSERT_NE(firstInside, 0u);
    EXPECT_LT(d.Projectile(last, 1)["Y"].get<int>(), top) << "it came out the other side";

    // The shot beside the gap ends in the first frame it is inside the hit box.
    const int damage = static_cast<int>(RoundEven(40 / 2.0 * 1.5));
    EXPECT_EQ(d.Projectile(firstInside - 1, 2)["Active"], 1);
    EXPECT_EQ(d.Projectile(firstInside, 2)["Active"], 0);
    EXPECT_EQ(d.Ship(firstInside - 1, Charlie)["Shields"], CharlieShields);
    EXPECT_EQ(d.Ship(last, Charlie)["Shields"], CharlieShields - damage);
}

TEST_F(CombatTest, TachyonHitDropsTheShieldsUntilTheTimerBringsThemBack) {
    // Ctrl after tick 4 fires the device at Bravo, placed 150 pixels ahead and flying at Alpha.
    constexpr uint64_t launch = 5, later = launch + 15;
    const auto upTo = [](uint64_t tick) {
        return std::vector<std::string>{"--frames", std::to_string(tick)};
    };
    const DumpSeries flight = Run("combat_tachyon.json", {launch - 1, launch, later}, upTo(later));
    ASSERT_TRUE(flight.Has(later));

    const nlohmann::json& shot = flight.Projectile(launch, 1);
    EXPECT_EQ(shot["ImageIndex"], 21);
    EXPECT_EQ(shot["Speed"], 15.0);
    EXPECT_EQ(shot["Damage"], 0);
    EXPECT_EQ(shot["Homing"], 0);
    EXPECT_EQ(shot["Effect"], "TACHYON_EFFECT");
    EXPECT_EQ(flight.Ship(launch - 1, Alpha)["SpecialReload"], 0);
    EXPECT_EQ(flight.Ship(launch, Alpha)["SpecialReload"], 200);
    EXPECT_EQ(flight[launch]["WavePlays"][1], 1);
    EXPECT_EQ(flight.Ship(launch, Bravo)["Shields"], BravoShields);

    const nlohmann::json& spent = flight.Projectile(later, 1);
    ASSERT_EQ(spent["Active"], 0) << "the shot has not hit";
    const uint64_t hit = launch + spent["Age"].get<uint64_t>();
    ASSERT_GT(hit, launch);

    const DumpSeries around = Run("combat_tachyon.json", {hit - 1, hit}, upTo(hit));
    ASSERT_TRUE(around.Has(hit));
    const nlohmann::json& struck = around.Ship(hit, Bravo);
    EXPECT_EQ(around.Ship(hit - 1, Bravo)["ShieldsUp"], 1);
    EXPECT_EQ(around.Ship(hit - 1, Bravo)["Shields"], BravoShields);
    EXPECT_EQ(struck["ShieldsUp"], 0);
    EXPECT_EQ(struck["Shields"], 0);
    EXPECT_EQ(struck["StoredShields"], BravoShields);
    EXPECT_EQ(struck["Hull"], BravoHull);
    // 60 or 80 frames, the frame of the hit counting as the first: the countdown has already
    // taken that frame off.
    const int timer = struck["ShieldsDownTimer"];
    EXPECT_TRUE(timer == 59 || timer == 79) << timer;

    const uint64_t back = hit + static_cast<uint64_t>(timer);
    const DumpSeries after = Run("combat_tachyon.json", {back - 1, back}, upTo(back));
    ASSERT_TRUE(after.Has(back));
    EXPECT_EQ(after.Ship(back - 1, Bravo)["ShieldsUp"], 0);
    EXPECT_EQ(after.Ship(back - 1, Bravo)["Shields"], 0);
    EXPECT_EQ(after.Ship(back - 1, Bravo)["ShieldsDownTimer"], 1);
    EXPECT_EQ(after.Ship(back, Bravo)["ShieldsUp"], 1);
    EXPECT_EQ(after.Ship(back, Bravo)["Shields"], BravoShields);
    EXPECT_EQ(after.Ship(back, Bravo)["StoredShields"], 0);
    EXPECT_EQ(after.Ship(back, Bravo)["ShieldsDownTimer"], 0);
}

TEST_F(CombatTest, KeysActOnlyWithTheConsoleClosedAndTheShipWhole) {
    // combat_keys_gated.json: console open after 4; D after 5 and Space after 6 go into the
    // input line; console closed after 7; D after 8 destroys the ship; after 10, 11, 12 and
    // 13 Space, Up, S and R are pressed on the wreck; Pause after 14.
    const DumpSeries d = Run("combat_keys_gated.json", TickRange(4, 15));
    ASSERT_TRUE(d.Has(15));
    EXPECT_EQ(d[5]["ConsoleOpen"], 1);
    EXPECT_EQ(d[6]["InputLine"], "d");
    EXPECT_EQ(d[7]["InputLine"], "d ");
    for (uint64_t tick : {6, 7}) {
        EXPECT_EQ(d.Ship(tick, Alpha)["Hull"], 150) << tick;
        EXPECT_EQ(d.Ship(tick, Bravo)["Shields"], BravoShields) << tick;
        EXPECT_EQ(d.Ship(tick, Alpha)["PrimaryReload"], 0) << tick;
    }
    EXPECT_EQ(d[8]["ConsoleOpen"], 0);
    EXPECT_EQ(d[8]["InputLine"], "");

    // Self-destruct sets the hull to 0; the destruction starts in the next frame.
    EXPECT_EQ(d.Ship(9, Alpha)["Hull"], 0);
    EXPECT_EQ(d.Ship(9, Alpha)["Dead"], 0);
    EXPECT_EQ(d.Ship(10, Alpha)["Dead"], 1);
    EXPECT_EQ(d.Ship(10, Alpha)["Exploding"], 1);

    const int beamRange = static_cast<int>(RoundEven(1 / 2.25 + 300));
    ASSERT_LT(Distance(d.Ship(11, Alpha), d.Ship(11, Bravo)), beamRange);
    ASSERT_EQ(d.Ship(11, Bravo)["Dead"], 0);
    EXPECT_EQ(d.Ship(11, Bravo)["Shields"], BravoShields);
    EXPECT_EQ(d.Beam(11, 1)["Active"], 0);
    EXPECT_EQ(d.Ship(11, Alpha)["PrimaryReload"], 0);
    EXPECT_EQ(d[11]["WavePlays"][0], 0);
    EXPECT_EQ(d.Ship(12, Alpha)["Speed"], 0.0);
    EXPECT_EQ(d.Ship(13, Alpha)["ShieldsUp"], 1);
    EXPECT_EQ(d.Ship(13, Alpha)["Shields"], 200);
    EXPECT_EQ(d[14]["ShowRange"], 0);
    // Pause still answers while the ship is destroyed.
    EXPECT_EQ(d[14]["Paused"], 0);
    EXPECT_EQ(d[15]["Paused"], 1);
    EXPECT_EQ(d[15]["SwallowedErrors"], 0);
}

}  // namespace
}  // namespace kelvane::testing
