// The game's options.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace kelvane {
namespace {

GameOptions Parsed(const std::vector<std::string>& arguments) {
    const Result<GameOptions> options = ParseGameOptions(arguments);
    EXPECT_TRUE(options) << options.Error().Reason;
    return options ? *options : GameOptions{};
}

TEST(CommandLine, OptionsAreRead) {
    EXPECT_FALSE(Parsed({}).Fullscreen.has_value());
    EXPECT_EQ(Parsed({"--windowed"}).Fullscreen, false);
    EXPECT_EQ(Parsed({"--windowed", "--fullscreen"}).Fullscreen, true);
    EXPECT_EQ(Parsed({"--data", "/opt/k"}).DataDir, "/opt/k");
    EXPECT_EQ(Parsed({"--data=/opt/k"}).DataDir, "/opt/k");
    EXPECT_TRUE(Parsed({"--help"}).Help);
    EXPECT_TRUE(Parsed({"-h"}).Help);
    EXPECT_TRUE(Parsed({"--version"}).Version);
    EXPECT_FALSE(Parsed({}).Seed.has_value());
    EXPECT_EQ(Parsed({"--seed", "7"}).Seed, 7u);
    EXPECT_EQ(Parsed({"--seed=0"}).Seed, 0u);
    EXPECT_EQ(Parsed({"--seed", "4294967295"}).Seed, 4294967295u);
    EXPECT_FALSE(Parsed({}).Check);
    const GameOptions check = Parsed({"--check", "--data", "/opt/k"});
    EXPECT_TRUE(check.Check);
    EXPECT_EQ(check.DataDir, "/opt/k");
}

TEST(CommandLine, NetworkOptionsAreRead) {
    struct Row {
        std::vector<std::string> Arguments;
        std::optional<uint16_t> Host;
        std::optional<std::string> Join;
        std::optional<std::string> Name;
    };
    for (const Row& row : std::vector<Row>{
             {{"--host"}, 0, {}, {}},  // the port of the settings
             {{"--host", "4000"}, 4000, {}, {}},
             {{"--host=65535"}, 65535, {}, {}},
             {{"--host", "--windowed"}, 0, {}, {}},  // an option after it is no port
             {{"--host", "--name", "Ann"}, 0, {}, "Ann"},
             {{"--join", "10.0.0.2"}, {}, "10.0.0.2", {}},
             {{"--join=host.lan:4000", "--name=Bob"}, {}, "host.lan:4000", "Bob"},
             {{"--seed", "5", "--host"}, 0, {}, {}},  // the host may fix the seed
         }) {
        const GameOptions options = Parsed(row.Arguments);
        EXPECT_EQ(options.Host, row.Host) << row.Arguments[0];
        EXPECT_EQ(options.Join, row.Join) << row.Arguments[0];
        EXPECT_EQ(options.Name, row.Name) << row.Arguments[0];
    }
}

TEST(CommandLine, WrongOptionsAreUsageErrors) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--bogus"}, {"-x"}, {"play"}, {"--data"}, {"--data", ""}, {"--data="}, {"--windowed", "extra"},
             {"--seed"}, {"--seed", "-1"}, {"--seed", "4294967296"}, {"--seed", "12x"}, {"--seed="}, {"--seed", " 3"},
             {"--host", "0"}, {"--host", "65536"}, {"--host="}, {"--join"}, {"--join="}, {"--host", "--join", "h"},
             {"--join", "h", "--seed", "3"}, {"--join", "h", "--replay", "r.kvr"}, {"--host", "--pilot", "veteran"},
             {"--name", "Ann"}, {"--host", "--name"}}) {
        const Result<GameOptions> options = ParseGameOptions(arguments);
        ASSERT_FALSE(options) << arguments[0];
        EXPECT_EQ(options.Error().Status, ExitStatus::BadInput);
        EXPECT_FALSE(options.Error().Reason.empty());
    }
}

}  // namespace
}  // namespace kelvane
