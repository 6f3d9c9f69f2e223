// SDL's events through the router into the game's key events: the desktop keys taken
// before the game sees them, Esc by the console's state, and pads (SDL's virtual
// joystick, through SDL's own event queue) producing keyboard keys that repeat.

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/PlayerActions.h"
#include "platform/sdl/EventRouter.h"
#include "platform/sdl/KeyBindings.h"

namespace kelvane {
namespace {

struct KeyEvent {
    uint16_t key;
    ShiftState shift;
    bool operator==(const KeyEvent&) const = default;
};

class RecordingGame : public GameInput {
public:
    void KeyPressed(uint16_t key, ShiftState shift) override { keys.push_back({key, shift}); }
    void MouseClick(int button, ShiftState, int32_t x, int32_t y) override {
        clicks.push_back({button, x, y});
    }
    bool ConsoleOpen() const override { return consoleOpen; }

    std::vector<KeyEvent> keys;
    std::vector<std::vector<int>> clicks;
    bool consoleOpen = false;
};

class RecordingWindow : public WindowActions {
public:
    void ToggleFullscreen() override { actions.push_back("fullscreen"); }
    void SaveScreenshot() override { actions.push_back("screenshot"); }
    void ToggleHelp() override { actions.push_back("help"); }
    void Quit() override { actions.push_back("quit"); }
    void FocusChanged(bool active) override { actions.push_back(active ? "focus" : "no focus"); }
    void SizeChanged() override { actions.push_back("size"); }
    void Exposed() override { actions.push_back("exposed"); }
    void WindowToPicture(int x, int y, int32_t& px, int32_t& py) const override {
        px = x / 2;  // a window twice the picture's size
        py = y / 2;
    }
    std::vector<std::string> actions;
};

SDL_Event KeyDown(SDL_Scancode scancode, SDL_Keycode symbol, uint16_t modifiers = 0, bool repeat = false) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = symbol;
    event.key.keysym.mod = modifiers;
    event.key.repeat = repeat ? 1 : 0;
    return event;
}

TEST(EventRouter, DesktopKeysNeverReachTheGame) {
    struct Case {
        SDL_Event event;
        const char* action;
    };
    const Case cases[] = {
        {KeyDown(SDL_SCANCODE_F11, SDLK_F11), "fullscreen"},
        {KeyDown(SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT), "fullscreen"},
        {KeyDown(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, KMOD_RALT), "fullscreen"},
        {KeyDown(SDL_SCANCODE_F12, SDLK_F12), "screenshot"},
        {KeyDown(SDL_SCANCODE_F12, SDLK_F12, KMOD_LSHIFT), "screenshot"},
        {KeyDown(SDL_SCANCODE_F1, SDLK_F1), "help"},
        // Held down, they act once.
        {KeyDown(SDL_SCANCODE_F11, SDLK_F11, 0, true), nullptr},
        {KeyDown(SDL_SCANCODE_F1, SDLK_F1, 0, true), nullptr},
    };
    for (const Case& c : cases) {
        RecordingGame game;
        RecordingWindow window;
        EventRouter router(game, window);
        router.Handle(c.event, 0);
        EXPECT_TRUE(game.keys.empty()) << c.action;
        EXPECT_EQ(window.actions, c.action ? std::vector<std::string>{c.action} : std::vector<std::string>{});
    }
}

TEST(EventRouter, EscIsThePauseKeyOrTheConsoleKey) {
    RecordingGame game;
    RecordingWindow window;
    EventRouter router(game, window);
    router.Handle(KeyDown(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE), 0);
    game.consoleOpen = true;
    router.Handle(KeyDown(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, KMOD_LSHIFT), 0);
    router.Handle(KeyDown(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0, true), 0);  // held: once
    EXPECT_EQ(game.keys, (std::vector<KeyEvent>{{KeyOf(PlayerAction::Pause), 0}, {ConsoleKey, ssShift}}));
    EXPECT_TRUE(window.actions.empty());
}

TEST(EventRouter, GameKeysKeepTheirCodesAndRepeats) {
    RecordingGame game;
    RecordingWindow window;
    EventRouter router(game, window);
    router.Handle(KeyDown(SDL_SCANCODE_RETURN, SDLK_RETURN), 0);  // Enter without Alt types
    router.Handle(KeyDown(SDL_SCANCODE_PAUSE, SDLK_PAUSE), 0);
    router.Handle(KeyDown(SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE), 0);
    router.Handle(KeyDown(SDL_SCANCODE_SPACE, SDLK_SPACE, 0, true), 0);
    router.Handle(KeyDown(SDL_SCANCODE_F2, SDLK_F2), 0);
    router.Handle(KeyDown(SDL_SCANCODE_Q, SDLK_q, KMOD_RALT), 0);
    EXPECT_EQ(game.keys, (std::vector<KeyEvent>{{VK_RETURN, 0},
                                                {VK_PAUSE, 0},
                                                {ConsoleKey, 0},
                                                {VK_SPACE, 0},
                                                {VK_F1 + 1, 0},
                                                {'Q', ssCtrl | ssAlt}}));
}

// The player's keys are turned into the game's in flight only: the console types every
// key as it is, and the console key and Esc are never rebound.
TEST(EventRouter, BoundKeysActInFlightAndTheConsoleGetsEveryKeyAsItIs) {
    std::vector<std::string> said;
    const KeyBindings bindings({{"Thrust", "W", 2}, {"FirePrimary", "N", 3}, {"FireSecondary", "F", 4}}, "s.ini",
                               [&said](const std::string& line) { said.push_back(line); });
    ASSERT_TRUE(said.empty()) << said.front();
    const uint16_t thrust = KeyOf(PlayerAction::Thrust), fire = KeyOf(PlayerAction::FirePrimary),
                   torpedo = KeyOf(PlayerAction::FireSecondary), pause = KeyOf(PlayerAction::Pause);
    struct Case {
        const char* what;
        SDL_Event event;
        std::vector<KeyEvent> inFlight;
        std::vector<KeyEvent> inConsole;
    };
    const Case cases[] = {
        {"a bound letter", KeyDown(SDL_SCANCODE_W, SDLK_w), {{thrust, 0}}, {{'W', 0}}},
        {"a letter bound away from its action", KeyDown(SDL_SCANCODE_N, SDLK_n), {{fire, 0}}, {{'N', 0}}},
        {"an action's own key, the action moved", KeyDown(SDL_SCANCODE_UP, SDLK_UP), {}, {{VK_UP, 0}}},
        {"Space, the action moved", KeyDown(SDL_SCANCODE_SPACE, SDLK_SPACE), {}, {{VK_SPACE, 0}}},
        {"Alt, the torpedo moved", KeyDown(SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT), {}, {{VK_MENU, ssAlt}}},
        {"Alt held no longer fires", KeyDown(SDL_SCANCODE_F, SDLK_f, KMOD_LALT), {{torpedo, 0}}, {{'F', ssAlt}}},
        {"Ctrl still is the device's", KeyDown(SDL_SCANCODE_Q, SDLK_q, KMOD_LCTRL | KMOD_LSHIFT),
         {{'Q', ssCtrl | ssShift}}, {{'Q', ssCtrl | ssShift}}},
        {"an unbound action's key", KeyDown(SDL_SCANCODE_LEFT, SDLK_LEFT), {{VK_LEFT, 0}}, {{VK_LEFT, 0}}},
        {"the console key", KeyDown(SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE), {{ConsoleKey, 0}}, {{ConsoleKey, 0}}},
        {"Esc", KeyDown(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE), {{pause, 0}}, {{ConsoleKey, 0}}},
    };
    for (const Case& c : cases) {
        for (const bool console : {false, true}) {
            RecordingGame game;
            game.consoleOpen = console;
            RecordingWindow window;
            EventRouter router(game, window, bindings);
            router.Handle(c.event, 0);
            EXPECT_EQ(game.keys, console ? c.inConsole : c.inFlight) << c.what << (console ? " (console)" : "");
        }
    }
}

TEST(EventRouter, WindowEventsAndClicksInPicturePixels) {
    RecordingGame game;
    RecordingWindow window;
    EventRouter router(game, window);
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    for (uint8_t what : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_SIZE_CHANGED,
                         SDL_WINDOWEVENT_EXPOSED}) {
        event.window.event = what;
        router.Handle(event, 0);
    }
    event = {};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_RIGHT;
    event.button.x = 300;
    event.button.y = 101;
    router.Handle(event, 0);
    event = {};
    event.type = SDL_QUIT;
    router.Handle(event, 0);
    EXPECT_EQ(window.actions, (std::vector<std::string>{"no focus", "focus", "size", "exposed", "quit"}));
    EXPECT_EQ(game.clicks, (std::vector<std::vector<int>>{{1, 150, 50}}));
}

