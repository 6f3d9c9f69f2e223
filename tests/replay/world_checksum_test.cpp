// The world checksum sees every field: the same world gives the same value, and a change
// of any one field (every name of the field registry, slot 0, the input tables, the log
// and the random generator) gives another.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "replay/WorldChecksum.h"
#include "world/FieldRegistry.h"

namespace kelvane {
namespace {

// A world with something in every table, so that changes are not from zero only.
World SampleWorld() {
    World world;
    for (int s = 1; s <= 3; ++s) {
        TShip& ship = world.Ships[s];
        ship.ShipName = "Ship" + std::to_string(s);
        ship.Hull = 100 * s;
        ship.Heading = 90.0 * s;
        ship.ExplosionParts[2].Delay = s;
        ship.ShipDescription[1] = "line";
    }
    world.Projectiles[5].Active = 1;
    world.Projectiles[5].Effect = "NONE";
    world.Beams[2].TimeLeft = 16;
    world.ConsoleLog = {"6Welcome", "7version"};
    world.Loaded = true;
    world.Rng.Seed(1234);
    return world;
}

// Every path the registry knows, in tables at their first and last slot.
std::vector<std::string> EveryFieldPath() {
    std::vector<std::string> paths = GlobalFieldNames();
    for (int s : {1, MaxShips}) {
        const std::string ship = "Ships[" + std::to_string(s) + "].";
        for (const std::string& name : ShipFieldNames()) paths.push_back(ship + name);
        for (int n : {1, 4}) {
            for (const std::string& name : ExplosionPartFieldNames())
                paths.push_back(ship + "ExplosionParts[" + std::to_string(n) + "]." + name);
        }
        for (int n : {1, 5}) paths.push_back(ship + "ShipDescription[" + std::to_string(n) + "]");
    }
    for (int p : {1, MaxProjectiles}) {
        for (const std::string& name : ProjectileFieldNames())
            paths.push_back("Projectiles[" + std::to_string(p) + "]." + name);
    }
    for (int b : {1, MaxBeams}) {
        for (const std::string& name : BeamFieldNames()) paths.push_back("Beams[" + std::to_string(b) + "]." + name);
    }
    return paths;
}

// Another value of the field's own kind.
FieldValue Changed(const FieldValue& value) {
    if (const auto* integer = std::get_if<int64_t>(&value)) return *integer == 1 ? int64_t{0} : int64_t{1};
    if (const auto* real = std::get_if<double>(&value)) return *real + 0.5;
    return std::get<std::string>(value) + "x";
}

TEST(WorldChecksum, SameWorldSameValue) {
    const World world = SampleWorld();
    const World copy = world;
    EXPECT_EQ(WorldChecksum(world), WorldChecksum(world));
    EXPECT_EQ(WorldChecksum(world), WorldChecksum(copy));
    EXPECT_EQ(WorldChecksum(SampleWorld()), WorldChecksum(world));
}

TEST(WorldChecksum, EveryRegistryFieldChangesIt) {
    const World original = SampleWorld();
    const uint64_t before = WorldChecksum(original);
    const std::vector<std::string> paths = EveryFieldPath();
    ASSERT_GT(paths.size(), 150u);
    for (const std::string& path : paths) {
        World world = original;
        SetField(world, path, Changed(GetField(world, path)));
        EXPECT_NE(WorldChecksum(world), before) << path;
    }
}

TEST(WorldChecksum, TablesBeyondTheRegistryChangeIt) {
    const World original = SampleWorld();
    const uint64_t before = WorldChecksum(original);
    const struct {
        const char* what;
        void (*change)(World&);
    } changes[] = {
        {"a key entry", [](World& w) { w.KeyState[0x20] = 1; }},
        {"the last key entry", [](World& w) { w.KeyState[0xFFFF] = 2; }},
        {"a mouse button", [](World& w) { w.MouseButtonState[2] = 1; }},
        {"a console line", [](World& w) { w.ConsoleLog[1] += "!"; }},
        {"one more console line", [](World& w) { w.ConsoleLog.push_back(""); }},
        {"the random generator", [](World& w) { w.Random(10); }},
        {"slot 0 of the ships", [](World& w) { w.Ships[0].Hull = 1; }},
        {"slot 0 of the projectiles", [](World& w) { w.Projectiles[0].X = 1; }},
        {"slot 0 of the beams", [](World& w) { w.Beams[0].Active = 1; }},
        {"slot 0 of the explosion parts", [](World& w) { w.Ships[1].ExplosionParts[0].Angle = 1; }},
        {"a text moved between two fields", [](World& w) {
             w.Ships[1].ClassName = w.Ships[1].ShipName;
             w.Ships[1].ShipName.clear();
         }},
        {"a real's sign of zero", [](World& w) { w.Ships[9].Speed = -0.0; }},
    };
    for (const auto& c : changes) {
        World world = original;
        c.change(world);
        EXPECT_NE(WorldChecksum(world), before) << c.what;
    }
}

}  // namespace
}  // namespace kelvane
