// The game's options.

#include <gtest/gtest.h>

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

TEST(CommandLine, WrongOptionsAreUsageErrors) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--bogus"}, {"-x"}, {"play"}, {"--data"}, {"--data", ""}, {"--data="}, {"--windowed", "extra"},
             {"--seed"}, {"--seed", "-1"}, {"--seed", "4294967296"}, {"--seed", "12x"}, {"--seed="}, {"--seed", " 3"}}) {
        const Result<GameOptions> options = ParseGameOptions(arguments);
        ASSERT_FALSE(options) << arguments[0];
        EXPECT_EQ(options.Error().Status, ExitStatus::BadInput);
        EXPECT_FALSE(options.Error().Reason.empty());
    }
}

}  // namespace
}  // namespace kelvane