// A pad made with SDL's virtual joystick, seen by SDL as a game controller.
class VirtualPad : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS), 0) << SDL_GetError();
        SDL_VirtualJoystickDesc pad{};
        pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        pad.naxes = SDL_CONTROLLER_AXIS_MAX;
        pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        pad.name = "Kelvane test pad";
        const int device = SDL_JoystickAttachVirtualEx(&pad);
        ASSERT_GE(device, 0) << SDL_GetError();
        ASSERT_TRUE(SDL_IsGameController(device));
        joystick = SDL_JoystickOpen(device);  // our handle, to move its buttons and axes
        ASSERT_NE(joystick, nullptr) << SDL_GetError();
        Pump();
        ASSERT_EQ(router.PadCount(), 1u);
    }
    void TearDown() override {
        if (joystick) SDL_JoystickClose(joystick);
        SDL_Quit();
    }

    // SDL's own queue into the router, as the game's loop does it.
    void Pump(uint64_t now = 0) {
        SDL_PumpEvents();
        SDL_Event event;
        while (SDL_PollEvent(&event)) router.Handle(event, now);
    }
    void Button(SDL_GameControllerButton button, bool down, uint64_t now = 0) {
        SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0);
        Pump(now);
    }
    void Axis(SDL_GameControllerAxis axis, int16_t value, uint64_t now = 0) {
        SDL_JoystickSetVirtualAxis(joystick, axis, value);
        Pump(now);
    }
    std::vector<uint16_t> Keys() {
        std::vector<uint16_t> keys;
        for (const KeyEvent& k : game.keys) keys.push_back(k.key);
        game.keys.clear();
        return keys;
    }

    RecordingGame game;
    RecordingWindow window;
    EventRouter router{game, window};
    SDL_Joystick* joystick = nullptr;
};

