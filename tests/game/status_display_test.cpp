#include "game/StatusDisplay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvane {
namespace {

TEST(StatusDisplay, BarWidths) {
    struct Case {
        int32_t value;
        int32_t maximum;
        int32_t width;
    };
    const std::vector<Case> cases = {
        {420, 420, 140},  // full
        {210, 420, 70},   // half
        {0, 420, 0},      // empty
        {-35, 100, 0},    // shields knocked below zero: no fill
        {200, 100, 280},  // over the maximum the fill runs past the frame
        {1, 8, 18},       // 17.5 rounds to the even 18
        {3, 8, 52},       // 52.5 rounds to the even 52
        {50, 0, 0},       // a ship without shields: no division, no fill
        {-5, 0, 0},
        {-5, -10, 0},     // a negative maximum from a data file: nothing to fill
        {5, -10, -70},    // ... or a fill running the other way, as the formula says
        // Exact halves of the shipped ships (Kestrel's hull of 280, Bastion's shields of
        // 560) that double arithmetic got wrong by its last bit: 14.5, 23.5, 40.5, 98.5.
        {29, 280, 14},
        {47, 280, 24},
        {81, 280, 40},
        {197, 280, 98},
        {58, 560, 14},
        {446, 560, 112},  // 111.5
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StatusBarWidth(c.value, c.maximum), c.width) << c.value << " / " << c.maximum;
    }
}

TEST(StatusDisplay, MapPoints) {
    struct Case {
        int32_t x, y;
        int32_t mapX, mapY;
    };
    const std::vector<Case> cases = {
        {0, 0, 845, 523},
        {2047, 1535, 997, 637},  // the far corner lands on the background's excluded edge
        {1023, 767, 921, 580},   // 75.96 and 56.96 round up
        {1024, 768, 921, 580},
    };
    for (const Case& c : cases) {
        int32_t x = -1, y = -1;
        StatusMapPoint(c.x, c.y, x, y);
        EXPECT_EQ(x, c.mapX) << c.x << "," << c.y;
        EXPECT_EQ(y, c.mapY) << c.x << "," << c.y;
    }
}

TEST(StatusDisplay, RespawnDigits) {
    struct Case {
        int32_t timer;
        int32_t frameRate;
        int32_t digit;
    };
    const std::vector<Case> cases = {
        {179, 25, 7},  // 7.16 s: whole seconds only
        {24, 25, 0},   // 0.96 s
        {25, 25, 1},  {0, 25, 0},
        {179, 0, 7},                 // before the first measurement: counted at 25 frames a second
        {100, 50, 2}, {179, 18, 9},  // a slow machine shows more seconds: 9.94
        {19, 19, 1},                 // exactly 1: (1000 / 19) x 19 / 1000 in doubles fell short of it
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RespawnDigit(c.timer, c.frameRate), c.digit) << c.timer << " at " << c.frameRate;
    }
}

TEST(StatusDisplay, ReloadTexts) {
    const char* ready = "ready.";
    const char* loading = "loading in: %s sec";
    struct Case {
        int32_t reload;
        int32_t frameRate;
        std::string text;
    };
    const std::vector<Case> cases = {
        {0, 25, "ready."},
        {50, 25, "loading in: 2.0 sec"},
        {50, 0, "loading in: 2.0 sec"},  // no division by a frame rate of 0
        {1, 25, "loading in: 0.0 sec"},  // 0.04 s is not ready yet, though it shows 0.0
        {37, 25, "loading in: 1.5 sec"},
        {80, 20, "loading in: 4.0 sec"},
        {1, 20, "loading in: 0.0 sec"},   // 0.05 s: the half rounds to the even 0.0
        {3, 20, "loading in: 0.2 sec"},   // 0.15 s: the half rounds to the even 0.2
        {-1, 25, "loading in: -0.0 sec"}, // a negative reload set from outside keeps its sign
        {-30, 25, "loading in: -1.2 sec"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReloadText(OriginalLanguage(), ready, loading, c.reload, c.frameRate), c.text)
            << c.reload << " at " << c.frameRate;
    }
}

}  // namespace
}  // namespace kelvane
