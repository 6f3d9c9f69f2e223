// The tournament's and the merge's command lines.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimOptions.h"
#include "TournamentOptions.h"

namespace kelvane::sim {
namespace {

using Arguments = std::vector<std::string>;

template <class T>
T Parsed(const Result<T>& options) {
    EXPECT_TRUE(options) << options.Error().Reason;
    return options ? *options : T{};
}

TEST(TournamentOptions, DefaultsAndEveryOption) {
    const TournamentOptions defaults = Parsed(ParseTournamentOptions({"--tournament"}));
    EXPECT_EQ(defaults.Games, 20);
    EXPECT_EQ(defaults.Ticks, 15000u);
    EXPECT_EQ(defaults.Seed, 1u);
    EXPECT_EQ(defaults.Jobs, 0u);
    EXPECT_TRUE(defaults.Shard.Whole());
    EXPECT_TRUE(defaults.Ships.empty());

    const TournamentOptions options = Parsed(
        ParseTournamentOptions({"--data", "/g", "--tournament", "--ships", "Vigil,Kestrel Dawn,wisp", "--games", "4",
                                "--ticks", "3000", "--seed", "9", "--jobs", "2", "--shard", "2/3", "--json", "p.json"}));
    EXPECT_EQ(options.DataDir, "/g");
    EXPECT_EQ(options.Ships, (std::vector<std::string>{"Vigil", "Kestrel Dawn", "wisp"}));
    EXPECT_EQ(options.Games, 4);
    EXPECT_EQ(options.Ticks, 3000u);
    EXPECT_EQ(options.Seed, 9u);
    EXPECT_EQ(options.Jobs, 2u);
    EXPECT_EQ(options.Shard, (ShardSpec{2, 3}));
    EXPECT_EQ(options.JsonFile, "p.json");
}

TEST(TournamentOptions, BadArgumentsAreUsageErrors) {
    const std::vector<Arguments> bad = {
        {"--tournament", "--games", "0"},
        {"--tournament", "--games", "-1"},
        {"--tournament", "--games", "x"},
        {"--tournament", "--ticks", "0"},
        {"--tournament", "--jobs", "0"},
        {"--tournament", "--seed", "4294967296"},
        {"--tournament", "--shard", "0/2", "--json", "p"},
        {"--tournament", "--shard", "3/2", "--json", "p"},
        {"--tournament", "--shard", "2", "--json", "p"},
        {"--tournament", "--shard", "1/0", "--json", "p"},
        {"--tournament", "--shard", "1/2"},  // a part with nowhere to go
        {"--tournament", "--ships", "Vigil"},
        {"--tournament", "--ships", "Vigil,,Wisp"},
        {"--tournament", "--ships", "Vigil,"},
        {"--tournament", "--frames", "10"},
        {"--tournament", "--merge", "a.json"},
        {"--tournament", "--games"},
    };
    for (const Arguments& arguments : bad) {
        std::string line;
        for (const std::string& argument : arguments) line += argument + " ";
        const Result<TournamentOptions> options = ParseTournamentOptions(arguments);
        ASSERT_FALSE(options) << line;
        EXPECT_EQ(options.Error().Status, ExitStatus::BadInput) << line;
    }
}

TEST(MergeOptions, FilesAndJson) {
    const MergeOptions options = Parsed(ParseMergeOptions({"--merge", "a.json", "b.json", "--json", "all.json"}));
    EXPECT_EQ(options.Files, (std::vector<std::string>{"a.json", "b.json"}));
    EXPECT_EQ(options.JsonFile, "all.json");
    for (const Arguments& arguments : std::vector<Arguments>{{"--merge"}, {"--merge", "a.json", "--json"},
                                                             {"--merge", "a.json", "--games", "3"}})
        EXPECT_FALSE(ParseMergeOptions(arguments));
}

}  // namespace
}  // namespace kelvane::sim

namespace kelvane::sim {
namespace {

TEST(NetworkOptions, HostingJoiningAndTheLinkConditioner) {
    const SimOptions host = Parsed(ParseSimOptions({"--host", "127.0.0.1:26524", "--players", "4", "--net-delay", "120",
                                             "--net-jitter", "40", "--net-loss", "5.5", "--name", "ann"}));
    EXPECT_TRUE(host.Network());
    EXPECT_EQ(host.Players, 4);
    EXPECT_EQ(host.NetDelayMs, 120u);
    EXPECT_EQ(host.NetJitterMs, 40u);
    EXPECT_EQ(host.NetLossPercent, 5.5);
    EXPECT_EQ(Parsed(ParseSimOptions({"--join", "h:1"})).Join, "h:1");
    EXPECT_EQ(Parsed(ParseSimOptions({"--replay", "r", "--seat", "3"})).Seat, 3);
}

TEST(NetworkOptions, WhatDoesNotGoTogetherIsAUsageError) {
    const std::vector<std::vector<std::string>> bad = {
        {"--host", "26524"},                                  // how many players?
        {"--host", "26524", "--players", "1"},
        {"--host", "26524", "--players", "9"},
        {"--host", "26524", "--players", "2", "--join", "h:1"},
        {"--join", "h:1", "--players", "2"},
        {"--join", "h:1", "--shot", "5:a.png"},
        {"--join", "h:1", "--net-loss", "101"},
        {"--join", "h:1", "--net-loss", "x"},
        {"--net-delay", "10"},                                // conditioning nothing
        {"--players", "2"},
        {"--seat", "2"},                                      // a view of no recording
        {"--replay", "r", "--seat", "9"},
        {"--replay", "r", "--join", "h:1"},
    };
    for (const auto& arguments : bad) {
        std::string line;
        for (const std::string& argument : arguments) line += argument + " ";
        const Result<SimOptions> options = ParseSimOptions(arguments);
        ASSERT_FALSE(options) << line;
        EXPECT_EQ(options.Error().Status, ExitStatus::BadInput) << line;
    }
}

}  // namespace
}  // namespace kelvane::sim