// Each action's pad buttons press its game key; other buttons press nothing.
TEST_F(VirtualPad, ButtonsPressTheirActionsKeys) {
    std::vector<PadInput> reached;
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
        const auto button = static_cast<SDL_GameControllerButton>(b);
        if (button == SDL_CONTROLLER_BUTTON_START) continue;  // Esc: below
        const PadInput input = PadInputOfButton(button);
        std::vector<uint16_t> expected;
        for (const PlayerActionRow& row : PlayerActions) {
            if (input != PadInput::None && std::count(row.Pad.begin(), row.Pad.end(), input)) expected = {row.Key};
        }
        if (!expected.empty()) reached.push_back(input);
        Button(button, true);
        Button(button, false);
        EXPECT_EQ(Keys(), expected) << SDL_GameControllerGetStringForButton(button);
    }
    // Every pad input of the table is a button or a direction of the stick.
    for (const PlayerActionRow& row : PlayerActions) {
        for (PadInput input : row.Pad) {
            const bool stick = input >= PadInput::StickUp && input <= PadInput::StickRight;
            EXPECT_TRUE(input == PadInput::None || stick || std::count(reached.begin(), reached.end(), input))
                << row.Name;
        }
    }
    // No modifiers come with a pad's key: B is Alt itself, never Alt with another key.
    Button(SDL_CONTROLLER_BUTTON_B, true);
    ASSERT_EQ(game.keys.size(), 1u);
    EXPECT_EQ(game.keys[0].shift, 0);
}

