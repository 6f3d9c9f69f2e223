// settings.ini's [Keys] read against SDL's key names: what each line binds, the one line
// said for each line that cannot be used (the action keeping the key it had), and the
// keys the help then names.

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/sdl/KeyBindings.h"

namespace kelvane {
namespace {

// Key names are read as the game reads them: with SDL's video up, which brings the
// keyboard's layout (here the dummy driver's, a US board).
class KeyBindingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    }
    void TearDown() override {
        SDL_Quit();
        unsetenv("SDL_VIDEODRIVER");
    }
};

struct Bound {
    KeyBindings bindings;
    std::vector<std::string> said;
};

Bound Read(const std::vector<KeyBinding>& lines) {
    Bound bound;
    bound.bindings = KeyBindings(lines, "settings.ini", [&bound](const std::string& line) { bound.said.push_back(line); });
    return bound;
}

TEST_F(KeyBindingsTest, WithoutLinesEveryActionHasTheGamesOwnKey) {
    const Bound bound = Read({});
    for (const PlayerActionRow& row : PlayerActions) {
        EXPECT_EQ(bound.bindings.KeyName(row.Action), row.KeyWords);
        EXPECT_EQ(bound.bindings.InFlight(0, row.Key), row.Key) << row.Name;
    }
    EXPECT_EQ(bound.bindings.HelpKeyNames(), GameKeyNames());
    EXPECT_EQ(bound.bindings.InFlight(ShiftState(ssShift | ssCtrl | ssAlt)), ssShift | ssCtrl | ssAlt);
}

TEST_F(KeyBindingsTest, EachLineBindsOrSaysWhyNotAndItsActionKeepsItsKey) {
    using Names = std::vector<std::pair<PlayerAction, std::string>>;
    struct Case {
        const char* what;
        std::vector<KeyBinding> lines;
        std::vector<std::string> said;
        Names names;  // the keys some actions have afterwards
    };
    const std::string actions = PlayerActionNames();
    const Case cases[] = {
        {"letters and SDL's names, in any case",
         {{"Thrust", "w", 2}, {"nearesttarget", "left ctrl", 3}, {"SelfDestruct", "Keypad 8", 4}},
         {},
         {{PlayerAction::Thrust, "W"}, {PlayerAction::NearestTarget, "Left Ctrl"},
          {PlayerAction::SelfDestruct, "Keypad 8"}, {PlayerAction::Brake, "Down"}}},
        {"a swap", {{"FirePrimary", "N", 2}, {"NearestTarget", "Space", 3}}, {},
         {{PlayerAction::FirePrimary, "N"}, {PlayerAction::NearestTarget, "Space"}}},
        {"a key taken from another action leaves it none", {{"FirePrimary", "N", 2}}, {},
         {{PlayerAction::FirePrimary, "N"}, {PlayerAction::NearestTarget, ""}}},
        {"no such key", {{"Thrust", "Nosuchkey", 4}, {"Brake", "", 5}},
         {"settings.ini:4: Thrust=Nosuchkey: SDL knows no key called \"Nosuchkey\"; Thrust keeps Up",
          "settings.ini:5: Brake=: SDL knows no key called \"\"; Brake keeps Down"},
         {{PlayerAction::Thrust, "Up"}, {PlayerAction::Brake, "Down"}}},
        {"no such action", {{"Fire", "Space", 2}},
         {"settings.ini:2: Fire=Space: there is no action Fire (the actions are " + actions + ")"},
         {{PlayerAction::FirePrimary, "Space"}}},
        {"two actions on one key", {{"Thrust", "W", 2}, {"Shields", "w", 3}},
         {"settings.ini:3: Shields=w: W is Thrust's key already (line 2); Shields keeps S"},
         {{PlayerAction::Thrust, "W"}, {PlayerAction::Shields, "S"}}},
        {"the key kept is taken too", {{"FirePrimary", "N", 2}, {"NearestTarget", "N", 3}},
         {"settings.ini:3: NearestTarget=N: N is FirePrimary's key already (line 2); NearestTarget has no key"},
         {{PlayerAction::NearestTarget, ""}}},
        {"one action twice", {{"Thrust", "W", 2}, {"thrust", "E", 5}},
         {"settings.ini:5: thrust=E: Thrust has its key from line 2 already"},
         {{PlayerAction::Thrust, "W"}}},
        {"the desktop's and the console's keys",
         {{"FirePrimary", "F1", 1}, {"Pause", "Escape", 2}, {"Thrust", "`", 3}, {"Brake", "F11", 4},
          {"Shields", "F12", 5}},
         {"settings.ini:1: FirePrimary=F1: F1 cannot be bound: it shows the help; FirePrimary keeps Space",
          "settings.ini:2: Pause=Escape: Escape cannot be bound: it pauses and closes the console; Pause keeps Pause",
          "settings.ini:3: Thrust=`: ` cannot be bound: it opens the console; Thrust keeps Up",
          "settings.ini:4: Brake=F11: F11 cannot be bound: it switches full screen; Brake keeps Down",
          "settings.ini:5: Shields=F12: F12 cannot be bound: it saves a screenshot; Shields keeps S"},
         {}},
    };
    for (const Case& c : cases) {
        const Bound bound = Read(c.lines);
        EXPECT_EQ(bound.said, c.said) << c.what;
        for (const auto& [action, name] : c.names) EXPECT_EQ(bound.bindings.KeyName(action), name) << c.what;
    }
}

TEST_F(KeyBindingsTest, HeldCtrlAndAltCountOnlyWhileTheyAreTheDevicesAndTheTorpedosKeys) {
    struct Case {
        const char* what;
        std::vector<KeyBinding> lines;
        ShiftState kept;  // of Shift, Ctrl and Alt
    };
    const Case cases[] = {
        {"other actions moved", {{"Thrust", "W", 1}, {"Shields", "Left Shift", 2}}, ssShift | ssCtrl | ssAlt},
        {"the device moved", {{"Special", "E", 1}}, ssShift | ssAlt},
        {"the torpedo moved", {{"FireSecondary", "Left Alt", 1}}, ssShift | ssCtrl},
        {"Ctrl taken", {{"Thrust", "Right Ctrl", 1}}, ssShift | ssAlt},
        {"AltGr taken: it is Ctrl and Alt", {{"Thrust", "Right Alt", 1}}, ssShift},
    };
    for (const Case& c : cases) {
        const Bound bound = Read(c.lines);
        EXPECT_TRUE(bound.said.empty()) << c.what;
        EXPECT_EQ(bound.bindings.InFlight(ShiftState(ssShift | ssCtrl | ssAlt | ssLeft)), c.kept | ssLeft) << c.what;
    }
}

}  // namespace
}  // namespace kelvane
