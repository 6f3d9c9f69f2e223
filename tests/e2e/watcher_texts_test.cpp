// What only the person watching reads, end to end through the runner's pictures: the
// console's hint line and the language of the texts. Neither reaches the world: the dumps
// of the same run are the same whatever the hint says and whatever the language.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "DumpSeries.h"
#include "PngRead.h"
#include "SimRunner.h"
#include "TempGameDir.h"
#include "console/ConsoleDrawing.h"

namespace kelvane::testing {
namespace {

// Scenario steps typing `line` with the console's keys, a key a tick from tick `after`,
// then Enter; returns the tick after which Enter arrives.
uint64_t TypeLine(std::string& steps, uint64_t after, const std::string& line) {
    const auto step = [&](const std::string& body) {
        steps += (steps.empty() ? "" : ", ") + std::string("{\"after\": ") + std::to_string(after++) + ", " + body + "}";
    };
    for (char c : line) {
        if (c >= 'a' && c <= 'z') step("\"key\": " + std::to_string(c - 'a' + 'A'));
        else if (c == ' ') step("\"key\": 32");
        else if (c == '1') step("\"key\": 49, \"shift\": true");  // the console's layout: Shift+1 types 1
        else if (c == '+') step("\"key\": 49");
        else throw std::runtime_error(std::string("cannot type '") + c + "'");
    }
    step("\"key\": 13");
    return after - 1;
}

// The pixels of the hint line's row.
std::vector<uint32_t> HintRow(const PngPicture& picture) {
    std::vector<uint32_t> row;
    for (int y = ConsoleHintY; y < ConsoleHintY + ConsoleRowHeight && y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x) row.push_back(picture.At(x, y));
    return row;
}

// Pixels near the hint's colour (its letters are smoothed into the stars behind them).
size_t HintColoured(const std::vector<uint32_t>& row) {
    const auto near = [](uint32_t a, uint32_t b, int shift) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        return d > -40 && d < 40;
    };
    // The game's colours are 0x00BBGGRR, the picture's 0x00RRGGBB.
    const uint32_t hint = ((ConsoleHintColor & 0xFF) << 16) | (ConsoleHintColor & 0xFF00) | (ConsoleHintColor >> 16);
    size_t count = 0;
    for (uint32_t pixel : row) count += near(pixel, hint, 16) && near(pixel, hint, 8) && near(pixel, hint, 0);
    return count;
}

TEST(HintLine, EachLineThatDidNothingShowsItsOwnHintAndTheLogStaysAsItWas) {
    const std::vector<std::string> lines = {"help", "createship falcon", "exec nothing", "deleteship wisp", "1+1"};
    TempGameDir dir;
    std::string steps = "{\"after\": 1, \"key\": 192}";
    std::vector<uint64_t> shown = {3};  // the open console before anything was typed
    uint64_t after = 3;
    for (const std::string& line : lines) {
        after = TypeLine(steps, after, line) + 2;
        shown.push_back(after);
    }
    dir.WriteFile("hints.json", "{\"seed\": 5, \"frames\": " + std::to_string(after + 1) + ", \"steps\": [" + steps + "]}");
    std::vector<std::string> shots;
    for (uint64_t tick : shown) {
        shots.push_back("--shot");
        shots.push_back(std::to_string(tick) + ":" + (dir.Root() / ("hint-" + std::to_string(tick) + ".png")).string());
    }
    const DumpSeries d = RunWithDumps(dir, (dir.Root() / "hints.json").string(), shown, shots);
    ASSERT_EQ(d.Run.ExitCode, 0) << d.Run.Err;

    std::vector<std::vector<uint32_t>> rows;
    for (uint64_t tick : shown) {
        ASSERT_TRUE(d.Has(tick));
        EXPECT_EQ(d[tick]["ConsoleLog"], d[shown.front()]["ConsoleLog"]) << "the log changed by tick " << tick;
        EXPECT_EQ(d[tick]["ShipCount"], 0);
        EXPECT_EQ(d[tick]["ConsoleOpen"], 1);
        const PngPicture picture = ReadPng((dir.Root() / ("hint-" + std::to_string(tick) + ".png")).string());
        ASSERT_FALSE(picture.Empty()) << "no picture of tick " << tick;
        rows.push_back(HintRow(picture));
        EXPECT_GT(HintColoured(rows.back()), 50u) << "no hint under the console at tick " << tick;
    }
    for (size_t i = 0; i < rows.size(); ++i)
        for (size_t j = i + 1; j < rows.size(); ++j)
            EXPECT_NE(rows[i], rows[j]) << "the hint after \"" << (i ? lines[i - 1] : "nothing") << "\" and after \""
                                        << lines[j - 1] << "\" look the same";
}

TEST(Language, EnglishChangesThePanelsWordsAndNothingOfTheWorld) {
    TempGameDir dir;
    dir.WriteFile("ship.json", "{\"seed\": 5, \"frames\": 40, \"steps\": [{\"after\": 1, \"command\": \"EXEC battle\"}]}");
    struct Run {
        std::vector<std::string> language;
        std::string name;
        DumpSeries dumps = {};
        PngPicture picture = {};
    };
    std::vector<Run> runs = {{{}, "default"}, {{"--language", "original"}, "original"}, {{"--language", "en"}, "en"}};
    for (Run& run : runs) {
        const std::string shot = (dir.Root() / (run.name + ".png")).string();
        std::vector<std::string> extra = run.language;
        extra.insert(extra.end(), {"--shot", "30:" + shot});
        run.dumps = RunWithDumps(dir, (dir.Root() / "ship.json").string(), {29}, extra);
        ASSERT_EQ(run.dumps.Run.ExitCode, 0) << run.name << ": " << run.dumps.Run.Err;
        ASSERT_TRUE(run.dumps.Has(29)) << run.name;
        run.picture = ReadPng(shot);
        ASSERT_FALSE(run.picture.Empty()) << run.name;
    }
    EXPECT_EQ(runs[1].picture.Pixels, runs[0].picture.Pixels) << "original is the default";
    EXPECT_EQ(runs[2].dumps[29], runs[0].dumps[29]) << "the language reached the world";
    EXPECT_GT(runs[0].dumps[29]["ShipCount"].get<int>(), 1);

    // The own ship's panel: the labels (Czech "Štíty", "Trup") change, its picture does not.
    const auto differing = [&](int x1, int y1, int x2, int y2) {
        int count = 0;
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x) count += runs[0].picture.At(x, y) != runs[2].picture.At(x, y);
        return count;
    };
    EXPECT_GT(differing(23, 30, 65, 58), 20) << "the shield and hull labels are the same in English";
    EXPECT_GT(differing(23, 58, 215, 84), 20) << "the reload lines are the same in English";
    EXPECT_EQ(differing(300, 100, 800, 600), 0) << "the scene changed with the language";
}

}  // namespace
}  // namespace kelvane::testing