TEST_F(VirtualPad, StartIsEsc) {
    Button(SDL_CONTROLLER_BUTTON_START, true);
    Button(SDL_CONTROLLER_BUTTON_START, false);
    game.consoleOpen = true;
    Button(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(Keys(), (std::vector<uint16_t>{KeyOf(PlayerAction::Pause), ConsoleKey}));
    router.RepeatHeldKeys(5000);  // Start does not repeat
    EXPECT_EQ(Keys(), std::vector<uint16_t>{});
}

TEST_F(VirtualPad, TheLeftStickSteersWithALittleSlack) {
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 10000);  // within the slack: nothing
    Axis(SDL_CONTROLLER_AXIS_LEFTX, -20000);
    Axis(SDL_CONTROLLER_AXIS_LEFTX, -13000);  // easing off, still held
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);   // straight across: left let go, right held
    Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);  // pushed away: thrust
    Axis(SDL_CONTROLLER_AXIS_LEFTY, 30000);   // pulled back: brake
    Axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);  // the right stick does nothing
    EXPECT_EQ(Keys(), (std::vector<uint16_t>{KeyOf(PlayerAction::TurnLeft), KeyOf(PlayerAction::TurnRight),
                                             KeyOf(PlayerAction::Thrust), KeyOf(PlayerAction::Brake)}));
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    router.RepeatHeldKeys(10000);
    EXPECT_EQ(Keys(), std::vector<uint16_t>{});
}

TEST_F(VirtualPad, HeldButtonsRepeatLikeAHeldKey) {
    const uint16_t fire = KeyOf(PlayerAction::FirePrimary), left = KeyOf(PlayerAction::TurnLeft);
    Button(SDL_CONTROLLER_BUTTON_A, true, 1000);
    Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768, 1000);
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true, 1100);  // the same key held twice: no second key-down
    EXPECT_EQ(Keys(), (std::vector<uint16_t>{fire, left}));
    EXPECT_EQ(router.NextRepeat(), 1000 + PadRepeat::DelayMs);
    router.RepeatHeldKeys(1000 + PadRepeat::DelayMs - 1);
    EXPECT_EQ(Keys(), std::vector<uint16_t>{});
    router.RepeatHeldKeys(1000 + PadRepeat::DelayMs);
    router.RepeatHeldKeys(1000 + PadRepeat::DelayMs + PadRepeat::IntervalMs);
    EXPECT_EQ(Keys(), (std::vector<uint16_t>{fire, left, fire, left}));
    Button(SDL_CONTROLLER_BUTTON_A, false, 2000);
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 0, 2000);  // the d-pad still holds Left
    router.RepeatHeldKeys(2000);
    EXPECT_EQ(Keys(), std::vector<uint16_t>{left});
}

TEST_F(VirtualPad, APadPulledOutLetsGoOfItsKeys) {
    const uint16_t fire = KeyOf(PlayerAction::FirePrimary);
    Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(Keys(), std::vector<uint16_t>{fire});
    const int index = 0;
    SDL_JoystickClose(joystick);
    joystick = nullptr;
    ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0) << SDL_GetError();
    Pump();
    EXPECT_EQ(router.PadCount(), 0u);
    EXPECT_FALSE(router.NextRepeat().has_value());
    router.RepeatHeldKeys(10000);
    EXPECT_EQ(Keys(), std::vector<uint16_t>{});
}

}  // namespace
}  // namespace kelvane
