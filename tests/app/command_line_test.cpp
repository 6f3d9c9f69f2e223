// The game's options.

#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace kelvane {
namespace {

TEST(CommandLine, OptionsAreRead) {
    EXPECT_FALSE(ParseGameOptions({}).Fullscreen.has_value());
    EXPECT_EQ(ParseGameOptions({"--windowed"}).Fullscreen, false);
    EXPECT_EQ(ParseGameOptions({"--windowed", "--fullscreen"}).Fullscreen, true);
    EXPECT_EQ(ParseGameOptions({"--data", "/opt/k"}).DataDir, "/opt/k");
    EXPECT_EQ(ParseGameOptions({"--data=/opt/k"}).DataDir, "/opt/k");
    EXPECT_TRUE(ParseGameOptions({"--help"}).Help);
    EXPECT_TRUE(ParseGameOptions({"-h"}).Help);
    EXPECT_TRUE(ParseGameOptions({"--version"}).Version);
    EXPECT_FALSE(ParseGameOptions({}).Seed.has_value());
    EXPECT_EQ(ParseGameOptions({"--seed", "7"}).Seed, 7u);
    EXPECT_EQ(ParseGameOptions({"--seed=0"}).Seed, 0u);
    EXPECT_EQ(ParseGameOptions({"--seed", "4294967295"}).Seed, 4294967295u);
    EXPECT_FALSE(ParseGameOptions({}).Check);
    const GameOptions check = ParseGameOptions({"--check", "--data", "/opt/k"});
    EXPECT_TRUE(check.Check);
    EXPECT_EQ(check.DataDir, "/opt/k");
}

TEST(CommandLine, WrongOptionsAreUsageErrors) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--bogus"}, {"-x"}, {"play"}, {"--data"}, {"--data", ""}, {"--data="}, {"--windowed", "extra"},
             {"--seed"}, {"--seed", "-1"}, {"--seed", "4294967296"}, {"--seed", "12x"}, {"--seed="}, {"--seed", " 3"}}) {
        EXPECT_THROW(ParseGameOptions(arguments), UsageError) << arguments[0];
    }
}

}  // namespace
}  // namespace kelvane
